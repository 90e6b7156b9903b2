#pragma once

#include <chrono>
#include <thread>

namespace qzr::test {

inline constexpr std::chrono::milliseconds DefaultWaitLimit{10000};

// A pause of one millisecond between two checks of a condition.
inline void PauseOneMillisecond()
{
    std::this_thread::sleep_for(std::chrono::milliseconds(1));
}

// Checks `condition` until it holds or `limit` has passed, running `between`
// after every check that failed; whether it held. For what another thread, a
// process or an event loop delivers.
template <typename Condition, typename Between>
bool WaitFor(Condition&& condition, std::chrono::milliseconds limit, Between&& between)
{
    const auto deadline = std::chrono::steady_clock::now() + limit;
    while (!condition()) {
        if (std::chrono::steady_clock::now() >= deadline)
            return false;
        between();
    }
    return true;
}

template <typename Condition>
bool WaitFor(Condition&& condition, std::chrono::milliseconds limit = DefaultWaitLimit)
{
    return WaitFor(condition, limit, PauseOneMillisecond);
}

} // namespace qzr::test
