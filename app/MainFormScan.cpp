#include "app/MainForm.h"

#include "cradle/ConnectionError.h"
#include "cradle/CradleForm.h"
#include "cradle/CradleLock.h"

#include <catalogue/PersonalityData.h>
#include <hid/EUSBException.h>
#include <translation/Translator.h>

#include <QApplication>
#include <QFrame>
#include <QSet>
#include <QTabWidget>

#include <algorithm>
#include <exception>
#include <memory>
#include <string>

namespace qzr {

QList<TCradleForm*> TMainForm::CradleForms()
{
    QList<TCradleForm*> windows;
    for (QWidget* window : QApplication::topLevelWidgets())
        if (auto* cradleWindow = qobject_cast<TCradleForm*>(window))
            windows.append(cradleWindow);
    return windows;
}

void TMainForm::ScanAfterDeviceChange()
{
    try {
        CradlesDeviceChange();
    } catch (const std::exception& error) {
        FEnvironment.ShowError(QString::fromStdString(error.what()));
    }
}

void TMainForm::CradlesDeviceChange()
{
    // Windows of cradles that are gone go first: a cradle plugged in again
    // at the same path finds its lock free.
    FreeLostCradles();
    ForgetFailuresOfGoneCradles();
    while (OpenNewCradles()) {
    }
    FreeLostCradles();
}

void TMainForm::ForgetFailuresOfGoneCradles()
{
    QSet<QString> present;
    for (std::uint16_t d = 1; d <= Cradles.NumberOfHidDevices(); ++d)
        present.insert(Cradles.GetDevicePath(d));
    FFailedCradles.intersect(present);
}

void TMainForm::ReportFailedCradle(const QString& devicePath, const std::exception& error)
{
    // A cradle that cannot be opened is told once; it is tried again at every
    // scan, and told again only after it was gone and came back.
    if (FFailedCradles.contains(devicePath))
        return;
    FFailedCradles.insert(devicePath);
    FEnvironment.ShowError(QString::fromStdString(error.what()));
}

void TMainForm::FreeLostCradles()
{
    while (CloseLostCradles()) {
    }
}

bool TMainForm::OpenNewCradles()
{
    const TCradleIdentifierSet& ids = FEnvironment.Identifiers;
    bool created = false;
    const std::uint16_t count = Cradles.NumberOfHidDevices();
    for (std::uint16_t d = 1; d <= count; ++d) {
        try {
            if (Cradles.GetVendorId(d) != ids.VendorId)
                continue;
            const std::uint16_t product = Cradles.GetProductId(d);
            const bool hidCradle = product == ids.HidProductId;
            if (!hidCradle && product != ids.BridgeProductId)
                continue;
            if (Cradles.GetAssociatedHidDevice(d) != nullptr)
                continue;
            try {
                OpenCradleWindow(d, hidCradle);
            } catch (const std::exception& error) {
                // The cradles after this one still get their windows.
                ReportFailedCradle(Cradles.GetDevicePath(d), error);
                continue;
            }
            FFailedCradles.remove(Cradles.GetDevicePath(d));
            created = true;
        } catch (const EUSBException&) {
            // A device that cannot be asked (a bridge held open by its window
            // among them) is skipped.
        }
    }
    return created;
}

void TMainForm::OpenCradleWindow(std::uint16_t deviceNr, bool hidCradle)
{
    const TPersonalityData& personality = FEnvironment.PersonalityData;
    // Owned by the application: freed by a later scan once its cradle is gone.
    auto* window = new TCradleForm(TCradleFormEnvironment{
        *this, FEnvironment.Bridge, *FMessageTexts, FSensorView, FSensorWizard, *this,
        FEnvironment.Identifiers, personality.ProductName, FEnvironment.IniFile});
    if (hidCradle) {
        // One program at a time holds a session through a cradle; the lock
        // goes with the window.
        auto* lock = new TCradleLock(Cradles.GetDevicePath(deviceNr), window);
        if (lock->HeldElsewhere()) {
            const std::string problem = lock->Problem().toStdString();
            delete window;
            throw EConnectionError(problem);
        }
        window->Connection.SetInterfaceChip(ifCypress);
        window->Connection.HidDevice.SetHidDevices(&Cradles);
    } else {
        window->Connection.SetInterfaceChip(ifSorvik);
    }
    // A bridge that failed is freed at once: the device-change report of
    // its unplugging may have come before the failure.
    connect(window, &TCradleForm::CradleWasLost, this, &TMainForm::FreeLostCradles,
            Qt::QueuedConnection);
    try {
        window->Connection.Connect(deviceNr);
    } catch (...) {
        // A window whose cradle cannot be opened goes at once: a cradle that
        // keeps failing would otherwise leave another hidden window behind
        // at every scan.
        delete window;
        throw;
    }
    FEnvironment.Translator.TranslateForm(*window);
    window->SetCaption();
    QTabWidget* pages = window->Controls.PageControl;
    pages->setTabVisible(pages->indexOf(window->Controls.CalibrationsSheet),
                         personality.HasCalibrationsSheet);
    pages->setTabVisible(pages->indexOf(window->Controls.DataloggerSheet),
                         personality.HasDataloggerSheet);
    pages->setTabVisible(pages->indexOf(window->Controls.SensorSettingsSheet),
                         personality.HasSensorSheet);
    window->Controls.AdvancedSensorSettingsPanel->setVisible(personality.HasDetailedSensorSettings);
    window->RestorePlacement(this);
    StepAside(*window);
    window->show();
    window->FitToShownSheets();
}

void TMainForm::StepAside(TCradleForm& window)
{
    // Every control window starts at the same place; move a new one down and
    // to the right until it covers no other exactly.
    constexpr int step = 28;
    const QList<TCradleForm*> others = CradleForms();
    const auto covers = [&] {
        return std::any_of(others.begin(), others.end(), [&](const TCradleForm* other) {
            return other != &window && other->isVisible() && other->pos() == window.pos();
        });
    };
    while (covers())
        window.move(window.pos() + QPoint(step, step));
}

bool TMainForm::CloseLostCradles()
{
    for (TCradleForm* window : CradleForms()) {
        if (window->Connection.Connected())
            continue;
        window->close();
        delete window;
        return true;
    }
    return false;
}

} // namespace qzr
