#pragma once

#include <cstdint>
#include <optional>
#include <random>

namespace sim {

// The probability itself when it lies in 0..1; otherwise throws
// std::invalid_argument.
double checkedFaultRate(double probability);

// Faults of a serial line between a cradle and its unit: each byte that
// crosses it is lost with one probability and otherwise arrives changed with
// another. Reproducible: the same seed gives the same faults.
class LinkFaults {
public:
    explicit LinkFaults(std::uint32_t seed = 1) : random_(seed) {}

    // Probabilities per byte, 0 (never, the default) to 1 (always); anything
    // else throws std::invalid_argument.
    void setCorruptionRate(double probability);
    void setDropRate(double probability);
    double corruptionRate() const { return corruptionRate_; }
    double dropRate() const { return dropRate_; }

    // The byte as it reaches the far end, or nothing when it is lost. A
    // corrupted byte always differs from the one sent.
    std::optional<std::uint8_t> pass(std::uint8_t byte);

private:
    bool happens(double probability);

    std::mt19937 random_;
    double corruptionRate_ = 0.0;
    double dropRate_ = 0.0;
};

} // namespace sim
