// The bytes of the settings, key and string commands and how their answers
// are read, against scripted bridges (malformed answers included).
#include "support/BusFixture.h"
#include "support/ChipAnswers.h"

using namespace vexatest;

namespace {

class ChipSettingsLayoutTest : public BusFixture {
protected:
    // A bridge answering from the table, opened.
    VexaHandle open(std::map<uint8_t, Response> answers)
    {
        device_ = &addBridge("bridge", answersByCode(std::move(answers)));
        return openFirstBridge();
    }

    std::vector<Command> sent() const { return device_->commands(); }

    ScriptedBusDevice* device_ = nullptr;
};

Response stringAnswer(uint8_t record, uint8_t length, uint8_t type, std::u16string characters)
{
    Response response = reply({0x61, 0x00, record, 0x00, length, type});
    for (std::size_t i = 0; i < characters.size() && 6 + 2 * i + 1 < response.size(); ++i) {
        response[6 + 2 * i] = static_cast<uint8_t>(characters[i]);
        response[7 + 2 * i] = static_cast<uint8_t>(characters[i] >> 8);
    }
    return response;
}

std::u16string textOf(const vexa_char16* characters)
{
    std::u16string result;
    for (; *characters != 0; ++characters)
        result.push_back(static_cast<char16_t>(*characters));
    return result;
}

struct DescriptorCase {
    const char* name;
    uint8_t length;
    uint8_t type;
    int32_t expected;
    std::u16string text; // when expected is VEXA_OK
};

void PrintTo(const DescriptorCase& c, std::ostream* out)
{
    *out << c.name;
}

class StringDescriptorTest : public ChipSettingsLayoutTest,
                             public ::testing::WithParamInterface<DescriptorCase> {};

TEST_P(StringDescriptorTest, DescriptorLengthDecidesTheText)
{
    const auto& c = GetParam();
    const std::u16string stored = u"\u20ACbcdefghijklmnopqrstuvwxyz0123";
    const VexaHandle handle = open({{0x61, stringAnswer(0x40, c.length, c.type, stored)}});
    vexa_char16 text[VEXA_MAX_STRING_CHARS + 1];
    std::fill(std::begin(text), std::end(text), u'?');
    text[VEXA_MAX_STRING_CHARS] = 0;
    EXPECT_EQ(Vexa_GetProductString(handle, text), c.expected);
    if (c.expected == VEXA_OK)
        EXPECT_EQ(textOf(text), c.text);
    else
        EXPECT_EQ(text[0], u'?') << "a malformed descriptor leaves the text unchanged";
}

INSTANTIATE_TEST_SUITE_P(
    Lengths, StringDescriptorTest,
    ::testing::Values(DescriptorCase{"empty", 2, 0x03, VEXA_OK, u""},
                      DescriptorCase{"oddLength7", 7, 0x03, VEXA_OK, u"\u20ACb"},
                      DescriptorCase{"longest60", 60, 0x03, VEXA_OK,
                                     u"\u20ACbcdefghijklmnopqrstuvwxyz012"},
                      DescriptorCase{"tooLong61", 61, 0x03, VEXA_BAD_STRING_DESCRIPTOR, u""},
                      DescriptorCase{"tooShort1", 1, 0x03, VEXA_BAD_STRING_DESCRIPTOR, u""},
                      DescriptorCase{"notAString", 8, 0x02, VEXA_BAD_STRING_DESCRIPTOR, u""}),
    [](const auto& info) { return std::string(info.param.name); });

TEST_F(ChipSettingsLayoutTest, EachStringHasItsRecord)
{
    struct Getter {
        int32_t (*get)(VexaHandle, vexa_char16*);
        uint8_t record;
    };
    for (const Getter getter :
         {Getter{Vexa_GetManufacturerString, 0x50}, Getter{Vexa_GetProductString, 0x40},
          Getter{Vexa_GetSerialNumber, 0x60}}) {
        TearDown();
        SetUp();
        const VexaHandle handle = open({{0x61, stringAnswer(getter.record, 6, 0x03, u"OK")}});
        vexa_char16 text[VEXA_MAX_STRING_CHARS + 1];
        ASSERT_EQ(getter.get(handle, text), VEXA_OK);
        EXPECT_EQ(textOf(text), u"OK");
        EXPECT_EQ(sent(), std::vector<Command>{reply({0x61, getter.record})});
    }
}

TEST_F(ChipSettingsLayoutTest, StringIsWrittenAsAUsbStringDescriptor)
{
    const VexaHandle handle = open({{0x60, reply({0x60, 0x00, 0x40})}});
    // 29 characters fill the whole command: 6 header bytes and 58 of text.
    std::u16string longest = u"\u20AC" + std::u16string(28, u'z');
    ASSERT_EQ(Vexa_SetProductString(handle, reinterpret_cast<const vexa_char16*>(longest.c_str())),
              VEXA_OK);
    Command expected = reply({0x60, 0x40, 0x00, 0x00, 60, 0x03, 0xAC, 0x20});
    for (std::size_t i = 1; i < 29; ++i)
        expected[6 + 2 * i] = 'z';
    EXPECT_EQ(sent(), std::vector<Command>{expected});

    const vexa_char16 empty[] = {0};
    EXPECT_EQ(Vexa_SetManufacturerString(handle, empty), VEXA_ECHO_MISMATCH)
        << "the answer names the product record, not the manufacturer's";
    EXPECT_EQ(sent().back(), reply({0x60, 0x50, 0x00, 0x00, 2, 0x03}));
}

TEST_F(ChipSettingsLayoutTest, UsbKeyParametersTravelInConfigurationDescriptorUnits)
{
    Response stored = reply({0x61, 0x00, 0x30});
    stored[12] = 0x7C, stored[13] = 0x3A, stored[14] = 0x46, stored[15] = 0x01;
    stored[29] = 0xE7; // self-powered bits, remote wake-up, and low bits the library drops
    stored[30] = 250;
    const VexaHandle handle = open({{0x61, stored}, {0x60, reply({0x60, 0x00, 0x30})}});

    uint16_t vid = 0, pid = 0, current = 0;
    uint8_t attributes = 0, wake = 0;
    ASSERT_EQ(Vexa_GetUsbKeyParams(handle, &vid, &pid, &attributes, &wake, &current), VEXA_OK);
    EXPECT_EQ(vid, 0x3A7C);
    EXPECT_EQ(pid, 0x0146);
    EXPECT_EQ(attributes, 0xC0);
    EXPECT_EQ(wake, 1);
    EXPECT_EQ(current, 500);

    // 3 mA rounds up to 2 units; the wake-up flag is bit 5.
    ASSERT_EQ(Vexa_SetUsbKeyParams(handle, 0x1234, 0x5678, 0x40, 1, 3), VEXA_OK);
    EXPECT_EQ(sent().back(), reply({0x60, 0x30, 0, 0, 0x34, 0x12, 0x78, 0x56, 0x60, 2}));
    ASSERT_EQ(Vexa_SetUsbKeyParams(handle, 0, 0, 0xC0, 0, 510), VEXA_OK);
    EXPECT_EQ(sent().back()[9], 255);
}

TEST_F(ChipSettingsLayoutTest, PinConfigurationRecordAndSettingsByte)
{
    ChipRecord stored{{2, 1, 0, 0, 1, 0, 0, 0, 2}, 0x1A5, 0x0F0, 0x1F};
    Response powerUp = powerUpChipSettingsAnswer(stored, 0x40);
    const VexaHandle handle = open({{0x20, chipSettingsAnswer(stored)},
                                    {0x61, powerUp},
                                    {0x21, reply({0x21, 0x00})},
                                    {0x60, reply({0x60, 0x00, 0x20})}});

    uint8_t designations[9] = {};
    uint32_t outputs = 0, directions = 0;
    uint8_t bit4 = 0, bits1to3 = 0, bit0 = 0;
    ASSERT_EQ(Vexa_GetGpioConfig(handle, VEXA_CFG_CURRENT, designations, &outputs, &directions,
                                 &bit4, &bits1to3, &bit0),
              VEXA_OK);
    EXPECT_TRUE(
        std::equal(std::begin(designations), std::end(designations), stored.designations.begin()));
    EXPECT_EQ(outputs, 0x1A5u);
    EXPECT_EQ(directions, 0x0F0u);
    EXPECT_EQ(bit4, 1);
    EXPECT_EQ(bits1to3, 7) << "the chip's bits are passed out as they are";
    EXPECT_EQ(bit0, 1);

    const uint8_t wanted[9] = {0, 0, 0, 0, 1, 0, 2, 0, 0};
    ASSERT_EQ(Vexa_SetGpioConfig(handle, VEXA_CFG_CURRENT, wanted, 0xFFFF01FF, 0x10100, 1, 4, 1),
              VEXA_OK);
    Command current =
        reply({0x21, 0, 0, 0, 0, 0, 0, 0, 1, 0, 2, 0, 0, 0xFF, 0x01, 0x00, 0x01, 0x19});
    EXPECT_EQ(sent().back(), current);

    // The power-up write keeps the chip's protection state and sets no
    // password: it reads the record first.
    const std::size_t before = sent().size();
    ASSERT_EQ(Vexa_SetGpioConfig(handle, VEXA_CFG_POWERUP, wanted, 0x1FF, 0x100, 0, 2, 0), VEXA_OK);
    const auto commands = sent();
    ASSERT_EQ(commands.size(), before + 2);
    EXPECT_EQ(commands[before], reply({0x61, 0x20}));
    Command powerUpWrite =
        reply({0x60, 0x20, 0, 0, 0, 0, 0, 0, 1, 0, 2, 0, 0, 0xFF, 0x01, 0x00, 0x01, 0x04, 0x40});
    EXPECT_EQ(commands[before + 1], powerUpWrite);
}

TEST_F(ChipSettingsLayoutTest, PinLevelsComeFromTheChipsAnswer)
{
    const VexaHandle handle = open({{0x30, reply({0x30, 0x00, 0, 0, 0xAA, 0x00})},
                                    {0x32, reply({0x32, 0x00})},
                                    {0x33, reply({0x33, 0x00, 0, 0, 0x0F, 0x01})}});
    uint32_t levels = 0;
    ASSERT_EQ(Vexa_SetGpioPinVal(handle, 0x101FF, &levels), VEXA_OK);
    EXPECT_EQ(levels, 0xAAu) << "not a copy of the wanted levels";
    EXPECT_EQ(sent().back(), reply({0x30, 0, 0, 0, 0xFF, 0x01}));

    ASSERT_EQ(Vexa_SetGpioPinDir(handle, 0x1F0), VEXA_OK);
    EXPECT_EQ(sent().back(), reply({0x32, 0, 0, 0, 0xF0, 0x01}));
    uint32_t directions = 0;
    ASSERT_EQ(Vexa_GetGpioPinDir(handle, &directions), VEXA_OK);
    EXPECT_EQ(directions, 0x10Fu);
}

TEST_F(ChipSettingsLayoutTest, SpiSettingsOfEachSelector)
{
    SpiRecord applied{1500, 0x1FF, 0x1EF, 1, 2, 3, 32, 3};
    const VexaHandle handle = open({{0x40, spiSettingsAnswer(0x40, applied)},
                                    {0x60, reply({0x60, 0x00, 0x10})},
                                    {0x61, powerUpSpiSettingsAnswer(applied)}});
    uint32_t rate = 100, idle = 0xFFFF01FF, active = 0x1EF, d1 = 1, d2 = 2, d3 = 3, size = 32;
    uint8_t mode = 3;

    // Power-up: the record, zero bytes up to the whole command, and the
    // caller's variables as they were.
    ASSERT_EQ(Vexa_SetSpiConfig(handle, VEXA_CFG_POWERUP, &rate, &idle, &active, &d1, &d2, &d3,
                                &size, &mode),
              VEXA_OK);
    EXPECT_EQ(sent().back(), reply({0x60, 0x10, 0, 0, 100, 0, 0, 0,  0xFF, 0x01, 0xEF,
                                    0x01, 1,    0, 2, 0,   3, 0, 32, 0,    3}));
    EXPECT_EQ(rate, 100u);
    EXPECT_EQ(idle, 0xFFFF01FFu);

    // Current: the variables receive what the chip applied.
    ASSERT_EQ(Vexa_SetSpiConfig(handle, VEXA_CFG_CURRENT, &rate, &idle, &active, &d1, &d2, &d3,
                                &size, &mode),
              VEXA_OK);
    EXPECT_EQ(sent().back()[0], 0x40);
    EXPECT_EQ(rate, 1500u);
    EXPECT_EQ(idle, 0x1FFu);

    uint32_t read[7] = {};
    uint8_t readMode = 0;
    ASSERT_EQ(Vexa_GetSpiConfig(handle, VEXA_CFG_POWERUP, &read[0], &read[1], &read[2], &read[3],
                                &read[4], &read[5], &read[6], &readMode),
              VEXA_OK);
    EXPECT_EQ(sent().back(), reply({0x61, 0x10}));
    EXPECT_EQ((std::vector<uint32_t>(std::begin(read), std::end(read))),
              (std::vector<uint32_t>{1500, 0x1FF, 0x1EF, 1, 2, 3, 32}));
    EXPECT_EQ(readMode, 3);
}

TEST_F(ChipSettingsLayoutTest, StatusBytesArePassedOutUnchanged)
{
    const VexaHandle handle =
        open({{0x10, reply({0x10, 0x00, 0x21, 0x22, 0x23, 0x24, 0, 0, 0, 0, 0x2A})},
              {0x11, reply({0x11, 0x00, 0x31, 0x32})},
              {0x12, reply({0x12, 0x00, 0, 0, 0x34, 0x12})},
              {0x61, powerUpChipSettingsAnswer({}, 0x80)}});
    uint8_t s2 = 0, s3 = 0, s10 = 0;
    ASSERT_EQ(Vexa_GetSpiStatus(handle, &s2, &s3, &s10), VEXA_OK);
    EXPECT_EQ((std::array{s2, s3, s10}), (std::array<uint8_t, 3>{0x21, 0x22, 0x2A}));
    ASSERT_EQ(Vexa_CancelSpiTxfer(handle, &s2, &s3), VEXA_OK);
    EXPECT_EQ((std::array{s2, s3}), (std::array<uint8_t, 2>{0x31, 0x32}));

    uint32_t count = 0;
    ASSERT_EQ(Vexa_GetInterruptCount(handle, &count, 7), VEXA_OK);
    EXPECT_EQ(count, 0x1234u);
    EXPECT_EQ(sent().back(), reply({0x12, 7}));

    uint8_t access = 0, s4 = 0, s5 = 0;
    ASSERT_EQ(Vexa_GetAccessCtrlStatus(handle, &access, &s4, &s5), VEXA_OK);
    EXPECT_EQ((std::array{access, s4, s5}), (std::array<uint8_t, 3>{0x80, 0x23, 0x24}));
}

} // namespace
