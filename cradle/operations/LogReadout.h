#pragma once

#include <cstdint>

#include "cradle/FrameCodec.h"
#include "cradle/SessionProtocol.h"
#include "protocol/LogData.h"

namespace qzr {

// What a readout reports to whoever shows it.
class TLogReadoutReport {
public:
    virtual ~TLogReadoutReport() = default;
    // The progress meter, 0 to 100.
    virtual void SetProgress(int percent) = 0;
    // The whole image was read. The receiver copies what it keeps (a chart
    // window, a file); it must not wait for a user, the readout finishing
    // only after this returns (also when it throws).
    virtual void ReadoutComplete(const TLogData& image) = 0;
};

// "Read the data from the datalogger": the logger memory block by block into
// the 28160-byte image, until a block holds erased bytes only or the memory
// ends.
class TLogReadout {
public:
    static constexpr std::uint32_t RequestCount = 4;

    TLogReadout(TSessionProtocol& session, TLogReadoutReport& report);

    void ReadLoggerBtnClick();
    // Reply 0x29.
    void ReplyReceived(const TFrameCodec& codec);

    // The last readout's image (0xFF where nothing was read).
    const TLogData& LogData() const { return FLogData; }
    // The offset of the next byte to store and to request.
    std::uint16_t LogDataIndex() const { return FLogDataIndex; }

private:
    void RequestBlock();
    void Finish();

    TSessionProtocol& FSession;
    TLogReadoutReport& FReport;
    TLogData FLogData{};
    std::uint16_t FLogDataIndex = 0;
};

} // namespace qzr
