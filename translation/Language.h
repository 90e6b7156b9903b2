#pragma once

#include <QStringList>

namespace qzr {

// A language is the position of its column in the language table.
enum TLanguage { langEnglish = 0, langDutch = 1 };

inline constexpr int LanguageCount = 2;

// The names of the language columns, in column order: the items of the main
// window's language selector.
inline QStringList LanguageColumnNames()
{
    return {"English", "Nederlands"};
}

} // namespace qzr
