#include "logdata/LogValueText.h"

namespace qzr {

QString ScaledValueText(qint64 value, int decimals, const QString& decimalPoint)
{
    const bool negative = value < 0;
    QString digits = QString::number(negative ? -quint64(value) : quint64(value));
    if (decimals > 0) {
        if (digits.size() <= decimals)
            digits.prepend(QString(decimals + 1 - digits.size(), u'0'));
        digits.insert(digits.size() - decimals, decimalPoint);
    }
    return negative ? u'-' + digits : digits;
}

QString AverageText(std::int32_t integral, quint16 interval, int decimals,
                    const QString& decimalPoint)
{
    if (interval == 0)
        return {};
    const qint64 magnitude = integral < 0 ? -qint64{integral} : qint64{integral};
    qint64 rounded = magnitude / interval;
    if (2 * (magnitude % interval) >= interval)
        ++rounded;
    return ScaledValueText(integral < 0 ? -rounded : rounded, decimals, decimalPoint);
}

} // namespace qzr
