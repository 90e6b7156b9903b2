#include "app/AboutForm.h"
#include "app/UrlLabel.h"
#include "app/version/VersionBlockTable.h"

#include <QDesktopServices>
#include <QImage>
#include <QLabel>
#include <QPushButton>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>
#include <QUrl>

#include <gtest/gtest.h>

namespace qzr::test {
namespace {

// Every file has the same version block: file version 4.0.0.2, and a string
// table that claims another.
std::unique_ptr<TVersionBlock> Version4002Block(const QString&)
{
    auto block = std::make_unique<TVersionBlockTable>();
    TFixedFileInfo fixed;
    fixed.FileVersionMS = 0x00040000;
    fixed.FileVersionLS = 0x00000002;
    block->Fixed = fixed;
    block->Strings = {{"\\StringFileInfo\\040904E4\\FileVersion", "7.7.7.7"}};
    return block;
}

// Receives the addresses the desktop is asked to open.
class UrlCatcher : public QObject {
    Q_OBJECT
public:
    QList<QUrl> opened;

public slots:
    void Open(const QUrl& url) { opened.append(url); }
};

class AboutFormTest : public ::testing::Test {
protected:
    QString Picture(int width, int height)
    {
        const QString path =
            files.filePath(QStringLiteral("picture-%1x%2.png").arg(width).arg(height));
        QImage picture(width, height, QImage::Format_RGB32);
        picture.fill(Qt::darkCyan);
        EXPECT_TRUE(picture.save(path));
        return path;
    }

    static int ClientHeight(int pictureHeight)
    {
        return TAboutForm::TopPanelHeight + pictureHeight + TAboutForm::VersionLabelHeight +
               TAboutForm::UrlHeight + TAboutForm::ButtonPanelHeight;
    }

    QTemporaryDir files;
};

TEST_F(AboutFormTest, TheVersionLabelShowsTheFixedFileVersion)
{
    TAboutForm form(Version4002Block);
    EXPECT_EQ(form.VersionLabel->text(), "Version: 4.0.0.2");
    EXPECT_EQ(form.VersionResource.FileName(), QCoreApplication::applicationFilePath());

    TAboutForm withoutBlock([](const QString&) { return nullptr; });
    EXPECT_EQ(withoutBlock.VersionLabel->text(), "Version: ");
}

TEST_F(AboutFormTest, TheBuiltInPictureAndTheStackedParts)
{
    TAboutForm form(Version4002Block);
    form.show();
    EXPECT_EQ(form.objectName(), "AboutForm");
    EXPECT_EQ(form.windowTitle(), "About");
    EXPECT_EQ(form.Image->height(), 88);
    EXPECT_EQ(form.height(), ClientHeight(88));
    EXPECT_EQ(form.minimumSize(), form.maximumSize()) << "fixed size";
    EXPECT_EQ(form.TopPanel->geometry(), QRect(0, 0, form.width(), 21));
    EXPECT_EQ(form.Image->y(), 21);
    EXPECT_EQ(form.VersionLabel->geometry(), QRect(0, 109, form.width(), 16));
    EXPECT_EQ(form.OvcURL->y(), 125);
    EXPECT_EQ(form.OvcURL->height(), 13);
    EXPECT_EQ(form.ButtonPanel->geometry(), QRect(0, 138, form.width(), 41));
    EXPECT_EQ(form.OvcURL->text(), "Visit us on the web");
    EXPECT_TRUE(form.OvcURL->font().underline());
    EXPECT_EQ(form.VersionLabel->property("tag").toInt(), 999);
    EXPECT_EQ(form.OvcURL->property("tag").toInt(), 999);
    EXPECT_TRUE(form.BitBtn1->isVisible());
    EXPECT_FALSE(form.BitBtn2->isVisible());
}

TEST_F(AboutFormTest, TheBoxIsAsWideAsThePictureAtLeast230PixelsAndAsHighAsItsParts)
{
    struct Case {
        int pictureWidth;
        int pictureHeight;
        int clientWidth;
        int clientHeight;
    };
    for (const Case& c : {Case{400, 60, 400, 151}, Case{100, 60, 230, 151},
                          Case{230, 120, 230, 211}, Case{229, 1, 230, 92}}) {
        TAboutForm form(Version4002Block);
        form.LoadPicture(Picture(c.pictureWidth, c.pictureHeight));
        form.show();
        EXPECT_EQ(form.size(), QSize(c.clientWidth, c.clientHeight)) << c.pictureWidth;
        EXPECT_EQ(form.height(), ClientHeight(c.pictureHeight));
        EXPECT_EQ(form.Image->size(), QSize(c.pictureWidth, c.pictureHeight));
        EXPECT_EQ(form.Image->x(), (c.clientWidth - c.pictureWidth) / 2) << "centred";
        EXPECT_EQ(form.ButtonPanel->geometry().bottom(), c.clientHeight - 1);
    }
}

TEST_F(AboutFormTest, APictureThatDoesNotLoadLeavesTheBuiltInOne)
{
    QFile notAPicture(files.filePath(QStringLiteral("broken.png")));
    ASSERT_TRUE(notAPicture.open(QIODevice::WriteOnly));
    notAPicture.write("not a picture at all");
    notAPicture.close();
    for (const QString& path : {files.path() + '/', files.filePath(QStringLiteral("missing.png")),
                                notAPicture.fileName(), QString()}) {
        TAboutForm form(Version4002Block);
        const QSize builtIn = form.size();
        const qint64 builtInKey = form.Image->pixmap().cacheKey();
        form.LoadPicture(path);
        EXPECT_EQ(form.size(), builtIn) << path.toStdString();
        EXPECT_EQ(form.Image->pixmap().cacheKey(), builtInKey);
    }
}

TEST_F(AboutFormTest, TheLinkOpensItsAddressWithTheDesktopsHandler)
{
    UrlCatcher catcher;
    QDesktopServices::setUrlHandler(QStringLiteral("https"), &catcher, "Open");
    TAboutForm form(Version4002Block);
    form.SetLink(QStringLiteral("https://www.halvern.example/zt46"));
    form.show();
    QTest::mouseClick(form.OvcURL, Qt::LeftButton);
    QDesktopServices::unsetUrlHandler(QStringLiteral("https"));
    ASSERT_EQ(catcher.opened.size(), 1);
    EXPECT_EQ(catcher.opened.front(), QUrl(QStringLiteral("https://www.halvern.example/zt46")));
}

TEST_F(AboutFormTest, CloseIsTheDefaultAndTheCancelButton)
{
    TAboutForm form(Version4002Block);
    EXPECT_EQ(form.BitBtn1->text(), "&Close");
    EXPECT_TRUE(form.BitBtn1->isDefault());

    form.show();
    QSignalSpy rejected(&form, &QDialog::rejected);
    QTest::mouseClick(form.BitBtn1, Qt::LeftButton);
    EXPECT_EQ(rejected.size(), 1);
    EXPECT_FALSE(form.isVisible());

    form.show();
    QTest::keyClick(&form, Qt::Key_Escape);
    EXPECT_EQ(rejected.size(), 2);
    EXPECT_FALSE(form.isVisible());
}

} // namespace
} // namespace qzr::test

#include "AboutFormTest.moc"
