#include <catalogue/SensitivityLimits.h>

#include <gtest/gtest.h>

#include <limits>

namespace qzr {
namespace {

TSensorRecord Limits(double min, double max)
{
    TSensorRecord sensor;
    sensor.sensor_min = min;
    sensor.sensor_max = max;
    return sensor;
}

struct TLimitsCase {
    double Min;
    double Max;
    float Sensitivity;
    float Kept;
};

void PrintTo(const TLimitsCase& c, std::ostream* out)
{
    *out << c.Sensitivity << " within " << c.Min << " to " << c.Max;
}

class KeptWithinSensorLimitsCase : public testing::TestWithParam<TLimitsCase> {};

TEST_P(KeptWithinSensorLimitsCase, MovesTheSensitivityToTheNearerLimit)
{
    const TLimitsCase& c = GetParam();
    EXPECT_EQ(KeptWithinSensorLimits(c.Sensitivity, Limits(c.Min, c.Max)), c.Kept)
        << c.Sensitivity << " within " << c.Min << " to " << c.Max;
}

INSTANTIATE_TEST_SUITE_P(
    Limits, KeptWithinSensorLimitsCase,
    testing::Values(TLimitsCase{1, 3, 5.0f, 3.0f}, TLimitsCase{1, 3, 0.5f, 1.0f},
                    TLimitsCase{1, 3, 2.5f, 2.5f}, TLimitsCase{1, 3, 3.0f, 3.0f},
                    TLimitsCase{2, 2, 5.0f, 2.0f}, TLimitsCase{2, 2, 0.5f, 2.0f},
                    TLimitsCase{2, 2, 2.0f, 2.0f},
                    // Limits the wrong way round: the lower one is applied last.
                    TLimitsCase{3, 1, 2.0f, 3.0f},
                    // A value read from a foreign setup image.
                    TLimitsCase{1, 3, std::numeric_limits<float>::quiet_NaN(), 1.0f}));

TEST(AcceptedSensitivityRange, WidensTheSensorsLimitsByAHundredthEachWay)
{
    const TSensitivityRange range = AcceptedSensitivityRange(Limits(1, 3));
    EXPECT_DOUBLE_EQ(range.Lowest, 0.99);
    EXPECT_DOUBLE_EQ(range.Highest, 3.01);
}

} // namespace
} // namespace qzr
