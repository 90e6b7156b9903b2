#include "sim/bridge/PinBank.h"

namespace sim {

namespace {

constexpr std::uint16_t bit(unsigned pin)
{
    return static_cast<std::uint16_t>(1u << pin);
}

enum InterruptMode : std::uint8_t {
    CountFallingEdges = 1,
    CountRisingEdges = 2,
    CountLowPulses = 3,
    CountHighPulses = 4,
};

} // namespace

PinBank::PinBank(const ChipSettings& settings)
{
    setSettings(settings);
}

void PinBank::restart(const ChipSettings& settings)
{
    setSettings(settings);
    interruptCount_ = 0;
    busReleaseAcknowledge_ = false;
}

void PinBank::setSettings(const ChipSettings& settings)
{
    settings_ = settings;
    settings_.defaultOutputs &= vexa::PinMask;
    settings_.defaultDirections &= vexa::PinMask;
}

void PinBank::setOutputs(std::uint16_t outputs)
{
    settings_.defaultOutputs = outputs & vexa::PinMask;
}

void PinBank::setDirections(std::uint16_t directions)
{
    settings_.defaultDirections = directions & vexa::PinMask;
}

std::uint16_t PinBank::levels(std::uint16_t chipSelectLevels) const
{
    std::uint16_t result = 0;
    for (unsigned pin = 0; pin < vexa::PinCount; ++pin) {
        bool high = false;
        switch (settings_.pinDesignations[pin]) {
        case vexa::pin::ChipSelect:
            high = chipSelectLevels & bit(pin);
            break;
        case vexa::pin::Dedicated:
            high = pin == vexa::pin::BusReleaseAcknowledge ? busReleaseAcknowledge_
                                                           : (outsideLevels_ & bit(pin)) != 0;
            break;
        default:
            high = (settings_.defaultDirections & bit(pin) ? outsideLevels_
                                                           : settings_.defaultOutputs) &
                   bit(pin);
            break;
        }
        if (high)
            result |= bit(pin);
    }
    return result;
}

void PinBank::setOutsideLevels(std::uint16_t levels)
{
    levels &= vexa::PinMask;
    const std::uint16_t interruptBit = bit(vexa::pin::InterruptInput);
    const bool wasHigh = outsideLevels_ & interruptBit;
    const bool isHigh = levels & interruptBit;
    outsideLevels_ = levels;
    if (settings_.pinDesignations[vexa::pin::InterruptInput] != vexa::pin::Dedicated ||
        wasHigh == isHigh)
        return;

    const auto mode = static_cast<std::uint8_t>((settings_.settingsByte >> 1) & 0x07);
    const bool falling = wasHigh;
    const bool counted = falling ? (mode == CountFallingEdges || mode == CountHighPulses)
                                 : (mode == CountRisingEdges || mode == CountLowPulses);
    if (counted && interruptCount_ < 0xFFFF)
        ++interruptCount_;
}

} // namespace sim
