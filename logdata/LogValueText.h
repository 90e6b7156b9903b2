#pragma once

#include <QString>
#include <QtGlobal>

#include <cstdint>

namespace qzr {

// A value of the display (an integer scaled by 10^decimals) in fixed-point
// notation with exactly `decimals` decimals: "-0.05" for -5 with two
// decimals, "12" for 12 with none. Exact for any number of decimals; no
// thousands separator, a minus sign for negative values.
QString ScaledValueText(qint64 value, int decimals, const QString& decimalPoint);

// The average of an interval, (integral / 10^decimals) / interval, rounded to
// `decimals` decimals with halves away from zero and written as above. The
// rounding works on the integers, so 0.125 never turns into 0.12 through its
// binary approximation. Empty when the interval is 0: such an image defines
// no average.
QString AverageText(std::int32_t integral, quint16 interval, int decimals,
                    const QString& decimalPoint);

} // namespace qzr
