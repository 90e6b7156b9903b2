#include "LastError.h"
#include "vexalib.h"

#include <algorithm>
#include <iterator>

namespace {

// The header's version, which is also the library's file version.
constexpr char16_t versionText[] = u"" VEXALIB_VERSION_STRING;
static_assert(sizeof versionText <= VEXA_VERSION_BUFFER_CHARS * sizeof(vexa_char16));

} // namespace

extern "C" {

int32_t Vexa_GetLibraryVersion(vexa_char16* version)
{
    if (version == nullptr)
        return VEXA_NULL_ARGUMENT;
    std::copy(std::begin(versionText), std::end(versionText), version);
    return static_cast<int32_t>(sizeof versionText);
}

int32_t Vexa_GetLastError(void)
{
    return vexa::lastError();
}

} // extern "C"
