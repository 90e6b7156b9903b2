#include "ProgramRig.h"

#include <QAction>
#include <QComboBox>
#include <QLabel>
#include <QPushButton>
#include <QStatusTipEvent>

namespace qzr::test {
namespace {

class MainFormTest : public ProgramRig {
protected:
    QSettings Ini() const
    {
        return QSettings(filesDir.filePath(QStringLiteral("QZR.INI")), QSettings::IniFormat);
    }
};

TEST_F(MainFormTest, SessionIdsCountOneToTwoFiftyFiveThenZero)
{
    StartProgram();
    EXPECT_EQ(mainForm->NewSessionID(), 1);
    for (int i = 2; i <= 255; ++i)
        mainForm->NewSessionID();
    EXPECT_EQ(mainForm->NewSessionID(), 0);
    EXPECT_EQ(mainForm->NewSessionID(), 1);
}

TEST_F(MainFormTest, LayoutCaptionAndActions)
{
    StartProgram();
    EXPECT_EQ(mainForm->objectName(), "MainForm");
    EXPECT_EQ(mainForm->windowTitle(), "ZT-46 Tallyscope");
    EXPECT_EQ(mainForm->width(), 456);
    EXPECT_EQ(mainForm->minimumSize(), mainForm->maximumSize()) << "fixed size";
    struct Case {
        QAction* action;
        const char* caption;
        const char* hint;
    };
    for (const Case& c : {Case{mainForm->FileOpen, "&Open...", "Opens an existing file"},
                          Case{mainForm->HelpAboutAction, "&About...", "Show program information"},
                          Case{mainForm->FileExitAction, "E&xit", "Quits the application"}}) {
        EXPECT_EQ(c.action->text(), c.caption);
        EXPECT_EQ(c.action->statusTip(), c.hint);
        EXPECT_FALSE(c.action->icon().isNull());
    }
    EXPECT_EQ(mainForm->FileOpen->shortcut(), QKeySequence(QStringLiteral("Ctrl+O")));
    EXPECT_EQ(mainForm->OvcLanguageSelector->width(), 152);
    EXPECT_EQ(mainForm->HintPanel->width(), 250);
}

TEST_F(MainFormTest, WithoutTranslationsEnglishIsUsedAndTheLanguageIsStillSaved)
{
    Ini().setValue(QStringLiteral("Language/selection"), 1);
    StartProgram();
    mainForm->show();
    EXPECT_FALSE(mainForm->OvcLanguageSelector->isVisible());
    EXPECT_EQ(translator->CurrLanguage(), langEnglish);
    mainForm.reset();
    EXPECT_EQ(Ini().value(QStringLiteral("Language/selection")).toInt(), 0);
}

TEST_F(MainFormTest, WithTranslationsTheSavedLanguageOrDutchIsUsedAndTheSelectorSwitches)
{
    personality->HasTranslations = true;
    StartProgram();
    mainForm->show();
    EXPECT_TRUE(mainForm->OvcLanguageSelector->isVisible());
    EXPECT_EQ(translator->CurrLanguage(), langDutch) << "no saved language: Dutch";
    EXPECT_EQ(mainForm->OvcLanguageSelector->currentIndex(), 1);
    EXPECT_EQ(mainForm->FileOpen->text(), "&Openen...");

    mainForm->OvcLanguageSelector->setCurrentIndex(0);
    EXPECT_EQ(translator->CurrLanguage(), langEnglish);
    EXPECT_EQ(mainForm->FileOpen->text(), "&Open...");
    mainForm.reset();
    EXPECT_EQ(Ini().value(QStringLiteral("Language/selection")).toInt(), 0);

    StartProgram();
    EXPECT_EQ(translator->CurrLanguage(), langEnglish) << "the saved language";
}

TEST_F(MainFormTest, TheHintPanelShowsTheLongPartOfTheHintUnderTheMouseInAnyWindow)
{
    simulator->addHidCradle("hid");
    StartProgram();
    ASSERT_TRUE(WaitFor([&] { return WindowOf(ifCypress) != nullptr; }));
    QStatusTipEvent tip(WindowOf(ifCypress)->Controls.StartLoggerBtn->statusTip());
    QCoreApplication::sendEvent(WindowOf(ifCypress)->Controls.StartLoggerBtn, &tip);
    EXPECT_EQ(mainForm->HintPanel->text(), "Erase the old data and start the datalogger");
}

} // namespace
} // namespace qzr::test
