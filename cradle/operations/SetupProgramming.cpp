#include "cradle/operations/SetupProgramming.h"

#include <cstdio>

#include "cradle/operations/ControlsToSetupData.h"
#include "cradle/operations/ProgressPercent.h"

namespace qzr {

namespace {

// Positions in a 0x22 echo: the two bytes the unit now holds.
constexpr std::uint32_t EchoFirstAt = 2;
constexpr std::uint32_t EchoSecondAt = 3;

} // namespace

std::string SetupAddressText(std::uint16_t address)
{
    char text[8];
    std::snprintf(text, sizeof text, "%04X", static_cast<unsigned>(address));
    return text;
}

TSetupProgramming::TSetupProgramming(TSessionProtocol& session, TSetupProgrammingReport& report)
    : FSession(session), FReport(report)
{}

void TSetupProgramming::ProgramBtnClick(TNvmArea whatToFlash, const TSetupControls& controls)
{
    ControlsToSetupData(controls, FSession.SetupData);
    FSession.MultiMode = true;
    FWhatToFlash = whatToFlash;
    FReport.SetProgress(0);
    FSession.SETUPIndex = 0;
    FSession.SetSessionState(ssSendingSetup);
    FSession.SessionTimeout = TSessionProtocol::RequestTimeoutTicks;
    FSession.SetSessionTimerActive(true);
    SendPair();
}

void TSetupProgramming::ReplyReceived(std::uint8_t messageId, const TFrameCodec& codec)
{
    if (messageId == msgWriteSetup) {
        EchoReceived(codec);
    } else {
        FSession.OperationDone();
        FReport.ProgrammingStored(messageId == msgFlashUser ? nvmUser : nvmFactory);
    }
}

void TSetupProgramming::EchoReceived(const TFrameCodec& codec)
{
    const std::uint16_t address = FSession.SETUPIndex;
    const TSetupData& image = FSession.SetupData;
    // An echo outside a run (a late answer to a resent pair) has no pair to
    // compare with.
    if (FSession.SessionState != ssSendingSetup || address + 1u >= SetupDataSize)
        return;
    if (codec.InputData[EchoFirstAt] != image[address] ||
        codec.InputData[EchoSecondAt] != image[address + 1u]) {
        // Back to idle before the failure is shown, so that no resend or
        // time-out runs behind the error dialog.
        FSession.OperationDone();
        FReport.ProgrammingFailed(address);
        return;
    }
    FSession.SETUPIndex = static_cast<std::uint16_t>(address + 2);
    FReport.SetProgress(ProgressPercent(FSession.SETUPIndex, SetupDataSize));
    if (FSession.SETUPIndex >= SetupDataSize) {
        const std::uint8_t store = FWhatToFlash == nvmUser ? msgFlashUser : msgFlashFactory;
        FSession.SendMessage(TSessionProtocol::Message(store, {FSession.SessionID}), StoreCount);
        FSession.SetSessionState(ssFlashing);
    } else {
        SendPair();
    }
}

void TSetupProgramming::SendPair()
{
    const std::uint16_t address = FSession.SETUPIndex;
    const TSetupData& image = FSession.SetupData;
    FSession.SendMessage(TSessionProtocol::Message(
                             msgWriteSetup, {FSession.SessionID, static_cast<std::uint8_t>(address),
                                             static_cast<std::uint8_t>(address >> 8),
                                             image[address], image[address + 1u]}),
                         WriteCount);
}

} // namespace qzr
