#include "widgets/RadioGroup.h"

#include <QButtonGroup>
#include <QGridLayout>
#include <QRadioButton>

namespace qzr {

TRadioGroup::TRadioGroup(const QString& caption, const QStringList& items, int columns,
                         QWidget* parent)
    : QGroupBox(caption, parent), FButtons(new QButtonGroup(this))
{
    // The translator recognises radio groups by this property.
    setProperty("radioGroup", true);
    auto* layout = new QGridLayout(this);
    layout->setContentsMargins(6, 2, 6, 2);
    layout->setVerticalSpacing(0);
    const int rows = (static_cast<int>(items.size()) + columns - 1) / columns;
    for (int i = 0; i < items.size(); ++i) {
        auto* button = new QRadioButton(items[i], this);
        FButtons->addButton(button, i);
        layout->addWidget(button, i % rows, i / rows);
    }
    connect(FButtons, &QButtonGroup::idClicked, this, [this](int id) { SetItemIndex(id); });
}

void TRadioGroup::SetItemIndex(int index)
{
    if (index < -1 || index >= ItemCount())
        index = -1;
    if (index == FItemIndex)
        return;
    FItemIndex = index;
    if (index < 0) {
        FButtons->setExclusive(false);
        for (QAbstractButton* button : FButtons->buttons())
            button->setChecked(false);
        FButtons->setExclusive(true);
    } else {
        FButtons->button(index)->setChecked(true);
    }
    emit Click();
}

int TRadioGroup::ItemCount() const
{
    return static_cast<int>(FButtons->buttons().size());
}

QRadioButton* TRadioGroup::Button(int index) const
{
    return qobject_cast<QRadioButton*>(FButtons->button(index));
}

} // namespace qzr
