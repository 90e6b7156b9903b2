#include <gtest/gtest.h>

#include <functional>

#include "sim/program/CommandInterpreter.h"
#include "sim/program/LoggerCommands.h"
#include "sim/unit/DemoRecording.h"
#include "tests/support/TemporaryDirectory.h"

namespace {

class CommandInterpreterTest : public ::testing::Test {
public:
    CommandInterpreterTest() : simulator(directory.path(), sim::SimulatorOptions::fast())
    {
        simulator.addHidCradle("hid1");
        simulator.addBridgeCradle("bridge1");
        simulator.placeUnit("hid1", sim::UnitSpec::demo(0x00A1B2C3));
    }

    sim::CradleStatus status(const std::string& name)
    {
        for (const auto& cradle : simulator.cradles()) {
            if (cradle.name == name) {
                return cradle;
            }
        }
        throw std::out_of_range(name);
    }

    qzr::test::TemporaryDirectory directory;
    sim::Simulator simulator;
    sim::CommandInterpreter interpreter{simulator};
};

struct RefusedCommand {
    const char* line;
    const char* message;
};

class RefusedCommands : public CommandInterpreterTest,
                        public ::testing::WithParamInterface<RefusedCommand> {};

TEST_P(RefusedCommands, AnswerWithAnErrorAndChangeNothing)
{
    auto before = simulator.cradles().size();
    EXPECT_EQ(interpreter.execute(GetParam().line),
              std::string("error: ") + GetParam().message + "\n");
    EXPECT_EQ(simulator.cradles().size(), before);
    EXPECT_TRUE(status("hid1").plugged);
    EXPECT_FALSE(interpreter.quitRequested());
}

INSTANTIATE_TEST_SUITE_P(
    Lines, RefusedCommands,
    ::testing::Values(
        RefusedCommand{"fly", "unknown command 'fly' (see help)"},
        RefusedCommand{"unplug", "wrong number of arguments for 'unplug' (see help)"},
        RefusedCommand{"unplug hid1 now", "wrong number of arguments for 'unplug' (see help)"},
        RefusedCommand{"unplug nosuch", "no cradle named nosuch"},
        RefusedCommand{"add usb c2", "a cradle is hid or bridge, not 'usb'"},
        RefusedCommand{"add hid hid1", "there is already a cradle named hid1"},
        RefusedCommand{"add hid bad.name",
                       "invalid device name 'bad.name': use letters, digits, '_' and '-'"},
        RefusedCommand{"add bridge b2 SERIAL12345",
                       "a bridge serial number has at most 10 characters"},
        RefusedCommand{"place hid1 00000001", "a unit is already on cradle hid1"},
        RefusedCommand{"place bridge1 12G4",
                       "expected a hexadecimal number such as 00A1B2C3, not '12G4'"},
        RefusedCommand{"place bridge1 1 100", "a firmware version is one byte, e.g. 14"},
        RefusedCommand{"corrupt hid1 1.5", "a fault rate must lie between 0 and 1"},
        RefusedCommand{"drop hid1 lots", "expected a rate such as 0.01 or 1%, not 'lots'"},
        RefusedCommand{"silent hid1 maybe", "expected on or off, not 'maybe'"},
        RefusedCommand{"mute bridge1 on", "no unit on cradle bridge1"},
        RefusedCommand{"busy hid1 on", "only a bridge cradle can answer busy"},
        RefusedCommand{"record bridge1", "no unit on cradle bridge1"},
        RefusedCommand{"record hid1 12/03/2024", "expected a date such as 2024-03-12, not "
                                                 "'12/03/2024'"},
        RefusedCommand{"record hid1 2024-02-30", "expected a date such as 2024-03-12, not "
                                                 "'2024-02-30'"},
        RefusedCommand{"record hid1 2024-03-12 8h", "expected a time such as 08:00, not '8h'"},
        RefusedCommand{"record hid1 2024-03-12 24:00", "expected a time such as 08:00, not "
                                                       "'24:00'"},
        RefusedCommand{"record hid1 1999-12-31",
                       "a recording starts between 2000-01-01 and 2068-01-19"},
        RefusedCommand{"advance hid1", "wrong number of arguments for 'advance' (see help)"},
        RefusedCommand{"advance hid1 soon",
                       "expected a duration such as 90s, 15m, 12h or 2d, not 'soon'"},
        RefusedCommand{"advance hid1 0s",
                       "expected a duration such as 90s, 15m, 12h or 2d, not '0s'"},
        RefusedCommand{"advance hid1 32d", "the clock runs ahead at most 31 days at a time"},
        RefusedCommand{"advance bridge1 1h", "no unit on cradle bridge1"}));

TEST_F(CommandInterpreterTest, CommandsChangeTheSimulatorAndAnswerOk)
{
    const std::pair<const char*, std::function<bool(CommandInterpreterTest&)>> cases[] = {
        {"unplug hid1", [](auto& test) { return !test.status("hid1").plugged; }},
        {"plug hid1", [](auto& test) { return test.status("hid1").plugged; }},
        {"take hid1", [](auto& test) { return !test.status("hid1").unit; }},
        {"place hid1 #00ABCDEF 15",
         [](auto& test) {
             return test.status("hid1").unit->serialNumber == 0x00ABCDEF &&
                    test.status("hid1").unit->firmwareVersion == 0x15;
         }},
        {"corrupt hid1 5%", [](auto& test) { return test.status("hid1").corruptionRate == 0.05; }},
        {"drop bridge1 0.25", [](auto& test) { return test.status("bridge1").dropRate == 0.25; }},
        {"silent bridge1 on", [](auto& test) { return test.status("bridge1").cradleSilent; }},
        {"mute hid1 on", [](auto& test) { return test.status("hid1").unitSilent; }},
        {"busy bridge1 on", [](auto& test) { return test.status("bridge1").busy; }},
        {"add bridge b2 VX12", [](auto& test) { return test.status("b2").usbSerial == "VX12"; }},
        {"remove b2", [](auto& test) { return test.simulator.cradles().size() == 2; }},
    };
    for (const auto& [line, holds] : cases) {
        EXPECT_EQ(interpreter.execute(line), "ok\n") << line;
        EXPECT_TRUE(holds(*this)) << line;
    }
}

TEST_F(CommandInterpreterTest, ListShowsEveryCradleOnALine)
{
    simulator.setBridgeBusy("bridge1", true);
    simulator.setDropRate("hid1", 0.5);
    EXPECT_EQ(interpreter.execute("list"),
              "bridge1 bridge plugged usb=3A7C:0146/VX00000001 open=0 no-unit busy\n"
              "hid1 hid plugged usb=3A7C:0046/HC-hid1 open=0 unit=#00A1B2C3 drop=0.5\n"
              "ok\n");
}

TEST_F(CommandInterpreterTest, BlankLinesAndCommentsAreNotAnswered)
{
    for (const char* line : {"", "   ", "# plug hid1"}) {
        EXPECT_EQ(interpreter.execute(line), "") << line;
    }
    EXPECT_EQ(interpreter.execute("help"), sim::CommandInterpreter::helpText() + "ok\n");
    EXPECT_EQ(interpreter.execute("  quit  "), "ok\n");
    EXPECT_TRUE(interpreter.quitRequested());
}

TEST_F(CommandInterpreterTest, RecordFillsTheLoggerWithADayFromTheGivenStart)
{
    EXPECT_EQ(interpreter.execute("record hid1 2024-03-12 08:00"),
              "logger idle, 1440 of 3518 records\nok\n");
    simulator.withUnit("hid1", [](sim::Zt46Unit& unit) {
        EXPECT_EQ(unit.loggerMemory(), [] {
            sim::Zt46Unit reference({1, 1, 1, 0});
            reference.loadLoggerRecording(sim::temperatureDayRecording(763545600));
            return reference.loggerMemory();
        }());
    });

    EXPECT_EQ(interpreter.execute("record hid1 2024-03-13"),
              "logger idle, 1440 of 3518 records\nok\n");
    simulator.withUnit("hid1", [](sim::Zt46Unit& unit) {
        EXPECT_EQ(unit.loggerMemory().StartTime(), 763545600 + 16 * 3600);
    });

    // Without a start, the day that ends now.
    const std::int32_t before = sim::unitSecondsNow();
    EXPECT_EQ(interpreter.execute("record hid1"), "logger idle, 1440 of 3518 records\nok\n");
    simulator.withUnit("hid1", [&](sim::Zt46Unit& unit) {
        const std::int32_t start = unit.loggerMemory().StartTime();
        EXPECT_GE(start, before - 24 * 3600);
        EXPECT_LE(start, sim::unitSecondsNow() - 24 * 3600);
    });
}

TEST_F(CommandInterpreterTest, AdvanceRunsTheUnitsClockAheadThroughADelayedStart)
{
    // An armed logger, as the program's erase-and-start leaves it: one hour
    // of delay, an interval of a minute.
    simulator.withUnit("hid1", [](sim::Zt46Unit& unit) {
        const std::uint32_t serial = unit.identity().serialNumber;
        const std::vector<std::vector<std::uint8_t>> messages{
            {0x00},
            {0x01, std::uint8_t(serial), std::uint8_t(serial >> 8), std::uint8_t(serial >> 16),
             std::uint8_t(serial >> 24), 7},
            {0x28, 7, 0, 0, 0, 0, 0x10, 0x0E, 0, 0, 60, 0}};
        for (const auto& message : messages) {
            std::uint8_t check = 0xA5;
            std::vector<std::uint8_t> frame{0x10, 0x02};
            for (std::uint8_t b : message) {
                if (b == 0x10)
                    frame.push_back(0x10);
                frame.push_back(b);
                check ^= b;
            }
            if (check == 0x10)
                frame.push_back(0x10);
            frame.insert(frame.end(), {check, 0x10, 0x03});
            for (std::uint8_t b : frame)
                unit.receiveByte(b);
        }
        while (unit.hasOutput())
            unit.takeOutputByte();
        ASSERT_EQ(unit.loggerState(), qzr::lsArmed);
    });

    const std::string armed = interpreter.execute("advance hid1 59m");
    EXPECT_TRUE(armed.starts_with("logger armed, logging starts in ")) << armed;
    EXPECT_TRUE(armed.ends_with(" s, 0 of 3518 records\nok\n")) << armed;
    EXPECT_EQ(interpreter.execute("advance hid1 11m"), "logger logging, 10 of 3518 records\nok\n");
    EXPECT_EQ(interpreter.execute("advance hid1 90"), "logger logging, 11 of 3518 records\nok\n");
    EXPECT_EQ(interpreter.execute("advance hid1 3d"),
              "logger memory full, 3518 of 3518 records\nok\n");
}

TEST(ClockAdvanceText, TakesSecondsMinutesHoursAndDays)
{
    for (auto [text, seconds] : {std::pair{"90", 90}, std::pair{"90s", 90}, std::pair{"15m", 900},
                                 std::pair{"12h", 43200}, std::pair{"31d", 2678400}}) {
        EXPECT_EQ(sim::parseClockAdvance(text).count(), seconds) << text;
    }
}

TEST(UnitSerialText, IsHexadecimalWithOptionalPrefix)
{
    for (auto [text, value] :
         {std::pair{"00A1B2C3", 0x00A1B2C3u}, std::pair{"0x1f", 0x1Fu},
          std::pair{"#00ABCDEF", 0x00ABCDEFu}, std::pair{"FFFFFFFF", 0xFFFFFFFFu}}) {
        EXPECT_EQ(sim::parseUnitSerial(text), value) << text;
    }
    for (const char* bad : {"", "0x", "#", "12G", "123456789", "-1", " 1"}) {
        EXPECT_THROW(sim::parseUnitSerial(bad), std::invalid_argument) << bad;
    }
}

} // namespace
