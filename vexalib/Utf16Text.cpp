#include "Utf16Text.h"

#include <cstdint>

namespace vexa {
namespace {

constexpr char32_t replacementCharacter = 0xFFFD;

char16_t asciiUpper(char16_t c)
{
    return (c >= u'a' && c <= u'z') ? static_cast<char16_t>(c - u'a' + u'A') : c;
}

// Decodes one UTF-8 sequence at text[pos], advancing pos past it.
char32_t decodeUtf8(std::string_view text, std::size_t& pos)
{
    const auto lead = static_cast<unsigned char>(text[pos++]);
    if (lead < 0x80)
        return lead;
    int trailing = 0;
    char32_t code = 0;
    char32_t minimum = 0;
    if ((lead & 0xE0) == 0xC0) {
        trailing = 1, code = lead & 0x1F, minimum = 0x80;
    } else if ((lead & 0xF0) == 0xE0) {
        trailing = 2, code = lead & 0x0F, minimum = 0x800;
    } else if ((lead & 0xF8) == 0xF0) {
        trailing = 3, code = lead & 0x07, minimum = 0x10000;
    } else {
        return replacementCharacter;
    }
    for (int i = 0; i < trailing; ++i) {
        if (pos >= text.size() || (static_cast<unsigned char>(text[pos]) & 0xC0) != 0x80)
            return replacementCharacter;
        code = (code << 6) | (static_cast<unsigned char>(text[pos++]) & 0x3F);
    }
    const bool surrogate = code >= 0xD800 && code <= 0xDFFF;
    if (code < minimum || code > 0x10FFFF || surrogate)
        return replacementCharacter;
    return code;
}

} // namespace

std::u16string utf8ToUtf16(std::string_view text)
{
    std::u16string result;
    result.reserve(text.size());
    std::size_t pos = 0;
    while (pos < text.size()) {
        const char32_t code = decodeUtf8(text, pos);
        if (code < 0x10000) {
            result.push_back(static_cast<char16_t>(code));
        } else {
            const char32_t offset = code - 0x10000;
            result.push_back(static_cast<char16_t>(0xD800 + (offset >> 10)));
            result.push_back(static_cast<char16_t>(0xDC00 + (offset & 0x3FF)));
        }
    }
    return result;
}

std::size_t boundedLength(const vexa_char16* text, std::size_t limit)
{
    std::size_t length = 0;
    while (length <= limit && text[length] != 0)
        ++length;
    return length;
}

bool equalsIgnoringCase(std::u16string_view left, std::u16string_view right, std::size_t maxChars)
{
    for (std::size_t i = 0; i < maxChars; ++i) {
        const char16_t a = i < left.size() ? left[i] : u'\0';
        const char16_t b = i < right.size() ? right[i] : u'\0';
        if (asciiUpper(a) != asciiUpper(b))
            return false;
        if (a == u'\0')
            return true;
    }
    return true;
}

bool startsWithIgnoringCase(std::u16string_view text, std::u16string_view prefix)
{
    if (text.size() < prefix.size())
        return false;
    for (std::size_t i = 0; i < prefix.size(); ++i) {
        if (asciiUpper(text[i]) != asciiUpper(prefix[i]))
            return false;
    }
    return true;
}

} // namespace vexa
