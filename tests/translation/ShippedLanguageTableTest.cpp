// The language table built beside the program gives every message text a
// Dutch translation and keeps the texts' own spacing.
#include "LanguageDatabaseFixture.h"

#include <app/texts/Texts.h>
#include <translation/Translator.h>

#include <QCoreApplication>
#include <QFile>
#include <QLabel>
#include <QSqlDatabase>
#include <QSqlQuery>
#include <gtest/gtest.h>
#include <map>

namespace qzr {
namespace {

class ShippedLanguageTable : public LanguageDatabaseFixture {};

TEST_F(ShippedLanguageTable, TranslatesEveryMessageTextIntoDutchAndBack)
{
    ASSERT_TRUE(
        QFile::copy(QCoreApplication::applicationDirPath() + "/language.mdb", DatabasePath()));
    QStringList errors;
    TTranslator translator(
        {DatabasePath(), [&errors](const QString& e) { errors.append(e); }, [] {}});
    ASSERT_TRUE(translator.ConnectionIsvalid()) << errors.join('\n').toStdString();

    TTexts texts;
    const QList<QLabel*> labels = texts.findChildren<QLabel*>();
    ASSERT_EQ(labels.size(), 11);
    QStringList english;
    for (const QLabel* label : labels)
        english.append(label->text());

    translator.SetLanguage(langDutch);
    translator.TranslateForm(texts);
    EXPECT_EQ(texts.windowTitle(), "Teksten");
    for (int i = 0; i < labels.size(); ++i) {
        SCOPED_TRACE(labels[i]->objectName().toStdString());
        EXPECT_NE(labels[i]->text(), english[i]);
        EXPECT_EQ(labels[i]->text().endsWith(" ?"), english[i].endsWith(" ?"));
        EXPECT_EQ(labels[i]->text().endsWith(": "), english[i].endsWith(": "));
    }
    EXPECT_EQ(texts.NothingConnected(), "Niets aangesloten");

    translator.SetLanguage(langEnglish);
    translator.TranslateForm(texts);
    for (int i = 0; i < labels.size(); ++i)
        EXPECT_EQ(labels[i]->text(), english[i]);
    EXPECT_TRUE(RowsWithKey("Texts.Reading.caption").size() == 1);
}

// The access key of a text ("&Save" gives 's'); a null character when it has
// none ("&&" is a plain ampersand).
QChar AccessKey(const QString& text)
{
    for (qsizetype i = 0; i + 1 < text.size(); ++i) {
        if (text[i] != u'&')
            continue;
        if (text[i + 1] != u'&')
            return text[i + 1].toLower();
        ++i;
    }
    return {};
}

TEST(ShippedLanguageTableAccessKeys, AreDistinctWithinEachWindowInEveryLanguage)
{
    const QString connection = "shipped-access-keys";
    {
        QSqlDatabase database = QSqlDatabase::addDatabase("QSQLITE", connection);
        database.setConnectOptions("QSQLITE_OPEN_READONLY");
        database.setDatabaseName(QCoreApplication::applicationDirPath() + "/language.mdb");
        ASSERT_TRUE(database.open());
        QSqlQuery query(database);
        ASSERT_TRUE(query.exec(R"(SELECT "Key", "English", "Nederlands" FROM "Languages")"));
        // Window prefix and language column -> access key -> the keys using it.
        std::map<std::pair<QString, int>, std::map<QChar, QStringList>> used;
        while (query.next()) {
            const QString key = query.value(0).toString();
            for (int column = 1; column <= 2; ++column) {
                const QChar accessKey = AccessKey(query.value(column).toString());
                if (!accessKey.isNull())
                    used[{key.section(u'.', 0, 0), column}][accessKey].append(key);
            }
        }
        EXPECT_FALSE(used.empty());
        for (const auto& [window, keys] : used) {
            for (const auto& [accessKey, users] : keys) {
                EXPECT_EQ(users.size(), 1)
                    << "column " << window.second << ", key '" << QString(accessKey).toStdString()
                    << "': " << users.join(", ").toStdString();
            }
        }
    }
    QSqlDatabase::removeDatabase(connection);
}

TEST(Texts, LabelsCarryTheMessageTextsUnderTheirNames)
{
    TTexts texts;
    EXPECT_EQ(TTexts::Instance(), &texts);
    EXPECT_EQ(texts.objectName(), "Texts");
    EXPECT_EQ(texts.windowTitle(), "Texts");
    EXPECT_FALSE(texts.isVisible());
    EXPECT_EQ(texts.ProgrammingFailedAtAddress(), "Programming failed at address: ");
    EXPECT_EQ(texts.ThisWillEraseAreYouSure(), "This will erase the data, are you sure ?");
    EXPECT_EQ(texts.SendSettingsToDeviceNow(), "Send new sensor settings to the device now ?");

    texts.findChild<QLabel*>("readingStoredDataFromLogger")->setText("Changed");
    EXPECT_EQ(texts.readingStoredDataFromLogger(), "Changed");
}

} // namespace
} // namespace qzr
