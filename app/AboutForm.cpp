#include "app/AboutForm.h"

#include "app/UrlLabel.h"

#include <QCoreApplication>
#include <QHBoxLayout>
#include <QLabel>
#include <QPixmap>
#include <QPushButton>
#include <QVBoxLayout>

#include <algorithm>

namespace qzr {
namespace {

const QString BuiltInPicture = QStringLiteral(":/qzr/AboutPicture.svg");
constexpr int UntranslatedTag = 999;
// The link's text fits its strip.
constexpr int UrlFontPixels = 11;

QWidget* FixedStrip(QWidget* widget, int height)
{
    widget->setFixedHeight(height);
    return widget;
}

} // namespace

TAboutForm::TAboutForm(TVersionBlockReader versionBlocks, QWidget* parent)
    : QDialog(parent, Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                          Qt::WindowCloseButtonHint),
      VersionResource(this, std::move(versionBlocks))
{
    BuildWindow();
    FormCreate();
}

void TAboutForm::BuildWindow()
{
    setObjectName(QStringLiteral("AboutForm"));
    setWindowTitle(QStringLiteral("About"));

    TopPanel = new QWidget(this);
    TopPanel->setObjectName(QStringLiteral("TopPanel"));

    Image = new QLabel(this);
    Image->setObjectName(QStringLiteral("Image"));

    VersionLabel = new QLabel(this);
    VersionLabel->setObjectName(QStringLiteral("VersionLabel"));
    VersionLabel->setProperty("tag", UntranslatedTag);
    VersionLabel->setAlignment(Qt::AlignCenter);

    OvcURL = new TUrlLabel(QStringLiteral("Visit us on the web"), this);
    OvcURL->setObjectName(QStringLiteral("OvcURL"));
    OvcURL->setProperty("tag", UntranslatedTag);
    QFont urlFont = OvcURL->font();
    urlFont.setPixelSize(UrlFontPixels);
    OvcURL->setFont(urlFont);

    ButtonPanel = new QWidget(this);
    ButtonPanel->setObjectName(QStringLiteral("ButtonPanel"));
    BitBtn1 = new QPushButton(QStringLiteral("&Close"), ButtonPanel);
    BitBtn1->setObjectName(QStringLiteral("BitBtn1"));
    // The default button; it is also the cancel button, as the Escape key
    // rejects the dialog just as a click on it does.
    BitBtn1->setDefault(true);
    connect(BitBtn1, &QPushButton::clicked, this, &QDialog::reject);
    BitBtn2 = new QPushButton(QStringLiteral("&About Windows"), ButtonPanel);
    BitBtn2->setObjectName(QStringLiteral("BitBtn2"));
    BitBtn2->hide();
    auto* buttons = new QHBoxLayout(ButtonPanel);
    buttons->addStretch();
    buttons->addWidget(BitBtn1);
    buttons->addWidget(BitBtn2);
    buttons->addStretch();

    auto* parts = new QVBoxLayout(this);
    parts->setContentsMargins(0, 0, 0, 0);
    parts->setSpacing(0);
    parts->addWidget(FixedStrip(TopPanel, TopPanelHeight));
    parts->addWidget(Image, 0, Qt::AlignHCenter);
    parts->addWidget(FixedStrip(VersionLabel, VersionLabelHeight));
    parts->addWidget(FixedStrip(OvcURL, UrlHeight), 0, Qt::AlignHCenter);
    parts->addWidget(FixedStrip(ButtonPanel, ButtonPanelHeight));

    ShowPicture(QPixmap(BuiltInPicture));
}

void TAboutForm::FormCreate()
{
    VersionResource.SetFileName(QCoreApplication::applicationFilePath());
    VersionLabel->setText(QStringLiteral("Version: ") +
                          VersionResource.VersionInfo().FileVersion());
}

void TAboutForm::LoadPicture(const QString& fileName)
{
    QPixmap picture;
    if (picture.load(fileName))
        ShowPicture(picture);
}

void TAboutForm::SetLink(const QString& address)
{
    OvcURL->SetUrl(address);
}

void TAboutForm::ShowPicture(const QPixmap& picture)
{
    const QSize size = picture.deviceIndependentSize().toSize();
    Image->setPixmap(picture);
    Image->setFixedSize(size);
    setFixedSize(std::max(size.width(), MinimumClientWidth), TopPanelHeight + size.height() +
                                                                 VersionLabelHeight + UrlHeight +
                                                                 ButtonPanelHeight);
}

} // namespace qzr
