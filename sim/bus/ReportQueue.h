#pragma once

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <span>
#include <vector>

namespace sim {

// A bounded first-in first-out queue of fixed-size reports in one buffer
// allocated up front, so queuing a report never allocates.
class ReportQueue {
public:
    ReportQueue(std::size_t reportBytes, std::size_t capacity)
        : reportBytes_(reportBytes), capacity_(capacity), storage_(reportBytes * capacity)
    {}

    bool empty() const { return count_ == 0; }
    bool full() const { return count_ == capacity_; }
    std::size_t size() const { return count_; }

    // Appends a copy of `report` (reportBytes long); false when full.
    bool push(std::span<const std::uint8_t> report)
    {
        if (full() || report.size() != reportBytes_) {
            return false;
        }
        std::size_t slot = (head_ + count_) % capacity_;
        std::copy(report.begin(), report.end(), storage_.begin() + slot * reportBytes_);
        ++count_;
        return true;
    }

    // Precondition: !empty().
    std::span<const std::uint8_t> front() const
    {
        return {storage_.data() + head_ * reportBytes_, reportBytes_};
    }

    void pop()
    {
        if (count_ > 0) {
            head_ = (head_ + 1) % capacity_;
            --count_;
        }
    }

    void clear()
    {
        head_ = 0;
        count_ = 0;
    }

private:
    std::size_t reportBytes_;
    std::size_t capacity_;
    std::vector<std::uint8_t> storage_;
    std::size_t head_ = 0;
    std::size_t count_ = 0;
};

} // namespace sim
