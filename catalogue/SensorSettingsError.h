#pragma once

#include <QString>

#include <stdexcept>

namespace qzr {

// A sensor and sensitivity from which the unit cannot be set up: a derived
// value that does not fit its field, or a sensitivity the calculation cannot
// use. The message names the value and the sensor.
class ESensorSettingsError : public std::runtime_error {
public:
    explicit ESensorSettingsError(const QString& message)
        : std::runtime_error(message.toStdString()), FMessage(message)
    {}

    QString Message() const { return FMessage; }

private:
    QString FMessage;
};

// The error for a value outside lowest to highest, worded as
// "Multiplier for sensor "Load cell": 500000 is outside 0 to 32767".
ESensorSettingsError OutOfRange(const QString& what, const QString& sensorName, double value,
                                double lowest, double highest);

} // namespace qzr
