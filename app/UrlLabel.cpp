#include "app/UrlLabel.h"

#include <QDesktopServices>
#include <QMouseEvent>
#include <QUrl>

namespace qzr {
namespace {

const char UrlProperty[] = "url";

} // namespace

TUrlLabel::TUrlLabel(const QString& text, QWidget* parent) : QLabel(text, parent)
{
    QFont underlined = font();
    underlined.setUnderline(true);
    setFont(underlined);
    QPalette linkColour = palette();
    linkColour.setColor(QPalette::WindowText, palette().color(QPalette::Link));
    setPalette(linkColour);
    setCursor(Qt::PointingHandCursor);
    setProperty(UrlProperty, QString());
}

QString TUrlLabel::Url() const
{
    return property(UrlProperty).toString();
}

void TUrlLabel::SetUrl(const QString& address)
{
    setProperty(UrlProperty, address);
    setToolTip(address);
}

void TUrlLabel::mouseReleaseEvent(QMouseEvent* event)
{
    if (event->button() == Qt::LeftButton && rect().contains(event->position().toPoint()) &&
        !Url().isEmpty())
        QDesktopServices::openUrl(QUrl::fromUserInput(Url()));
    QLabel::mouseReleaseEvent(event);
}

} // namespace qzr
