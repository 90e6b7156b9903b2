#include "cradle/FrameCodec.h"

#include <gtest/gtest.h>

#include <random>
#include <stdexcept>
#include <vector>

#include "Bytes.h"
#include "sim/unit/UnitFrameReceiver.h"
#include "tests/support/TraceCapture.h"

namespace qzr {
namespace {

using test::bytes;

std::vector<std::uint8_t> output(const TFrameCodec& codec)
{
    return {codec.OutputData.begin(), codec.OutputData.begin() + codec.OutputCount};
}

TMessageBuffer buffer(const std::vector<std::uint8_t>& message)
{
    TMessageBuffer data{};
    std::copy(message.begin(), message.end(), data.begin());
    return data;
}

std::vector<std::uint8_t> drain(TFrameCodec& codec)
{
    std::vector<std::uint8_t> sent;
    while (codec.OutputPending())
        sent.push_back(codec.NextOutputByte());
    return sent;
}

void feed(TFrameCodec& codec, const std::vector<std::uint8_t>& stream)
{
    for (std::uint8_t b : stream)
        codec.ReceiveByte(b);
}

struct EncodingCase {
    const char* message;
    const char* frame;
};

class FrameEncoding : public testing::TestWithParam<EncodingCase> {};

TEST_P(FrameEncoding, EncodesMessageWithStuffingAndXorChecksum)
{
    TFrameCodec codec;
    const auto message = bytes(GetParam().message);
    codec.SendBlock(buffer(message), static_cast<std::uint32_t>(message.size()));
    EXPECT_EQ(output(codec), bytes(GetParam().frame));
    EXPECT_EQ(drain(codec), bytes(GetParam().frame));
}

INSTANTIATE_TEST_SUITE_P(
    Messages, FrameEncoding,
    testing::Values(EncodingCase{"00", "10 02 00 A5 10 03"},
                    EncodingCase{"27 92", "10 02 27 92 10 10 10 03"},
                    EncodingCase{"21 10", "10 02 21 10 10 94 10 03"},
                    EncodingCase{"01 D2 04 00 00 05", "10 02 01 D2 04 00 00 05 77 10 03"},
                    EncodingCase{"10 10 10 10 10 10 10 10 10 10 10 10 10 10 10 10 10 10 10 10 10",
                                 "10 02 10 10 10 10 10 10 10 10 10 10 10 10 10 10 10 10 10 10 10 "
                                 "10 10 10 10 10 10 10 10 10 10 10 10 10 10 10 10 10 10 10 10 10 "
                                 "10 10 B5 10 03"}));

TEST(FrameCodec, EncodedFramesDecodeToTheSameMessageOnTheUnitSide)
{
    std::mt19937 random(7);
    TFrameCodec codec;
    for (int round = 0; round < 500; ++round) {
        const std::uint32_t count = 1 + random() % MessageBufferSize;
        TMessageBuffer data{};
        for (std::uint32_t i = 0; i < count; ++i)
            data[i] = static_cast<std::uint8_t>(random() % 4 == 0 ? DLE : random());
        codec.SendBlock(data, count);
        sim::UnitFrameReceiver unit;
        std::vector<sim::UnitFrameReceiver::Result> results;
        for (std::uint8_t b : drain(codec))
            results.push_back(unit.receiveByte(b));
        ASSERT_EQ(results.back(), sim::UnitFrameReceiver::Result::Accepted);
        EXPECT_EQ(std::vector(unit.message().begin(), unit.message().end()),
                  std::vector(data.begin(), data.begin() + count));
    }
}

TEST(FrameCodec, SendAndResendRestartOutputAndTrace)
{
    test::TTraceCapture trace;
    TFrameCodec codec;
    codec.BlockRetries = 2;
    codec.SendBlock(buffer({0x20, 0x05}), 2);
    EXPECT_EQ(codec.BlockRetries, 0u);
    const auto first = drain(codec);
    EXPECT_FALSE(codec.OutputPending());

    codec.ResendBlock();
    EXPECT_EQ(codec.BlockRetries, 1u);
    EXPECT_EQ(drain(codec), first);
    codec.ResendBlock();
    EXPECT_EQ(codec.BlockRetries, 2u);
    EXPECT_EQ(trace.texts,
              (std::vector<std::string>{"Block sent.", "Block resent.", "Block resent."}));
}

TEST(FrameCodec, RejectsMessageLengthsOutsideTheBufferAndKeepsTheLastFrame)
{
    TFrameCodec codec;
    codec.SendBlock(buffer({0x00}), 1);
    const auto frame = output(codec);
    for (std::uint32_t count : {0u, 22u, 1000u})
        EXPECT_THROW(codec.SendBlock(buffer({0x21, 0x01}), count), std::invalid_argument);
    EXPECT_EQ(output(codec), frame);
    drain(codec);
    EXPECT_THROW(codec.NextOutputByte(), std::logic_error);
}

struct ReceiveCase {
    const char* name;
    const char* stream;
    std::uint32_t state;
    const char* input; // unstuffed frame content when complete
    std::vector<std::string> trace;
};

class FrameReceiving : public testing::TestWithParam<ReceiveCase> {};

TEST_P(FrameReceiving, EndsInTheExpectedState)
{
    test::TTraceCapture trace;
    TFrameCodec codec;
    feed(codec, bytes(GetParam().stream));
    EXPECT_EQ(codec.ProtocolState, GetParam().state);
    if (GetParam().state == psComplete) {
        const auto input = bytes(GetParam().input);
        ASSERT_EQ(codec.InputCount, input.size());
        EXPECT_TRUE(std::equal(input.begin(), input.end(), codec.InputData.begin()));
    }
    EXPECT_EQ(codec.BlockComplete(), GetParam().state == psComplete);
    EXPECT_EQ(codec.BlockFailed(), (GetParam().state & (psTimeout | psOverflow | psError)) != 0);
    EXPECT_EQ(trace.texts, GetParam().trace);
}

INSTANTIATE_TEST_SUITE_P(
    Streams, FrameReceiving,
    testing::Values(
        ReceiveCase{"Complete", "10 02 26 05 2B 00 10 03", psComplete, "26 05 2B 00", {}},
        ReceiveCase{
            "DoubledDleBeforeStx", "10 10 02 26 05 2B 00 10 03", psComplete, "26 05 2B 00", {}},
        ReceiveCase{"IdleBytesBefore",
                    "A5 00 FF 03 02 10 02 26 05 2B 00 10 03",
                    psComplete,
                    "26 05 2B 00",
                    {}},
        ReceiveCase{
            "DleEtxOutsideFrame", "10 03 10 02 26 05 2B 00 10 03", psComplete, "26 05 2B 00", {}},
        ReceiveCase{
            "StuffedMessageAndChecksum", "10 02 10 10 10 10 00 10 03", psComplete, "10 10 00", {}},
        ReceiveCase{"BytesAfterCompleteIgnored",
                    "10 02 26 05 2B 00 10 03 10 02 01",
                    psComplete,
                    "26 05 2B 00",
                    {}},
        ReceiveCase{"WrongSum", "10 02 26 05 2C 00 10 03", psError, "", {"Invalid data received."}},
        ReceiveCase{
            "ChecksumBytesOnly", "10 02 00 00 10 03", psError, "", {"Invalid data received."}},
        ReceiveCase{"ChecksumOfNothingMatchesByteSum",
                    "10 02 05 00 10 03",
                    psError,
                    "",
                    {"Invalid data received."}},
        ReceiveCase{"EmptyFrame", "10 02 10 03", psError, "", {"Invalid data received."}},
        ReceiveCase{"ByteAfterDle",
                    "10 02 26 10 05",
                    psError,
                    "",
                    {"Expected ETX but received something else."}},
        ReceiveCase{"DleStxInsideFrame",
                    "10 02 26 10 02 26 05 2B 00 10 03",
                    psError,
                    "",
                    {"Expected ETX but received something else."}},
        ReceiveCase{"OpenFrame", "10 02 26 05", psData, "", {}},
        ReceiveCase{"NoFrame", "10 03 A5", psWaitDLE, "", {}}),
    [](const testing::TestParamInfo<ReceiveCase>& info) { return info.param.name; });

class FrameOverflow : public testing::TestWithParam<bool> {};

TEST_P(FrameOverflow, The513thUnstuffedByteOverflows)
{
    const bool lastIsDoubledDle = GetParam();
    test::TTraceCapture trace;
    TFrameCodec codec;
    feed(codec, bytes("10 02"));
    for (int i = 0; i < 512; ++i)
        codec.ReceiveByte(static_cast<std::uint8_t>(i % 7));
    EXPECT_EQ(codec.ProtocolState, psData);
    EXPECT_EQ(codec.InputCount, 512u);
    feed(codec, lastIsDoubledDle ? bytes("10 10") : bytes("42"));
    EXPECT_EQ(codec.ProtocolState, psOverflow);
    EXPECT_TRUE(codec.BlockFailed());
    EXPECT_EQ(codec.InputCount, 513u);
    feed(codec, bytes("10 10 55 10 03"));
    EXPECT_EQ(codec.InputCount, 513u);
    EXPECT_TRUE(trace.texts.empty());
}

INSTANTIATE_TEST_SUITE_P(LastByte, FrameOverflow, testing::Bool());

TEST(FrameCodec, A512ByteFrameIsComplete)
{
    TFrameCodec codec;
    std::vector<std::uint8_t> stream = bytes("10 02");
    std::uint16_t sum = 0;
    for (int i = 0; i < 510; ++i) {
        stream.push_back(0x41);
        sum = static_cast<std::uint16_t>(sum + 0x41);
    }
    stream.push_back(static_cast<std::uint8_t>(sum));
    stream.push_back(static_cast<std::uint8_t>(sum >> 8));
    feed(codec, stream);
    feed(codec, bytes("10 03"));
    EXPECT_TRUE(codec.BlockComplete());
    EXPECT_EQ(codec.InputCount, 512u);
}

class FrameTimeout : public testing::TestWithParam<const char*> {};

TEST_P(FrameTimeout, TwentyTicksWithoutAByteFailTheFrameAndTheNextByteIsLost)
{
    test::TTraceCapture trace;
    TFrameCodec codec;
    feed(codec, bytes(GetParam()));
    const std::uint32_t open = codec.ProtocolState;
    for (int tick = 0; tick < 19; ++tick)
        codec.ProtocolTimerTimer();
    EXPECT_EQ(codec.ProtocolState, open);
    codec.ProtocolTimerTimer();
    EXPECT_EQ(codec.ProtocolState, psTimeout);
    EXPECT_TRUE(codec.BlockFailed());
    EXPECT_EQ(trace.texts, std::vector<std::string>{"Protocol timed out."});

    const std::uint32_t count = codec.InputCount;
    codec.ReceiveByte(0x10);
    EXPECT_EQ(codec.ProtocolState, psTimeout);
    EXPECT_EQ(codec.InputCount, count);
    codec.ResetReceiver();
    feed(codec, bytes("02 26 05 2B 00 10 03"));
    EXPECT_EQ(codec.ProtocolState, psWaitDLE);
}

INSTANTIATE_TEST_SUITE_P(OpenStates, FrameTimeout,
                         testing::Values("10", "10 02 26", "10 02 26 10"));

TEST(FrameCodec, EveryByteRestartsTheByteTimerAndIdleTicksNeverTimeOut)
{
    TFrameCodec codec;
    for (int tick = 0; tick < 100; ++tick)
        codec.ProtocolTimerTimer();
    EXPECT_EQ(codec.ProtocolState, psWaitDLE);
    EXPECT_EQ(codec.ByteTimer, 0u);

    feed(codec, bytes("10 02"));
    for (std::uint8_t b : bytes("26 05 2B 00 10")) {
        for (int tick = 0; tick < 19; ++tick)
            codec.ProtocolTimerTimer();
        codec.ReceiveByte(b);
        EXPECT_EQ(codec.ByteTimer, 0u);
    }
    codec.ReceiveByte(0x03);
    EXPECT_TRUE(codec.BlockComplete());
    for (int tick = 0; tick < 40; ++tick)
        codec.ProtocolTimerTimer();
    EXPECT_TRUE(codec.BlockComplete());
}

// Random and truncated streams, with the owner's reset after every finished
// frame: the receiver stays within its buffer (the sanitizers watch) and in a
// defined state.
TEST(FrameCodec, SurvivesRandomAndTruncatedStreams)
{
    std::mt19937 random(20240611);
    TFrameCodec codec;
    const std::uint8_t interesting[] = {DLE, STX, ETX, 0x00, 0xFF};
    for (int round = 0; round < 2000; ++round) {
        const int length = static_cast<int>(random() % 1200);
        for (int i = 0; i < length; ++i) {
            const std::uint8_t b =
                random() % 2 == 0 ? interesting[random() % 5] : static_cast<std::uint8_t>(random());
            codec.ReceiveByte(b);
            ASSERT_LE(codec.InputCount, TFrameCodec::MaxInputCount + 1);
            if (random() % 50 == 0)
                codec.ProtocolTimerTimer();
            if (codec.BlockComplete() || codec.BlockFailed())
                codec.ResetReceiver();
            const std::uint32_t s = codec.ProtocolState;
            ASSERT_TRUE(s == psWaitDLE || s == psWaitSTX || s == psData || s == psDataDLE);
        }
    }
}

} // namespace
} // namespace qzr
