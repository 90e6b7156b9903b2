#pragma once

#include "cradle/BridgeApi.h"
#include "cradle/LinkEndpoint.h"

#include <array>
#include <cstdint>
#include <functional>

namespace qzr {

// The byte stream of the bridge cradle, clocked over SPI by polling. Each poll
// sends whatever the output buffer holds, padded with the idle byte 0xA5 to
// at least 32 bytes, and hands every received byte to presence detection and
// the endpoint.
class TSpiLink {
public:
    // Switches the window's poll timer on or off.
    using TPollTimerSwitch = std::function<void(bool on)>;

    static constexpr std::size_t BufferSize = 1025;
    static constexpr std::size_t MinimumTransfer = 32;
    // A poll that follows one ending inside a frame (a long reply such as a
    // logger block is arriving) clocks at least this many bytes: fewer, longer
    // transfers spend less of the time on the bridge's USB round trips.
    static constexpr std::size_t LongTransfer = 128;
    static constexpr std::uint8_t IdleByte = 0xA5;
    // Consecutive bytes of 0x00 or 0xFF after which the unit counts as gone,
    // once the receiver is outside a frame.
    static constexpr int AbsenceBytes = 300;

    static constexpr std::uint32_t BitRate = 4000;
    // Pin 4 is the chip select; a poll names no pin and keeps that set-up.
    static constexpr std::uint32_t SetupCsMask = 0x10;
    static constexpr std::uint32_t PollCsMask = 0x10000000;
    static constexpr std::uint32_t IdleCsValues = 0x1FF;
    static constexpr std::uint32_t ActiveCsValues = 0x1EF;
    static constexpr std::uint32_t CsToDataDelay = 20;

    TSpiLink(TLinkEndpoint& endpoint, TBridgeApi& bridge, TPollTimerSwitch pollTimer,
             std::uint16_t vendorId, std::uint16_t productId);

    // The library's open results that send the search to the next index,
    // and the end of the search.
    static constexpr std::int32_t OpenDeviceInUse = -106;
    static constexpr std::int32_t OpenIndexBeyondCount = -101;
    static constexpr std::uint32_t MaxBridgeIndexes = 128;

    // Opens the first bridge that nobody holds yet and sets up its SPI
    // transfers; throws EConnectionError with the library's code on failure.
    void Connect();
    // Closes the bridge; never throws.
    void Disconnect();
    bool Connected() const { return FHandle != nullptr; }

    // The poll timer tick.
    void Poll();

    // Runs after a failed transfer has closed the bridge.
    std::function<void()> OnLinkLost;

    TBridgeHandle MCDeviceHandle() const { return FHandle; }
    int SeenOnOffCradle() const { return FSeenOnOffCradle; }

    // Set while a poll of any window is inside its transfer or its message
    // handling, so that polls never nest.
    static bool SpiBusy() { return FSpiBusy; }

    // While held, the polls of every window return at once without a
    // transfer, and the poll timer tries again: the program holds them until
    // its main window has been painted, since each poll blocks the GUI thread
    // for its whole transfer.
    static void HoldPolls(bool held) { FPollsHeld = held; }
    static bool PollsHeld() { return FPollsHeld; }

private:
    std::size_t FillTransmitBuffer();
    void ReceivedByte(std::uint8_t byte);

    TLinkEndpoint& FEndpoint;
    TBridgeApi& FBridge;
    TPollTimerSwitch FPollTimer;
    std::uint16_t FVendorId;
    std::uint16_t FProductId;
    TBridgeHandle FHandle = nullptr;
    int FSeenOnOffCradle = 0;
    bool FFrameOpenAfterPoll = false;
    std::array<std::uint8_t, BufferSize> FTransmit{};
    std::array<std::uint8_t, BufferSize> FReceive{};

    static inline bool FSpiBusy = false;
    static inline bool FPollsHeld = false;
};

} // namespace qzr
