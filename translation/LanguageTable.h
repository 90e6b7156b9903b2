#pragma once

#include "Language.h"

#include <QString>
#include <memory>
#include <optional>

namespace qzr {

// The table "Languages" of a language database (SQLite): columns English,
// Nederlands (texts of up to 255 characters), Key (50) and Default (255), in
// that order. Every failure throws TTranslatorError.
class TLanguageTable {
public:
    TLanguageTable();
    ~TLanguageTable();
    TLanguageTable(const TLanguageTable&) = delete;
    TLanguageTable& operator=(const TLanguageTable&) = delete;

    // Creates a new database file holding an empty table; an existing file
    // is an error.
    static void Create(const QString& path);

    // Opens an existing database file (never creates one) and checks that it
    // holds the table with its four columns in order.
    void Open(const QString& path);
    void Close();
    bool IsOpen() const;

    // The text of the first row (in the order the rows were added) whose key
    // is exactly equal, in the column of the language; an empty column gives
    // an empty text. Nothing when no row has the key.
    std::optional<QString> Lookup(const QString& key, TLanguage language);

    // Appends a row with the key and its default, the language columns empty.
    void Append(const QString& key, const QString& defaultText);

    // Appends a complete row.
    void AppendRow(const QString& english, const QString& dutch, const QString& key,
                   const QString& defaultText);

    // Runs a group of appends as one transaction.
    void BeginTransaction();
    void Commit();

private:
    struct TConnection;
    std::unique_ptr<TConnection> FConnection;
};

} // namespace qzr
