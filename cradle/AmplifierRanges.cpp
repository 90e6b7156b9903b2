#include "cradle/AmplifierRanges.h"

namespace qzr {

QStringList AmplifierItems()
{
    return {QStringLiteral("1x   (range 200mV)"),  QStringLiteral("2x   (range 100mV)"),
            QStringLiteral("4x   (range 50mV)"),   QStringLiteral("8x   (range 25mV)"),
            QStringLiteral("16x  (range 12.5mV)"), QStringLiteral("32x  (range 6.25mV)")};
}

QStringList AmplifierItemsWithCounts()
{
    return {QStringLiteral("1x   (range 200mV in 20,000 counts)"),
            QStringLiteral("2x   (range 100mV in 10,000 counts)"),
            QStringLiteral("4x   (range 50mV in 5,000 counts)"),
            QStringLiteral("8x   (range 25mV in 25,000 counts)"),
            QStringLiteral("16x  (range 12.5mV in 12,500 counts)"),
            QStringLiteral("32x  (range 6.25mV in 6,250 counts)")};
}

} // namespace qzr
