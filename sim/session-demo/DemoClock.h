#pragma once

#include <chrono>

namespace qzr::demo {

// The demo's simulated time: advanced by the run loop, read by everything
// that prints, so each line carries the moment it happened.
struct DemoClock {
    std::chrono::milliseconds now{0};

    double seconds() const { return static_cast<double>(now.count()) / 1000.0; }
};

} // namespace qzr::demo
