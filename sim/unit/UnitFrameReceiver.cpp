#include "sim/unit/UnitFrameReceiver.h"

#include "protocol/UnitProtocol.h"

namespace sim {

UnitFrameReceiver::Result UnitFrameReceiver::receiveByte(std::uint8_t byte)
{
    Result result = Result::Pending;
    switch (state_) {
    case State::WaitDle:
        if (byte == qzr::DLE)
            state_ = State::WaitStx;
        break;
    case State::WaitStx:
        if (byte == qzr::STX) {
            count_ = 0;
            state_ = State::Data;
        } else if (byte != qzr::DLE) {
            state_ = State::WaitDle;
        }
        break;
    case State::Data:
        if (byte == qzr::DLE)
            state_ = State::DataDle;
        else
            store(byte, result);
        break;
    case State::DataDle:
        if (byte == qzr::DLE) {
            state_ = State::Data;
            store(byte, result);
        } else if (byte == qzr::ETX) {
            state_ = State::WaitDle;
            result = finishFrame();
        } else if (byte == qzr::STX) {
            count_ = 0;
            state_ = State::Data;
            result = Result::Rejected;
        } else {
            state_ = State::WaitDle;
            result = Result::Rejected;
        }
        break;
    case State::Discard:
        if (byte == qzr::DLE)
            state_ = State::DiscardDle;
        break;
    case State::DiscardDle:
        if (byte == qzr::STX) {
            count_ = 0;
            state_ = State::Data;
        } else {
            state_ = byte == qzr::ETX ? State::WaitDle : State::Discard;
        }
        break;
    }
    return result;
}

std::span<const std::uint8_t> UnitFrameReceiver::message() const
{
    return {buffer_.data(), messageLength_};
}

void UnitFrameReceiver::store(std::uint8_t byte, Result& result)
{
    if (count_ == buffer_.size()) {
        // Longer than any message the unit knows: skip to the frame's end.
        state_ = State::Discard;
        result = Result::Rejected;
        return;
    }
    buffer_[count_++] = byte;
}

UnitFrameReceiver::Result UnitFrameReceiver::finishFrame()
{
    if (count_ < 2)
        return Result::Rejected;
    std::uint8_t checksum = qzr::ToUnitChecksumSeed;
    for (std::size_t i = 0; i < count_; ++i)
        checksum ^= buffer_[i];
    if (checksum != 0)
        return Result::Rejected;
    messageLength_ = count_ - 1;
    return Result::Accepted;
}

} // namespace sim
