#include "cradle/HidLink.h"
#include "FakeLinkEndpoint.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace qzr::test {
namespace {

constexpr std::uint8_t Empty = THidLink::TransmitterEmptyBit;
constexpr std::uint8_t Unit = THidLink::UnitOnCradleBit;

class HidLinkTest : public ::testing::Test {
protected:
    void Feed(std::uint8_t status, int times = 1, TCradleReport report = {})
    {
        report[0] = status;
        for (int i = 0; i < times; ++i)
            link.InputReport(report);
    }

    TFakeLinkEndpoint endpoint;
    std::vector<TCradleReport> sent;
    THidLink link{endpoint, [this](const TCradleReport& r) { sent.push_back(r); }};
};

TEST_F(HidLinkTest, TheTwentySixthDisagreeingReportChangesPresence)
{
    struct Case {
        bool onCradleBefore;
        std::uint8_t disagreeing;
        std::uint8_t agreeing;
        std::vector<std::string> calls;
    };
    const Case cases[] = {
        {false, Unit, 0, {"SessionEnds", "UnitDetected"}},
        {true, 0, Unit, {"SessionEnds", "UnitGone"}},
    };
    for (const Case& c : cases) {
        TFakeLinkEndpoint ep;
        ep.onCradle = c.onCradleBefore;
        THidLink hid(ep, [](const TCradleReport&) {});
        TCradleReport report{};
        for (int i = 0; i < 25; ++i) {
            report[0] = c.disagreeing;
            hid.InputReport(report);
            // Agreeing reports in between neither count nor reset the count.
            report[0] = c.agreeing;
            hid.InputReport(report);
        }
        EXPECT_EQ(ep.onCradle, c.onCradleBefore);
        EXPECT_EQ(hid.SeenOnOffCradle(), 25);
        EXPECT_TRUE(ep.calls.empty());

        report[0] = c.disagreeing;
        hid.InputReport(report);
        EXPECT_EQ(ep.onCradle, !c.onCradleBefore);
        EXPECT_EQ(ep.calls, c.calls);
        EXPECT_EQ(hid.SeenOnOffCradle(), 0);
    }
}

TEST_F(HidLinkTest, LinkBytesAreDroppedOffCradleButKeptForTheReportThatDetectsTheUnit)
{
    Feed(Unit | 3, 25, {0, 0xA1, 0xA2, 0xA3});
    EXPECT_TRUE(endpoint.received.empty());

    Feed(Unit | 2, 1, {0, 0xB1, 0xB2, 0xB3});
    EXPECT_EQ(endpoint.received, (std::vector<std::uint8_t>{0xB1, 0xB2}));

    Feed(Unit | 7, 1, {0, 1, 2, 3, 4, 5, 6, 7});
    EXPECT_EQ(endpoint.received.size(), 9u);
    EXPECT_EQ(endpoint.received.back(), 7);
}

TEST_F(HidLinkTest, OutputFollowsOnlyTheThirdEmptyFlagSinceTheLastOutput)
{
    endpoint.onCradle = true;
    endpoint.QueueOutput(10, 0x31);

    Feed(Unit | Empty, 2);
    Feed(Unit, 3); // reports without the empty flag do not count
    EXPECT_TRUE(sent.empty());
    EXPECT_FALSE(link.XMitEmpty());

    Feed(Unit | Empty);
    ASSERT_EQ(sent.size(), 1u);
    EXPECT_EQ(sent[0], (TCradleReport{7, 0x31, 0x32, 0x33, 0x34, 0x35, 0x36, 0x37}));
    EXPECT_EQ(link.SeenEmpty(), 0);
    EXPECT_FALSE(link.XMitEmpty());

    Feed(Unit | Empty, 2);
    EXPECT_EQ(sent.size(), 1u);
    Feed(Unit | Empty);
    ASSERT_EQ(sent.size(), 2u);
    // Three bytes remained; the bytes after them keep the previous report's values.
    EXPECT_EQ(sent[1], (TCradleReport{3, 0x38, 0x39, 0x3A, 0x34, 0x35, 0x36, 0x37}));

    Feed(Unit | Empty, 10);
    EXPECT_EQ(sent.size(), 2u) << "nothing pending, nothing sent";
}

TEST_F(HidLinkTest, EmptyFlagsCountWhileNoUnitIsPresentButNothingIsSent)
{
    endpoint.QueueOutput(3);
    Feed(Empty, 300);
    EXPECT_EQ(link.SeenEmpty(), 255);
    EXPECT_TRUE(link.XMitEmpty());
    EXPECT_TRUE(sent.empty());

    endpoint.onCradle = true;
    Feed(Unit);
    ASSERT_EQ(sent.size(), 1u);
    EXPECT_EQ(sent[0][0], 3);
}

} // namespace
} // namespace qzr::test
