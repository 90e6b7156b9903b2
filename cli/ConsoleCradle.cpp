#include "cli/ConsoleCradle.h"

#include "cli/CliError.h"

#include <hid/HidDevices.h>

#include <QCoreApplication>
#include <QDeadlineTimer>
#include <QEventLoop>

#include <protocol/AmplifierRanges.h>

#include <algorithm>
#include <stdexcept>

namespace qzr::cli {

namespace {

// How long the cradle may report no unit before the command gives up on it.
constexpr std::chrono::milliseconds UnitDetectionTime{2000};
// The longest the event loop waits at a time for the next event.
constexpr int EventWaitMilliseconds = 20;

} // namespace

TConsoleCradle::TConsoleCradle(THidDevices& devices, TBridgeApi& bridge,
                               const TCradleIdentifierSet& ids, TSessionIdSource& sessionIds)
    : FDevices(devices), FBridge(bridge), FConnection(*this, sessionIds, FBridge, ids)
{}

TConsoleCradle::~TConsoleCradle()
{
    FConnection.StopHidInput();
    FConnection.Disconnect();
}

void TConsoleCradle::Connect(const TCradleEntry& cradle)
{
    if (cradle.Kind == TCradleKind::Hid) {
        // A cradle that another program holds is left alone: its session goes
        // on undisturbed.
        FLock = std::make_unique<TCradleLock>(cradle.DevicePath);
        if (FLock->HeldElsewhere())
            throw NoCradleError(FLock->Problem());
    }
    try {
        if (cradle.Kind == TCradleKind::Hid) {
            FConnection.SetInterfaceChip(ifCypress);
            FConnection.HidDevice.SetHidDevices(&FDevices);
            FConnection.Connect(cradle.DeviceNr);
        } else {
            FBridge.Choose(cradle.DevicePath);
            FConnection.SetInterfaceChip(ifSorvik);
            FConnection.Connect(0);
        }
    } catch (const std::runtime_error& error) {
        // The HID layer's and the bridge link's own messages.
        throw NoCradleError(QString::fromUtf8(error.what()));
    }
    if (!Connected())
        throw NoCradleError(QStringLiteral("Could not connect to device %1").arg(cradle.DeviceNr));
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
        RunUntil([this] { return Session().OnCradle; }, std::min(deadline, UnitDetectionTime));
    if (!Connected())
        throw NoCradleError(QStringLiteral("the cradle is gone"));
    if (!detected)
        throw NoCradleError(QStringLiteral("no unit on the cradle"));
    const bool held =
        RunUntil([this] { return FSetupRead && Session().SessionState == ssIdle; },
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

bool TConsoleCradle::HandlingStatusReply() const
{
    const TFrameCodec& codec = FConnection.Codec;
    return codec.BlockComplete() && codec.InputData[0] == msgLoggerStatus;
}

void TConsoleCradle::ShowMessageCounts(std::uint32_t, std::uint32_t)
{
    // Every complete frame is counted before it is handled: a status reply
    // of a state the program does not know shows no texts, but it came.
    if (!HandlingStatusReply())
        return;
    std::copy_n(FConnection.Codec.InputData.begin(), LoggerStatusMessage.size(),
                LoggerStatusMessage.begin());
    LoggerStatus = NoLoggerStatusTexts();
}

void TConsoleCradle::ShowLoggerStatus(const TLoggerStatusTexts& texts)
{
    // Switching the polling on shows "--" first, outside any reply.
    if (HandlingStatusReply())
        LoggerStatus = texts;
}

void TConsoleCradle::ShowReadings(const TRealtimeReadings& readings)
{
    if (OnReadings)
        OnReadings(readings);
}

int TConsoleCradle::AmplifierIndex() const
{
    return FConnection.Session.SetupData.ShownAmplifierIndex();
}

std::int32_t TConsoleCradle::Offset(int range) const
{
    return FConnection.Session.SetupData.AmpOffset(range);
}

int TConsoleCradle::DecimalDotIndex() const
{
    return FConnection.Session.SetupData.Decimals();
}

} // namespace qzr::cli
