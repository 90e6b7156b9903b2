#include "UnitFrames.h"

namespace simtest {
namespace {

constexpr std::uint8_t Dle = 0x10;
constexpr std::uint8_t Stx = 0x02;
constexpr std::uint8_t Etx = 0x03;

void appendStuffed(std::vector<std::uint8_t>& frame, std::uint8_t byte)
{
    if (byte == Dle) {
        frame.push_back(Dle);
    }
    frame.push_back(byte);
}

} // namespace

std::vector<std::uint8_t> frameToUnit(const std::vector<std::uint8_t>& message)
{
    std::vector<std::uint8_t> frame{Dle, Stx};
    std::uint8_t checksum = 0xA5;
    for (std::uint8_t byte : message) {
        appendStuffed(frame, byte);
        checksum ^= byte;
    }
    appendStuffed(frame, checksum);
    frame.push_back(Dle);
    frame.push_back(Etx);
    return frame;
}

std::optional<std::vector<std::uint8_t>> UnitFrameReader::feed(std::uint8_t byte)
{
    switch (state_) {
    case State::WaitDle:
        if (byte == Dle) {
            state_ = State::WaitStx;
        }
        return std::nullopt;
    case State::WaitStx:
        if (byte == Stx) {
            content_.clear();
            state_ = State::Data;
        } else if (byte != Dle) {
            state_ = State::WaitDle;
        }
        return std::nullopt;
    case State::Data:
        if (byte == Dle) {
            state_ = State::DataDle;
        } else {
            content_.push_back(byte);
        }
        return std::nullopt;
    case State::DataDle:
        if (byte == Dle) {
            content_.push_back(Dle);
            state_ = State::Data;
            return std::nullopt;
        }
        state_ = State::WaitDle;
        if (byte != Etx || content_.size() < 3) {
            return std::nullopt;
        }
        {
            std::size_t messageSize = content_.size() - 2;
            unsigned sum = 0;
            for (std::size_t i = 0; i < messageSize; ++i) {
                sum += content_[i];
            }
            unsigned expected = content_[messageSize] | (content_[messageSize + 1] << 8);
            if ((sum & 0xFFFF) != expected) {
                return std::nullopt;
            }
            content_.resize(messageSize);
            return content_;
        }
    }
    return std::nullopt;
}

} // namespace simtest
