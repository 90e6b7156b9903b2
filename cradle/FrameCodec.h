#pragma once

#include <array>
#include <cstddef>
#include <cstdint>

#include "protocol/UnitProtocol.h"

namespace qzr {

// Receiver states. They are single bits so that the failed states are one
// mask test.
enum TProtocolState : std::uint32_t {
    psWaitDLE = 1,   // idle: waiting for the DLE that opens a frame
    psWaitSTX = 2,   // DLE seen outside a frame
    psData = 4,      // inside a frame
    psDataDLE = 8,   // DLE seen inside a frame
    psComplete = 16, // DLE ETX seen and checksum good
    psTimeout = 32,  // abandoned by the protocol timer
    psOverflow = 64, // more than 512 unstuffed bytes
    psError = 256,   // bad checksum or bad byte after a DLE
};

// The frame codec of one cradle: encodes messages to the unit into the output
// buffer (XOR checksum seeded 0xA5) and rebuilds frames from the unit in the
// input buffer (16-bit additive checksum, low byte first), both with every
// 0x10 doubled between DLE STX and DLE ETX.
//
// The fields are public because the owner drives the codec: after every
// received byte it runs ReceiveByte, then the dispatcher, then ResetReceiver
// when the frame is complete or failed, so the dispatcher sees each finished
// frame exactly once. Fixed buffers; nothing is allocated per byte or frame.
//
// Diagnostic texts go to the logging category "qzr.link".
class TFrameCodec {
public:
    static constexpr std::size_t BufferSize = 515;
    // A frame from the unit fails when it exceeds this many unstuffed bytes.
    static constexpr std::uint32_t MaxInputCount = MaxUnstuffedFrameBytes;
    // Protocol-timer ticks (50 ms each) without a byte before a frame fails.
    static constexpr std::uint32_t ByteTimeoutTicks = 20;
    static constexpr std::uint32_t FailedStates = psTimeout | psOverflow | psError;

    std::uint32_t ProtocolState = psWaitDLE;
    std::uint32_t InputCount = 0;
    std::array<std::uint8_t, BufferSize> InputData{};
    std::uint32_t OutputCount = 0;
    std::uint32_t OutputIndex = 0;
    std::array<std::uint8_t, BufferSize> OutputData{};
    std::uint32_t ByteTimer = 0;
    std::uint32_t BlockRetries = 0;

    // Encodes Data[0..Count-1] as a frame to the unit, replacing the output
    // buffer, and restarts output and the retry count. A Count outside 1..21
    // is a programming error: it throws std::invalid_argument and leaves the
    // codec unchanged.
    void SendBlock(const TMessageBuffer& Data, std::uint32_t Count);
    // Sends the frame still in the output buffer again from its first byte.
    void ResendBlock();
    bool OutputPending() const { return OutputIndex < OutputCount; }
    // The next byte for the link. Callers test OutputPending first; calling it
    // with nothing pending throws std::logic_error.
    std::uint8_t NextOutputByte();

    // Feeds one byte from the link into the receiver.
    void ReceiveByte(std::uint8_t b);
    bool BlockComplete() const { return ProtocolState == psComplete; }
    bool BlockFailed() const { return (ProtocolState & FailedStates) != 0; }
    // Back to waiting for a frame, after a complete or failed one.
    void ResetReceiver();

    // The protocol timer's tick (every 50 ms, always running).
    void ProtocolTimerTimer();

private:
    void AppendOutput(std::uint8_t byte);
    void StoreInputByte(std::uint8_t b);
    bool InputChecksumOK() const;
};

} // namespace qzr
