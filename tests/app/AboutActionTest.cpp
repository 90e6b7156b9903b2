#include "ProgramRig.h"

#include "app/AboutForm.h"
#include "app/UrlLabel.h"

#include <QAction>
#include <QApplication>
#include <QImage>
#include <QLabel>
#include <QPushButton>
#include <QTimer>

namespace qzr::test {
namespace {

class AboutActionTest : public ProgramRig {
protected:
    static QList<TAboutForm*> AboutForms()
    {
        QList<TAboutForm*> forms;
        for (QWidget* widget : QApplication::topLevelWidgets())
            if (auto* form = qobject_cast<TAboutForm*>(widget))
                forms.append(form);
        return forms;
    }

    // Runs the About action; while the box is shown, looks at it and closes
    // it with "&Close".
    void OpenAndClose(const std::function<void(TAboutForm&)>& look)
    {
        bool looked = false;
        QTimer::singleShot(0, [&] {
            auto* form = qobject_cast<TAboutForm*>(QApplication::activeModalWidget());
            ASSERT_NE(form, nullptr) << "the About box is shown modally";
            look(*form);
            looked = true;
            form->BitBtn1->click();
        });
        mainForm->HelpAboutAction->trigger();
        EXPECT_TRUE(looked);
        EXPECT_TRUE(AboutForms().isEmpty()) << "freed when it closes";
    }
};

TEST_F(AboutActionTest, EachUseShowsANewTranslatedBoxWithThePersonalitysPictureAndLink)
{
    const QString picture = filesDir.filePath(QStringLiteral("logo.png"));
    QImage logo(400, 120, QImage::Format_RGB32);
    logo.fill(Qt::darkBlue);
    ASSERT_TRUE(logo.save(picture));
    personality->HasTranslations = true;
    personality->AboutformImage = picture;
    personality->AboutformLink = QStringLiteral("https://dealer.example/zt46");
    StartProgram();

    TAboutForm* first = nullptr;
    OpenAndClose([&](TAboutForm& form) {
        first = &form;
        EXPECT_EQ(form.windowTitle(), "Info") << "translated";
        EXPECT_EQ(form.BitBtn1->text(), "&Sluiten");
        EXPECT_EQ(form.OvcURL->text(), "Visit us on the web") << "never translated";
        EXPECT_TRUE(form.VersionLabel->text().startsWith("Version: "));
        EXPECT_EQ(form.OvcURL->Url(), "https://dealer.example/zt46");
        EXPECT_EQ(form.size(), QSize(400, 211));
    });
    OpenAndClose([&](TAboutForm& form) { EXPECT_NE(&form, first); });
}

TEST_F(AboutActionTest, WithoutAPictureOfThePersonalityTheBuiltInOneIsShown)
{
    StartProgram();
    ASSERT_EQ(personality->AboutformImage, personality->ProgramDir()) << "no picture named";
    OpenAndClose([](TAboutForm& form) {
        EXPECT_EQ(form.windowTitle(), "About");
        EXPECT_EQ(form.Image->height(), 88);
        EXPECT_EQ(form.OvcURL->Url(), "https://www.halvern.example/zt46");
    });
}

} // namespace
} // namespace qzr::test
