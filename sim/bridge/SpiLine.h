#pragma once

#include <cstdint>
#include <random>

#include "sim/bridge/SpiPeripheral.h"

// The SPI wires between the bridge chip and an optional peripheral, with the
// line faults the simulator can inject. While no peripheral is placed, or it
// is not selected, the chip reads the idle level of the data line (0x00 or
// 0xFF, by default 0xFF: a pulled-up line).
namespace sim {

class SpiLine {
public:
    void place(SpiPeripheral& peripheral) { peripheral_ = &peripheral; }
    void remove() { peripheral_ = nullptr; }

    void setIdleLevel(std::uint8_t level) { idleLevel_ = level; }

    // Each byte, in each direction, is corrupted (one bit flipped) with
    // probability `corruptRate` and lost with probability `dropRate`. A byte
    // lost towards the peripheral never reaches it; a byte lost from it is
    // skipped, so the chip reads the byte after it. 0 turns a fault off.
    void setFaultRates(double corruptRate, double dropRate, std::uint32_t seed);

    // One clocked byte: returns the byte the chip reads.
    std::uint8_t exchange(std::uint8_t mosi, bool selected);

private:
    bool hit(double probability);
    std::uint8_t corrupted(std::uint8_t byte);

    SpiPeripheral* peripheral_ = nullptr;
    std::uint8_t idleLevel_ = 0xFF;
    double corruptRate_ = 0.0;
    double dropRate_ = 0.0;
    std::mt19937 random_;
};

} // namespace sim
