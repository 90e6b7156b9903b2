#pragma once

#include <QColor>

namespace qzr {

// Colours of the control window's status-bar indicators.
inline const QColor UnitDetectedColor{0, 255, 0};
inline const QColor UnitGoneColor{0, 128, 0};
inline const QColor SessionBusyColor{0, 0, 255};
inline const QColor SessionIdleColor{0, 0, 128};

} // namespace qzr
