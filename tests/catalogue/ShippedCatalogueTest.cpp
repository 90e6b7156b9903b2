// Checks the catalogue that ships beside the program: every row must give a
// full-scale input that one of the unit's amplifier ranges holds, for every
// sensitivity the row accepts.
#include <catalogue/SensorFileReader.h>

#include <QCoreApplication>
#include <QSet>
#include <cmath>
#include <gtest/gtest.h>

namespace qzr {
namespace {

TEST(ShippedCatalogue, RowsAreProgrammableAndFitTheAmplifierRanges)
{
    const auto records = ReadSensorFile(QCoreApplication::applicationDirPath() + "/standard.csv");
    ASSERT_TRUE(records.has_value());
    ASSERT_GE(records->size(), 10u);
    ASSERT_LE(records->size(), 20u);

    QSet<qint32> ids;
    for (const TSensorRecord& record : *records) {
        SCOPED_TRACE(record.sensor_name.toStdString());
        EXPECT_EQ(record.sensor_ID, static_cast<qint32>(ids.size()) + 1);
        ids.insert(record.sensor_ID);
        EXPECT_FALSE(record.sensor_caption.isEmpty());
        EXPECT_FALSE(record.sensor_units.isEmpty());
        EXPECT_GT(record.sensor_min, 0);
        EXPECT_LE(record.sensor_min, record.sensor_max);
        EXPECT_LT(record.sensor_max, 10000) << "the sensitivity field shows four digits";
        EXPECT_EQ(record.sensor_currentoutput, record.sensor_resistor > 0);
        EXPECT_LE(record.sensor_FS * std::pow(10, record.sensor_DP), 9999)
            << "the full-scale reading fits the four-digit display";
        for (double sensitivity : {record.sensor_min, record.sensor_max}) {
            const double microvoltPerUnit =
                record.sensor_currentoutput ? record.sensor_resistor / sensitivity : sensitivity;
            const double fullScaleInput = record.sensor_FS * microvoltPerUnit;
            EXPECT_GE(fullScaleInput, 6250) << "sensitivity " << sensitivity;
            EXPECT_LE(fullScaleInput, 200000) << "sensitivity " << sensitivity;
        }
    }
}

} // namespace
} // namespace qzr
