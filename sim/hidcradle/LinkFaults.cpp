#include "sim/hidcradle/LinkFaults.h"

#include <stdexcept>

namespace sim {

double checkedFaultRate(double probability)
{
    if (!(probability >= 0.0 && probability <= 1.0)) {
        throw std::invalid_argument("a fault rate must lie between 0 and 1");
    }
    return probability;
}

void LinkFaults::setCorruptionRate(double probability)
{
    corruptionRate_ = checkedFaultRate(probability);
}

void LinkFaults::setDropRate(double probability)
{
    dropRate_ = checkedFaultRate(probability);
}

bool LinkFaults::happens(double probability)
{
    if (probability <= 0.0) {
        return false;
    }
    return std::uniform_real_distribution<double>(0.0, 1.0)(random_) < probability;
}

std::optional<std::uint8_t> LinkFaults::pass(std::uint8_t byte)
{
    if (happens(dropRate_)) {
        return std::nullopt;
    }
    if (happens(corruptionRate_)) {
        auto flip = std::uniform_int_distribution<int>(1, 255)(random_);
        return static_cast<std::uint8_t>(byte ^ flip);
    }
    return byte;
}

} // namespace sim
