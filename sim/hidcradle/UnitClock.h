#pragma once

#include <chrono>
#include <optional>

#include "sim/bus/DeviceModel.h"
#include "sim/unit/Zt46Unit.h"

namespace sim {

// Runs a unit's clock from a cradle's ticks in whole milliseconds, carrying
// the fractions over, so that the unit's time follows the cradle's exactly.
class UnitClock {
public:
    // Advances `unit` (if any) by the time since the previous call.
    void advanceTo(TimePoint now, Zt46Unit* unit)
    {
        if (last_ && unit && now > *last_) {
            carried_ += now - *last_;
            auto whole = std::chrono::duration_cast<std::chrono::milliseconds>(carried_);
            if (whole.count() > 0) {
                unit->advanceTime(whole);
                carried_ -= whole;
            }
        }
        if (!last_ || now > *last_) {
            last_ = now;
        }
    }

    // A unit was placed: its time runs from the next call on.
    void restart() { carried_ = {}; }

    std::optional<TimePoint> last() const { return last_; }

private:
    std::optional<TimePoint> last_;
    Clock::duration carried_{};
};

} // namespace sim
