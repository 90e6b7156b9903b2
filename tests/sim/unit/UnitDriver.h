#pragma once

#include <cstdint>
#include <vector>

#include "cradle/FrameCodec.h"
#include "sim/unit/Zt46Unit.h"

namespace sim::test {

// Talks to the unit model the way the program does: requests framed by the
// program's codec, replies rebuilt by its receiver.
class UnitDriver {
public:
    explicit UnitDriver(Zt46Unit& unit) : FUnit(unit) {}

    void send(const std::vector<std::uint8_t>& message)
    {
        qzr::TMessageBuffer buffer{};
        std::copy(message.begin(), message.end(), buffer.begin());
        FCodec.SendBlock(buffer, static_cast<std::uint32_t>(message.size()));
        while (FCodec.OutputPending())
            FUnit.receiveByte(FCodec.NextOutputByte());
    }

    // The messages of the complete frames the unit sent since the last call
    // (checksum removed); failedFrames counts the others.
    std::vector<std::vector<std::uint8_t>> replies()
    {
        std::vector<std::vector<std::uint8_t>> messages;
        while (FUnit.hasOutput()) {
            FCodec.ReceiveByte(FUnit.takeOutputByte());
            if (FCodec.BlockComplete())
                messages.emplace_back(FCodec.InputData.begin(),
                                      FCodec.InputData.begin() + FCodec.InputCount - 2);
            if (FCodec.BlockFailed())
                ++failedFrames;
            if (FCodec.BlockComplete() || FCodec.BlockFailed())
                FCodec.ResetReceiver();
        }
        return messages;
    }

    // Sends one request and returns the one reply it must get.
    std::vector<std::uint8_t> ask(const std::vector<std::uint8_t>& message)
    {
        send(message);
        auto messages = replies();
        return messages.size() == 1 ? messages.front() : std::vector<std::uint8_t>{};
    }

    void openSession(std::uint8_t sessionId)
    {
        send({0x00});
        const std::uint32_t serial = FUnit.identity().serialNumber;
        send({0x01, static_cast<std::uint8_t>(serial), static_cast<std::uint8_t>(serial >> 8),
              static_cast<std::uint8_t>(serial >> 16), static_cast<std::uint8_t>(serial >> 24),
              sessionId});
        replies();
    }

    int failedFrames = 0;

private:
    Zt46Unit& FUnit;
    qzr::TFrameCodec FCodec;
};

inline std::int32_t s16(const std::vector<std::uint8_t>& m, std::size_t at)
{
    return static_cast<std::int16_t>(m.at(at) | m.at(at + 1) << 8);
}

inline std::uint32_t u16(const std::vector<std::uint8_t>& m, std::size_t at)
{
    return static_cast<std::uint16_t>(m.at(at) | m.at(at + 1) << 8);
}

inline std::int64_t s32(const std::vector<std::uint8_t>& m, std::size_t at)
{
    return static_cast<std::int32_t>(m.at(at) | m.at(at + 1) << 8 | m.at(at + 2) << 16 |
                                     static_cast<std::uint32_t>(m.at(at + 3)) << 24);
}

} // namespace sim::test
