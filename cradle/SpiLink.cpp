#include "cradle/SpiLink.h"

#include "cradle/ConnectionError.h"
#include "cradle/LinkLogging.h"

#include <algorithm>
#include <string>
#include <utility>

namespace qzr {

namespace {

// Holds the program-wide busy flag for the lifetime of one poll, whichever way
// the poll is left.
class TBusyGuard {
public:
    explicit TBusyGuard(bool& flag) : FFlag(flag) { FFlag = true; }
    ~TBusyGuard() { FFlag = false; }
    TBusyGuard(const TBusyGuard&) = delete;
    TBusyGuard& operator=(const TBusyGuard&) = delete;

private:
    bool& FFlag;
};

} // namespace

TSpiLink::TSpiLink(TLinkEndpoint& endpoint, TBridgeApi& bridge, TPollTimerSwitch pollTimer,
                   std::uint16_t vendorId, std::uint16_t productId)
    : FEndpoint(endpoint), FBridge(bridge), FPollTimer(std::move(pollTimer)), FVendorId(vendorId),
      FProductId(productId)
{}

void TSpiLink::Connect()
{
    // Bridges that other windows (or other programs) hold answer "in use":
    // the first free one is taken. Running out of indexes after such an
    // answer is told as "in use", which is what kept the bridge from us.
    std::int32_t openResult = 0;
    bool sawBridgeInUse = false;
    for (std::uint32_t index = 0; index < MaxBridgeIndexes; ++index) {
        std::uint32_t noPath = 0;
        FHandle = FBridge.OpenByIndex(FVendorId, FProductId, index, nullptr, &noPath);
        openResult = FBridge.GetLastError();
        if (openResult != OpenDeviceInUse)
            break;
        sawBridgeInUse = true;
    }
    if (openResult == OpenIndexBeyondCount && sawBridgeInUse)
        openResult = OpenDeviceInUse;
    if (openResult != 0) {
        FHandle = nullptr;
        throw EConnectionError("Failed to open connection: " + std::to_string(openResult));
    }

    std::uint8_t tx = 0x00;
    std::uint32_t bitRate = BitRate;
    std::uint32_t txferSize = 1;
    std::uint32_t idle = IdleCsValues;
    std::uint32_t active = ActiveCsValues;
    std::uint32_t delay1 = 0;
    std::uint32_t delay2 = 0;
    std::uint32_t delay3 = CsToDataDelay;
    std::uint8_t spiMode = 0;
    const std::int32_t setupResult =
        FBridge.XferSpiDataEx(FHandle, &tx, FReceive.data(), &bitRate, &txferSize, SetupCsMask,
                              &idle, &active, &delay1, &delay2, &delay3, &spiMode);
    if (setupResult != 0) {
        FBridge.Close(FHandle);
        FHandle = nullptr;
        throw EConnectionError("Connection error: " + std::to_string(setupResult));
    }
    FPollTimer(true);
}

void TSpiLink::Disconnect()
{
    FPollTimer(false);
    if (FHandle != nullptr)
        FBridge.Close(FHandle);
    FHandle = nullptr;
}

void TSpiLink::Poll()
{
    if (FSpiBusy || FPollsHeld || FHandle == nullptr)
        return;
    TBusyGuard busy(FSpiBusy);

    std::uint32_t bitRate = BitRate;
    std::uint32_t txferSize = static_cast<std::uint32_t>(FillTransmitBuffer());
    const std::int32_t result = FBridge.XferSpiData(FHandle, FTransmit.data(), FReceive.data(),
                                                    &bitRate, &txferSize, PollCsMask);
    if (result != 0) {
        Disconnect();
        if (OnLinkLost)
            OnLinkLost();
        return;
    }
    // The library reports how many bytes came back; never more than the buffer.
    const std::size_t received = std::min<std::size_t>(txferSize, FReceive.size());
    for (std::size_t i = 0; i < received; ++i)
        ReceivedByte(FReceive[i]);
    FFrameOpenAfterPoll = FEndpoint.OnCradle() && FEndpoint.ReceivingFrame();
}

std::size_t TSpiLink::FillTransmitBuffer()
{
    std::size_t n = 0;
    while (n < FTransmit.size() && FEndpoint.OutputPending())
        FTransmit[n++] = FEndpoint.NextOutputByte();
    const std::size_t least = FFrameOpenAfterPoll ? LongTransfer : MinimumTransfer;
    while (n < least)
        FTransmit[n++] = IdleByte;
    return n;
}

void TSpiLink::ReceivedByte(std::uint8_t byte)
{
    if (FEndpoint.OnCradle()) {
        if (byte == 0x00 || byte == 0xFF)
            FSeenOnOffCradle = std::min(FSeenOnOffCradle + 1, AbsenceBytes);
        else
            FSeenOnOffCradle = 0;
        // Erased memory inside a frame (a readout block) is no absence: the
        // count goes on, and as a frame holds at most 512 bytes, a unit pulled
        // out in the middle of one is noticed right after the receiver gives
        // the frame up.
        if (FSeenOnOffCradle >= AbsenceBytes && !FEndpoint.ReceivingFrame()) {
            FEndpoint.SetOnCradle(false);
            FEndpoint.SessionEnds();
            FEndpoint.UnitGone();
            FSeenOnOffCradle = 0;
            qCDebug(lcCradleLink, "Off cradle.");
        } else {
            FEndpoint.ReceiveLinkByte(byte);
        }
        return;
    }
    if (byte == IdleByte)
        FSeenOnOffCradle = std::min(FSeenOnOffCradle + 1, AbsenceBytes);
    else
        FSeenOnOffCradle = 0;
    if (FSeenOnOffCradle > 0) {
        FEndpoint.SetOnCradle(true);
        FEndpoint.SessionStarts();
        FEndpoint.UnitDetected();
        FSeenOnOffCradle = 0;
        qCDebug(lcCradleLink, "On cradle.");
    }
}

} // namespace qzr
