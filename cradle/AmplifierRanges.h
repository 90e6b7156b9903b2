#pragma once

#include <QStringList>

namespace qzr {

// Items of the two amplifier range selectors, index 0 (1x) to 5 (32x).
QStringList AmplifierItems();
QStringList AmplifierItemsWithCounts();

} // namespace qzr
