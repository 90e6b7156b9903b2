#pragma once

#include <cstdint>

namespace qzr {

// The languages a version block's string table can be written in, in the
// order of the published version-resource language table.
enum TVersionLanguage {
    lnArabic,
    lnBulgarian,
    lnCatalan,
    lnTraditionalChinese,
    lnCzech,
    lnDanish,
    lnGerman,
    lnGreek,
    lnUSEnglish,
    lnCastilianSpanish,
    lnFinnish,
    lnFrench,
    lnHebrew,
    lnHungarian,
    lnIcelandic,
    lnItalian,
    lnJapanese,
    lnKorean,
    lnDutch,
    lnNorwegianBokmal,
    lnPolish,
    lnBrazilianPortuguese,
    lnRhaetoRomanic,
    lnRomanian,
    lnRussian,
    lnCroatoSerbian,
    lnSlovak,
    lnAlbanian,
    lnSwedish,
    lnThai,
    lnTurkish,
    lnUrdu,
    lnBahasa,
    lnSimplifiedChinese,
    lnSwissGerman,
    lnUKEnglish,
    lnMexicanSpanish,
    lnBelgianFrench,
    lnSwissItalian,
    lnBelgianDutch,
    lnNorwegianNynorsk,
    lnPortuguese,
    lnSerboCroatian,
    lnCanadianFrench,
    lnSwissFrench,
};

// The character sets of a string table, by their code pages.
enum TCharacterSet {
    csASCII,
    csJapan,
    csKorea,
    csTaiwan,
    csUnicode,
    csLatin2,
    csCyrillic,
    csMultilingual,
    csGreek,
    csTurkish,
    csHebrew,
    csArabic,
};

// The language identifier of a language (lnUSEnglish: 0x0409).
std::uint16_t LanguageId(TVersionLanguage language);

// The code page of a character set (csMultilingual: 1252).
std::uint16_t CodePageId(TCharacterSet characterSet);

} // namespace qzr
