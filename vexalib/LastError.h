#pragma once

#include <cstdint>

// The process-wide result of the last open, read by Vexa_GetLastError. Only
// the two opens store into it.
namespace vexa {

void storeLastError(std::int32_t code);
std::int32_t lastError();

} // namespace vexa
