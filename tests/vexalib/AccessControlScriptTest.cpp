// The access-control operations command by command, against scripted bridges
// in each protection state: what is read, entered and written, and what is
// refused before any write.
#include "support/BusFixture.h"
#include "support/ChipAnswers.h"
#include "support/ScriptedBridge.h"

#include <cstring>

using namespace vexatest;

namespace {

struct AccessCase {
    const char* name;
    uint8_t state;         // the chip's access-control byte
    uint8_t passwordReply; // status of a password entry
    std::function<int32_t(VexaHandle)> call;
    int32_t expected;
    std::vector<uint8_t> codes;                         // commands sent, in order
    std::optional<uint8_t> writtenState = std::nullopt; // access-control byte of the write
    const char* writtenPassword = nullptr;              // its password field (null: zeros)
};

void PrintTo(const AccessCase& c, std::ostream* out)
{
    *out << c.name;
}

class AccessControlScriptTest : public BusFixture,
                                public ::testing::WithParamInterface<AccessCase> {};

TEST_P(AccessControlScriptTest, SendsWhatTheStateAsksFor)
{
    const auto& c = GetParam();
    const ChipRecord stored{{0, 0, 0, 0, 1, 0, 2, 0, 0}, 0x1FF, 0x010, 0x08};
    auto& device = addBridge("bridge", answersByCode({
                                           {0x61, powerUpChipSettingsAnswer(stored, c.state)},
                                           {0x70, reply({0x70, c.passwordReply})},
                                           {0x60, reply({0x60, 0x00, 0x20})},
                                       }));
    EXPECT_EQ(c.call(openFirstBridge()), c.expected);
    const auto commands = device.commands();
    EXPECT_EQ(codesOf(commands), c.codes);
    if (!c.writtenState)
        return;
    // The write carries the record as read, the new state and the password.
    const Command& write = commands.back();
    EXPECT_EQ(write[1], 0x20);
    EXPECT_EQ(chipRecordOf(write).designations, stored.designations);
    EXPECT_EQ(chipRecordOf(write).settingsByte, stored.settingsByte);
    EXPECT_EQ(write[18], *c.writtenState);
    uint8_t password[8] = {};
    if (c.writtenPassword != nullptr)
        std::memcpy(password, c.writtenPassword, 8);
    EXPECT_TRUE(std::equal(password, password + 8, write.begin() + 19));
    EXPECT_TRUE(std::all_of(write.begin() + 27, write.end(), [](uint8_t b) { return b == 0; }));
}

auto setAccess(uint8_t mode, const char* current, const char* next)
{
    return [=](VexaHandle h) { return Vexa_SetAccessControl(h, mode, current, next); };
}

int32_t lock(VexaHandle h)
{
    return Vexa_SetPermanentLock(h);
}

constexpr uint8_t open = VEXA_AC_OPEN;
constexpr uint8_t guarded = VEXA_AC_PASSWORD;
constexpr uint8_t locked = VEXA_AC_LOCKED;
constexpr uint8_t change = VEXA_AC_CHANGE_PASSWORD;

INSTANTIATE_TEST_SUITE_P(
    States, AccessControlScriptTest,
    ::testing::Values(
        AccessCase{"removeOnOpenChip", open, 0, setAccess(open, nullptr, nullptr), VEXA_OK, {0x61}},
        AccessCase{"removeWithPassword",
                   guarded,
                   0,
                   setAccess(open, "current1", nullptr),
                   VEXA_OK,
                   {0x61, 0x70, 0x60},
                   open},
        AccessCase{"removeWithWrongPassword",
                   guarded,
                   0xFD,
                   setAccess(open, "wrong123", nullptr),
                   VEXA_PASSWORD_REFUSED,
                   {0x61, 0x70}},
        AccessCase{"enableOnOpenChip",
                   open,
                   0,
                   setAccess(guarded, nullptr, "newpass1"),
                   VEXA_OK,
                   {0x61, 0x60},
                   guarded,
                   "newpass1"},
        AccessCase{"enableTwice",
                   guarded,
                   0,
                   setAccess(guarded, nullptr, "newpass1"),
                   VEXA_PROTECTION_ALREADY_ON,
                   {0x61}},
        AccessCase{"enableWithoutPassword",
                   open,
                   0,
                   setAccess(guarded, nullptr, nullptr),
                   VEXA_NULL_ARGUMENT,
                   {0x61}},
        AccessCase{"enableWithNinePasswordCharacters",
                   open,
                   0,
                   setAccess(guarded, nullptr, "newpass12"),
                   VEXA_BAD_ARGUMENT_VALUE,
                   {0x61}},
        AccessCase{"change",
                   guarded,
                   0,
                   setAccess(change, "current1", "newpass1"),
                   VEXA_OK,
                   {0x61, 0x70, 0x60},
                   guarded,
                   "newpass1"},
        AccessCase{"changeOnOpenChip",
                   open,
                   0,
                   setAccess(change, "current1", "newpass1"),
                   VEXA_PROTECTION_NOT_ON,
                   {0x61}},
        AccessCase{"changeWithoutNewPasswordTriesNothing",
                   guarded,
                   0,
                   setAccess(change, "current1", nullptr),
                   VEXA_NULL_ARGUMENT,
                   {0x61}},
        AccessCase{"changeWithPasswordEntryBlocked",
                   guarded,
                   0xFB,
                   setAccess(change, "current1", "newpass1"),
                   VEXA_PASSWORD_BLOCKED,
                   {0x61, 0x70}},
        AccessCase{"anyModeOnLockedChip",
                   locked,
                   0,
                   setAccess(open, "current1", nullptr),
                   VEXA_ACCESS_LOCKED,
                   {0x61}},
        AccessCase{"changeOnLockedChip",
                   locked,
                   0,
                   setAccess(change, "current1", "newpass1"),
                   VEXA_ACCESS_LOCKED,
                   {0x61}},
        AccessCase{"lock", guarded, 0, lock, VEXA_OK, {0x61, 0x60}, locked},
        AccessCase{"lockTwice", locked, 0, lock, VEXA_ACCESS_LOCKED, {0x61}}),
    [](const auto& info) { return std::string(info.param.name); });

TEST_F(BusFixture, PasswordTravelsAsItsEightBytes)
{
    auto& device = addBridge("bridge", answersByCode({{0x70, reply({0x70, 0x00})}}));
    ASSERT_EQ(Vexa_EnterPassword(openFirstBridge(), "Pa55\xE9-w!"), VEXA_OK);
    EXPECT_EQ(device.commands(), std::vector<Command>{reply(
                                     {0x70, 0, 0, 0, 'P', 'a', '5', '5', 0xE9, '-', 'w', '!'})});
}

} // namespace
