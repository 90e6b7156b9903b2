#pragma once

#include "cradle/CradleConnection.h"
#include "cradle/CradleDisplay.h"
#include "cradle/CradleFormControls.h"
#include "cradle/CradleFormEnvironment.h"

#include <QWidget>

#include <cstdint>

namespace qzr {

// The control window of one cradle: it owns the cradle's connection (link,
// frame codec, session with the unit, timers) and shows the unit's settings,
// live readings and logger on three sheets. Its caption, indicators and
// enabled controls follow the session state (SetAllowances, SetCaption).
class TCradleForm : public QWidget, public TCradleDisplay {
    Q_OBJECT
public:
    // Client area of the window.
    static constexpr int ClientWidth = 569;
    static constexpr int ClientHeight = 274;

    explicit TCradleForm(TCradleFormEnvironment environment);
    ~TCradleForm() override;

    // Window placement: restored from the INI file, else centred on `anchor`.
    void RestorePlacement(const QWidget* anchor);
    // Back to the window's outline size, or as near as the sheets and panels
    // still shown allow, once the personality has hidden some of them.
    void FitToShownSheets();

    // TCradleDisplay
    void SetAllowances() override;
    void SetCaption() override;
    void ShowUnitOnCradle(bool present) override;
    void SetProgress(int percent) override;
    void ShowMessageCounts(std::uint32_t ok, std::uint32_t errors) override;
    void ClearSessionDisplays() override;
    void EndRealtimeDisplay() override;
    void SetupDataToControls() override;
    void ShowReadings(const TRealtimeReadings& readings) override;
    void ClearReadings() override;
    int DecimalDotIndex() const override;
    void ShowLoggerStatus(const TLoggerStatusTexts& texts) override;
    void ShowLogInterval(std::uint16_t seconds) override;
    void ShowLogDate(const QDate& date) override;
    void LoggerStarted() override {}
    void CradleLost() override;
    // TSetupProgrammingReport
    void ProgrammingFailed(std::uint16_t address) override;
    void ProgrammingStored(TNvmArea) override {}
    // TCalibrationFieldsView
    int AmplifierIndex() const override;
    bool LinkOffsetChecked() const override;
    bool LinkFullScaleChecked() const override;
    std::int32_t Offset(int range) const override;
    void SetOffset(int range, std::int32_t value) override;
    void SetDivider(int range, std::int32_t value) override;
    // TLogReadoutReport
    void ReadoutComplete(const TLogData& image) override;

    // Click handlers of the two check boxes that switch an operation.
    void ReadRealtimeActionExecute();
    void ReadLoggerValuesCheckboxClick();
    // Click handler of both "&Program" buttons: ProgramUserBtn programs the
    // user area, any other sender the factory area. The sensor wizard calls
    // it with ProgramUserBtn.
    void ProgramBtnClick(const QObject* sender);
    // "Erase and start the datalogger": asks first, starts after Yes.
    void StartLoggerBtnClick();
    // "Read the data from the datalogger".
    void ReadLoggerBtnClick();
    // "&Select sensor": the sensor wizard, which ends in programming the user
    // area for the chosen sensor after Yes. The window shows the unit's sensor
    // again once the dialog closes, whatever the outcome.
    void WizardBtnClick();

    // The values of the controls that programming and the logger start take.
    TSetupControls SetupControls() const;
    TLoggerStartFields LoggerStartFields() const;

    TCradleConnection Connection;
    TCradleFormControls Controls;

    // Shows the catalogue's current sensor in the sensor fields.
    void ShowCurrentSensor();

signals:
    // The cradle was lost without a device change being reported (a bridge
    // whose transfer failed); the window is no longer connected.
    void CradleWasLost();

protected:
    void closeEvent(QCloseEvent* event) override;

private:
    void BuildWindow();
    void ConnectHandlers();
    void SavePlacement() const;
    QString MessageText(const char* name) const;
    // The image's amplifier range, user scaling, decimals and sign rule into
    // their controls.
    void UserSettingsToControls(const TSetupData& image);
    // The catalogue on the image's sensor, shown with the image's sensitivity.
    void ShowUnitSensor();
    // Whether a programming run may start now: a unit on the cradle, and no
    // operation running but live readings or the logger status.
    bool SensorSettingsCanBeSent() const;
    void SendSensorChoice(const TSensorChoice& choice);

    TCradleFormEnvironment FEnvironment;
};

} // namespace qzr
