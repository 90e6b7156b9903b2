#pragma once

#include "vexalib.h"

#include <cstdint>
#include <new>

// Exports that allocate working buffers run their body through this, so that
// no exception crosses the C interface: an allocation failure becomes
// VEXA_NO_MEMORY and anything else VEXA_FAILED.
namespace vexa {

template <class Body> std::int32_t guardedCall(Body&& body) noexcept
{
    try {
        return body();
    } catch (const std::bad_alloc&) {
        return VEXA_NO_MEMORY;
    } catch (...) {
        return VEXA_FAILED;
    }
}

} // namespace vexa
