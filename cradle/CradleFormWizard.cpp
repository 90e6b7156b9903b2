// The control window's sensor wizard: the "User settings" dialog, the
// confirmation, and the programming of the user area for the chosen sensor.
#include "cradle/CradleForm.h"

#include "cradle/SensorWizard.h"
#include "widgets/MessageDialogs.h"

#include <QPushButton>

#include <exception>
#include <stdexcept>

namespace qzr {

namespace {

QString ErrorText(const std::exception& error)
{
    return QString::fromUtf8(error.what());
}

} // namespace

void TCradleForm::WizardBtnClick()
{
    const TSetupData& image = Connection.Session.SetupData;
    FEnvironment.Catalogue.PositionOnSensor(image.SensorId());
    try {
        FEnvironment.Wizard.OpenWizard(*this, image.Sensitivity(), [this](TSensorChoice choice) {
            // The window shows the unit's sensor again whatever follows; the
            // choice keeps the sensor picked in the dialog.
            ShowUnitSensor();
            if (choice)
                AskYesNo(*this, MessageText("SendSettingsToDeviceNow"),
                         [this, choice] { SendSensorChoice(choice); });
        });
    } catch (const std::exception& error) {
        ShowErrorMessage(*this, ErrorText(error));
        ShowUnitSensor();
    }
}

bool TCradleForm::SensorSettingsCanBeSent() const
{
    const TSessionState state = Connection.Session.SessionState;
    // Live readings and the logger status give way to the programming run.
    return Connection.Session.OnCradle &&
           (!IsBusy(state) || state == ssRealtime || state == ssLoggerStatus);
}

void TCradleForm::SendSensorChoice(const TSensorChoice& choice)
{
    TSetupData& image = Connection.Session.SetupData;
    const TSetupData unchanged = image;
    try {
        // The unit may have left, or another operation begun, while the
        // question was open.
        if (!SensorSettingsCanBeSent())
            throw std::runtime_error("The sensor settings were not sent: there is no unit on the "
                                     "cradle, or another operation is running.");
        choice(image, Connection.Session.FirmwareVersion);
        UserSettingsToControls(image);
        ProgramBtnClick(Controls.ProgramUserBtn);
        // A run that did not start sent nothing: the image and the window
        // keep the unit's settings.
        if (Connection.Session.SessionState != ssSendingSetup) {
            image = unchanged;
            UserSettingsToControls(image);
        }
    } catch (const std::exception& error) {
        ShowErrorMessage(*this, ErrorText(error));
    }
    ShowUnitSensor();
}

} // namespace qzr
