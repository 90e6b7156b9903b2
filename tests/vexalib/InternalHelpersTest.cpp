// The library's small internal rules: busy pause, handle values, device
// matching, text conversion and comparison, key=value records.
#include "DeviceHandle.h"
#include "DeviceMatching.h"
#include "SpiTransferEngine.h"
#include "Utf16Text.h"
#include "platform/KeyValueText.h"

#include <gtest/gtest.h>

#include <climits>

using namespace vexa;

namespace {

TEST(BusyDelay, IsAboutOneByteTimePlusOneMillisecond)
{
    const std::pair<uint32_t, uint32_t> cases[] = {{4000, 26},    {100000, 2}, {100001, 1},
                                                   {12000000, 1}, {1, 100001}, {0, 1}};
    for (const auto& [rate, delay] : cases)
        EXPECT_EQ(busyDelayMilliseconds(rate), delay) << rate;
}

TEST(DeviceHandle, CarriesDescriptorAndKindAndRejectsStrayValues)
{
    for (const int fd : {0, 1, 1023, INT_MAX}) {
        for (const auto kind : {DescriptorKind::busConnection, DescriptorKind::hidrawNumbered,
                                DescriptorKind::hidrawUnnumbered}) {
            const VexaHandle handle = encodeHandle({fd, kind});
            EXPECT_NE(handle, nullptr);
            EXPECT_NE(handle, VEXA_INVALID_HANDLE);
            const auto decoded = decodeHandle(handle);
            ASSERT_TRUE(decoded.has_value());
            EXPECT_EQ(decoded->fd, fd);
            EXPECT_EQ(decoded->kind, kind);
        }
    }
    EXPECT_FALSE(decodeHandle(VEXA_INVALID_HANDLE).has_value());
    EXPECT_FALSE(decodeHandle(reinterpret_cast<VexaHandle>(uintptr_t{12})).has_value());
    EXPECT_EQ(checkHandle(nullptr), VEXA_NULL_ARGUMENT);
    EXPECT_EQ(checkHandle(VEXA_INVALID_HANDLE), VEXA_BAD_HANDLE);
}

TEST(DeviceMatching, PatternUsesTheLowSixteenBitsAndIgnoresLetterCase)
{
    EXPECT_EQ(vidPidPattern(0x12343a7c, 0x146), "VID_3A7C&PID_0146");
    platform::DeviceRecord device;
    device.hardwareId = "hid\\vid_3a7c&pid_0146&rev_0100";
    EXPECT_TRUE(matchesVidPid(device, vidPidPattern(0x3a7c, 0x0146)));
    EXPECT_FALSE(matchesVidPid(device, vidPidPattern(0x3a7c, 0x0046)));
}

TEST(Utf16Text, ConvertsUtf8AndReplacesMalformedSequences)
{
    const std::pair<std::string, std::u16string> cases[] = {
        {"VX01", u"VX01"},
        {"\xC3\xA9t\xC3\xA9", u"\u00E9t\u00E9"},
        {"\xE2\x82\xAC", u"\u20AC"},
        {"\xF0\x9F\x98\x80", u"\U0001F600"},
        {"a\xFF"
         "b",
         u"a\uFFFDb"},
        {"\xE2\x82", u"\uFFFD"},
        {"\xC0\x80", u"\uFFFD"},     // overlong
        {"\xED\xA0\x80", u"\uFFFD"}, // a surrogate
    };
    for (const auto& [utf8, utf16] : cases)
        EXPECT_EQ(utf8ToUtf16(utf8), utf16) << utf8;
}

TEST(Utf16Text, ComparisonStopsAtTheLimitOrTheEnd)
{
    EXPECT_TRUE(equalsIgnoringCase(u"vx00000001", u"VX00000001", 10));
    EXPECT_FALSE(equalsIgnoringCase(u"VX0000000", u"VX00000001", 10));
    EXPECT_FALSE(equalsIgnoringCase(u"AB", u"ABC", 10));
    // Only the first ten characters count.
    EXPECT_TRUE(equalsIgnoringCase(u"ABCDEFGHIJK", u"abcdefghij", 10));
    EXPECT_TRUE(
        startsWithIgnoringCase(u"USB\\VID_3A7C&PID_0146\\SN1", u"usb\\vid_3a7c&pid_0146\\sn"));
    EXPECT_FALSE(startsWithIgnoringCase(u"USB\\VID", u"USB\\VID_"));

    const vexa_char16 thirty[31] = {'a', 'a', 'a', 'a', 'a', 'a', 'a', 'a', 'a', 'a', 'a',
                                    'a', 'a', 'a', 'a', 'a', 'a', 'a', 'a', 'a', 'a', 'a',
                                    'a', 'a', 'a', 'a', 'a', 'a', 'a', 'a', 0};
    EXPECT_EQ(boundedLength(thirty, 29), 30u);
    EXPECT_EQ(boundedLength(thirty + 1, 29), 29u);
}

TEST(KeyValueText, FindsTheFirstValueOfAKey)
{
    const std::string text = "# vid=0x9999\r\nvid=0x3a7c\r\nserial=\nvid=0x1111\nproduct=A=B\n";
    EXPECT_EQ(platform::valueOf(text, "vid"), "0x3a7c");
    EXPECT_EQ(platform::valueOf(text, "serial"), "");
    EXPECT_EQ(platform::valueOf(text, "product"), "A=B");
    EXPECT_FALSE(platform::valueOf(text, "pid").has_value());
    EXPECT_FALSE(platform::valueOf(text, "vi").has_value());
}

} // namespace
