#include "widgets/IntegerField.h"

#include <QIntValidator>

namespace qzr {

TIntegerField::TIntegerField(int minimum, int maximum, QWidget* parent) : QLineEdit(parent)
{
    setValidator(new QIntValidator(minimum, maximum, this));
    setAlignment(Qt::AlignRight | Qt::AlignVCenter);
}

std::int64_t TIntegerField::Value() const
{
    return text().toLongLong();
}

void TIntegerField::SetValue(std::int64_t value)
{
    if (value == 0 && FBlankZero)
        clear();
    else
        setText(QString::number(value));
}

} // namespace qzr
