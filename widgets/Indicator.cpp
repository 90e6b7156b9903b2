#include "widgets/Indicator.h"

#include <QPalette>

namespace qzr {

TIndicator::TIndicator(int width, const QColor& color, QWidget* parent) : QFrame(parent)
{
    setFrameStyle(QFrame::Panel | QFrame::Sunken);
    setLineWidth(1);
    setFixedWidth(width);
    setAutoFillBackground(true);
    SetColor(color);
}

void TIndicator::SetColor(const QColor& color)
{
    FColor = color;
    QPalette p = palette();
    p.setColor(QPalette::Window, color);
    setPalette(p);
}

} // namespace qzr
