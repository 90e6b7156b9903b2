#pragma once

#include <cstdint>
#include <string>

#include "cradle/FrameCodec.h"
#include "cradle/SessionProtocol.h"
#include "cradle/operations/SetupControls.h"
#include "protocol/SetupData.h"

namespace qzr {

// What a programming run reports to whoever shows it.
class TSetupProgrammingReport {
public:
    virtual ~TSetupProgrammingReport() = default;
    // The progress meter, 0 to 100.
    virtual void SetProgress(int percent) = 0;
    // The unit echoed other bytes than those written at `address` (even, 0 to
    // 62); no store request was sent and the session is idle again. The
    // window shows "Programming failed at address: " + SetupAddressText.
    virtual void ProgrammingFailed(std::uint16_t address) = 0;
    // The unit stored the image in its non-volatile area; the session is idle.
    virtual void ProgrammingStored(TNvmArea area) = 0;
};

// An address of the setup image as the failure report shows it: four
// upper-case hexadecimal digits (18 gives "0012").
std::string SetupAddressText(std::uint16_t address);

// Programming the setup image: the 32 pairs written at 0, 2, ... 62, each
// compared with the unit's echo, then the store request into the factory
// (0x23) or the user area (0x24).
class TSetupProgramming {
public:
    static constexpr std::uint32_t WriteCount = 6;
    static constexpr std::uint32_t StoreCount = 2;

    TSetupProgramming(TSessionProtocol& session, TSetupProgrammingReport& report);

    // Rebuilds bytes 0 to 43 of the session's SetupData from `controls` and
    // starts the run. A control value outside its field throws ERangeError
    // before anything is sent, the session state and MultiMode unchanged.
    void ProgramBtnClick(TNvmArea whatToFlash, const TSetupControls& controls);

    // Replies 0x22 (with MultiMode true), 0x23 and 0x24.
    void ReplyReceived(std::uint8_t messageId, const TFrameCodec& codec);

    TNvmArea WhatToFlash() const { return FWhatToFlash; }

private:
    void EchoReceived(const TFrameCodec& codec);
    void SendPair();

    TSessionProtocol& FSession;
    TSetupProgrammingReport& FReport;
    TNvmArea FWhatToFlash = nvmFactory;
};

} // namespace qzr
