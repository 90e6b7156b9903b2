#pragma once

#include <catalogue/SensorRecord.h>

namespace qzr {

// Catalogue records for the settings tests: a voltage-output sensor and a
// current-output one read across a resistor.
inline TSensorRecord VoltageSensor(double fullScale, int decimals, bool notNegative = false)
{
    TSensorRecord sensor;
    sensor.sensor_ID = 7;
    sensor.sensor_name = QStringLiteral("Pressure 50 bar");
    sensor.sensor_caption = QStringLiteral("µV per bar");
    sensor.sensor_FS = fullScale;
    sensor.sensor_DP = static_cast<qint16>(decimals);
    sensor.sensor_notnegative = notNegative;
    return sensor;
}

inline TSensorRecord CurrentSensor(double fullScale, int decimals, qint32 resistor)
{
    TSensorRecord sensor = VoltageSensor(fullScale, decimals);
    sensor.sensor_name = QStringLiteral("AD590 probe");
    sensor.sensor_currentoutput = true;
    sensor.sensor_resistor = resistor;
    return sensor;
}

} // namespace qzr
