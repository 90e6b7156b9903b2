#include "FloatField.h"

#include <QRegularExpressionValidator>

#include <cmath>

namespace qzr {

TFloatField::TFloatField(int wholeDigits, int decimals, QWidget* parent)
    : QLineEdit(parent), FWholeDigits(wholeDigits), FDecimals(decimals), FHighest(PictureMaximum())
{
    setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    SetPictureValidator();
    SetValue(0);
    connect(this, &QLineEdit::textEdited, this, &TFloatField::TakeEntry);
    connect(this, &QLineEdit::editingFinished, this, &TFloatField::CheckEntry);
}

void TFloatField::SetValue(float value)
{
    FValue = value;
    setText(QString::number(value, 'f', FDecimals));
}

void TFloatField::SetRange(double lowest, double highest)
{
    FLowest = lowest;
    FHighest = highest;
    SetPictureValidator();
}

double TFloatField::PictureMaximum() const
{
    return std::pow(10.0, FWholeDigits) - std::pow(10.0, -FDecimals);
}

bool TFloatField::CheckEntry()
{
    if (FValue >= FLowest && FValue <= FHighest)
        return true;
    emit RangeError();
    return false;
}

void TFloatField::TakeEntry(const QString& text)
{
    QString number = text;
    number.replace(QLatin1Char(','), QLatin1Char('.'));
    FValue = number.toFloat();
}

// Digits as the picture allows, a sign only when the range goes below 0.
void TFloatField::SetPictureValidator()
{
    const QString sign = FLowest < 0 ? QStringLiteral("-?") : QString();
    const QString pattern =
        QStringLiteral("%1\\d{0,%2}([.,]\\d{0,%3})?").arg(sign).arg(FWholeDigits).arg(FDecimals);
    const QValidator* previous = validator();
    setValidator(new QRegularExpressionValidator(QRegularExpression(pattern), this));
    delete previous;
}

} // namespace qzr
