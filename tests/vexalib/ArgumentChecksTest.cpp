// Argument checks: every rejected call is decided before anything reaches the
// chip, and the handle checks come first.
#include "support/BusFixture.h"

#include <functional>

using namespace vexatest;

namespace {

using Call = std::function<int32_t(VexaHandle)>;

uint8_t b;
uint16_t w;
uint32_t u;
uint8_t pins[9];

struct NamedCall {
    const char* name;
    Call call;
};

void PrintTo(const NamedCall& c, std::ostream* out)
{
    *out << c.name;
}

// Every export that takes a handle, with otherwise valid arguments.
const NamedCall handleExports[] = {
    {"Close", [](VexaHandle h) { return Vexa_Close(h); }},
    {"Reset", [](VexaHandle h) { return Vexa_Reset(h); }},
    {"xferSpiData",
     [](VexaHandle h) {
         uint32_t rate = 0, size = 1;
         return Vexa_xferSpiData(h, &b, &b, &rate, &size, 0);
     }},
    {"xferSpiDataEx",
     [](VexaHandle h) {
         uint32_t rate = 0, size = 1, idle = 0, active = 0, d1 = 0, d2 = 0, d3 = 0;
         uint8_t mode = 0;
         return Vexa_xferSpiDataEx(h, &b, &b, &rate, &size, 0, &idle, &active, &d1, &d2, &d3,
                                   &mode);
     }},
    {"GetSpiConfig",
     [](VexaHandle h) { return Vexa_GetSpiConfig(h, 0, &u, &u, &u, &u, &u, &u, &u, &b); }},
    {"SetSpiConfig",
     [](VexaHandle h) {
         uint32_t v[7] = {};
         uint8_t mode = 0;
         return Vexa_SetSpiConfig(h, 0, &v[0], &v[1], &v[2], &v[3], &v[4], &v[5], &v[6], &mode);
     }},
    {"CancelSpiTxfer", [](VexaHandle h) { return Vexa_CancelSpiTxfer(h, &b, &b); }},
    {"RequestSpiBusRel", [](VexaHandle h) { return Vexa_RequestSpiBusRel(h, 0); }},
    {"GetSpiStatus", [](VexaHandle h) { return Vexa_GetSpiStatus(h, &b, &b, &b); }},
    {"GetGpioConfig",
     [](VexaHandle h) { return Vexa_GetGpioConfig(h, 0, pins, &u, &u, &b, &b, &b); }},
    {"SetGpioConfig", [](VexaHandle h) { return Vexa_SetGpioConfig(h, 0, pins, 0, 0, 0, 0, 0); }},
    {"GetGpioPinDir", [](VexaHandle h) { return Vexa_GetGpioPinDir(h, &u); }},
    {"SetGpioPinDir", [](VexaHandle h) { return Vexa_SetGpioPinDir(h, 0); }},
    {"GetGpioPinVal", [](VexaHandle h) { return Vexa_GetGpioPinVal(h, &u); }},
    {"SetGpioPinVal", [](VexaHandle h) { return Vexa_SetGpioPinVal(h, 0, &u); }},
    {"GetUsbKeyParams", [](VexaHandle h) { return Vexa_GetUsbKeyParams(h, &w, &w, &b, &b, &w); }},
    {"SetUsbKeyParams", [](VexaHandle h) { return Vexa_SetUsbKeyParams(h, 1, 2, 0x80, 0, 100); }},
    // Strings: the handle is checked before the text, so a null text too
    // gives the handle's code.
    {"GetManufacturerString", [](VexaHandle h) { return Vexa_GetManufacturerString(h, nullptr); }},
    {"SetManufacturerString", [](VexaHandle h) { return Vexa_SetManufacturerString(h, nullptr); }},
    {"GetProductString", [](VexaHandle h) { return Vexa_GetProductString(h, nullptr); }},
    {"SetProductString", [](VexaHandle h) { return Vexa_SetProductString(h, nullptr); }},
    {"GetSerialNumber", [](VexaHandle h) { return Vexa_GetSerialNumber(h, nullptr); }},
    {"ReadEEProm", [](VexaHandle h) { return Vexa_ReadEEProm(h, 0, &b); }},
    {"WriteEEProm", [](VexaHandle h) { return Vexa_WriteEEProm(h, 0, 0); }},
    {"GetInterruptCount", [](VexaHandle h) { return Vexa_GetInterruptCount(h, &u, 0); }},
    {"GetAccessCtrlStatus", [](VexaHandle h) { return Vexa_GetAccessCtrlStatus(h, &b, &b, &b); }},
    {"EnterPassword", [](VexaHandle h) { return Vexa_EnterPassword(h, "12345678"); }},
    {"SetAccessControl",
     [](VexaHandle h) { return Vexa_SetAccessControl(h, 0x41, "12345678", "12345678"); }},
    {"SetPermanentLock", [](VexaHandle h) { return Vexa_SetPermanentLock(h); }},
};

class HandleCheckTest : public ::testing::TestWithParam<NamedCall> {};

TEST_P(HandleCheckTest, NullThenInvalidHandleAreRejected)
{
    EXPECT_EQ(GetParam().call(nullptr), VEXA_NULL_ARGUMENT);
    EXPECT_EQ(GetParam().call(VEXA_INVALID_HANDLE), VEXA_BAD_HANDLE);
}

INSTANTIATE_TEST_SUITE_P(Exports, HandleCheckTest, ::testing::ValuesIn(handleExports),
                         [](const auto& info) { return std::string(info.param.name); });

struct RejectedCase {
    const char* name;
    Call call;
    int32_t expected;
};

void PrintTo(const RejectedCase& c, std::ostream* out)
{
    *out << c.name;
}

class RejectedArgumentTest : public BusFixture,
                             public ::testing::WithParamInterface<RejectedCase> {};

TEST_P(RejectedArgumentTest, NothingIsSent)
{
    // A device that would answer nothing: any command sent would time out.
    auto& device = addBridge("bridge");
    const VexaHandle handle = openFirstBridge();
    EXPECT_EQ(GetParam().call(handle), GetParam().expected);
    EXPECT_TRUE(device.commands().empty());
}

Call setSpi(uint8_t selector, uint32_t delay, uint32_t size, uint8_t mode)
{
    return [=](VexaHandle h) {
        uint32_t rate = 4000, idle = 0, active = 0, d1 = delay, d2 = 0, d3 = 0, s = size;
        uint8_t m = mode;
        return Vexa_SetSpiConfig(h, selector, &rate, &idle, &active, &d1, &d2, &d3, &s, &m);
    };
}

Call setGpio(uint8_t selector, uint8_t designation, uint8_t bit4, uint8_t bits1to3, uint8_t bit0)
{
    return [=](VexaHandle h) {
        uint8_t designations[9] = {};
        designations[8] = designation;
        return Vexa_SetGpioConfig(h, selector, designations, 0, 0, bit4, bits1to3, bit0);
    };
}

Call setUsbKey(uint8_t attributes, uint8_t remoteWake, uint16_t current)
{
    return [=](VexaHandle h) {
        return Vexa_SetUsbKeyParams(h, 1, 2, attributes, remoteWake, current);
    };
}

Call setProduct(std::size_t length)
{
    return [=](VexaHandle h) {
        std::vector<vexa_char16> value(length, u'x');
        value.push_back(0);
        return Vexa_SetProductString(h, value.data());
    };
}

INSTANTIATE_TEST_SUITE_P(
    Arguments, RejectedArgumentTest,
    ::testing::Values(
        RejectedCase{
            "spiSelector2",
            [](VexaHandle h) { return Vexa_GetSpiConfig(h, 2, &u, &u, &u, &u, &u, &u, &u, &b); },
            VEXA_BAD_ARGUMENT_VALUE},
        RejectedCase{"spiNullOut",
                     [](VexaHandle h) {
                         return Vexa_GetSpiConfig(h, 0, &u, &u, &u, &u, &u, &u, &u, nullptr);
                     },
                     VEXA_NULL_ARGUMENT},
        RejectedCase{"setSpiSelector2", setSpi(2, 0, 1, 0), VEXA_BAD_ARGUMENT_VALUE},
        RejectedCase{"setSpiDelayAbove16Bits", setSpi(0, 0x10000, 1, 0), VEXA_BAD_ARGUMENT_VALUE},
        RejectedCase{"setSpiSizeAbove16Bits", setSpi(1, 0, 0x10000, 0), VEXA_BAD_ARGUMENT_VALUE},
        RejectedCase{"setSpiMode4", setSpi(0, 0, 1, 4), VEXA_BAD_ARGUMENT_VALUE},
        RejectedCase{"extendedMode4",
                     [](VexaHandle h) {
                         uint32_t rate = 4000, size = 1, idle = 0, active = 0, d1 = 0, d2 = 0,
                                  d3 = 0;
                         uint8_t mode = 4;
                         return Vexa_xferSpiDataEx(h, &b, &b, &rate, &size, 0x10, &idle, &active,
                                                   &d1, &d2, &d3, &mode);
                     },
                     VEXA_BAD_ARGUMENT_VALUE},
        RejectedCase{"extendedNullTx",
                     [](VexaHandle h) {
                         uint32_t v = 0;
                         uint8_t mode = 0;
                         return Vexa_xferSpiDataEx(h, nullptr, &b, &v, &v, 0, &v, &v, &v, &v, &v,
                                                   &mode);
                     },
                     VEXA_NULL_ARGUMENT},
        RejectedCase{"transferNullSize",
                     [](VexaHandle h) {
                         uint32_t rate = 0;
                         return Vexa_xferSpiData(h, &b, &b, &rate, nullptr, 0);
                     },
                     VEXA_NULL_ARGUMENT},
        RejectedCase{"busRelease2", [](VexaHandle h) { return Vexa_RequestSpiBusRel(h, 2); },
                     VEXA_BAD_ARGUMENT_VALUE},
        RejectedCase{
            "gpioSelector2",
            [](VexaHandle h) { return Vexa_GetGpioConfig(h, 2, pins, &u, &u, &b, &b, &b); },
            VEXA_BAD_ARGUMENT_VALUE},
        RejectedCase{"setGpioNullDesignations",
                     [](VexaHandle h) { return Vexa_SetGpioConfig(h, 0, nullptr, 0, 0, 0, 0, 0); },
                     VEXA_NULL_ARGUMENT},
        RejectedCase{"setGpioDesignation3", setGpio(1, 3, 0, 0, 0), VEXA_BAD_ARGUMENT_VALUE},
        RejectedCase{"setGpioBit4Is2", setGpio(0, 2, 2, 0, 0), VEXA_BAD_ARGUMENT_VALUE},
        RejectedCase{"setGpioBits1to3Is5", setGpio(0, 2, 1, 5, 1), VEXA_BAD_ARGUMENT_VALUE},
        RejectedCase{"setGpioBit0Is2", setGpio(0, 0, 0, 4, 2), VEXA_BAD_ARGUMENT_VALUE},
        RejectedCase{"setGpioSelector2", setGpio(2, 0, 0, 0, 0), VEXA_BAD_ARGUMENT_VALUE},
        RejectedCase{"pinValuesNullOut",
                     [](VexaHandle h) { return Vexa_SetGpioPinVal(h, 1, nullptr); },
                     VEXA_NULL_ARGUMENT},
        RejectedCase{"usbKeyCurrent1", setUsbKey(0x80, 0, 1), VEXA_BAD_ARGUMENT_VALUE},
        RejectedCase{"usbKeyCurrent511", setUsbKey(0x80, 0, 511), VEXA_BAD_ARGUMENT_VALUE},
        RejectedCase{"usbKeyAttributes0x20", setUsbKey(0x20, 0, 100), VEXA_BAD_ARGUMENT_VALUE},
        RejectedCase{"usbKeyAttributes0x00", setUsbKey(0x00, 0, 100), VEXA_BAD_ARGUMENT_VALUE},
        RejectedCase{"usbKeyAttributes0xC1", setUsbKey(0xC1, 0, 100), VEXA_BAD_ARGUMENT_VALUE},
        RejectedCase{"usbKeyRemoteWake2", setUsbKey(0x80, 2, 100), VEXA_BAD_ARGUMENT_VALUE},
        RejectedCase{"usbKeyNullOut",
                     [](VexaHandle h) { return Vexa_GetUsbKeyParams(h, &w, &w, &b, nullptr, &w); },
                     VEXA_NULL_ARGUMENT},
        RejectedCase{"productString30", setProduct(30), VEXA_STRING_TOO_LONG},
        RejectedCase{"productStringNull",
                     [](VexaHandle h) { return Vexa_SetProductString(h, nullptr); },
                     VEXA_NULL_ARGUMENT},
        RejectedCase{"serialNumberNull",
                     [](VexaHandle h) { return Vexa_GetSerialNumber(h, nullptr); },
                     VEXA_NULL_ARGUMENT},
        RejectedCase{"eepromNullOut", [](VexaHandle h) { return Vexa_ReadEEProm(h, 0, nullptr); },
                     VEXA_NULL_ARGUMENT},
        RejectedCase{"counterNullOut",
                     [](VexaHandle h) { return Vexa_GetInterruptCount(h, nullptr, 0); },
                     VEXA_NULL_ARGUMENT},
        RejectedCase{"accessStatusNullOut",
                     [](VexaHandle h) { return Vexa_GetAccessCtrlStatus(h, &b, nullptr, &b); },
                     VEXA_NULL_ARGUMENT},
        RejectedCase{"password7", [](VexaHandle h) { return Vexa_EnterPassword(h, "1234567"); },
                     VEXA_BAD_ARGUMENT_VALUE},
        RejectedCase{"password9", [](VexaHandle h) { return Vexa_EnterPassword(h, "123456789"); },
                     VEXA_BAD_ARGUMENT_VALUE},
        RejectedCase{"passwordNull", [](VexaHandle h) { return Vexa_EnterPassword(h, nullptr); },
                     VEXA_NULL_ARGUMENT},
        RejectedCase{
            "accessMode0x41",
            [](VexaHandle h) { return Vexa_SetAccessControl(h, 0x41, "12345678", "12345678"); },
            VEXA_BAD_ARGUMENT_VALUE}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(ExtendedTransfer, BuffersAreCheckedBeforeTheHandle)
{
    uint32_t v = 0;
    uint8_t mode = 0;
    EXPECT_EQ(
        Vexa_xferSpiDataEx(VEXA_INVALID_HANDLE, &b, nullptr, &v, &v, 0, &v, &v, &v, &v, &v, &mode),
        VEXA_NULL_ARGUMENT);
}

} // namespace
