#include "sim/unit/Zt46Unit.h"

#include <gtest/gtest.h>

#include <random>

#include "UnitDriver.h"
#include "sim/unit/UnitFrameEncoder.h"

namespace sim {
namespace {

using Messages = std::vector<std::vector<std::uint8_t>>;

class Zt46UnitLink : public testing::Test {
protected:
    Zt46Unit unit{{0x0A0B0C0D, 3, 0x21, 0x4455}};
    test::UnitDriver driver{unit};
};

TEST_F(Zt46UnitLink, IdentifiesItselfAndAdoptsASessionForItsOwnSerialOnly)
{
    EXPECT_EQ(driver.ask({0x00}),
              (std::vector<std::uint8_t>{0x00, 0x0D, 0x0C, 0x0B, 0x0A, 3, 0x21, 0x55, 0x44}));
    driver.send({0x01, 0x0D, 0x0C, 0x0B, 0x0B, 9});
    EXPECT_TRUE(driver.replies().empty());
    EXPECT_FALSE(unit.inSession());

    EXPECT_EQ(driver.ask({0x01, 0x0D, 0x0C, 0x0B, 0x0A, 9}),
              (std::vector<std::uint8_t>{0x01, 9, 0x0D, 0x0C, 0x0B, 0x0A}));
    EXPECT_TRUE(unit.inSession());
    EXPECT_EQ(unit.sessionId(), 9);
}

TEST_F(Zt46UnitLink, AnswersRequestsOnlyWithinItsSession)
{
    driver.send({0x21, 0});
    EXPECT_TRUE(driver.replies().empty()) << "no session yet";
    driver.openSession(9);
    driver.send({0x21, 8});
    EXPECT_TRUE(driver.replies().empty()) << "another session ID";
    driver.send({0x05, 9});
    EXPECT_TRUE(driver.replies().empty()) << "unknown message";
    EXPECT_EQ(driver.ask({0x21, 9}).at(1), 9);

    driver.send({0x00});
    driver.replies();
    EXPECT_FALSE(unit.inSession());
    driver.send({0x21, 9});
    EXPECT_TRUE(driver.replies().empty()) << "a new identification ends the session";
}

struct CorruptRequest {
    const char* name;
    std::vector<std::uint8_t> stream;
};

class Zt46UnitCorruptRequest : public Zt46UnitLink,
                               public testing::WithParamInterface<CorruptRequest> {};

TEST_P(Zt46UnitCorruptRequest, IsDroppedSilentlyAndTheNextFrameIsAnswered)
{
    for (std::uint8_t b : GetParam().stream)
        unit.receiveByte(b);
    EXPECT_FALSE(unit.hasOutput());
    EXPECT_EQ(unit.framesRejected(), 1u);
    EXPECT_EQ(driver.ask({0x00}).size(), 9u);
}

std::vector<std::uint8_t> oversizedRequest()
{
    std::vector<std::uint8_t> stream{0x10, 0x02};
    stream.insert(stream.end(), 100, 0x00);
    stream.insert(stream.end(), {0xA5, 0x10, 0x03});
    return stream;
}

INSTANTIATE_TEST_SUITE_P(
    Frames, Zt46UnitCorruptRequest,
    testing::Values(CorruptRequest{"WrongChecksum", {0x10, 0x02, 0x00, 0xA4, 0x10, 0x03}},
                    CorruptRequest{"ChecksumOnly", {0x10, 0x02, 0xA5, 0x10, 0x03}},
                    CorruptRequest{"BadByteAfterDle", {0x10, 0x02, 0x00, 0x10, 0x07}},
                    CorruptRequest{"Oversized", oversizedRequest()}),
    [](const testing::TestParamInfo<CorruptRequest>& info) { return info.param.name; });

TEST_F(Zt46UnitLink, SilentUnitNeitherAnswersNorAdoptsASession)
{
    unit.setSilent(true);
    driver.openSession(4);
    unit.sendDone();
    EXPECT_FALSE(unit.hasOutput());
    EXPECT_FALSE(unit.inSession());
    unit.setSilent(false);
    driver.openSession(4);
    EXPECT_TRUE(unit.inSession());
}

TEST_F(Zt46UnitLink, MessagesOnDemandCarryTheSessionId)
{
    driver.openSession(6);
    unit.sendVersionReport();
    unit.sendDone();
    unit.sendUnknownMessage(0x33);
    EXPECT_EQ(
        driver.replies(),
        (Messages{{0x25, 6, 0x0D, 0x0C, 0x0B, 0x0A, 3, 0x21, 0x55, 0x44}, {0x26, 6}, {0x33, 6}}));
}

TEST_F(Zt46UnitLink, WrongSessionIdFaultAffectsOnlyTheNextReply)
{
    driver.openSession(6);
    unit.answerNextWithWrongSessionId();
    EXPECT_EQ(driver.ask({0x21, 6}).at(1), 7);
    EXPECT_EQ(driver.ask({0x21, 6}).at(1), 6);
}

TEST_F(Zt46UnitLink, ChecksumFaultsCorruptTheChosenFrames)
{
    driver.openSession(6);
    unit.corruptNextChecksums(2);
    for (int i = 0; i < 3; ++i)
        driver.send({0x21, 6});
    EXPECT_EQ(driver.replies().size(), 1u);
    EXPECT_EQ(driver.failedFrames, 2);

    unit.setChecksumCorruptionRate(0.5, 42);
    for (int i = 0; i < 200; ++i)
        driver.send({0x21, 6});
    const auto good = driver.replies().size();
    EXPECT_GT(good, 60u);
    EXPECT_LT(good, 140u);
    EXPECT_EQ(good + static_cast<std::size_t>(driver.failedFrames), 202u);
}

TEST_F(Zt46UnitLink, TruncatedFrameLosesItsLastBytes)
{
    driver.openSession(6);
    driver.send({0x21, 6});
    const std::size_t whole = unit.pendingOutputBytes();
    driver.replies();
    unit.truncateNextFrame(2);
    driver.send({0x21, 6});
    EXPECT_EQ(unit.pendingOutputBytes(), whole - 2);
    driver.send({0x21, 6});
    EXPECT_EQ(unit.pendingOutputBytes(), 2 * whole - 2);
}

TEST_F(Zt46UnitLink, ByteDropRateLosesAboutThatShareOfBytes)
{
    driver.openSession(6);
    driver.send({0x20, 6});
    const std::size_t wholeReply = unit.pendingOutputBytes();
    driver.replies();

    unit.setByteDropRate(0.1, 7);
    for (int i = 0; i < 100; ++i)
        driver.send({0x20, 6});
    const double kept = double(unit.pendingOutputBytes()) / double(100 * wholeReply);
    EXPECT_GT(kept, 0.85);
    EXPECT_LT(kept, 0.95);
}

// Random bytes and random frames with a good checksum: the model stays within
// its buffers (the sanitizers watch) and keeps answering.
TEST_F(Zt46UnitLink, SurvivesRandomStreams)
{
    std::mt19937 random(5);
    for (int round = 0; round < 3000; ++round) {
        if (random() % 2 == 0) {
            std::vector<std::uint8_t> message(1 + random() % 21);
            for (auto& b : message)
                b = static_cast<std::uint8_t>(random() % 4 == 0 ? 0x10 : random());
            message[0] = static_cast<std::uint8_t>(random() % 0x2B);
            if (message.size() > 1)
                message[1] = unit.sessionId();
            driver.send(message);
        } else {
            for (int i = static_cast<int>(random() % 80); i > 0; --i)
                unit.receiveByte(static_cast<std::uint8_t>(random() % 3 == 0 ? 0x10 : random()));
        }
        if (random() % 8 == 0)
            unit.advanceTime(std::chrono::milliseconds(random() % 5000));
        driver.replies();
    }
    driver.openSession(1);
    EXPECT_EQ(driver.ask({0x27, 1}).size(), 20u);
}

} // namespace
} // namespace sim
