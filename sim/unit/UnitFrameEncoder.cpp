#include "sim/unit/UnitFrameEncoder.h"

#include "protocol/UnitProtocol.h"

namespace sim {

namespace {

void appendStuffed(std::vector<std::uint8_t>& frame, std::uint8_t byte)
{
    if (byte == qzr::DLE)
        frame.push_back(qzr::DLE);
    frame.push_back(byte);
}

} // namespace

std::vector<std::uint8_t> encodeUnitFrame(std::span<const std::uint8_t> message,
                                          bool corruptChecksum)
{
    std::vector<std::uint8_t> frame;
    frame.reserve(2 * message.size() + 8);
    frame.push_back(qzr::DLE);
    frame.push_back(qzr::STX);
    std::uint16_t sum = 0;
    for (std::uint8_t byte : message) {
        appendStuffed(frame, byte);
        sum = static_cast<std::uint16_t>(sum + byte);
    }
    if (corruptChecksum)
        sum = static_cast<std::uint16_t>(sum + 1);
    appendStuffed(frame, static_cast<std::uint8_t>(sum));
    appendStuffed(frame, static_cast<std::uint8_t>(sum >> 8));
    frame.push_back(qzr::DLE);
    frame.push_back(qzr::ETX);
    return frame;
}

} // namespace sim
