#include "CradleKinds.h"

#include <QDateTime>
#include <QJsonObject>

namespace qzr::cli::test {
namespace {

using LoggerPerCradleKind = PerCradleKind;

TEST_P(LoggerPerCradleKind, StartsTheLoggerAndReportsItsStatus)
{
    const TCliRun start = Run({"--json", "logger", "start", "--interval", "90", "--yes"});
    ASSERT_EQ(start.ExitCode, 0) << start.Err.toStdString();
    const QJsonObject started = start.Json().object();
    EXPECT_EQ(started["delay"], 0);
    EXPECT_EQ(started["interval"], 90);
    const TLogData memory = UnitMemory();
    EXPECT_EQ(started["start_time"], memory.StartTime());
    EXPECT_EQ(memory.Interval(), 90);

    const TCliRun status = Run({"--json", "logger", "status"});
    ASSERT_EQ(status.ExitCode, 0) << status.Err.toStdString();
    const QJsonObject logging = status.Json().object();
    EXPECT_EQ(logging["state"], 4);
    EXPECT_EQ(logging["status"], "Logging: 0 of 3518 samples stored.");
    EXPECT_EQ(logging["stored_samples"], 0);
    EXPECT_TRUE(logging["remaining_delay"].isNull());
    EXPECT_TRUE(logging["integral"].isDouble());
    EXPECT_TRUE(logging["remaining_interval"].isDouble());
}

INSTANTIATE_TEST_SUITE_P(Kinds, LoggerPerCradleKind, CradleKinds(), CradleKindName);

using LoggerCommandTest = CliRigWithHidUnit;

TEST_F(LoggerCommandTest, ADelayedStartIsArmedWithItsRemainingDelay)
{
    const QDateTime tomorrow = QDateTime::currentDateTime().addDays(1);
    const QString at = tomorrow.toString("yyyy-MM-dd HH:mm");
    const TCliRun start =
        Run({"--json", "logger", "start", "--interval", "1", "--at", at, "--yes"});
    ASSERT_EQ(start.ExitCode, 0) << start.Err.toStdString();
    const QJsonObject started = start.Json().object();
    EXPECT_EQ(started["interval"], 2) << "an interval below 2 becomes 2";
    EXPECT_NEAR(started["delay"].toDouble(), 86400, 61);
    EXPECT_TRUE(start.Err.contains("raised to 2")) << start.Err.toStdString();

    const TCliRun status = Run({"--json", "logger", "status"});
    ASSERT_EQ(status.ExitCode, 0) << status.Err.toStdString();
    const QJsonObject armed = status.Json().object();
    EXPECT_EQ(armed["state"], 2);
    EXPECT_TRUE(armed["status"].toString().startsWith("Armed: remaining delay "));
    EXPECT_TRUE(armed["remaining_delay"].isDouble());
    EXPECT_TRUE(armed["stored_samples"].isNull());
    EXPECT_TRUE(armed["minimum"].isNull());

    const TCliRun past =
        Run({"--json", "logger", "start", "--interval", "60", "--at", "2020-01-01 08:00", "--yes"});
    ASSERT_EQ(past.ExitCode, 0) << past.Err.toStdString();
    EXPECT_EQ(past.Json().object()["delay"], 0);
}

struct TWrongStartCase {
    const char* Name;
    QStringList Arguments;
};

void PrintTo(const TWrongStartCase& value, std::ostream* out)
{
    *out << value.Name;
}

class WrongLoggerStart : public LoggerCommandTest,
                         public ::testing::WithParamInterface<TWrongStartCase> {};

TEST_P(WrongLoggerStart, IsAUsageErrorAndErasesNothing)
{
    const TLogData before = UnitMemory();
    const TCliRun run = Run(GetParam().Arguments);
    EXPECT_EQ(run.ExitCode, 2) << run.Err.toStdString();
    EXPECT_EQ(run.ErrLines().size(), 1) << run.Err.toStdString();
    EXPECT_EQ(UnitMemory(), before);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, WrongLoggerStart,
    ::testing::Values(
        TWrongStartCase{"IntervalAbove65535", {"logger", "start", "--interval", "65536", "--yes"}},
        TWrongStartCase{"IntervalNotANumber", {"logger", "start", "--interval", "1m", "--yes"}},
        TWrongStartCase{"NoInterval", {"logger", "start", "--yes"}},
        TWrongStartCase{"StartNotADate",
                        {"logger", "start", "--interval", "60", "--at", "tomorrow", "--yes"}},
        TWrongStartCase{"NoYesWithoutATerminal", {"logger", "start", "--interval", "60"}}),
    [](const auto& info) { return std::string(info.param.Name); });

TEST_F(LoggerCommandTest, OnATerminalItAsksBeforeErasing)
{
    const TLogData before = UnitMemory();
    const TCliRun declined = RunOnTerminal({"logger", "start", "--interval", "60"}, "no\n");
    EXPECT_EQ(declined.ExitCode, 1) << declined.Out.toStdString();
    EXPECT_TRUE(declined.Out.contains("This will erase the data, are you sure ?"))
        << declined.Out.toStdString();
    EXPECT_EQ(UnitMemory(), before);

    const TCliRun accepted = RunOnTerminal({"logger", "start", "--interval", "120"}, "y\n");
    EXPECT_EQ(accepted.ExitCode, 0) << accepted.Out.toStdString();
    EXPECT_EQ(UnitMemory().Interval(), 120);
}

} // namespace
} // namespace qzr::cli::test
