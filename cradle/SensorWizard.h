#pragma once

#include <protocol/SetupData.h>

#include <functional>

class QWidget;

namespace qzr {

// The user's choice in the sensor wizard: sets a setup image up for the
// chosen sensor and sensitivity (bytes 36 to 51, the rest kept). Throws
// std::runtime_error with a message for the user, naming the value and the
// sensor, when a value does not fit its field; the image is then unchanged.
using TSensorChoice = std::function<void(TSetupData& image, int firmwareVersion)>;

// The sensor wizard as a control window runs it: the "User settings" dialog
// on the program's sensor catalogue and the settings calculation.
class TSensorWizard {
public:
    virtual ~TSensorWizard() = default;
    // Opens the dialog over `owner`, translated and modal to it, on the
    // catalogue's current sensor with this sensitivity, and returns at once.
    // When the dialog closes, `closed` receives the choice made with OK, or
    // an empty choice after Cancel; the dialog is gone by then. Throws with a
    // message for the user when the dialog cannot be opened.
    virtual void OpenWizard(QWidget& owner, float sensitivity,
                            std::function<void(TSensorChoice)> closed) = 0;
};

} // namespace qzr
