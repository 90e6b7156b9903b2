#include "cli/ConsoleOperations.h"

#include <protocol/AmplifierRanges.h>

#include <algorithm>

namespace qzr::cli {

namespace {

constexpr int OperationTimerInterval = 1000;

} // namespace

TConsoleOperations::TConsoleOperations(TSessionProtocol& session)
    : FSession(session), FOperations(session, *this, *this, *this, *this, *this)
{
    FSession.setReplyHandler(this);
    FRealTimer.setInterval(OperationTimerInterval);
    FLoggerTimer.setInterval(OperationTimerInterval);
    QObject::connect(&FRealTimer, &QTimer::timeout,
                     [this] { FOperations.Readings.RealTimerTimer(); });
    QObject::connect(&FLoggerTimer, &QTimer::timeout,
                     [this] { FOperations.Logger.LoggerTimerTimer(); });
}

void TConsoleOperations::ReplyReceived(std::uint8_t messageId, const TFrameCodec& codec)
{
    FInStatusReply = messageId == msgLoggerStatus;
    if (FInStatusReply)
        std::copy_n(codec.InputData.begin(), FLastStatusReply.size(), FLastStatusReply.begin());
    FStatusShown = false;
    FOperations.ReplyReceived(messageId, codec);
    // A state the program does not know changes nothing: the sheet keeps the
    // "--" it showed since the polling began.
    if (FInStatusReply && !FStatusShown) {
        LoggerStatus = NoLoggerStatusTexts();
        LoggerStatusMessage = FLastStatusReply;
    }
    FInStatusReply = false;
}

void TConsoleOperations::SetProgress(int percent)
{
    if (OnProgress)
        OnProgress(percent);
}

void TConsoleOperations::SetRealtimeTimerActive(bool active)
{
    if (active)
        FRealTimer.start();
    else
        FRealTimer.stop();
}

void TConsoleOperations::ShowReadings(const TRealtimeReadings& readings)
{
    if (OnReadings)
        OnReadings(readings);
}

int TConsoleOperations::AmplifierIndex() const
{
    return std::min(FSession.SetupData.AmplifierIndex(), AmplifierRangeCount - 1);
}

std::int32_t TConsoleOperations::Offset(int range) const
{
    return FSession.SetupData.AmpOffset(range);
}

int TConsoleOperations::DecimalDotIndex() const
{
    return FSession.SetupData.Decimals();
}

void TConsoleOperations::SetLoggerTimerActive(bool active)
{
    if (active)
        FLoggerTimer.start();
    else
        FLoggerTimer.stop();
}

void TConsoleOperations::ShowLoggerStatus(const TLoggerStatusTexts& texts)
{
    // Only the texts of a reply; switching the polling on shows "--" first.
    if (!FInStatusReply)
        return;
    LoggerStatus = texts;
    LoggerStatusMessage = FLastStatusReply;
    FStatusShown = true;
}

} // namespace qzr::cli
