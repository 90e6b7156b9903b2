#include "app/version/VersionResource.h"
#include "app/version/VersionBlockTable.h"
#include "app/version/VersionTexts.h"

#include <QCoreApplication>

#include <gtest/gtest.h>

namespace qzr::test {
namespace {

const QString UsEnglish = QStringLiteral("\\StringFileInfo\\040904E4\\");

TFixedFileInfo Version4002()
{
    TFixedFileInfo fixed;
    fixed.FileVersionMS = 0x00040000;
    fixed.FileVersionLS = 0x00000002;
    fixed.ProductVersionMS = 0x00050001;
    fixed.ProductVersionLS = 0x00020003;
    fixed.FileOS = 0x40004;
    fixed.FileType = 1;
    return fixed;
}

// Serves one block for every file and counts the reads.
class VersionResourceTest : public ::testing::Test {
protected:
    TVersionBlockReader Reader()
    {
        return [this](const QString& fileName) -> std::unique_ptr<TVersionBlock> {
            readFiles.append(fileName);
            if (!block)
                return nullptr;
            return std::make_unique<TVersionBlockTable>(*block);
        };
    }

    std::optional<TVersionBlockTable> block = TVersionBlockTable{};
    QStringList readFiles;
};

TEST_F(VersionResourceTest, TheFileVersionComesFromTheFixedInformationWhateverTheStringTableSays)
{
    block->Fixed = Version4002();
    block->Strings = {{UsEnglish + "FileVersion", "9.9.9.9"},
                      {UsEnglish + "CompanyName", "Halvern"}};
    TVersionResource resource(nullptr, Reader());
    EXPECT_EQ(resource.VersionInfo().FileVersion(), "4.0.0.2");
    EXPECT_EQ(resource.VersionInfo().ProductVersion(), "5.1.2.3");
    EXPECT_EQ(resource.VersionInfo().CompanyName(), "Halvern");
    EXPECT_EQ(resource.VersionInfo().FileOS(), "Windows NT with 32 bit Windows");
    EXPECT_EQ(resource.VersionInfo().FileType(), "Application");
    EXPECT_EQ(resource.VersionInfo().FileSubType(), "");
}

TEST_F(VersionResourceTest, EveryStringValueGoesIntoItsFieldAndTheTextualProductVersionWins)
{
    block->Fixed = Version4002();
    struct Case {
        const char* name;
        const QString& (TVersionInfo::*field)() const;
    };
    const Case cases[] = {
        {"Comments", &TVersionInfo::Comment},
        {"CompanyName", &TVersionInfo::CompanyName},
        {"FileDescription", &TVersionInfo::FileDescription},
        {"InternalName", &TVersionInfo::InternalName},
        {"LegalCopyright", &TVersionInfo::LegalCopyright},
        {"LegalTradeMarks", &TVersionInfo::LegalTradeMarks},
        {"OriginalFileName", &TVersionInfo::OriginalFileName},
        {"PrivateBuild", &TVersionInfo::PrivateBuild},
        {"ProductName", &TVersionInfo::ProductName},
        {"ProductVersion", &TVersionInfo::ProductVersion},
        {"SpecialBuild", &TVersionInfo::SpecialBuild},
    };
    for (const Case& c : cases)
        block->Strings.insert(UsEnglish + c.name, QStringLiteral("value of ") + c.name);
    TVersionResource resource(nullptr, Reader());
    for (const Case& c : cases)
        EXPECT_EQ((resource.VersionInfo().*c.field)(), QStringLiteral("value of ") + c.name);
}

TEST_F(VersionResourceTest, OnlyTheStringTableOfTheChosenLanguageAndCharacterSetIsRead)
{
    block->Fixed = Version4002();
    block->Strings = {
        {"\\StringFileInfo\\041304E4\\CompanyName", "Dutch, multilingual"},
        {"\\StringFileInfo\\040904B0\\CompanyName", "US English, Unicode"},
        {"\\StringFileInfo\\100C04E4\\CompanyName", "Swiss French, multilingual"},
    };
    TVersionResource resource(nullptr, Reader());
    EXPECT_EQ(resource.VersionInfo().CompanyName(), "") << "only 040904E4 by default";

    int changes = 0;
    resource.OnChange = [&](QObject* sender) {
        EXPECT_EQ(sender, &resource);
        ++changes;
    };
    resource.SetLanguage(lnDutch);
    EXPECT_EQ(resource.VersionInfo().CompanyName(), "Dutch, multilingual");
    resource.SetLanguage(lnSwissFrench);
    EXPECT_EQ(resource.VersionInfo().CompanyName(), "Swiss French, multilingual");
    resource.SetLanguage(lnUSEnglish);
    resource.SetCharacterSet(csUnicode);
    EXPECT_EQ(resource.VersionInfo().CompanyName(), "US English, Unicode");
    EXPECT_EQ(changes, 4);
    EXPECT_EQ(readFiles.size(), 5) << "read at creation and after every change";
}

TEST_F(VersionResourceTest, WithoutABlockOrItsFixedInformationEveryFieldIsEmpty)
{
    block->Strings = {{UsEnglish + "CompanyName", "Halvern"}};
    TVersionResource withoutFixed(nullptr, Reader());
    EXPECT_EQ(withoutFixed.VersionInfo().FileVersion(), "");
    EXPECT_EQ(withoutFixed.VersionInfo().CompanyName(), "") << "not even the string table";

    block->Fixed = Version4002();
    TVersionResource resource(nullptr, Reader());
    EXPECT_EQ(resource.VersionInfo().CompanyName(), "Halvern");
    block.reset();
    resource.SetFileName(QStringLiteral("/nowhere/else"));
    EXPECT_EQ(resource.VersionInfo().FileVersion(), "") << "the old values are cleared";
    EXPECT_EQ(resource.VersionInfo().CompanyName(), "");
    EXPECT_EQ(resource.VersionInfo().FileType(), "");
}

TEST_F(VersionResourceTest, StartsOnTheProgramsOwnFileAndKnowsWhenAnotherIsNamed)
{
    TVersionResource resource(nullptr, Reader());
    EXPECT_EQ(resource.FileName(), QCoreApplication::applicationFilePath());
    EXPECT_FALSE(resource.StoreFileName());
    EXPECT_EQ(resource.Language(), lnUSEnglish);
    EXPECT_EQ(resource.CharacterSet(), csMultilingual);
    EXPECT_EQ(readFiles, QStringList{QCoreApplication::applicationFilePath()});

    resource.SetFileName(QStringLiteral("/usr/bin/other"));
    EXPECT_TRUE(resource.StoreFileName());
    resource.SetFileName(QCoreApplication::applicationFilePath());
    EXPECT_FALSE(resource.StoreFileName());
}

TEST(BuildVersionBlockTest, TheProgramsOwnBlockCarriesTheBuildsVersionAndNames)
{
    TVersionResource resource;
    const TVersionInfo& info = resource.VersionInfo();
    EXPECT_EQ(info.FileVersion(), QZR_TEST_FILE_VERSION);
    EXPECT_EQ(info.ProductVersion(), QZR_TEST_PRODUCT_VERSION);
    EXPECT_EQ(info.ProductName(), "ZT-46 Control Utilities");
    EXPECT_EQ(info.CompanyName(), "Halvern");
    EXPECT_EQ(info.FileType(), "Application");

    resource.SetFileName(QStringLiteral("/bin/sh"));
    EXPECT_EQ(resource.VersionInfo().FileVersion(), "") << "other files have no block here";
}

TEST(VersionLanguageTest, LanguagesAndCharacterSetsMapToThePublishedIdentifiers)
{
    const std::pair<TVersionLanguage, std::uint16_t> languages[] = {
        {lnArabic, 0x0401},       {lnUSEnglish, 0x0409},         {lnDutch, 0x0413},
        {lnBahasa, 0x0421},       {lnSimplifiedChinese, 0x0804}, {lnUKEnglish, 0x0809},
        {lnBelgianDutch, 0x0813}, {lnSerboCroatian, 0x081A},     {lnCanadianFrench, 0x0C0C},
        {lnSwissFrench, 0x100C},
    };
    for (const auto& [language, id] : languages)
        EXPECT_EQ(LanguageId(language), id) << language;
    const std::pair<TCharacterSet, std::uint16_t> characterSets[] = {
        {csASCII, 0}, {csJapan, 932}, {csUnicode, 1200}, {csMultilingual, 1252}, {csArabic, 1256},
    };
    for (const auto& [characterSet, codePage] : characterSets)
        EXPECT_EQ(CodePageId(characterSet), codePage) << characterSet;
}

TEST(VersionTextsTest, OperatingSystemTypeAndSubtypeTexts)
{
    EXPECT_EQ(FileOSText(0x1), "Windows 3.0 or later");
    EXPECT_EQ(FileOSText(0x30003), "32 bit OS/2 with Presentation Manager");
    EXPECT_EQ(FileOSText(0x40000), "Windows NT");
    EXPECT_EQ(FileOSText(0), "Unknown");
    EXPECT_EQ(FileOSText(0x40001), "Unknown");

    EXPECT_EQ(FileTypeText(2), "Dynamic-Link Library");
    EXPECT_EQ(FileTypeText(7), "Static-Link Library");
    EXPECT_EQ(FileTypeText(6), "Unknown");

    struct Case {
        std::uint32_t type;
        std::uint32_t subtype;
        const char* text;
    };
    for (const Case& c :
         {Case{3, 1, "Printer"}, Case{3, 10, "Communications"}, Case{3, 11, "Unknown"},
          Case{4, 3, "TrueType"}, Case{4, 0, "Unknown"}, Case{1, 1, ""}, Case{5, 2, ""}})
        EXPECT_EQ(FileSubTypeText(c.type, c.subtype), c.text) << c.type << "/" << c.subtype;
}

} // namespace
} // namespace qzr::test
