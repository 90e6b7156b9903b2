// Protection of the power-up settings, password entry and the user EEPROM.
#include <functional>
#include <string>

#include <gtest/gtest.h>

#include "BridgeChipTestSupport.h"

namespace {

using namespace bridge_test;
using namespace sim::vexa;

const Password Secret = password("s3cret!!");
const Password Wrong = password("guessing");

void protect(sim::VexaBridgeChip& chip, const Password& newPassword)
{
    ASSERT_EQ(
        roundTrip(chip, powerUpChipSettingsCommand(chip.nvram().chipSettings,
                                                   access::PasswordProtected, newPassword))[1],
        status::Ok);
}

void restart(sim::VexaBridgeChip& chip)
{
    chip.receiveCommand(makeCommand({cmd::Reset, cmd::ResetKey1, cmd::ResetKey2}));
    ASSERT_TRUE(chip.takeRestartRequest());
}

std::uint8_t powerUpWrite(sim::VexaBridgeChip& chip)
{
    return roundTrip(chip, {cmd::WriteNvram, nv::UsbKey, 0, 0, 1, 0, 2, 0, 0x80, 50})[1];
}

struct ProtectionState {
    std::string name;
    std::function<void(sim::VexaBridgeChip&)> enter;
    std::uint8_t powerUpWrite;
    std::uint8_t rightPassword;
    std::uint8_t eepromWrite;
};

class ProtectionStates : public ::testing::TestWithParam<ProtectionState> {};

TEST_P(ProtectionStates, DecideWhatPowerUpWritesPasswordEntryAndEepromWritesGet)
{
    const ProtectionState& state = GetParam();
    sim::VexaBridgeChip chip;
    state.enter(chip);

    const sim::BridgeChipNvram before = chip.nvram();
    EXPECT_EQ(powerUpWrite(chip), state.powerUpWrite);
    EXPECT_EQ(roundTrip(chip, {cmd::WriteEeprom, 9, 0x99})[1], state.eepromWrite);
    if (state.powerUpWrite != status::Ok) {
        EXPECT_EQ(chip.nvram().usbKey, before.usbKey);
    }
    if (state.eepromWrite != status::Ok) {
        EXPECT_EQ(chip.nvram().eeprom[9], before.eeprom[9]);
    }
    EXPECT_EQ(roundTrip(chip, passwordCommand(Secret))[1], state.rightPassword);
}

INSTANTIATE_TEST_SUITE_P(
    Table, ProtectionStates,
    ::testing::Values(ProtectionState{"Open", [](auto&) {}, status::Ok, status::Ok, status::Ok},
                      ProtectionState{"ProtectedJustSwitchedOn",
                                      [](auto& chip) { protect(chip, Secret); }, status::Blocked,
                                      status::Ok, status::Blocked},
                      ProtectionState{"ProtectedAfterRestart",
                                      [](auto& chip) {
                                          protect(chip, Secret);
                                          roundTrip(chip, passwordCommand(Secret));
                                          restart(chip);
                                      },
                                      status::Blocked, status::Ok, status::Blocked},
                      ProtectionState{"ProtectedPasswordEntered",
                                      [](auto& chip) {
                                          protect(chip, Secret);
                                          roundTrip(chip, passwordCommand(Secret));
                                      },
                                      status::Ok, status::Ok, status::Ok},
                      ProtectionState{"ProtectedAfterFiveWrongPasswords",
                                      [](auto& chip) {
                                          protect(chip, Secret);
                                          for (int i = 0; i < 5; ++i)
                                              roundTrip(chip, passwordCommand(Wrong));
                                      },
                                      status::Blocked, status::Blocked, status::Blocked},
                      ProtectionState{"Locked",
                                      [](auto& chip) {
                                          roundTrip(chip,
                                                    powerUpChipSettingsCommand(
                                                        chip.nvram().chipSettings, access::Locked));
                                      },
                                      status::Blocked, status::Locked, status::EepromRefused},
                      ProtectionState{"EepromWriteProtectInput",
                                      [](auto& chip) { chip.setEepromWriteProtect(true); },
                                      status::Ok, status::Ok, status::EepromRefused}),
    [](const auto& info) { return info.param.name; });

TEST(PasswordEntry, WrongPasswordsAreCountedAndRefusedUntilTheFifthThenBlockedUntilRestart)
{
    sim::VexaBridgeChip chip;
    protect(chip, Secret);
    for (std::uint8_t attempts = 1; attempts <= 5; ++attempts) {
        EXPECT_EQ(roundTrip(chip, passwordCommand(Wrong))[1], status::PasswordRefused);
        EXPECT_EQ(roundTrip(chip, {cmd::Status})[4], attempts);
    }
    EXPECT_EQ(roundTrip(chip, passwordCommand(Secret))[1], status::Blocked);

    restart(chip);
    EXPECT_EQ(roundTrip(chip, {cmd::Status})[4], 0);
    EXPECT_EQ(roundTrip(chip, passwordCommand(Secret))[1], status::Ok);
    const Report status = roundTrip(chip, {cmd::Status});
    EXPECT_EQ(status[4], 0);
    EXPECT_EQ(status[5], 1);
}

TEST(ProtectionChanges, MoveBetweenOpenProtectedAndLockedByPowerUpWrites)
{
    const Password renewed = password("renewed#");
    sim::VexaBridgeChip chip;
    const sim::ChipSettings settings = chip.nvram().chipSettings;
    auto accessByte = [&] { return roundTrip(chip, {cmd::ReadNvram, nv::ChipSettings})[18]; };

    protect(chip, Secret);
    EXPECT_EQ(accessByte(), access::PasswordProtected);
    ASSERT_EQ(roundTrip(chip, passwordCommand(Secret))[1], status::Ok);

    // An all-zero password field keeps the password; a new one replaces it.
    protect(chip, Password{});
    restart(chip);
    ASSERT_EQ(roundTrip(chip, passwordCommand(Secret))[1], status::Ok);
    protect(chip, renewed);
    restart(chip);
    EXPECT_EQ(roundTrip(chip, passwordCommand(Secret))[1], status::PasswordRefused);
    ASSERT_EQ(roundTrip(chip, passwordCommand(renewed))[1], status::Ok);

    ASSERT_EQ(roundTrip(chip, powerUpChipSettingsCommand(settings, access::Open))[1], status::Ok);
    EXPECT_EQ(accessByte(), access::Open);
    EXPECT_EQ(powerUpWrite(chip), status::Ok);

    ASSERT_EQ(roundTrip(chip, powerUpChipSettingsCommand(settings, access::Locked))[1], status::Ok);
    restart(chip);
    EXPECT_EQ(accessByte(), access::Locked);
    EXPECT_EQ(roundTrip(chip, powerUpChipSettingsCommand(settings, access::Open))[1],
              status::Blocked);
    EXPECT_EQ(accessByte(), access::Locked);
}

TEST(Eeprom, StartsErasedKeepsWrittenBytesOverARestartAndEchoesTheAddress)
{
    sim::VexaBridgeChip chip;
    for (std::uint8_t address : {0, 0x80, 0xFF}) {
        const Report erased = roundTrip(chip, {cmd::ReadEeprom, address});
        EXPECT_EQ(erased[2], address);
        EXPECT_EQ(erased[3], 0xFF);
        const auto value = static_cast<std::uint8_t>(address ^ 0x5A);
        EXPECT_EQ(roundTrip(chip, {cmd::WriteEeprom, address, value})[1], status::Ok);
    }
    restart(chip);
    for (std::uint8_t address : {0, 0x80, 0xFF})
        EXPECT_EQ(roundTrip(chip, {cmd::ReadEeprom, address})[3], address ^ 0x5A);
}

} // namespace
