#pragma once

#include <QLabel>

namespace qzr {

// A link: an underlined text that opens its address (the dynamic property
// "url") with the desktop's default handler when clicked.
class TUrlLabel : public QLabel {
    Q_OBJECT
public:
    TUrlLabel(const QString& text, QWidget* parent = nullptr);

    QString Url() const;
    void SetUrl(const QString& address);

protected:
    void mouseReleaseEvent(QMouseEvent* event) override;
};

} // namespace qzr
