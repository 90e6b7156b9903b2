#pragma once

#include <future>
#include <stdexcept>
#include <thread>
#include <type_traits>
#include <utility>

#include "sim/bus/EventLoop.h"

namespace sim {

// Runs an event loop on a thread of its own and lets other threads run code
// on it and wait for the result.
class BusThread {
public:
    // Starts `loop.run()` on a new thread. The loop must outlive this object.
    explicit BusThread(EventLoop& loop);
    // Stops the loop and joins the thread.
    ~BusThread();
    BusThread(const BusThread&) = delete;
    BusThread& operator=(const BusThread&) = delete;

    bool onLoopThread() const { return std::this_thread::get_id() == thread_.get_id(); }

    // Runs `function` on the loop's thread, waits for it and returns its
    // result; its exception is rethrown here. Called on the loop's thread it
    // runs at once. Throws std::logic_error after stop().
    template <typename Function> std::invoke_result_t<Function> call(Function&& function)
    {
        if (onLoopThread()) {
            return std::forward<Function>(function)();
        }
        if (!thread_.joinable()) {
            throw std::logic_error("the event loop has stopped");
        }
        std::packaged_task<std::invoke_result_t<Function>()> task(std::forward<Function>(function));
        auto result = task.get_future();
        loop_.post([&task] { task(); });
        return result.get();
    }

    // Stops the loop and joins the thread; later calls do nothing.
    void stop();

private:
    EventLoop& loop_;
    std::thread thread_;
};

} // namespace sim
