#include "LanguageDatabaseFixture.h"

#include <translation/Translator.h>
#include <translation/TranslatorError.h>
#include <widgets/Hint.h>

#include <QFile>
#include <QLabel>
#include <QPushButton>
#include <gtest/gtest.h>

namespace qzr {
namespace {

class TranslatorTest : public LanguageDatabaseFixture {
protected:
    std::unique_ptr<TTranslator> Open(const QString& path)
    {
        return std::make_unique<TTranslator>(
            TTranslatorOptions{path, [this](const QString& message) { Errors.append(message); },
                               [this] { ++QuitRequests; }});
    }
    std::unique_ptr<TTranslator> Open() { return Open(DatabasePath()); }

    QStringList Errors;
    int QuitRequests = 0;
};

TEST_F(TranslatorTest, TakesTheFirstRowOfAKeyAndKeepsTheTextWhereItsColumnIsEmpty)
{
    CreateDatabase({{"Hello", "Hallo", "W.Greeting.caption", "Hello"},
                    {"Hello again", "Nogmaals hallo", "W.Greeting.caption", "Hello again"},
                    {"Bye", "", "W.Bye.caption", "Bye"}});
    const auto translator = Open();
    ASSERT_TRUE(translator->ConnectionIsvalid());

    EXPECT_EQ(translator->Translate("W.Greeting.caption", "Hi"), "Hello");
    translator->SetLanguage(langDutch);
    EXPECT_EQ(translator->CurrLanguage(), langDutch);
    EXPECT_EQ(translator->Translate("W.Greeting.caption", "Hi"), "Hallo");
    EXPECT_EQ(translator->Translate("W.Bye.caption", "Goodbye"), "Goodbye");
    EXPECT_EQ(translator->Translate("w.greeting.caption", "Hi"), "Hi") << "keys are exact";
    EXPECT_TRUE(Errors.isEmpty());
}

TEST_F(TranslatorTest, AKeyMetForTheFirstTimeIsAddedOnceAndKept)
{
    CreateDatabase({});
    {
        const auto translator = Open();
        translator->SetLanguage(langDutch);
        EXPECT_EQ(translator->Translate("W.New.caption", "New"), "New");
        EXPECT_EQ(translator->Translate("W.New.caption", "Changed"), "Changed");
        EXPECT_EQ(translator->Translate("W.Apostrophe's.caption", "It's"), "It's");
        EXPECT_EQ(translator->Translate("W.Empty.caption", ""), "");
    }
    const auto rows = RowsWithKey("W.New.caption");
    ASSERT_EQ(rows.size(), 1u);
    EXPECT_EQ(rows.front(), std::make_tuple(QString("New"), QString(), QString()));
    EXPECT_EQ(RowsWithKey("W.Apostrophe's.caption").size(), 1u);
    EXPECT_TRUE(RowsWithKey("W.Empty.caption").empty());

    const auto reopened = Open();
    EXPECT_EQ(reopened->Translate("W.New.caption", "Other"), "Other");
    EXPECT_EQ(RowsWithKey("W.New.caption").size(), 1u);
}

TEST_F(TranslatorTest, WindowsOfOneKindShareTheirKeysAndSwitchBackFromDutch)
{
    CreateDatabase({{"Control", "", "CradleForm.Caption", "Control"},
                    {"Start", "Starten", "CradleForm.StartBtn.caption", "Start"},
                    {"", "Alleen Nederlands", "CradleForm.DutchOnly.caption", "Dutch only"}});
    QWidget window;
    window.setObjectName("CradleForm_2");
    window.setWindowTitle("#000012AB");
    auto* start = new QPushButton("Start", &window);
    start->setObjectName("StartBtn");
    auto* dutchOnly = new QLabel("Dutch only", &window);
    dutchOnly->setObjectName("DutchOnly");
    const auto translator = Open();

    translator->SetLanguage(langDutch);
    translator->TranslateForm(window);
    EXPECT_EQ(window.windowTitle(), "#000012AB");
    EXPECT_EQ(start->text(), "Starten");
    EXPECT_EQ(dutchOnly->text(), "Alleen Nederlands");

    translator->SetLanguage(langEnglish);
    translator->TranslateForm(window);
    EXPECT_EQ(start->text(), "Start");
    EXPECT_EQ(dutchOnly->text(), "Alleen Nederlands");
    EXPECT_EQ(RowsWithKey("CradleForm.StartBtn.caption").size(), 1u);
}

TEST_F(TranslatorTest, TranslatesEveryTopLevelWindowHiddenOnesIncluded)
{
    CreateDatabase(
        {{"Texts", "Teksten", "HiddenForm.Caption", "Texts"},
         {"Ready", "Klaar", "HiddenForm.ReadyLabel.caption", "Ready"},
         {"Hint|Long hint", "Tip|Lange tip", "OtherForm.Button.hint", "Hint|Long hint"}});
    QWidget hidden;
    hidden.setObjectName("HiddenForm");
    hidden.setWindowTitle("Texts");
    auto* ready = new QLabel("Ready", &hidden);
    ready->setObjectName("ReadyLabel");
    QWidget other;
    other.setObjectName("OtherForm");
    auto* button = new QPushButton(&other);
    button->setObjectName("Button");
    SetHint(*button, "Hint|Long hint");
    const auto translator = Open();

    translator->SetLanguage(langDutch);
    translator->TranslateAllForms();
    EXPECT_EQ(hidden.windowTitle(), "Teksten");
    EXPECT_EQ(ready->text(), "Klaar");
    EXPECT_EQ(button->toolTip(), "Tip");
    EXPECT_EQ(button->statusTip(), "Lange tip");
}

TEST_F(TranslatorTest, ALanguageIndexOutsideTheTableIsIgnored)
{
    CreateDatabase({});
    const auto translator = Open();
    translator->SetLanguage(langDutch);
    for (int index : {-1, 2, 255})
        translator->SetLanguage(index);
    EXPECT_EQ(translator->CurrentLanguage(), langDutch);
    EXPECT_EQ(TTranslator::LanguageNames(), (QStringList{"English", "Nederlands"}));
}

TEST_F(TranslatorTest, WithoutTheDatabaseTheProgramIsToldToEndAndTextsStay)
{
    const QString path = DatabasePath();
    const auto translator = Open(path);

    ASSERT_FALSE(Errors.isEmpty());
    EXPECT_EQ(Errors.front(),
              "ERROR: Critical file " + path + " not found. Please reinstall the application.");
    EXPECT_EQ(QuitRequests, 1);
    EXPECT_FALSE(translator->ConnectionIsvalid());
    EXPECT_FALSE(QFile::exists(path)) << "opening must not create an empty database";

    QWidget window;
    window.setObjectName("MainForm");
    window.setWindowTitle("ZT-46 Tallyscope");
    auto* label = new QLabel("Designed", &window);
    label->setObjectName("Label");
    translator->SetLanguage(langDutch);
    translator->TranslateForm(window);
    EXPECT_EQ(window.windowTitle(), "ZT-46 Tallyscope");
    EXPECT_EQ(label->text(), "Designed");
}

TEST_F(TranslatorTest, AFileThatIsNoLanguageTableIsReportedAndLeavesTheTranslatorClosed)
{
    for (const QByteArray& contents : {QByteArray("Standard Jet DB, not SQLite"), QByteArray()}) {
        Errors.clear();
        QFile file(DatabasePath());
        ASSERT_TRUE(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
        file.write(contents);
        file.close();

        const auto translator = Open();
        EXPECT_FALSE(translator->ConnectionIsvalid());
        EXPECT_EQ(Errors.size(), 1);
        EXPECT_EQ(QuitRequests, 0);
        EXPECT_EQ(translator->Translate("A.B.caption", "Text"), "Text");
    }
}

TEST_F(TranslatorTest, ATableThatCannotBeWrittenReachesTheCaller)
{
    CreateDatabase({});
    const auto translator = Open();
    ASSERT_TRUE(translator->ConnectionIsvalid());
    {
        QSqlDatabase database = QSqlDatabase::addDatabase("QSQLITE", "saboteur");
        database.setDatabaseName(DatabasePath());
        ASSERT_TRUE(database.open());
        QSqlQuery(database).exec(R"(CREATE TRIGGER "NoAppends" BEFORE INSERT ON "Languages" )"
                                 R"(BEGIN SELECT RAISE(ABORT, 'the table is read-only'); END)");
    }
    QSqlDatabase::removeDatabase("saboteur");

    EXPECT_THROW(translator->Translate("A.New.caption", "New"), TTranslatorError);
}

TEST_F(TranslatorTest, ATableDamagedBehindItsHeaderIsGivenUpOnceAndTheWindowsKeepTheirTexts)
{
    // The schema on the first page stays whole, so the file opens; the rows
    // and the key index behind it are damaged.
    std::vector<TRow> rows;
    for (int i = 0; i < 300; ++i)
        rows.emplace_back(QString("Text %1").arg(i), QString("Tekst %1").arg(i),
                          QString("W.Label%1.caption").arg(i), QString("Text %1").arg(i));
    rows.emplace_back("Greeting", "Groet", "W.Greeting.caption", "Greeting");
    CreateDatabase(rows);
    {
        QFile file(DatabasePath());
        ASSERT_TRUE(file.open(QIODevice::ReadWrite));
        const qint64 size = file.size();
        ASSERT_GT(size, 8192);
        file.seek(4096);
        file.write(QByteArray(size - 4096, '\xA7'));
    }
    const QByteArray damaged = [&] {
        QFile file(DatabasePath());
        file.open(QIODevice::ReadOnly);
        return file.readAll();
    }();

    const auto translator = Open();
    ASSERT_TRUE(translator->ConnectionIsvalid()) << "the damage shows only on the first look-up";
    translator->SetLanguage(langDutch);
    QWidget window;
    window.setObjectName("W");
    auto* label = new QLabel("Greeting", &window);
    label->setObjectName("Greeting");
    translator->TranslateForm(window);
    translator->TranslateForm(window);

    EXPECT_EQ(label->text(), "Greeting");
    EXPECT_FALSE(translator->ConnectionIsvalid());
    ASSERT_EQ(Errors.size(), 1) << Errors.join('\n').toStdString();
    EXPECT_TRUE(Errors.front().contains(DatabasePath()));
    EXPECT_TRUE(Errors.front().contains("malformed")) << Errors.front().toStdString();
    EXPECT_EQ(QuitRequests, 0);
    QFile file(DatabasePath());
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    EXPECT_EQ(file.readAll(), damaged) << "nothing is written into the damaged file";
}

TEST_F(TranslatorTest, ATableThatCannotBeWrittenIsGivenUpByTheWindowTranslation)
{
    CreateDatabase({{"Old", "Oud", "W.Old.caption", "Old"}});
    {
        QSqlDatabase database = QSqlDatabase::addDatabase("QSQLITE", "saboteur");
        database.setDatabaseName(DatabasePath());
        ASSERT_TRUE(database.open());
        QSqlQuery(database).exec(R"(CREATE TRIGGER "NoAppends" BEFORE INSERT ON "Languages" )"
                                 R"(BEGIN SELECT RAISE(ABORT, 'the table is read-only'); END)");
    }
    QSqlDatabase::removeDatabase("saboteur");
    const auto translator = Open();
    ASSERT_TRUE(translator->ConnectionIsvalid());
    translator->SetLanguage(langDutch);
    QWidget window;
    window.setObjectName("W");
    auto* old = new QLabel("Old", &window);
    old->setObjectName("Old");
    auto* fresh = new QLabel("New", &window);
    fresh->setObjectName("New");
    translator->TranslateForm(window);

    EXPECT_EQ(old->text(), "Oud");
    EXPECT_EQ(fresh->text(), "New");
    ASSERT_EQ(Errors.size(), 1);
    EXPECT_TRUE(Errors.front().contains(DatabasePath()));
    EXPECT_FALSE(translator->ConnectionIsvalid());
}

} // namespace
} // namespace qzr
