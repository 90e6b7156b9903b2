#pragma once

#include <cstdint>

#include "sim/bridge/SpiPeripheral.h"
#include "sim/unit/Zt46Unit.h"

// The ZT-46 unit as the bridge cradle wires it to the chip's SPI bus: every
// clocked byte goes to the unit's serial input, and the byte clocked back is
// the unit's next outgoing byte, or the fill byte 0xA5 while it has nothing to
// send.
namespace sim {

class UnitOnSpiBus final : public SpiPeripheral {
public:
    static constexpr std::uint8_t FillByte = 0xA5;

    explicit UnitOnSpiBus(Zt46Unit& unit) : unit_(unit) {}

    std::uint8_t nextOutByte() override
    {
        return unit_.hasOutput() ? unit_.takeOutputByte() : FillByte;
    }
    void receive(std::uint8_t byte) override { unit_.receiveByte(byte); }

private:
    Zt46Unit& unit_;
};

} // namespace sim
