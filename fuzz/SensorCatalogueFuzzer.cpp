// Any contents of a sensor catalogue file through the catalogue reader.

#include "catalogue/SensorFileReader.h"

#include <QString>

#include <cstddef>
#include <cstdint>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const QString contents =
        QString::fromUtf8(reinterpret_cast<const char*>(data), static_cast<qsizetype>(size));
    const auto records = qzr::ParseSensorFile(contents);
    if (records) {
        for (const qzr::TSensorRecord& record : *records) {
            if (record.sensor_name.size() > qzr::SensorNameSize ||
                record.sensor_caption.size() > qzr::SensorCaptionSize ||
                record.sensor_units.size() > qzr::SensorUnitsSize)
                __builtin_trap();
        }
    }
    return 0;
}
