#include "LastError.h"

#include <atomic>

namespace vexa {
namespace {

// One value for the whole process, not per thread. Relaxed atomic access
// keeps concurrent opens free of data races without ordering anything.
std::atomic<std::int32_t> lastOpenResult{0};

} // namespace

void storeLastError(std::int32_t code)
{
    lastOpenResult.store(code, std::memory_order_relaxed);
}

std::int32_t lastError()
{
    return lastOpenResult.load(std::memory_order_relaxed);
}

} // namespace vexa
