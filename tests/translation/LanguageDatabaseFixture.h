#pragma once

#include <translation/LanguageTable.h>

#include <QSqlDatabase>
#include <QSqlQuery>
#include <QTemporaryDir>
#include <gtest/gtest.h>
#include <tuple>
#include <vector>

namespace qzr {

// A language database in a temporary directory, and a way to read its rows
// behind the translator's back.
class LanguageDatabaseFixture : public testing::Test {
protected:
    using TRow = std::tuple<QString, QString, QString, QString>; // English, Dutch, Key, Default

    void SetUp() override { ASSERT_TRUE(FDirectory.isValid()); }

    QString DatabasePath() const { return FDirectory.filePath("language.mdb"); }
    QString PathInDirectory(const QString& name) const { return FDirectory.filePath(name); }

    void CreateDatabase(const std::vector<TRow>& rows)
    {
        TLanguageTable::Create(DatabasePath());
        TLanguageTable table;
        table.Open(DatabasePath());
        for (const auto& [english, dutch, key, defaultText] : rows)
            table.AppendRow(english, dutch, key, defaultText);
    }

    // The rows with this key, in order: (Default, English, Nederlands).
    std::vector<std::tuple<QString, QString, QString>> RowsWithKey(const QString& key) const
    {
        std::vector<std::tuple<QString, QString, QString>> rows;
        {
            QSqlDatabase database = QSqlDatabase::addDatabase("QSQLITE", "fixture-reader");
            database.setDatabaseName(DatabasePath());
            EXPECT_TRUE(database.open());
            QSqlQuery query(database);
            query.prepare(R"(SELECT "Default", "English", "Nederlands" FROM "Languages" )"
                          R"(WHERE "Key" = ? ORDER BY rowid)");
            query.addBindValue(key);
            EXPECT_TRUE(query.exec());
            while (query.next())
                rows.emplace_back(query.value(0).toString(), query.value(1).toString(),
                                  query.value(2).toString());
        }
        QSqlDatabase::removeDatabase("fixture-reader");
        return rows;
    }

private:
    QTemporaryDir FDirectory;
};

} // namespace qzr
