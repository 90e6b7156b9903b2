#pragma once

#include <QString>
#include <QtGlobal>

namespace qzr {

// One sensor of the catalogue. A field that the file leaves empty holds 0,
// false or an empty text.
struct TSensorRecord {
    qint32 sensor_ID = 0;
    QString sensor_name;    // at most SensorNameSize characters
    QString sensor_caption; // at most SensorCaptionSize characters
    double sensor_min = 0;
    double sensor_max = 0;
    double sensor_FS = 0;
    qint16 sensor_DP = 0;
    bool sensor_notnegative = false;
    bool sensor_currentoutput = false;
    qint32 sensor_resistor = 0;
    QString sensor_units; // at most SensorUnitsSize characters

    bool operator==(const TSensorRecord&) const = default;
};

inline constexpr qsizetype SensorNameSize = 32;
inline constexpr qsizetype SensorCaptionSize = 32;
inline constexpr qsizetype SensorUnitsSize = 16;

} // namespace qzr
