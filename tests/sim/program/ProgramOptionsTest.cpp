#include <gtest/gtest.h>

#include "sim/program/ProgramOptions.h"

namespace {

using Arguments = std::vector<std::string_view>;

sim::ProgramOptions parse(Arguments arguments, std::string_view environmentBus = "")
{
    return sim::parseProgramOptions(arguments, environmentBus);
}

TEST(ProgramOptions, CradlesWithAndWithoutUnits)
{
    auto options =
        parse({"--bus", "/tmp/b", "--hid", "c1:unit=00A1B2C3", "--bridge", "b1", "--hid", "c2"});
    EXPECT_EQ(options.busDirectory, "/tmp/b");
    ASSERT_EQ(options.cradles.size(), 3u);
    EXPECT_EQ(options.cradles[0].kind, sim::CradleKind::Hid);
    EXPECT_EQ(options.cradles[0].name, "c1");
    EXPECT_EQ(options.cradles[0].unitSerial, 0x00A1B2C3u);
    EXPECT_EQ(options.cradles[1].kind, sim::CradleKind::Bridge);
    EXPECT_EQ(options.cradles[1].unitSerial, std::nullopt);
    EXPECT_EQ(options.cradles[2].name, "c2");
    EXPECT_FALSE(options.exitOnEndOfInput);
}

TEST(ProgramOptions, WithoutCradlesServesTheDemonstrationAndTakesTheBusFromTheEnvironment)
{
    auto options = parse({}, "/tmp/env-bus");
    EXPECT_EQ(options.busDirectory, "/tmp/env-bus");
    ASSERT_EQ(options.cradles.size(), 2u);
    EXPECT_TRUE(options.cradles[0].unitSerial && options.cradles[1].unitSerial);
    EXPECT_EQ(parse({"--bus", "/tmp/given"}, "/tmp/env-bus").busDirectory, "/tmp/given");
}

TEST(ProgramOptions, KernelDevicesNeedNoBusDirectory)
{
    auto options = parse({"--uhid"});
    EXPECT_TRUE(options.uhid);
    EXPECT_TRUE(options.busDirectory.empty()) << "commands from standard input alone";
    EXPECT_EQ(options.cradles.size(), 2u);
    EXPECT_EQ(parse({"--uhid", "--bus", "/tmp/control"}).busDirectory, "/tmp/control");
    EXPECT_FALSE(parse({"--bus", "d"}).uhid);
}

TEST(ProgramOptions, TimingOptions)
{
    auto fast = parse({"--bus", "d", "--fast"}).timing;
    EXPECT_EQ(fast.reportInterval.count(), 0);
    EXPECT_EQ(fast.byteRate, 0u);
    EXPECT_EQ(fast.usbFrame.count(), 0);
    EXPECT_FALSE(fast.spiRealTime);

    auto tuned =
        parse({"--bus", "d", "--report-interval", "2000", "--byte-rate", "9600", "--usb-frame",
               "125", "--spi-instant", "--reset-time", "50", "--exit-on-eof"});
    EXPECT_EQ(tuned.timing.reportInterval.count(), 2000);
    EXPECT_EQ(tuned.timing.byteRate, 9600u);
    EXPECT_EQ(tuned.timing.usbFrame.count(), 125);
    EXPECT_FALSE(tuned.timing.spiRealTime);
    EXPECT_EQ(tuned.timing.reenumerationTime.count(), 50);
    EXPECT_TRUE(tuned.exitOnEndOfInput);
}

TEST(ProgramOptions, MistakesAreRefusedWithAMessage)
{
    const std::pair<Arguments, const char*> cases[] = {
        {{}, "no bus directory: give --bus DIR or set VHID_BUS"},
        {{"--bus"}, "--bus needs a value"},
        {{"--bus", "d", "--colour"}, "unknown option '--colour'"},
        {{"--bus", "d", "--byte-rate", "fast"}, "--byte-rate expects a number, not 'fast'"},
        {{"--bus", "d", "--byte-rate", "-5"}, "--byte-rate expects a number, not '-5'"},
        {{"--bus", "d", "--hid", "c1:serial=5"},
         "expected NAME or NAME:unit=SERIAL, not 'c1:serial=5'"},
        {{"--bus", "d", "--hid", "c1:unit=xyz"},
         "expected a hexadecimal number such as 00A1B2C3, not 'xyz'"},
    };
    for (const auto& [arguments, message] : cases) {
        try {
            parse(arguments);
            ADD_FAILURE() << "accepted: " << message;
        } catch (const std::invalid_argument& error) {
            EXPECT_STREQ(error.what(), message);
        }
    }
}

TEST(ProgramOptions, HelpNeedsNothingElse)
{
    EXPECT_TRUE(parse({"--help"}).showHelp);
    EXPECT_NE(sim::usageText().find("--bus"), std::string::npos);
}

} // namespace
