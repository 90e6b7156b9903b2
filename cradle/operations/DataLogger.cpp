#include "cradle/operations/DataLogger.h"

#include "cradle/operations/RangeError.h"
#include "protocol/LittleEndian.h"

namespace qzr {

namespace {

constexpr std::size_t StartTimeAt = 2;
constexpr std::size_t DelayAt = 6;
constexpr std::size_t IntervalAt = 10;

} // namespace

TDataLogger::TDataLogger(TSessionProtocol& session, TDataLoggerView& view)
    : FSession(session), FView(view)
{}

void TDataLogger::StartLoggerBtnClick(const QDateTime& now, const TLoggerStartFields& fields)
{
    FSession.SetSessionState(ssStartingLogger);
    TLoggerStart start;
    try {
        start = LoggerStartFromFields(now, fields);
    } catch (const ERangeError&) {
        FSession.SetSessionState(ssIdle);
        throw;
    }
    if (start.StartMovedToToday)
        FView.ShowLogDate(now.date());
    if (start.IntervalRaised)
        FView.ShowLogInterval(start.Interval);

    TMessageBuffer message = TSessionProtocol::Message(msgStartLogger, {FSession.SessionID});
    WriteS32(message.data() + StartTimeAt, start.T);
    WriteS32(message.data() + DelayAt, start.D);
    WriteU16(message.data() + IntervalAt, start.Interval);
    FSession.SendRequest(message, StartCount);
}

void TDataLogger::ReadLoggerValuesCheckboxClick(bool checked)
{
    FView.ShowLoggerStatus(NoLoggerStatusTexts());
    if (checked) {
        FSession.SessionTimeout = TSessionProtocol::RequestTimeoutTicks;
        FSession.SetSessionTimerActive(true);
        FSession.SetSessionState(ssLoggerStatus);
        FView.SetLoggerTimerActive(true);
        return;
    }
    FView.SetLoggerTimerActive(false);
    if (FSession.SessionState != ssLoggerStatus)
        return;
    FSession.SessionTimeout = TSessionProtocol::RequestTimeoutTicks;
    FSession.SetSessionTimerActive(false);
    FSession.SetSessionState(ssIdle);
}

void TDataLogger::LoggerTimerTimer()
{
    FSession.SendMessage(TSessionProtocol::Message(msgLoggerStatus, {FSession.SessionID}),
                         StatusCount);
}

void TDataLogger::ReplyReceived(std::uint8_t messageId, const TFrameCodec& codec)
{
    if (messageId == msgStartLogger) {
        FSession.OperationDone();
        FView.LoggerStarted();
        return;
    }
    if (auto texts = LoggerStatusTexts(codec.InputData.data(), FView.DecimalDotIndex()))
        FView.ShowLoggerStatus(*texts);
}

} // namespace qzr
