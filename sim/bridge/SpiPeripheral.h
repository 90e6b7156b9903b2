#pragma once

#include <cstdint>

// Whatever sits on the bridge chip's SPI bus behind a chip-select line. Each
// clocked byte first takes the byte the peripheral shifts out, then hands it
// the byte the chip shifted in.
namespace sim {

class SpiPeripheral {
public:
    virtual ~SpiPeripheral() = default;

    // The byte the peripheral shifts out on the next clocked byte.
    virtual std::uint8_t nextOutByte() = 0;
    // The byte the chip shifted in on that clock.
    virtual void receive(std::uint8_t byte) = 0;
};

} // namespace sim
