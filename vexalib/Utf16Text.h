#pragma once

#include "vexalib.h"

#include <cstddef>
#include <string>
#include <string_view>

// UTF-16 text as the library's callers pass it, and conversions from the
// UTF-8 of the platform's device records.
namespace vexa {

// Converts UTF-8; malformed sequences become U+FFFD.
std::u16string utf8ToUtf16(std::string_view text);

// Number of characters before the terminating zero, counting at most limit + 1
// characters, so that the caller can tell "longer than limit" without reading
// past a buffer that holds limit + 1 characters.
std::size_t boundedLength(const vexa_char16* text, std::size_t limit);

// Compares at most maxChars characters, stopping after a terminating zero, with
// ASCII letters compared without regard to case.
bool equalsIgnoringCase(std::u16string_view left, std::u16string_view right, std::size_t maxChars);

// True when text begins with prefix, ASCII letters compared without regard to
// case.
bool startsWithIgnoringCase(std::u16string_view text, std::u16string_view prefix);

} // namespace vexa
