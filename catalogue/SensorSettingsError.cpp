#include "SensorSettingsError.h"

namespace qzr {

ESensorSettingsError OutOfRange(const QString& what, const QString& sensorName, double value,
                                double lowest, double highest)
{
    return ESensorSettingsError(QStringLiteral("%1 for sensor \"%2\": %3 is outside %4 to %5")
                                    .arg(what, sensorName, QString::number(value, 'g', 15),
                                         QString::number(lowest, 'g', 15),
                                         QString::number(highest, 'g', 15)));
}

} // namespace qzr
