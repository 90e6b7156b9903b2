#pragma once

#include <QGroupBox>
#include <QStringList>

class QButtonGroup;
class QRadioButton;

namespace qzr {

// A captioned group of radio buttons with one selected index (-1: none).
// Setting the index that is already shown changes nothing and signals nothing.
class TRadioGroup : public QGroupBox {
    Q_OBJECT
public:
    TRadioGroup(const QString& caption, const QStringList& items, int columns,
                QWidget* parent = nullptr);

    int ItemIndex() const { return FItemIndex; }
    void SetItemIndex(int index);

    int ItemCount() const;
    QRadioButton* Button(int index) const;

signals:
    // The selected index changed, by the user or by the program.
    void Click();

private:
    QButtonGroup* FButtons;
    int FItemIndex = -1;
};

} // namespace qzr
