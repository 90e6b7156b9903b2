// The report exchange with the chip: report layout, time-outs, unplugged
// devices, the order of the response checks and each command's status codes.
#include "support/BusFixture.h"
#include "support/ChipAnswers.h"

#include <functional>

using namespace vexatest;

namespace {

using Call = std::function<int32_t(VexaHandle)>;

class CommandTransportTest : public BusFixture {};

TEST_F(CommandTransportTest, OneByteCommandTravelsAsAWholeZeroPaddedReport)
{
    auto& device = addBridge("bridge", answersByCode({{0x31, reply({0x31, 0, 0, 0, 0x34, 0x12})}}));
    const VexaHandle handle = openFirstBridge();
    uint32_t values = 0;
    ASSERT_EQ(Vexa_GetGpioPinVal(handle, &values), VEXA_OK);
    EXPECT_EQ(values, 0x1234u);
    EXPECT_EQ(device.commands(), std::vector<Command>{reply({0x31})});
    EXPECT_EQ(device.malformedReports(), 0u) << "report ID 0 and 64 data bytes";
}

struct SilentCase {
    const char* name;
    Call call;
};

void PrintTo(const SilentCase& c, std::ostream* out)
{
    *out << c.name;
}

class SilentDeviceTest : public CommandTransportTest,
                         public ::testing::WithParamInterface<SilentCase> {};

TEST_P(SilentDeviceTest, UnansweredCommandTimesOutAndNothingMoreIsSent)
{
    auto& device = addBridge("bridge");
    const VexaHandle handle = openFirstBridge();
    EXPECT_EQ(GetParam().call(handle), VEXA_REPORT_TIMEOUT);
    EXPECT_EQ(device.commands().size(), 1u);
}

uint8_t byteSink;
uint16_t wordSink;
uint32_t longSink;
vexa_char16 textSink[VEXA_MAX_STRING_CHARS + 1];

// One export of each family that talks to the chip.
INSTANTIATE_TEST_SUITE_P(
    Exports, SilentDeviceTest,
    ::testing::Values(
        SilentCase{"transfer",
                   [](VexaHandle h) {
                       uint32_t rate = 0, size = 0x10000;
                       return Vexa_xferSpiData(h, &byteSink, &byteSink, &rate, &size, 0);
                   }},
        SilentCase{
            "spiStatus",
            [](VexaHandle h) { return Vexa_GetSpiStatus(h, &byteSink, &byteSink, &byteSink); }},
        SilentCase{"gpioConfig",
                   [](VexaHandle h) {
                       uint8_t pins[9];
                       return Vexa_GetGpioConfig(h, VEXA_CFG_POWERUP, pins, &longSink, &longSink,
                                                 &byteSink, &byteSink, &byteSink);
                   }},
        SilentCase{"usbKey",
                   [](VexaHandle h) {
                       return Vexa_GetUsbKeyParams(h, &wordSink, &wordSink, &byteSink, &byteSink,
                                                   &wordSink);
                   }},
        SilentCase{"productString",
                   [](VexaHandle h) { return Vexa_GetProductString(h, textSink); }},
        SilentCase{"eeprom", [](VexaHandle h) { return Vexa_ReadEEProm(h, 7, &byteSink); }},
        SilentCase{"accessControl",
                   [](VexaHandle h) {
                       return Vexa_SetAccessControl(h, VEXA_AC_OPEN, "12345678", nullptr);
                   }}),
    [](const auto& info) { return std::string(info.param.name); });

TEST_F(CommandTransportTest, ResetSendsItsKeyAndClosesTheHandle)
{
    auto& device = addBridge("bridge");
    const VexaHandle handle = openFirstBridge();
    EXPECT_EQ(Vexa_Reset(handle), VEXA_OK);
    forget(handle);
    ASSERT_TRUE(device.waitForCommands(1, std::chrono::seconds(5)));
    EXPECT_EQ(device.commands(), std::vector<Command>{reply({0xF0, 0xAB, 0xCD})});
    EXPECT_EQ(Vexa_Close(handle), VEXA_BAD_HANDLE);
    EXPECT_EQ(Vexa_Reset(nullptr), VEXA_NULL_ARGUMENT);
    EXPECT_EQ(Vexa_Reset(VEXA_INVALID_HANDLE), VEXA_BAD_HANDLE);
}

TEST_F(CommandTransportTest, UnpluggedDeviceFailsEveryExchangeAndTheHandleStillCloses)
{
    VexaHandle handle = VEXA_INVALID_HANDLE;
    {
        const ScriptedBusDevice device(bus().path(), "bridge", {bridgeVid, bridgePid, ""});
        handle = Vexa_OpenByIndex(bridgeVid, bridgePid, 0, nullptr, nullptr);
        ASSERT_EQ(Vexa_GetLastError(), VEXA_OK);
        // Leaving the scope unplugs the device.
    }
    uint32_t values = 0;
    EXPECT_EQ(Vexa_GetGpioPinVal(handle, &values), VEXA_REPORT_IO_FAILED);
    EXPECT_EQ(Vexa_Reset(handle), VEXA_REPORT_IO_FAILED);
    EXPECT_EQ(Vexa_Close(handle), VEXA_OK) << "a failed reset leaves the handle open";
}

struct CheckCase {
    const char* name;
    Call call;
    std::map<uint8_t, Response> answers;
    int32_t expected;
};

void PrintTo(const CheckCase& c, std::ostream* out)
{
    *out << c.name;
}

class ResponseCheckTest : public CommandTransportTest,
                          public ::testing::WithParamInterface<CheckCase> {};

TEST_P(ResponseCheckTest, ResponseGivesItsCode)
{
    addBridge("bridge", answersByCode(GetParam().answers));
    EXPECT_EQ(GetParam().call(openFirstBridge()), GetParam().expected);
}

Call writeEeprom = [](VexaHandle h) { return Vexa_WriteEEProm(h, 1, 2); };
Call readEeprom = [](VexaHandle h) { return Vexa_ReadEEProm(h, 9, &byteSink); };
Call enterPassword = [](VexaHandle h) { return Vexa_EnterPassword(h, "abcdefgh"); };
Call busRelease = [](VexaHandle h) { return Vexa_RequestSpiBusRel(h, 1); };
Call usbKey = [](VexaHandle h) {
    return Vexa_GetUsbKeyParams(h, &wordSink, &wordSink, &byteSink, &byteSink, &wordSink);
};
Call setUsbKey = [](VexaHandle h) { return Vexa_SetUsbKeyParams(h, 1, 2, 0x80, 0, 100); };
Call spiConfig(uint8_t selector)
{
    return [selector](VexaHandle h) {
        return Vexa_GetSpiConfig(h, selector, &longSink, &longSink, &longSink, &longSink, &longSink,
                                 &longSink, &longSink, &byteSink);
    };
}
Call setSpiConfig(uint8_t selector)
{
    return [selector](VexaHandle h) {
        uint32_t rate = 4000, idle = 0, active = 0, d1 = 0, d2 = 0, d3 = 0, size = 1;
        uint8_t mode = 0;
        return Vexa_SetSpiConfig(h, selector, &rate, &idle, &active, &d1, &d2, &d3, &size, &mode);
    };
}
Call setPowerUpGpio = [](VexaHandle h) {
    const uint8_t pins[9] = {};
    return Vexa_SetGpioConfig(h, VEXA_CFG_POWERUP, pins, 0, 0, 0, 0, 0);
};

INSTANTIATE_TEST_SUITE_P(
    Answers, ResponseCheckTest,
    ::testing::Values(
        // Echo first, even over a failing status.
        CheckCase{
            "echoBeforeStatus", readEeprom, {{0x50, reply({0x51, 0xFA, 9})}}, VEXA_ECHO_MISMATCH},
        CheckCase{
            "statusBeforeAddress", readEeprom, {{0x50, reply({0x50, 0x01, 8})}}, VEXA_CHIP_REFUSED},
        CheckCase{
            "otherAddress", readEeprom, {{0x50, reply({0x50, 0x00, 8, 1})}}, VEXA_ECHO_MISMATCH},
        CheckCase{
            "eepromRefused", writeEeprom, {{0x51, reply({0x51, 0xFA})}}, VEXA_EEPROM_WRITE_REFUSED},
        CheckCase{"eepromBlocked", writeEeprom, {{0x51, reply({0x51, 0xFB})}}, VEXA_WRITE_BLOCKED},
        CheckCase{"eepromOther", writeEeprom, {{0x51, reply({0x51, 0xF8})}}, VEXA_CHIP_REFUSED},
        CheckCase{
            "passwordBlocked", enterPassword, {{0x70, reply({0x70, 0xFB})}}, VEXA_PASSWORD_BLOCKED},
        CheckCase{
            "passwordLocked", enterPassword, {{0x70, reply({0x70, 0xFC})}}, VEXA_ACCESS_LOCKED},
        CheckCase{
            "passwordRefused", enterPassword, {{0x70, reply({0x70, 0xFD})}}, VEXA_PASSWORD_REFUSED},
        CheckCase{"passwordOther", enterPassword, {{0x70, reply({0x70, 0x02})}}, VEXA_CHIP_REFUSED},
        CheckCase{
            "busReleaseBusy", busRelease, {{0x80, reply({0x80, 0xF8})}}, VEXA_BUS_RELEASE_BUSY},
        CheckCase{"busReleaseOther", busRelease, {{0x80, reply({0x80, 0xFB})}}, VEXA_CHIP_REFUSED},
        CheckCase{
            "otherSubCommand", usbKey, {{0x61, reply({0x61, 0x00, 0x40})}}, VEXA_ECHO_MISMATCH},
        CheckCase{"subCommandBeforeStatus",
                  usbKey,
                  {{0x61, reply({0x61, 0x01, 0x40})}},
                  VEXA_ECHO_MISMATCH},
        CheckCase{"recordLengthByte",
                  spiConfig(0),
                  {{0x41, reply({0x41, 0x00, 0x10})}},
                  VEXA_CHIP_REFUSED},
        CheckCase{
            "powerUpSpiSettings", spiConfig(1), {{0x61, powerUpSpiSettingsAnswer({})}}, VEXA_OK},
        CheckCase{
            "settingsBusy", setSpiConfig(0), {{0x40, reply({0x40, 0xF8})}}, VEXA_SPI_SETTINGS_BUSY},
        CheckCase{"powerUpSettingsBusy",
                  setSpiConfig(1),
                  {{0x60, reply({0x60, 0xF8, 0x10})}},
                  VEXA_SPI_SETTINGS_BUSY},
        CheckCase{"powerUpBusyOtherRecord",
                  setSpiConfig(1),
                  {{0x60, reply({0x60, 0xF8, 0x20})}},
                  VEXA_ECHO_MISMATCH},
        CheckCase{"powerUpSettingsBlocked",
                  setSpiConfig(1),
                  {{0x60, reply({0x60, 0xFB, 0x10})}},
                  VEXA_WRITE_BLOCKED},
        CheckCase{"writeEchoesOtherRecord",
                  setUsbKey,
                  {{0x60, reply({0x60, 0x00, 0x20})}},
                  VEXA_ECHO_MISMATCH},
        CheckCase{"statusBeforeRecordEcho",
                  setUsbKey,
                  {{0x60, reply({0x60, 0xFB, 0x20})}},
                  VEXA_WRITE_BLOCKED},
        CheckCase{"writeEchoesOtherCommand",
                  setUsbKey,
                  {{0x60, reply({0x61, 0x00, 0x30})}},
                  VEXA_ECHO_MISMATCH},
        CheckCase{"powerUpGpioNeedsTheRead",
                  setPowerUpGpio,
                  {{0x61, reply({0x61, 0x05, 0x20})}},
                  VEXA_CHIP_REFUSED}),
    [](const auto& info) { return std::string(info.param.name); });

} // namespace
