#pragma once

#include <cstdint>

#include "cradle/SessionInterfaces.h"
#include "cradle/SessionProtocol.h"
#include "cradle/operations/DataLogger.h"
#include "cradle/operations/LiveReadings.h"
#include "cradle/operations/LogReadout.h"
#include "cradle/operations/SetupProgramming.h"

namespace qzr {

// The unit operations of one cradle: setup programming, live readings,
// the data logger and the logger readout, on one session. It takes the
// session's replies 0x21 to 0x24 and 0x27 to 0x29 and hands each to its
// operation. The owner (the control window, or a cradle driven from the
// command line) binds its controls to the four through their views and
// reports, and calls their click handlers and timer ticks.
class TUnitOperations : public TUnitReplyHandler {
public:
    // Registers itself as the session's reply handler for its lifetime.
    TUnitOperations(TSessionProtocol& session, TSetupProgrammingReport& programmingReport,
                    TLiveReadingsView& readingsView, TCalibrationFieldsView& calibrationFields,
                    TDataLoggerView& loggerView, TLogReadoutReport& readoutReport);
    ~TUnitOperations() override;
    TUnitOperations(const TUnitOperations&) = delete;
    TUnitOperations& operator=(const TUnitOperations&) = delete;

    void ReplyReceived(std::uint8_t messageId, const TFrameCodec& codec) override;

    TSetupProgramming Programming;
    TLiveReadings Readings;
    TDataLogger Logger;
    TLogReadout Readout;

private:
    TSessionProtocol& FSession;
};

} // namespace qzr
