#pragma once

#include <chrono>
#include <memory>
#include <optional>
#include <stdexcept>

#include "sim/bus/DeviceModel.h"
#include "sim/unit/Zt46Unit.h"

namespace sim {

// The place on a cradle that holds a unit, and the unit's clock run from the
// cradle's ticks in whole milliseconds, carrying the fractions over, so that
// the unit's time follows the cradle's exactly.
class UnitSlot {
public:
    // Puts a unit in the slot; its time runs from the next advanceTo on.
    // Throws std::logic_error when a unit is there.
    void place(std::unique_ptr<Zt46Unit> unit)
    {
        if (!unit) {
            throw std::invalid_argument("no unit to place");
        }
        if (unit_) {
            throw std::logic_error("a unit is already on the cradle");
        }
        unit_ = std::move(unit);
        carried_ = {};
    }

    // Takes the unit out (nothing when there is none).
    std::unique_ptr<Zt46Unit> remove() { return std::move(unit_); }

    Zt46Unit* unit() const { return unit_.get(); }

    // Advances the unit (if any) by the time since the previous call.
    void advanceTo(TimePoint now)
    {
        if (last_ && unit_ && now > *last_) {
            carried_ += now - *last_;
            auto whole = std::chrono::duration_cast<std::chrono::milliseconds>(carried_);
            if (whole.count() > 0) {
                unit_->advanceTime(whole);
                carried_ -= whole;
            }
        }
        if (!last_ || now > *last_) {
            last_ = now;
        }
    }

    // The time of the latest advanceTo; nothing before the first.
    std::optional<TimePoint> last() const { return last_; }

private:
    std::unique_ptr<Zt46Unit> unit_;
    std::optional<TimePoint> last_;
    Clock::duration carried_{};
};

} // namespace sim
