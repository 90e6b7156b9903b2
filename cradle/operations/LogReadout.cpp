#include "cradle/operations/LogReadout.h"

#include "cradle/operations/ProgressPercent.h"

namespace qzr {

namespace {

constexpr std::uint32_t PayloadAt = 2;
// ID and session ID before the payload, two checksum bytes after it.
constexpr std::uint32_t ReplyOverhead = 4;
constexpr std::uint8_t Erased = 0xFF;

} // namespace

TLogReadout::TLogReadout(TSessionProtocol& session, TLogReadoutReport& report)
    : FSession(session), FReport(report)
{
    FLogData.Erase();
}

void TLogReadout::ReadLoggerBtnClick()
{
    FSession.SetSessionState(ssReadingLog);
    FLogData.Erase();
    FLogDataIndex = 0;
    FReport.SetProgress(0);
    RequestBlock();
}

void TLogReadout::RequestBlock()
{
    FSession.SendRequest(
        TSessionProtocol::Message(msgReadLog,
                                  {FSession.SessionID, static_cast<std::uint8_t>(FLogDataIndex),
                                   static_cast<std::uint8_t>(FLogDataIndex >> 8)}),
        RequestCount);
}

void TLogReadout::ReplyReceived(const TFrameCodec& codec)
{
    // A block that comes after the readout ended (a late answer to a resent
    // request) belongs to no image.
    if (FSession.SessionState != ssReadingLog)
        return;
    const std::uint32_t payload =
        codec.InputCount > ReplyOverhead ? codec.InputCount - ReplyOverhead : 0;
    bool written = false;
    for (std::uint32_t i = 0; i < payload && FLogDataIndex < LogDataSize; ++i) {
        const std::uint8_t b = codec.InputData[PayloadAt + i];
        written = written || b != Erased;
        FLogData[FLogDataIndex++] = b;
    }
    FReport.SetProgress(ProgressPercent(FLogDataIndex, LogDataSize));
    if (FLogDataIndex < LogDataSize && written) {
        RequestBlock();
        return;
    }
    FSession.SetSessionTimerActive(false);
    FSession.SessionTimeout = TSessionProtocol::RequestTimeoutTicks;
    try {
        FReport.ReadoutComplete(FLogData);
    } catch (...) {
        Finish();
        throw;
    }
    Finish();
}

void TLogReadout::Finish()
{
    FReport.SetProgress(0);
    FSession.SetSessionState(ssIdle);
}

} // namespace qzr
