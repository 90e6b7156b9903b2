#include "app/version/VersionLanguage.h"

#include <array>

namespace qzr {
namespace {

// lnArabic to lnBahasa are the primary languages 0x01 to 0x21 with their
// first sublanguage; the languages after them are other sublanguages.
constexpr std::uint16_t FirstPrimaryLanguageId = 0x0401;
constexpr std::array<std::uint16_t, 12> SublanguageIds = {
    0x0804, 0x0807, 0x0809, 0x080A, 0x080C, 0x0810, 0x0813, 0x0814, 0x0816, 0x081A, 0x0C0C, 0x100C};

constexpr std::array<std::uint16_t, 12> CodePages = {0,    932,  949,  950,  1200, 1250,
                                                     1251, 1252, 1253, 1254, 1255, 1256};

} // namespace

std::uint16_t LanguageId(TVersionLanguage language)
{
    if (language <= lnBahasa)
        return static_cast<std::uint16_t>(FirstPrimaryLanguageId + language);
    return SublanguageIds.at(language - lnSimplifiedChinese);
}

std::uint16_t CodePageId(TCharacterSet characterSet)
{
    return CodePages.at(characterSet);
}

} // namespace qzr
