#pragma once

#include <chrono>
#include <thread>

// Waits, within `limit`, until `condition` holds; whether it did. For what
// another thread or process does: the condition is checked every millisecond.
template <typename Condition>
bool eventually(Condition condition,
                std::chrono::milliseconds limit = std::chrono::milliseconds(5000))
{
    const auto deadline = std::chrono::steady_clock::now() + limit;
    while (!condition()) {
        if (std::chrono::steady_clock::now() > deadline) {
            return false;
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(1));
    }
    return true;
}
