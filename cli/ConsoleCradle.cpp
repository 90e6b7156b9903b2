#include "cli/ConsoleCradle.h"

#include "cli/ChosenBridge.h"
#include "cli/CliError.h"

#include <hid/HidDevices.h>

#include <QCoreApplication>
#include <QDeadlineTimer>
#include <QEventLoop>

#include <stdexcept>

namespace qzr::cli {

namespace {

constexpr int ProtocolTimerInterval = 50;
constexpr int SessionTimerInterval = 100;
constexpr int SpiTimerInterval = 10;
// How long the cradle may report no unit before the command gives up on it.
constexpr std::chrono::milliseconds UnitDetectionTime{2000};
// The longest the event loop waits at a time for the next event.
constexpr int EventWaitMilliseconds = 20;

} // namespace

TConsoleCradle::TConsoleCradle(THidDevices& devices, TBridgeApi& bridge,
                               const TCradleIdentifierSet& ids, TSessionIdSource& sessionIds)
    : Session(Codec, *this, sessionIds), FDevices(devices), FBridge(bridge), FIds(ids),
      FHidLink(*this, [this](const TCradleReport& report) {
          FHidDataPortOut.SetAsHidData(report);
          FHidDataPortOut.SendData();
      })
{
    FHidDataPortIn.SetHidDevice(&FHidDevice);
    FHidDataPortIn.OnHidData = [this](QObject*) {
        FHidLink.InputReport(FHidDataPortIn.AsHidData());
    };
    FHidDataPortOut.SetHidDevice(&FHidDevice);
    FHidDataPortOut.SetAcceptUSBData(false);

    FProtocolTimer.setInterval(ProtocolTimerInterval);
    FSessionTimer.setInterval(SessionTimerInterval);
    FSpiTimer.setInterval(SpiTimerInterval);
    FSpiTimer.setSingleShot(true);
    QObject::connect(&FProtocolTimer, &QTimer::timeout, [this] { Codec.ProtocolTimerTimer(); });
    QObject::connect(&FSessionTimer, &QTimer::timeout, [this] { Session.SessionTimerTimer(); });
    QObject::connect(&FSpiTimer, &QTimer::timeout, [this] { PollBridge(); });
    FProtocolTimer.start();
}

TConsoleCradle::~TConsoleCradle()
{
    FHidDataPortIn.SetAcceptUSBData(false);
    Disconnect();
}

void TConsoleCradle::Connect(const TCradleEntry& cradle)
{
    FKind = cradle.Kind;
    try {
        if (FKind == TCradleKind::Hid) {
            FHidDevice.SetHidDevices(&FDevices);
            FHidDevice.Connect(cradle.DeviceNr);
            if (!FHidDevice.Connected())
                throw NoCradleError(
                    QStringLiteral("Could not connect to device %1").arg(cradle.DeviceNr));
            return;
        }
        FChosenBridge = std::make_unique<TChosenBridge>(FBridge, cradle.DevicePath);
        TLinkEndpoint& endpoint = *this;
        FSpiLink = std::make_unique<TSpiLink>(
            endpoint, *FChosenBridge,
            [this](bool on) {
                if (on)
                    FSpiTimer.start();
                else
                    FSpiTimer.stop();
            },
            FIds.VendorId, FIds.BridgeProductId);
        FSpiLink->Connect();
    } catch (const ECliError&) {
        throw;
    } catch (const std::runtime_error& error) {
        // The HID layer's and the bridge link's own messages.
        throw NoCradleError(QString::fromUtf8(error.what()));
    }
}

void TConsoleCradle::Disconnect()
{
    if (FSpiLink)
        FSpiLink->Disconnect();
    FHidDevice.Disconnect();
}

bool TConsoleCradle::Connected() const
{
    return FKind == TCradleKind::Hid ? FHidDevice.Connected() : FSpiLink && FSpiLink->Connected();
}

void TConsoleCradle::PollBridge()
{
    FSpiLink->Poll();
    if (FSpiLink->Connected())
        FSpiTimer.start();
}

bool TConsoleCradle::RunUntil(const std::function<bool()>& done, std::chrono::milliseconds deadline)
{
    const QDeadlineTimer timer(deadline);
    while (!done()) {
        if (!Connected() || timer.hasExpired())
            return false;
        QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents, EventWaitMilliseconds);
    }
    return true;
}

void TConsoleCradle::HoldSession(std::chrono::milliseconds deadline)
{
    const QDeadlineTimer timer(deadline);
    const bool detected =
        RunUntil([this] { return Session.OnCradle; }, std::min(deadline, UnitDetectionTime));
    if (!Connected())
        throw NoCradleError(QStringLiteral("the cradle is gone"));
    if (!detected)
        throw NoCradleError(QStringLiteral("no unit on the cradle"));
    const bool held =
        RunUntil([this] { return FSetupRead && Session.SessionState == ssIdle; },
                 std::chrono::milliseconds(std::max<qint64>(0, timer.remainingTime())));
    if (!held) {
        if (!Connected())
            throw NoCradleError(QStringLiteral("the cradle is gone"));
        throw NoCradleError(QStringLiteral("no session with the unit within %1 seconds")
                                .arg(deadline.count() / 1000));
    }
    FSessionHeld = true;
}

void TConsoleCradle::ShowUnitOnCradle(bool present)
{
    if (!present && FSessionHeld)
        FUnitLeft = true;
}

void TConsoleCradle::SetProgress(int percent)
{
    if (OnProgress)
        OnProgress(percent);
}

void TConsoleCradle::SetSessionTimerActive(bool active)
{
    if (active)
        FSessionTimer.start();
    else
        FSessionTimer.stop();
}

void TConsoleCradle::EndRealtimeDisplay()
{
    if (OnRealtimeEnded)
        OnRealtimeEnded();
}

} // namespace qzr::cli
