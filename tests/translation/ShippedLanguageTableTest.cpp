// The language table built beside the program gives every message text a
// Dutch translation and keeps the texts' own spacing.
#include "LanguageDatabaseFixture.h"

#include <app/texts/Texts.h>
#include <translation/Translator.h>

#include <QCoreApplication>
#include <QFile>
#include <QLabel>
#include <gtest/gtest.h>

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
