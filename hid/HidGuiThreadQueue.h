#pragma once

#include "hid/platform/HidWakeSignal.h"

#include <deque>
#include <functional>
#include <memory>
#include <mutex>

namespace qzr {

// Work that reader threads hand over to the GUI thread: jobs posted from any thread run on the
// GUI thread, one at a time, in the order they were posted, from the GUI thread's event loop.
// The queue outlives every object that uses it for as long as a reader holds it.
class HidGuiThreadQueue {
public:
    // The queue of the running application; the first call must come from the GUI thread.
    static std::shared_ptr<HidGuiThreadQueue> Instance();

    void Post(std::function<void()> Job);

private:
    HidGuiThreadQueue() = default;
    void RunPending();

    HidWakeSignal FPending;
    std::mutex FMutex;
    std::deque<std::function<void()>> FJobs;
};

} // namespace qzr
