#pragma once

#include <QDialog>

class QComboBox;
class QLabel;
class QLineEdit;
class QPushButton;

namespace qzr {

class TFloatField;
class TSensorTable;

// The "User settings" dialog: the user picks the attached sensor from the
// catalogue and enters its sensitivity, which the dialog keeps within the
// picked sensor's limits. Picking a sensor makes it the catalogue's current
// record, so every window bound to the catalogue follows. OK, offered only
// when the catalogue has a sensor, takes the sensitivity within the sensor's
// limits. Translated by its owner like any window ("WizardForm").
class TWizardForm : public QDialog {
    Q_OBJECT
public:
    static constexpr int ClientWidth = 320;
    static constexpr int ClientHeight = 124;

    TWizardForm(TSensorTable& catalogue, QWidget* owner);

    float Sensitivity() const;
    void SetSensitivity(float sensitivity);

    // The user picked a sensor: the sensitivity is kept within its limits and
    // the entry accepts the limits widened by 0.01.
    void SensorComboBoxClick();
    // The entry was outside its range: the sensitivity is kept within the
    // current sensor's limits.
    void SensitivityFieldError();

    QComboBox* DBLookupComboBox1;
    QLineEdit* DBEdit1;
    QLabel* SensitivityLabel;
    TFloatField* SensitivityField;
    QLabel* DBText;
    QPushButton* OKBtn;
    QPushButton* CancelBtn;

private:
    void BuildLayout();
    void ShowCurrentSensor();
    void OKBtnClick();

    TSensorTable& FCatalogue;
};

} // namespace qzr
