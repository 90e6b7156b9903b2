#include "sim/bus/EventLoop.h"

#include <array>
#include <cerrno>
#include <ctime>
#include <sys/epoll.h>
#include <sys/eventfd.h>
#include <sys/timerfd.h>
#include <system_error>

namespace sim {
namespace {

constexpr std::uint64_t WakeEventId = 0;
constexpr std::uint64_t TimerId = ~std::uint64_t{0};

[[noreturn]] void throwErrno(const char* what)
{
    throw std::system_error(errno, std::generic_category(), what);
}

UniqueFd checked(int fd, const char* what)
{
    if (fd < 0) {
        throwErrno(what);
    }
    return UniqueFd(fd);
}

void addToEpoll(int epoll, int fd, std::uint32_t events, std::uint64_t id)
{
    epoll_event event{};
    event.events = events;
    event.data.u64 = id;
    if (::epoll_ctl(epoll, EPOLL_CTL_ADD, fd, &event) != 0) {
        throwErrno("epoll_ctl(ADD)");
    }
}

} // namespace

EventLoop::EventLoop()
    : epoll_(checked(::epoll_create1(EPOLL_CLOEXEC), "epoll_create1")),
      wakeEvent_(checked(::eventfd(0, EFD_NONBLOCK | EFD_CLOEXEC), "eventfd")),
      timer_(
          checked(::timerfd_create(CLOCK_MONOTONIC, TFD_NONBLOCK | TFD_CLOEXEC), "timerfd_create"))
{
    addToEpoll(epoll_.get(), wakeEvent_.get(), EPOLLIN, WakeEventId);
    addToEpoll(epoll_.get(), timer_.get(), EPOLLIN, TimerId);
}

EventLoop::~EventLoop() = default;

std::uint64_t EventLoop::watch(int fd, std::uint32_t events, IoHandler handler)
{
    std::uint64_t id = nextWatchId_++;
    addToEpoll(epoll_.get(), fd, events, id);
    watches_.emplace(id, Watch{fd, std::move(handler)});
    return id;
}

void EventLoop::modify(std::uint64_t id, std::uint32_t events)
{
    auto it = watches_.find(id);
    if (it == watches_.end() || it->second.removed) {
        return;
    }
    epoll_event event{};
    event.events = events;
    event.data.u64 = id;
    if (::epoll_ctl(epoll_.get(), EPOLL_CTL_MOD, it->second.fd, &event) != 0) {
        throwErrno("epoll_ctl(MOD)");
    }
}

void EventLoop::unwatch(std::uint64_t id)
{
    auto it = watches_.find(id);
    if (it == watches_.end() || it->second.removed) {
        return;
    }
    ::epoll_ctl(epoll_.get(), EPOLL_CTL_DEL, it->second.fd, nullptr);
    // The handler may be running right now: it is destroyed after the batch.
    it->second.removed = true;
    removedWatches_.push_back(id);
}

void EventLoop::setDueHandler(DueHandler handler)
{
    dueHandler_ = std::move(handler);
}

void EventLoop::post(std::function<void()> task)
{
    {
        std::lock_guard lock(postedMutex_);
        posted_.push_back(std::move(task));
    }
    wake();
}

void EventLoop::stop()
{
    {
        std::lock_guard lock(postedMutex_);
        stopRequested_ = true;
    }
    wake();
}

void EventLoop::wake()
{
    std::uint64_t one = 1;
    // A full counter already means "wake up"; nothing else can go wrong here.
    [[maybe_unused]] auto written = ::write(wakeEvent_.get(), &one, sizeof one);
}

void EventLoop::run()
{
    std::array<epoll_event, 64> events{};
    for (;;) {
        runPostedTasks();
        {
            std::lock_guard lock(postedMutex_);
            if (stopRequested_) {
                return;
            }
        }
        armTimer(runDueWork());
        int count;
        do {
            count = ::epoll_wait(epoll_.get(), events.data(), static_cast<int>(events.size()), -1);
        } while (count < 0 && errno == EINTR);
        if (count < 0) {
            throwErrno("epoll_wait");
        }
        for (int i = 0; i < count; ++i) {
            dispatch(events[static_cast<std::size_t>(i)].data.u64,
                     events[static_cast<std::size_t>(i)].events);
        }
        for (std::uint64_t id : removedWatches_) {
            watches_.erase(id);
        }
        removedWatches_.clear();
    }
}

void EventLoop::dispatch(std::uint64_t id, std::uint32_t events)
{
    if (id == WakeEventId) {
        std::uint64_t count;
        [[maybe_unused]] auto read = ::read(wakeEvent_.get(), &count, sizeof count);
        return;
    }
    if (id == TimerId) {
        std::uint64_t expirations;
        [[maybe_unused]] auto read = ::read(timer_.get(), &expirations, sizeof expirations);
        armedDeadline_ = TimePoint::max();
        return;
    }
    auto it = watches_.find(id);
    if (it != watches_.end() && !it->second.removed) {
        it->second.handler(events);
    }
}

void EventLoop::runPostedTasks()
{
    {
        std::lock_guard lock(postedMutex_);
        running_.swap(posted_);
    }
    for (auto& task : running_) {
        task();
    }
    running_.clear();
}

TimePoint EventLoop::runDueWork()
{
    if (!dueHandler_) {
        return TimePoint::max();
    }
    TimePoint now = Clock::now();
    TimePoint deadline = dueHandler_(now);
    if (deadline <= now) {
        deadline = now + MinimumTurn;
    }
    return deadline;
}

void EventLoop::armTimer(TimePoint deadline)
{
    if (deadline == armedDeadline_) {
        return;
    }
    itimerspec setting{};
    if (deadline != TimePoint::max()) {
        auto since = deadline.time_since_epoch();
        auto seconds = std::chrono::duration_cast<std::chrono::seconds>(since);
        auto nanoseconds = std::chrono::duration_cast<std::chrono::nanoseconds>(since - seconds);
        setting.it_value.tv_sec = static_cast<time_t>(seconds.count());
        setting.it_value.tv_nsec = static_cast<long>(nanoseconds.count());
        if (setting.it_value.tv_sec == 0 && setting.it_value.tv_nsec == 0) {
            setting.it_value.tv_nsec = 1; // zero would disarm the timer
        }
    }
    if (::timerfd_settime(timer_.get(), TFD_TIMER_ABSTIME, &setting, nullptr) != 0) {
        throwErrno("timerfd_settime");
    }
    armedDeadline_ = deadline;
}

} // namespace sim
