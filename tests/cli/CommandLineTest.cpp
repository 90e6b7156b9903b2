#include "cli/CommandLine.h"
#include "cli/CliError.h"

#include <gtest/gtest.h>

namespace qzr::cli::test {
namespace {

TEST(CommandLineTest, GlobalOptionsStandBeforeOrAfterTheCommand)
{
    const TCommandLine before = ParseCommandLine(
        {"--bus", "/tmp/bus", "-d", "hid1", "--json", "logger", "read", "-o", "day.qzr"});
    const TCommandLine after = ParseCommandLine(
        {"logger", "read", "-o", "day.qzr", "--json", "-d", "hid1", "--bus=/tmp/bus"});
    for (const TCommandLine& line : {before, after}) {
        EXPECT_EQ(line.Command, "logger read");
        EXPECT_EQ(line.Global.Bus, QString("/tmp/bus"));
        EXPECT_EQ(line.Global.Device, "hid1");
        EXPECT_TRUE(line.Global.Json);
        EXPECT_FALSE(line.Global.Quiet);
        EXPECT_EQ(line.Value("-o"), QString("day.qzr"));
    }
}

TEST(CommandLineTest, AValueMayLookLikeAnOptionAndAFileNameMayFollowTheEndOfOptions)
{
    const TCommandLine program =
        ParseCommandLine({"program", "--sensor", "20", "--sensitivity", "-5", "--dry-run"});
    EXPECT_EQ(program.Value("--sensitivity"), QString("-5"));
    EXPECT_TRUE(program.Has("--dry-run"));
    EXPECT_FALSE(program.Has("--yes"));

    const TCommandLine exported = ParseCommandLine({"export", "--format", "csv", "--", "-day.qzr"});
    EXPECT_EQ(exported.Positionals, QStringList{"-day.qzr"});
    EXPECT_EQ(exported.Value("--format"), QString("csv"));
}

struct TWrongLine {
    const char* Name;
    QStringList Arguments;
    const char* Message;
};

void PrintTo(const TWrongLine& value, std::ostream* out)
{
    *out << value.Name;
}

class WrongCommandLine : public ::testing::TestWithParam<TWrongLine> {};

TEST_P(WrongCommandLine, IsAUsageErrorWithItsOwnMessage)
{
    try {
        ParseCommandLine(GetParam().Arguments);
        FAIL() << "accepted";
    } catch (const ECliError& error) {
        EXPECT_EQ(error.Code(), TExitCode::Usage);
        EXPECT_EQ(error.Message().toStdString(), GetParam().Message);
    }
}

INSTANTIATE_TEST_SUITE_P(
    Cases, WrongCommandLine,
    ::testing::Values(
        TWrongLine{"NoCommand", {"--json"}, "no command given; try qzr-cli --help"},
        TWrongLine{"UnknownCommand", {"erase"}, "unknown command: erase"},
        TWrongLine{"UnknownSubcommand", {"logger", "stop"}, "unknown command: logger stop"},
        TWrongLine{"LoggerAlone", {"logger"}, "logger needs start, status or read"},
        TWrongLine{"UnknownOption", {"scan", "--all"}, "unknown option for scan: --all"},
        TWrongLine{
            "OptionOfAnotherCommand", {"info", "--count", "2"}, "unknown option for info: --count"},
        TWrongLine{"MissingValue", {"realtime", "--count"}, "--count needs a value"},
        TWrongLine{"FlagWithValue", {"program", "--yes=no"}, "--yes takes no value"},
        TWrongLine{"ExtraArgument", {"scan", "now"}, "scan takes no argument now"},
        TWrongLine{"ExportWithoutFile", {"export"}, "export needs a file name"},
        TWrongLine{"EmptyDevice", {"-d", "", "info"}, "-d needs a cradle name"}),
    [](const auto& info) { return std::string(info.param.Name); });

} // namespace
} // namespace qzr::cli::test
