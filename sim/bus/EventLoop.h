#pragma once

#include <chrono>
#include <cstdint>
#include <functional>
#include <mutex>
#include <unordered_map>
#include <vector>

#include "sim/bus/DeviceModel.h"
#include "sim/bus/UniqueFd.h"

namespace sim {

// One thread's event loop: file descriptors watched with epoll, one deadline
// (a timerfd) for all timed work, and tasks posted from other threads.
// Everything except post() and stop() is for the loop's own thread.
class EventLoop {
public:
    using IoHandler = std::function<void(std::uint32_t events)>;
    // Runs the timed work that is due at `now` and returns when the loop must
    // call it next (TimePoint::max() for no timed work).
    using DueHandler = std::function<TimePoint(TimePoint now)>;

    // The shortest turn of the loop when the due handler asks to be called
    // again at once: keeps work that runs "as fast as possible" from spinning
    // a core.
    static constexpr std::chrono::microseconds MinimumTurn{100};

    EventLoop();
    ~EventLoop();
    EventLoop(const EventLoop&) = delete;
    EventLoop& operator=(const EventLoop&) = delete;

    // Watches `fd` for `events` (EPOLLIN, EPOLLOUT...); returns an id for
    // modify() and unwatch(). The handler may unwatch any watch, itself too.
    std::uint64_t watch(int fd, std::uint32_t events, IoHandler handler);
    void modify(std::uint64_t id, std::uint32_t events);
    // Stops watching; call before closing the descriptor.
    void unwatch(std::uint64_t id);

    void setDueHandler(DueHandler handler);

    // Thread-safe: runs `task` on the loop's thread soon.
    void post(std::function<void()> task);

    // Runs until stop(); stop() before run() makes run() return at once.
    void run();
    // Thread-safe.
    void stop();

private:
    struct Watch {
        int fd;
        IoHandler handler;
        bool removed = false;
    };

    void runPostedTasks();
    TimePoint runDueWork();
    void armTimer(TimePoint deadline);
    void dispatch(std::uint64_t id, std::uint32_t events);
    void wake();

    UniqueFd epoll_;
    UniqueFd wakeEvent_;
    UniqueFd timer_;
    std::unordered_map<std::uint64_t, Watch> watches_;
    std::vector<std::uint64_t> removedWatches_;
    std::uint64_t nextWatchId_ = 1;
    DueHandler dueHandler_;
    TimePoint armedDeadline_ = TimePoint::max();

    std::mutex postedMutex_;
    std::vector<std::function<void()>> posted_;
    std::vector<std::function<void()>> running_;
    bool stopRequested_ = false; // guarded by postedMutex_
};

} // namespace sim
