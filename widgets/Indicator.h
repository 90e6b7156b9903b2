#pragma once

#include <QColor>
#include <QFrame>

namespace qzr {

// A coloured square of the status bar that signals a state by its colour.
class TIndicator : public QFrame {
    Q_OBJECT
public:
    TIndicator(int width, const QColor& color, QWidget* parent = nullptr);

    QColor Color() const { return FColor; }
    void SetColor(const QColor& color);

private:
    QColor FColor;
};

} // namespace qzr
