#pragma once

#include <cstdint>

namespace qzr {

// What a cradle link needs from the window that owns it: the presence flag it
// shares with the session, the receiver and dispatcher for every link byte,
// the output buffer of the frame codec, and the session routines that a
// unit's arrival and departure run.
class TLinkEndpoint {
public:
    virtual ~TLinkEndpoint() = default;

    virtual bool OnCradle() const = 0;
    virtual void SetOnCradle(bool onCradle) = 0;

    // One received link byte: ReceiveByte, ProcessInput, and the receiver reset
    // after a complete or failed frame.
    virtual void ReceiveLinkByte(std::uint8_t byte) = 0;
    // The receiver is inside a frame (after DLE STX, before its end).
    virtual bool ReceivingFrame() const = 0;

    virtual bool OutputPending() const = 0;
    virtual std::uint8_t NextOutputByte() = 0;

    virtual void SessionStarts() = 0;
    virtual void SessionEnds() = 0;
    virtual void UnitDetected() = 0;
    virtual void UnitGone() = 0;
};

} // namespace qzr
