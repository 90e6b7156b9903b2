// The library against the simulator's bridge chip model on a virtual HID bus:
// discovery of simulated cradles, transfers, settings, strings, EEPROM and the
// access-control states.
#include "tests/support/TemporaryDirectory.h"
#include "tests/support/WaitFor.h"

#include "sim/program/Simulator.h"

#include <protocol/CradleIdentifiers.h>
#include <vexalib.h>

#include <gtest/gtest.h>

#include <chrono>
#include <cstdlib>
#include <numeric>
#include <optional>
#include <string>
#include <vector>

using qzr::test::TemporaryDirectory;

namespace {

constexpr uint32_t vid = qzr::CradleVendorId;
constexpr uint32_t pid = qzr::BridgeCradleProductId;

const vexa_char16* chars(const std::u16string& text)
{
    return reinterpret_cast<const vexa_char16*>(text.c_str());
}

std::u16string textOf(const vexa_char16* characters)
{
    std::u16string result;
    for (; *characters != 0; ++characters)
        result.push_back(static_cast<char16_t>(*characters));
    return result;
}

// A simulator with one bridge cradle on a fresh bus, and the bridge opened.
class ChipModelTest : public ::testing::Test {
protected:
    explicit ChipModelTest(sim::SimulatorOptions options = sim::SimulatorOptions::fast())
        : simulator_(bus_.path(), options)
    {}

    void SetUp() override
    {
        ::setenv("VHID_BUS", bus_.string().c_str(), 1);
        simulator_.addBridgeCradle("bridge", true, "VXTEST0001");
        handle_ = Vexa_OpenByIndex(vid, pid, 0, nullptr, nullptr);
        ASSERT_EQ(Vexa_GetLastError(), VEXA_OK);
    }

    void TearDown() override
    {
        if (handle_ != VEXA_INVALID_HANDLE)
            Vexa_Close(handle_);
        ::unsetenv("VHID_BUS");
    }

    // The access-control byte and the failed password entries.
    std::pair<uint8_t, uint8_t> accessState()
    {
        uint8_t access = 0, failures = 0, entered = 0;
        EXPECT_EQ(Vexa_GetAccessCtrlStatus(handle_, &access, &failures, &entered), VEXA_OK);
        return {access, failures};
    }

    int32_t writePowerUpSpiSettings()
    {
        uint32_t rate = 8000, idle = 0x1FF, active = 0x1EF, d1 = 0, d2 = 0, d3 = 0, size = 4;
        uint8_t mode = 0;
        return Vexa_SetSpiConfig(handle_, VEXA_CFG_POWERUP, &rate, &idle, &active, &d1, &d2, &d3,
                                 &size, &mode);
    }

