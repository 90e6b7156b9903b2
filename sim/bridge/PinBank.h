#pragma once

#include <cstdint>

#include "sim/bridge/BridgeSettings.h"

// The chip's nine pins: their designations, the output latch, the direction
// register (bit set = input), the levels driven onto the pins from outside,
// and the interrupt event counter on pin 6.
//
// The level of a pin is
// - for a chip-select pin, its bit of the chip-select levels in force (the
//   idle or the active values of the SPI transfer settings);
// - for a general-purpose output, its latch bit; for an input, the outside level;
// - for a dedicated pin, the outside level, except pin 7 (bus-release
//   acknowledge), which carries the value of the last bus-release request.
// With pin 6 dedicated, outside level changes on it are counted as the
// interrupt mode of the settings byte (bits 1-3) asks: 1 falling edges,
// 2 rising edges, 3 low pulses (counted as they end), 4 high pulses.
namespace sim {

class PinBank {
public:
    explicit PinBank(const ChipSettings& settings);

    // The chip restarts: settings from `settings`, the counter and the
    // bus-release acknowledge cleared; the outside levels stay.
    void restart(const ChipSettings& settings);

    // The current settings; outputs and directions are the live latch and
    // direction register.
    const ChipSettings& settings() const { return settings_; }
    void setSettings(const ChipSettings& settings);
    void setOutputs(std::uint16_t outputs);
    void setDirections(std::uint16_t directions);

    std::uint16_t levels(std::uint16_t chipSelectLevels) const;

    // Levels driven onto the pins from outside (bit n = pin n); all high (pulled
    // up) at start.
    void setOutsideLevels(std::uint16_t levels);

    void setBusReleaseAcknowledge(bool level) { busReleaseAcknowledge_ = level; }

    std::uint16_t interruptCount() const { return interruptCount_; }
    void resetInterruptCount() { interruptCount_ = 0; }

private:
    ChipSettings settings_;
    std::uint16_t outsideLevels_ = vexa::PinMask;
    bool busReleaseAcknowledge_ = false;
    std::uint16_t interruptCount_ = 0;
};

} // namespace sim
