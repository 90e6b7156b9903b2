#pragma once

#include <cstdint>
#include <optional>
#include <vector>

namespace simtest {

// The unit's framing, written independently for the tests: frames to the
// unit carry an 8-bit XOR checksum seeded 0xA5, frames from it a 16-bit
// additive checksum, low byte first; both double every 0x10 inside.
std::vector<std::uint8_t> frameToUnit(const std::vector<std::uint8_t>& message);

// Collects bytes from the unit and returns each message whose frame was
// complete with a good checksum.
class UnitFrameReader {
public:
    std::optional<std::vector<std::uint8_t>> feed(std::uint8_t byte);

private:
    enum class State { WaitDle, WaitStx, Data, DataDle } state_ = State::WaitDle;
    std::vector<std::uint8_t> content_;
};

} // namespace simtest