    TemporaryDirectory bus_;
    sim::Simulator simulator_;
    VexaHandle handle_ = VEXA_INVALID_HANDLE;
};

TEST_F(ChipModelTest, CradlesAreFoundAndOpenedByIndexOrSerialNumber)
{
    simulator_.addBridgeCradle("bridge2", true, "VXTEST0002");
    simulator_.addHidCradle("hid");
    EXPECT_EQ(Vexa_GetConnectedDevCount(vid, pid), 2);
    EXPECT_EQ(Vexa_GetConnectedDevCount(vid, qzr::HidCradleProductId), 1);

    // The first bridge is held by the fixture.
    EXPECT_EQ(Vexa_OpenBySN(vid, pid, chars(u"VXTEST0001"), nullptr, nullptr), VEXA_INVALID_HANDLE);
    EXPECT_EQ(Vexa_GetLastError(), VEXA_DEVICE_IN_USE);

    vexa_char16 path[256];
    uint32_t size = sizeof path;
    const VexaHandle second = Vexa_OpenBySN(vid, pid, chars(u"vxtest0002"), path, &size);
    ASSERT_EQ(Vexa_GetLastError(), VEXA_OK);
    EXPECT_EQ(textOf(path), std::u16string(simulator_.devicePath("bridge2").u16string()));

    vexa_char16 serial[VEXA_MAX_STRING_CHARS + 1];
    ASSERT_EQ(Vexa_GetSerialNumber(second, serial), VEXA_OK);
    EXPECT_EQ(textOf(serial), u"VXTEST0002");
    EXPECT_EQ(Vexa_Close(second), VEXA_OK);
}

TEST_F(ChipModelTest, ProgramsConnectAndPollWork)
{
    // The control program's set-up call and its polls.
    uint8_t tx[1025];
    uint8_t rx[1025];
    std::fill(std::begin(tx), std::end(tx), 0xA5);
    uint32_t rate = 4000, size = 1, idle = 0x1FF, active = 0x1EF, d1 = 0, d2 = 0, d3 = 20;
    uint8_t mode = 0;
    ASSERT_EQ(Vexa_xferSpiDataEx(handle_, tx, rx, &rate, &size, 0x10, &idle, &active, &d1, &d2, &d3,
                                 &mode),
              VEXA_OK);
    EXPECT_EQ(rate, 4000u);
    EXPECT_EQ(size, 1u);
    EXPECT_EQ(idle, 0x1FFu);
    EXPECT_EQ(active, 0x1EFu);
    EXPECT_EQ(d3, 20u);

    uint8_t designations[9];
    uint32_t outputs = 0, directions = 0;
    uint8_t bit4 = 0, bits1to3 = 0, bit0 = 0;
    ASSERT_EQ(Vexa_GetGpioConfig(handle_, VEXA_CFG_CURRENT, designations, &outputs, &directions,
                                 &bit4, &bits1to3, &bit0),
              VEXA_OK);
    for (int pin = 0; pin < 9; ++pin)
        EXPECT_EQ(designations[pin] == VEXA_PIN_CHIP_SELECT, pin == 4) << "pin " << pin;

    for (const uint32_t wanted : {32u, 48u, 61u, 32u}) {
        rate = 4000;
        size = wanted;
        ASSERT_EQ(Vexa_xferSpiData(handle_, tx, rx, &rate, &size, 0x10000000), VEXA_OK);
        EXPECT_EQ(size, wanted);
        EXPECT_EQ(rate, 4000u);
    }
}

TEST_F(ChipModelTest, TransferOfEveryChunkingShapeCompletes)
{
    std::vector<uint8_t> tx(300);
    std::iota(tx.begin(), tx.end(), uint8_t{0});
    std::vector<uint8_t> rx(300);
    for (const uint32_t wanted : {1u, 59u, 60u, 61u, 120u, 121u, 300u}) {
        uint32_t rate = 1000000;
        uint32_t size = wanted;
        ASSERT_EQ(Vexa_xferSpiData(handle_, tx.data(), rx.data(), &rate, &size, 0x80000010u),
                  VEXA_OK)
            << wanted;
        EXPECT_EQ(size, wanted);
    }
}

TEST_F(ChipModelTest, TransactionSizeZeroTransfersNothing)
{
    uint8_t byte = 0x11;
    uint32_t rate = 0;
    uint32_t size = 0;
    ASSERT_EQ(Vexa_xferSpiData(handle_, &byte, &byte, &rate, &size, 0x80000000u), VEXA_OK);
    EXPECT_EQ(size, 0u);
    EXPECT_EQ(byte, 0x11);
}

TEST_F(ChipModelTest, BusyChipEndsTheTransferAfterTwoHundredRounds)
{
    simulator_.setBridgeBusy("bridge", true);
    std::vector<uint8_t> buffer(8);
    uint32_t rate = 200000; // keeps each pause at 1 ms
    uint32_t size = 8;
    EXPECT_EQ(Vexa_xferSpiData(handle_, buffer.data(), buffer.data(), &rate, &size, 0x80000000u),
              VEXA_TRANSFER_GAVE_UP);
    simulator_.setBridgeBusy("bridge", false);
    EXPECT_EQ(Vexa_xferSpiData(handle_, buffer.data(), buffer.data(), &rate, &size, 0x80000000u),
              VEXA_OK);
}

TEST_F(ChipModelTest, SilentChipTimesOut)
{
    simulator_.setCradleSilent("bridge", true);
    uint32_t values = 0;
    EXPECT_EQ(Vexa_GetGpioPinVal(handle_, &values), VEXA_REPORT_TIMEOUT);
}

TEST_F(ChipModelTest, UnpluggedCradleFailsItsHandle)
{
    simulator_.unplug("bridge");
    uint32_t values = 0;
    EXPECT_EQ(Vexa_GetGpioPinVal(handle_, &values), VEXA_REPORT_IO_FAILED);
    EXPECT_EQ(Vexa_Close(handle_), VEXA_OK);
    handle_ = VEXA_INVALID_HANDLE;
    EXPECT_EQ(Vexa_GetConnectedDevCount(vid, pid), 0);
}

// That the reset closes the handle is shown where nothing comes back onto the
// bus; here the simulator shares the process and could reuse the descriptor
// number at once, so the old handle is not touched again.
TEST_F(ChipModelTest, ResetRestartsTheChipUnderItsPowerUpSettings)
{
    uint32_t rate = 9600, idle = 0, active = 0, d1 = 0, d2 = 0, d3 = 0, size = 2;
    uint8_t mode = 1;
    ASSERT_EQ(Vexa_SetSpiConfig(handle_, VEXA_CFG_CURRENT, &rate, &idle, &active, &d1, &d2, &d3,
                                &size, &mode),
              VEXA_OK);
    ASSERT_EQ(Vexa_Reset(handle_), VEXA_OK);
    handle_ = VEXA_INVALID_HANDLE;

    // The chip leaves the bus and enumerates anew.
    ASSERT_TRUE(qzr::test::WaitFor([&] {
        handle_ = Vexa_OpenByIndex(vid, pid, 0, nullptr, nullptr);
        return handle_ != VEXA_INVALID_HANDLE;
    }));
    ASSERT_EQ(Vexa_GetSpiConfig(handle_, VEXA_CFG_CURRENT, &rate, &idle, &active, &d1, &d2, &d3,
                                &size, &mode),
              VEXA_OK);
    EXPECT_NE(rate, 9600u) << "current settings start from the power-up ones";
}

TEST_F(ChipModelTest, SpiSettingsOfBothSelectorsRoundTrip)
{
    for (const uint8_t selector : {VEXA_CFG_CURRENT, VEXA_CFG_POWERUP}) {
        uint32_t rate = 250000, idle = 0x1F0, active = 0x0F0, d1 = 1, d2 = 2, d3 = 3, size = 17;
        uint8_t mode = 2;
        ASSERT_EQ(Vexa_SetSpiConfig(handle_, selector, &rate, &idle, &active, &d1, &d2, &d3, &size,
                                    &mode),
                  VEXA_OK);
        uint32_t read[7] = {};
        uint8_t readMode = 0;
        ASSERT_EQ(Vexa_GetSpiConfig(handle_, selector, &read[0], &read[1], &read[2], &read[3],
                                    &read[4], &read[5], &read[6], &readMode),
                  VEXA_OK);
        EXPECT_EQ((std::vector<uint32_t>(std::begin(read), std::end(read))),
                  (std::vector<uint32_t>{250000, 0x1F0, 0x0F0, 1, 2, 3, 17}))
            << int(selector);
        EXPECT_EQ(readMode, 2);
    }
}

TEST_F(ChipModelTest, RateOutsideTheChipsRangeComesBackAsApplied)
{
    uint32_t rate = 100, idle = 0, active = 0, d1 = 0, d2 = 0, d3 = 0, size = 1;
    uint8_t mode = 0;
    ASSERT_EQ(Vexa_SetSpiConfig(handle_, VEXA_CFG_CURRENT, &rate, &idle, &active, &d1, &d2, &d3,
                                &size, &mode),
              VEXA_OK);
    EXPECT_EQ(rate, 1500u);
}

TEST_F(ChipModelTest, PinConfigurationAndLevels)
{
    const uint8_t designations[9] = {0, 0, 0, 0, 1, 2, 0, 0, 0};
    for (const uint8_t selector : {VEXA_CFG_CURRENT, VEXA_CFG_POWERUP}) {
        ASSERT_EQ(Vexa_SetGpioConfig(handle_, selector, designations, 0x00F, 0x0F0, 1, 3, 1),
                  VEXA_OK);
        uint8_t read[9];
        uint32_t outputs = 0, directions = 0;
        uint8_t bit4 = 0, bits1to3 = 0, bit0 = 0;
        ASSERT_EQ(Vexa_GetGpioConfig(handle_, selector, read, &outputs, &directions, &bit4,
                                     &bits1to3, &bit0),
                  VEXA_OK);
        EXPECT_TRUE(std::equal(std::begin(read), std::end(read), std::begin(designations)));
        EXPECT_EQ(outputs, 0x00Fu);
        EXPECT_EQ(directions, 0x0F0u);
        EXPECT_EQ((std::array{bit4, bits1to3, bit0}), (std::array<uint8_t, 3>{1, 3, 1}));
    }

    ASSERT_EQ(Vexa_SetGpioPinDir(handle_, 0x000), VEXA_OK);
    uint32_t directions = 0xFFFF;
    ASSERT_EQ(Vexa_GetGpioPinDir(handle_, &directions), VEXA_OK);
    EXPECT_EQ(directions, 0u);
    uint32_t levels = 0;
    ASSERT_EQ(Vexa_SetGpioPinVal(handle_, 0x0A5, &levels), VEXA_OK);
    uint32_t read = 0;
    ASSERT_EQ(Vexa_GetGpioPinVal(handle_, &read), VEXA_OK);
    EXPECT_EQ(levels, read) << "the levels after the change, as the chip reports them";
}

TEST_F(ChipModelTest, UsbKeyParametersRoundTripInTwoMilliampereUnits)
{
    ASSERT_EQ(Vexa_SetUsbKeyParams(handle_, 0x1234, 0x5678, 0xC0, 1, 3), VEXA_OK);
    uint16_t readVid = 0, readPid = 0, current = 0;
    uint8_t attributes = 0, wake = 0;
    ASSERT_EQ(Vexa_GetUsbKeyParams(handle_, &readVid, &readPid, &attributes, &wake, &current),
              VEXA_OK);
    EXPECT_EQ(readVid, 0x1234);
    EXPECT_EQ(readPid, 0x5678);
    EXPECT_EQ(attributes, 0xC0);
    EXPECT_EQ(wake, 1);
    EXPECT_EQ(current, 4);
}

TEST_F(ChipModelTest, StringsRoundTripUpToTwentyNineCharacters)
{
    const std::u16string longest = u"\u00C9tude" + std::u16string(24, u'-');
    ASSERT_EQ(longest.size(), std::size_t{VEXA_MAX_STRING_CHARS});
    vexa_char16 text[VEXA_MAX_STRING_CHARS + 1];
    for (const auto& value : {std::u16string(), longest}) {
        ASSERT_EQ(Vexa_SetProductString(handle_, chars(value)), VEXA_OK);
        ASSERT_EQ(Vexa_GetProductString(handle_, text), VEXA_OK);
        EXPECT_EQ(textOf(text), value);
    }
    ASSERT_EQ(Vexa_SetManufacturerString(handle_, chars(u"Halvern")), VEXA_OK);
    ASSERT_EQ(Vexa_GetManufacturerString(handle_, text), VEXA_OK);
    EXPECT_EQ(textOf(text), u"Halvern");
    EXPECT_EQ(Vexa_SetProductString(handle_, chars(longest + u"!")), VEXA_STRING_TOO_LONG);
}

TEST_F(ChipModelTest, EepromBytesRoundTrip)
{
    for (const uint8_t address : {uint8_t{0}, uint8_t{0x7F}, uint8_t{0xFF}}) {
        const uint8_t value = static_cast<uint8_t>(address ^ 0x5A);
        ASSERT_EQ(Vexa_WriteEEProm(handle_, address, value), VEXA_OK);
        uint8_t read = 0;
        ASSERT_EQ(Vexa_ReadEEProm(handle_, address, &read), VEXA_OK);
        EXPECT_EQ(read, value);
    }
    uint32_t count = 0xFFFFFFFF;
    ASSERT_EQ(Vexa_GetInterruptCount(handle_, &count, 0), VEXA_OK);
    EXPECT_EQ(count, 0u);
}

TEST_F(ChipModelTest, AccessControlMovesThroughItsStates)
{
    // Open.
    EXPECT_EQ(accessState().first, VEXA_AC_OPEN);
    EXPECT_EQ(Vexa_SetAccessControl(handle_, VEXA_AC_OPEN, nullptr, nullptr), VEXA_OK);
    EXPECT_EQ(Vexa_SetAccessControl(handle_, VEXA_AC_CHANGE_PASSWORD, "password", "newpass1"),
              VEXA_PROTECTION_NOT_ON);
    EXPECT_EQ(Vexa_SetAccessControl(handle_, VEXA_AC_PASSWORD, nullptr, "short"),
              VEXA_BAD_ARGUMENT_VALUE);
    ASSERT_EQ(Vexa_SetAccessControl(handle_, VEXA_AC_PASSWORD, nullptr, "secret01"), VEXA_OK);

    // Password protected.
    EXPECT_EQ(accessState().first, VEXA_AC_PASSWORD);
    EXPECT_EQ(Vexa_SetAccessControl(handle_, VEXA_AC_PASSWORD, nullptr, "secret02"),
              VEXA_PROTECTION_ALREADY_ON);
    // A power-up write of another family keeps the protection in place.
    const uint8_t designations[9] = {};
    EXPECT_EQ(Vexa_SetGpioConfig(handle_, VEXA_CFG_POWERUP, designations, 0, 0, 0, 0, 0),
              VEXA_WRITE_BLOCKED);
    EXPECT_EQ(accessState().first, VEXA_AC_PASSWORD);

    // A null new password is found before the current one is tried.
    const uint8_t failuresBefore = accessState().second;
    EXPECT_EQ(Vexa_SetAccessControl(handle_, VEXA_AC_CHANGE_PASSWORD, "wrongpw!", nullptr),
              VEXA_NULL_ARGUMENT);
    EXPECT_EQ(accessState().second, failuresBefore);
    EXPECT_EQ(Vexa_SetAccessControl(handle_, VEXA_AC_CHANGE_PASSWORD, "wrongpw!", "secret02"),
              VEXA_PASSWORD_REFUSED);
    EXPECT_EQ(accessState().second, failuresBefore + 1);
    ASSERT_EQ(Vexa_SetAccessControl(handle_, VEXA_AC_CHANGE_PASSWORD, "secret01", "secret02"),
              VEXA_OK);
    EXPECT_EQ(Vexa_EnterPassword(handle_, "secret02"), VEXA_OK);

    // Open again, with the changed password.
    EXPECT_EQ(Vexa_SetAccessControl(handle_, VEXA_AC_OPEN, "secret01", nullptr),
              VEXA_PASSWORD_REFUSED);
    ASSERT_EQ(Vexa_SetAccessControl(handle_, VEXA_AC_OPEN, "secret02", nullptr), VEXA_OK);
    EXPECT_EQ(accessState().first, VEXA_AC_OPEN);
    EXPECT_EQ(writePowerUpSpiSettings(), VEXA_OK);

    // Locked for good.
    ASSERT_EQ(Vexa_SetPermanentLock(handle_), VEXA_OK);
    EXPECT_EQ(accessState().first, VEXA_AC_LOCKED);
    EXPECT_EQ(Vexa_SetPermanentLock(handle_), VEXA_ACCESS_LOCKED);
    for (const uint8_t mode : {VEXA_AC_OPEN, VEXA_AC_PASSWORD, VEXA_AC_CHANGE_PASSWORD})
        EXPECT_EQ(Vexa_SetAccessControl(handle_, mode, "secret02", "secret03"), VEXA_ACCESS_LOCKED);
}

TEST_F(ChipModelTest, ProtectedPowerUpWritesNeedThePassword)
{
    ASSERT_EQ(Vexa_SetAccessControl(handle_, VEXA_AC_PASSWORD, nullptr, "secret01"), VEXA_OK);
    const uint8_t designations[9] = {0, 0, 0, 0, 1, 0, 0, 0, 0};
    EXPECT_EQ(writePowerUpSpiSettings(), VEXA_WRITE_BLOCKED);
    EXPECT_EQ(Vexa_SetGpioConfig(handle_, VEXA_CFG_POWERUP, designations, 0, 0, 0, 0, 0),
              VEXA_WRITE_BLOCKED);
    EXPECT_EQ(Vexa_WriteEEProm(handle_, 1, 2), VEXA_WRITE_BLOCKED);

    EXPECT_EQ(Vexa_EnterPassword(handle_, "secret02"), VEXA_PASSWORD_REFUSED);
    ASSERT_EQ(Vexa_EnterPassword(handle_, "secret01"), VEXA_OK);
    EXPECT_EQ(writePowerUpSpiSettings(), VEXA_OK);
    EXPECT_EQ(Vexa_WriteEEProm(handle_, 1, 2), VEXA_OK);
    // The pin configuration write keeps the protection and, with its all-zero
    // password field, the password.
    ASSERT_EQ(Vexa_SetGpioConfig(handle_, VEXA_CFG_POWERUP, designations, 0, 0, 0, 0, 0), VEXA_OK);
    EXPECT_EQ(accessState().first, VEXA_AC_PASSWORD);
    EXPECT_EQ(Vexa_SetAccessControl(handle_, VEXA_AC_OPEN, "secret01", nullptr), VEXA_OK);
}

TEST_F(ChipModelTest, RepeatedWrongPasswordsBlockEntry)
{
    ASSERT_EQ(Vexa_SetAccessControl(handle_, VEXA_AC_PASSWORD, nullptr, "secret01"), VEXA_OK);
    int32_t result = VEXA_OK;
    for (int attempt = 0; attempt < 10 && result != VEXA_PASSWORD_BLOCKED; ++attempt) {
        result = Vexa_EnterPassword(handle_, "guess-00");
        EXPECT_TRUE(result == VEXA_PASSWORD_REFUSED || result == VEXA_PASSWORD_BLOCKED) << result;
    }
    EXPECT_EQ(Vexa_EnterPassword(handle_, "secret01"), VEXA_PASSWORD_BLOCKED);
}

} // namespace
