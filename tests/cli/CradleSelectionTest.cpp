#include "CliRig.h"

#include <cradle/CradleLock.h>

#include <QJsonObject>

namespace qzr::cli::test {
namespace {

constexpr std::uint32_t Serial = 0x00A1B2C3;

class CradleSelectionTest : public CliRig {};

TEST_F(CradleSelectionTest, SeveralCradlesWithoutDeviceAreAUsageErrorThatNamesThem)
{
    simulator->addHidCradle("hid1");
    simulator->addBridgeCradle("bridge1");
    simulator->placeUnit("hid1", sim::UnitSpec::demo(Serial));

    const TCliRun run = Run({"info"});
    EXPECT_EQ(run.ExitCode, 2);
    EXPECT_TRUE(run.Out.isEmpty());
    EXPECT_EQ(run.ErrLines(),
              QList<QByteArray>{"several cradles: hid1, bridge1; choose one with -d"});

    const TCliRun chosen = Run({"-d", "hid1", "--json", "info"});
    EXPECT_EQ(chosen.ExitCode, 0) << chosen.Err.toStdString();
    EXPECT_EQ(chosen.Json().object()["serial"], "#00A1B2C3");
}

TEST_F(CradleSelectionTest, AHidCradleThatAnotherProgramHoldsIsLeftAloneWithExitCode3)
{
    simulator->addHidCradle("hid1");
    simulator->placeUnit("hid1", sim::UnitSpec::demo(Serial));
    const QString path = QString::fromStdString(simulator->devicePath("hid1").string());
    {
        const TCradleLock otherProgram(path);
        ASSERT_TRUE(otherProgram.Taken());
        const TCliRun refused = Run({"info"});
        EXPECT_EQ(refused.ExitCode, 3);
        EXPECT_TRUE(refused.Out.isEmpty());
        EXPECT_EQ(refused.ErrLines().size(), 1);
        EXPECT_TRUE(refused.Err.contains("in use by another program")) << refused.Err.toStdString();
    }
    const TCliRun released = Run({"--json", "info"});
    EXPECT_EQ(released.ExitCode, 0) << released.Err.toStdString();
    EXPECT_EQ(released.Json().object()["serial"], "#00A1B2C3");
}

TEST_F(CradleSelectionTest, DeviceNamesWhichOfSeveralBridgesIsOpened)
{
    simulator->addBridgeCradle("bridge1");
    simulator->addBridgeCradle("bridge2");
    simulator->placeUnit("bridge1", sim::UnitSpec::demo(0x11111111));
    simulator->placeUnit("bridge2", sim::UnitSpec::demo(0x22222222));
    for (const auto& [device, serial] :
         {std::pair{"bridge2", "#22222222"}, std::pair{"bridge1", "#11111111"}}) {
        const TCliRun run = Run({"-d", device, "--json", "info"});
        ASSERT_EQ(run.ExitCode, 0) << run.Err.toStdString();
        EXPECT_EQ(run.Json().object()["serial"], serial) << device;
    }
}

struct TNoCradleCase {
    const char* Name;
    QStringList Arguments;
    bool AddCradle;
    bool PlaceUnit;
    bool Bridge = false;
};

void PrintTo(const TNoCradleCase& value, std::ostream* out)
{
    *out << value.Name;
}

class NoCradle : public CliRig, public ::testing::WithParamInterface<TNoCradleCase> {};

TEST_P(NoCradle, IsExitCodeThreeWithOneLineOnStandardError)
{
    if (GetParam().AddCradle && GetParam().Bridge)
        simulator->addBridgeCradle("hid1");
    else if (GetParam().AddCradle)
        simulator->addHidCradle("hid1");
    if (GetParam().PlaceUnit)
        simulator->placeUnit("hid1", sim::UnitSpec::demo(Serial));
    const TCliRun run = Run(GetParam().Arguments);
    EXPECT_EQ(run.ExitCode, 3) << run.Err.toStdString();
    EXPECT_TRUE(run.Out.isEmpty()) << run.Out.toStdString();
    EXPECT_EQ(run.ErrLines().size(), 1) << run.Err.toStdString();
}

INSTANTIATE_TEST_SUITE_P(
    Cases, NoCradle,
    ::testing::Values(TNoCradleCase{"NoCradleAtAll", {"info"}, false, false},
                      TNoCradleCase{"UnknownDeviceName", {"-d", "hid9", "info"}, true, true},
                      TNoCradleCase{"NoUnitOnTheCradle", {"info"}, true, false},
                      TNoCradleCase{"NoUnitOnTheBridge", {"info"}, true, false, true}),
    [](const auto& info) { return std::string(info.param.Name); });

TEST_F(CradleSelectionTest, AUnitThatNeverAnswersGivesNoSessionWithinTenSeconds)
{
    simulator->addHidCradle("hid1");
    simulator->placeUnit("hid1", sim::UnitSpec::demo(Serial));
    simulator->setUnitSilent("hid1", true);
    const TCliRun run = Run({"info"});
    EXPECT_EQ(run.ExitCode, 3);
    EXPECT_EQ(run.ErrLines(), QList<QByteArray>{"no session with the unit within 10 seconds"});
}

} // namespace
} // namespace qzr::cli::test
