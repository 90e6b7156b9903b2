#include "cradle/operations/UnitOperations.h"

namespace qzr {

TUnitOperations::TUnitOperations(TSessionProtocol& session,
                                 TSetupProgrammingReport& programmingReport,
                                 TLiveReadingsView& readingsView,
                                 TCalibrationFieldsView& calibrationFields,
                                 TDataLoggerView& loggerView, TLogReadoutReport& readoutReport)
    : Programming(session, programmingReport), Readings(session, readingsView, calibrationFields),
      Logger(session, loggerView), Readout(session, readoutReport), FSession(session)
{
    FSession.setReplyHandler(this);
}

TUnitOperations::~TUnitOperations()
{
    FSession.setReplyHandler(nullptr);
}

void TUnitOperations::ReplyReceived(std::uint8_t messageId, const TFrameCodec& codec)
{
    switch (messageId) {
    case msgRealtime:
        Readings.ReplyReceived(codec);
        break;
    case msgWriteSetup:
    case msgFlashFactory:
    case msgFlashUser:
        Programming.ReplyReceived(messageId, codec);
        break;
    case msgLoggerStatus:
    case msgStartLogger:
        Logger.ReplyReceived(messageId, codec);
        break;
    case msgReadLog:
        Readout.ReplyReceived(codec);
        break;
    default:
        break;
    }
}

} // namespace qzr
