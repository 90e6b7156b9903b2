#include "CliRig.h"

#include <QJsonObject>
#include <QProcess>

namespace qzr::cli::test {
namespace {

constexpr std::uint32_t Serial = 0x00A1B2C3;

class RealtimeCommandTest : public CliRig {
protected:
    void SetUp() override
    {
        CliRig::SetUp();
        simulator->addHidCradle("hid1");
        simulator->placeUnit("hid1", sim::UnitSpec::demo(Serial));
    }

    sim::Zt46Unit::Readings UnitReadings()
    {
        sim::Zt46Unit::Readings readings{};
        simulator->withUnit("hid1", [&](sim::Zt46Unit& unit) { readings = unit.readings(); });
        return readings;
    }
};

TEST_F(RealtimeCommandTest, PrintsTheFourReadingsOfEachSetAsTextAndAsJsonLines)
{
    simulator->withUnit("hid1", [](sim::Zt46Unit& unit) {
        unit.setInputSignal([](std::chrono::milliseconds) { return 21000.0; });
    });
    const sim::Zt46Unit::Readings expected = UnitReadings();
    const TSetupData imageBefore = [&] {
        TSetupData image{};
        simulator->withUnit("hid1", [&](sim::Zt46Unit& unit) { image = unit.workingSetup(); });
        return image;
    }();

    const TCliRun text = Run({"realtime", "--count", "2"});
    ASSERT_EQ(text.ExitCode, 0) << text.Err.toStdString();
    const QString row = QStringLiteral("%1\t%2\t%3\t%4")
                            .arg(expected.rawInput)
                            .arg(expected.rawBattery)
                            .arg(expected.calibrated)
                            .arg(expected.userAdjusted);
    EXPECT_EQ(text.Out.toStdString(),
              ("raw_input\traw_battery\tcalibrated_input\tuser_input\n" + row + "\n" + row + "\n")
                  .toStdString());

    const TCliRun json = Run({"--json", "realtime"});
    ASSERT_EQ(json.ExitCode, 0) << json.Err.toStdString();
    const QList<QByteArray> lines = json.Out.trimmed().split('\n');
    ASSERT_EQ(lines.size(), 1);
    EXPECT_EQ(QJsonDocument::fromJson(lines[0]).object(),
              (QJsonObject{{"raw_input", expected.rawInput},
                           {"raw_battery", expected.rawBattery},
                           {"calibrated_input", expected.calibrated},
                           {"user_input", expected.userAdjusted}}));

    // Only readings were asked for: the unit's image is as it was.
    simulator->withUnit("hid1",
                        [&](sim::Zt46Unit& unit) { EXPECT_EQ(unit.workingSetup(), imageBefore); });
}

TEST_F(RealtimeCommandTest, CountZeroRunsUntilInterruptedAndThenEndsCleanly)
{
    QProcess process;
    Start(process, {"--json", "realtime", "--count", "0"});
    QByteArray out;
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(20);
    while (out.count('\n') < 2 && std::chrono::steady_clock::now() < deadline) {
        process.waitForReadyRead(1000);
        out += process.readAllStandardOutput();
    }
    ASSERT_GE(out.count('\n'), 2) << out.toStdString();
    process.terminate();
    ASSERT_TRUE(process.waitForFinished(RunMilliseconds));
    EXPECT_EQ(process.exitStatus(), QProcess::NormalExit);
    EXPECT_EQ(process.exitCode(), 0) << process.readAllStandardError().toStdString();
}

TEST_F(RealtimeCommandTest, ACountThatIsNotAWholeNumberIsAUsageError)
{
    for (const char* count : {"two", "-1", "1.5", "99999999999"}) {
        const TCliRun run = Run({"realtime", "--count", count});
        EXPECT_EQ(run.ExitCode, 2) << count;
        EXPECT_EQ(run.ErrLines().size(), 1) << run.Err.toStdString();
    }
}

} // namespace
} // namespace qzr::cli::test
