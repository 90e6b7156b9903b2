#pragma once

#include <array>

class QCheckBox;
class QComboBox;
class QDateEdit;
class QFrame;
class QLabel;
class QLineEdit;
class QProgressBar;
class QPushButton;
class QTabWidget;
class QTimeEdit;
class QWidget;

namespace qzr {

class TIndicator;
class TIntegerField;
class TRadioGroup;

// The controls of a control window, by the names the translator keys them
// with. The window owns them; this only points at them.
struct TCradleFormControls {
    QTabWidget* PageControl = nullptr;
    QWidget* SensorSettingsSheet = nullptr;
    QWidget* CalibrationsSheet = nullptr;
    QWidget* DataloggerSheet = nullptr;

    // "Sensor settings"
    QLineEdit* DBEdit1 = nullptr;
    QLabel* DBText = nullptr;
    QLineEdit* SensitivityField = nullptr;
    QPushButton* WizardBtn = nullptr;
    QFrame* AdvancedSensorSettingsPanel = nullptr;
    TRadioGroup* AdAmpSelectBox2 = nullptr;
    TIntegerField* UserMultiplier = nullptr;
    TIntegerField* UserDivider = nullptr;
    TRadioGroup* DecDotSelectBox = nullptr;
    QCheckBox* NegativesAllowedCheckBox = nullptr;
    QPushButton* ProgramUserBtn = nullptr;

    // "Calibrations": per amplifier range 1x, 2x, 4x, 8x, 16x, 32x.
    std::array<TIntegerField*, 6> AdAmpOffset{};
    std::array<TIntegerField*, 6> AdAmpMultiplier{};
    std::array<TIntegerField*, 6> AdAmpDivider{};
    TRadioGroup* AdAmpSelectBox = nullptr;
    QCheckBox* RealtimeCheckBox = nullptr;
    QLabel* AD1Text = nullptr;
    QLabel* AD2Text = nullptr;
    QLabel* V1Text = nullptr;
    QLabel* User1Text = nullptr;
    QCheckBox* LinkOffsetToRealtimeCheckBox = nullptr;
    QCheckBox* LinkFullScaleToRealtimeCheckBox = nullptr;
    QPushButton* ProgramFactoryBtn = nullptr;
    QLabel* FirmwareVersionLabel = nullptr;

    // "Datalogger"
    TIntegerField* LogIntervalEdit = nullptr;
    QComboBox* LogIntervalPresetBox = nullptr;
    QDateEdit* LogDateEdit = nullptr;
    QTimeEdit* LogTimeEdit = nullptr;
    QPushButton* StartLoggerBtn = nullptr;
    QPushButton* ReadLoggerBtn = nullptr;
    QCheckBox* ReadLoggerValuesCheckbox = nullptr;
    QLabel* LoggerStatusStaticText = nullptr;
    QLabel* MinimumStaticText = nullptr;
    QLabel* MaximumStaticText = nullptr;
    QLabel* IntegralStaticText = nullptr;
    QLabel* RemainingIntervalStaticText = nullptr;

    // Status bar
    TIndicator* SessionIndicator = nullptr;
    TIndicator* OnCradleIndicator = nullptr;
    QLabel* OkCounter = nullptr;
    QLabel* ErrorCounter = nullptr;
    QProgressBar* ProgressBar = nullptr;
};

// Builders of the window's parts; each creates its controls as children of
// `parent`, names them and records them in `controls`.
QWidget* CreateSensorSettingsSheet(QWidget* parent, TCradleFormControls& controls);
QWidget* CreateCalibrationsSheet(QWidget* parent, TCradleFormControls& controls);
QWidget* CreateDataloggerSheet(QWidget* parent, TCradleFormControls& controls);
QWidget* CreateCradleStatusBar(QWidget* parent, TCradleFormControls& controls);

} // namespace qzr
