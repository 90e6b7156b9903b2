#pragma once

#include <array>
#include <cstddef>
#include <cstdint>

namespace sim {

// A small fixed-size first-in first-out byte buffer, as a cradle's UART has.
template <std::size_t Capacity> class ByteFifo {
public:
    bool empty() const { return count_ == 0; }
    bool full() const { return count_ == Capacity; }
    std::size_t size() const { return count_; }

    // False (and the byte lost) when full.
    bool push(std::uint8_t byte)
    {
        if (full()) {
            return false;
        }
        bytes_[(head_ + count_) % Capacity] = byte;
        ++count_;
        return true;
    }

    // Precondition: !empty().
    std::uint8_t pop()
    {
        std::uint8_t byte = bytes_[head_];
        head_ = (head_ + 1) % Capacity;
        --count_;
        return byte;
    }

    void clear()
    {
        head_ = 0;
        count_ = 0;
    }

private:
    std::array<std::uint8_t, Capacity> bytes_{};
    std::size_t head_ = 0;
    std::size_t count_ = 0;
};

} // namespace sim
