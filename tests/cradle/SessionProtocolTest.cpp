#include "cradle/SessionProtocol.h"

#include <gtest/gtest.h>

#include <random>

#include "SessionFixture.h"
#include "cradle/SessionIdCounter.h"
#include "tests/support/TraceCapture.h"

namespace qzr {
namespace {

using test::bytes;
using Messages = std::vector<std::vector<std::uint8_t>>;

class SessionProtocol : public test::SessionFixture {};

TEST_F(SessionProtocol, HandshakeGivesTheUnitASessionAndReadsTheSetupImage)
{
    test::TTraceCapture trace;
    sessionIds.next = 5;
    session.OnCradle = true;
    session.UnitDetected();
    EXPECT_TRUE(window.unitIndicatorBright);
    EXPECT_EQ(sent(), Messages{bytes("00")});

    receive("00 D2 04 00 00 03 17 34 12");
    EXPECT_EQ(session.SerialNumber, 0x4D2u);
    EXPECT_EQ(session.ProtocolVersion, 3);
    EXPECT_EQ(session.FirmwareVersion, 0x17);
    EXPECT_EQ(session.ConfigCode, 0x1234);
    EXPECT_EQ(session.SessionID, 5);
    EXPECT_EQ(session.SessionState, ssHandshake);
    EXPECT_EQ(sent(), Messages{bytes("01 D2 04 00 00 05")});

    receive("01 77 D2 04 00 00");
    EXPECT_EQ(session.SessionState, ssReadingSetup);
    EXPECT_TRUE(window.sessionTimerActive);
    EXPECT_EQ(session.SessionTimeout, TSessionProtocol::RequestTimeoutTicks);
    EXPECT_EQ(sent(), Messages{bytes("20 05")});

    receive("20 05 11 22 33");
    EXPECT_EQ(session.SessionState, ssIdle);
    EXPECT_FALSE(window.sessionTimerActive);
    EXPECT_EQ(window.shownSetup[0], 0x11);
    EXPECT_EQ(window.shownSetup[2], 0x33);
    EXPECT_EQ(window.captionStates,
              (std::vector<TSessionState>{ssHandshake, ssReadingSetup, ssIdle}));
    EXPECT_EQ(session.okCount(), 3u);
    EXPECT_EQ(window.okShown, 3u);
    EXPECT_EQ(session.errorCount(), 0u);
    EXPECT_EQ(trace.texts, (std::vector<std::string>{"Block sent.", "Received message with ID $00.",
                                                     "Block sent.", "Received message with ID $01.",
                                                     "Block sent.", "Session starts.",
                                                     "Received message with ID $20."}));
}

TEST_F(SessionProtocol, ConfirmationWithAnotherSerialNumberOffersANewSessionEachTime)
{
    test::TTraceCapture trace;
    session.UnitDetected();
    receive("00 D2 04 00 00 03 17 34 12");
    sent();
    trace.take();

    receive("01 00 99 99 00 00");
    EXPECT_EQ(sent(), Messages{bytes("01 D2 04 00 00 02")});
    receive("01 00 D3 04 00 00");
    EXPECT_EQ(sent(), Messages{bytes("01 D2 04 00 00 03")});
    EXPECT_EQ(session.SerialNumber, 0x4D2u);
    EXPECT_EQ(session.SessionState, ssHandshake);
    EXPECT_EQ(trace.texts,
              (std::vector<std::string>{"Received message with ID $01.", "Block sent.",
                                        "Serial does not match.", "Received message with ID $01.",
                                        "Block sent.", "Serial does not match."}));
}

TEST_F(SessionProtocol, IdentificationDuringAnOperationStartsANewHandshake)
{
    openSession();
    session.SessionState = ssReadingLog;
    receive("00 D2 04 00 00 03 17 34 12");
    EXPECT_EQ(session.SessionState, ssHandshake);
    EXPECT_EQ(session.SessionID, 2);
    EXPECT_EQ(sent(), Messages{bytes("01 D2 04 00 00 02")});
}

struct RejectionCase {
    const char* name;
    bool withSession;
    const char* message; // "SS" stands for the current session ID
};

class SessionRejection : public test::SessionFixture,
                         public testing::WithParamInterface<RejectionCase> {};

TEST_P(SessionRejection, RejectsAndTheNextDetectionIdentifiesAgain)
{
    if (GetParam().withSession)
        openSession();
    test::TTraceCapture trace;
    std::string message = GetParam().message;
    if (const auto at = message.find("SS"); at != std::string::npos)
        message.replace(at, 2, sessionIdHex());
    session.OnCradle = true;
    receive(message);

    EXPECT_EQ(session.SessionState, ssNone);
    EXPECT_FALSE(session.OnCradle);
    EXPECT_FALSE(window.sessionTimerActive);
    EXPECT_EQ(window.progress, 0);
    EXPECT_EQ(trace.texts, (std::vector<std::string>{"Session ends.", "Session rejected."}));
    EXPECT_TRUE(sent().empty());

    session.UnitDetected();
    EXPECT_EQ(sent(), Messages{bytes("00")});
}

INSTANTIATE_TEST_SUITE_P(Messages, SessionRejection,
                         testing::Values(RejectionCase{"WrongSessionId", true, "27 63 00 00"},
                                         RejectionCase{"UnknownIdInSession", true, "05 SS"},
                                         RejectionCase{"UnknownIdWithoutSession", false, "05 00"},
                                         RejectionCase{"IdAboveCatalogue", true, "2A SS"},
                                         RejectionCase{"IdBelowReplies", true, "1F SS"},
                                         RejectionCase{"DoneWithWrongSessionId", true, "26 00"}),
                         [](const testing::TestParamInfo<RejectionCase>& info) {
                             return info.param.name;
                         });

TEST_F(SessionProtocol, UnansweredRequestIsResentOnceThenTheSessionIsRejected)
{
    openSession();
    test::TTraceCapture trace;
    session.SessionState = ssRealtime;
    codec.SendBlock(TSessionProtocol::Message(msgRealtime, {session.SessionID}), 2);
    session.SessionTimeout = TSessionProtocol::RequestTimeoutTicks;
    const Messages request = sent();

    tick(19);
    EXPECT_FALSE(codec.OutputPending());
    tick(1);
    EXPECT_EQ(codec.BlockRetries, 1u);
    EXPECT_EQ(sent(), request);
    tick(19);
    EXPECT_EQ(session.SessionState, ssRealtime);
    tick(1);
    EXPECT_EQ(session.SessionState, ssNone);
    EXPECT_FALSE(session.OnCradle);
    EXPECT_EQ(trace.texts, (std::vector<std::string>{"Block sent.", "Block resent.",
                                                     "Session ends.", "Session rejected."}));
}

TEST_F(SessionProtocol, FirstTickResendsWhenTheTimeoutIsAlreadyZero)
{
    openSession();
    session.SessionTimeout = 0;
    tick(1);
    EXPECT_EQ(codec.BlockRetries, 1u);
    EXPECT_EQ(session.SessionTimeout, TSessionProtocol::RequestTimeoutTicks);
    EXPECT_EQ(sent().size(), 1u);
}

TEST_F(SessionProtocol, ThreeCorruptFramesAreResentAndTheFourthRejects)
{
    openSession();
    for (std::uint32_t failure = 1; failure <= 3; ++failure) {
        receiveCorrupt("21 01 00 00 00 00 00 00 00 00");
        EXPECT_EQ(codec.BlockRetries, failure);
        EXPECT_EQ(sent().size(), 1u);
    }
    receiveCorrupt("21 01 00 00 00 00 00 00 00 00");
    EXPECT_EQ(session.SessionState, ssNone);
    EXPECT_EQ(session.errorCount(), 4u);
    EXPECT_EQ(window.errorsShown, 4u);
}

TEST_F(SessionProtocol, AGoodFrameRestartsTheFailureCount)
{
    openSession();
    test::TRecordingReplyHandler handler;
    session.setReplyHandler(&handler);
    for (int round = 0; round < 3; ++round) {
        receiveCorrupt("21 01");
        receiveCorrupt("21 01");
        receiveCorrupt("21 01");
        receive("21 01 00 00 00 00 00 00 00 00");
        EXPECT_EQ(codec.BlockRetries, 0u);
    }
    EXPECT_EQ(session.SessionState, ssIdle);
    EXPECT_EQ(handler.ids, (std::vector<std::uint8_t>{0x21, 0x21, 0x21}));
}

TEST_F(SessionProtocol, FailedFramesWithoutASessionAreOnlyCounted)
{
    test::TTraceCapture trace;
    for (int i = 0; i < 5; ++i)
        receiveCorrupt("00 D2 04 00 00 03 17 34 12");
    EXPECT_EQ(session.errorCount(), 5u);
    EXPECT_EQ(codec.BlockRetries, 0u);
    EXPECT_FALSE(codec.OutputPending());
    EXPECT_EQ(trace.texts.size(), 5u); // "Invalid data received." each
}

TEST_F(SessionProtocol, TimedOutFrameIsCountedWhenTheNextByteArrives)
{
    openSession();
    receiveFrame(bytes("10 02 21 01 00"));
    for (std::uint32_t i = 0; i < TFrameCodec::ByteTimeoutTicks; ++i)
        codec.ProtocolTimerTimer();
    EXPECT_EQ(session.errorCount(), 0u);
    session.ReceiveLinkByte(0x10);
    EXPECT_EQ(session.errorCount(), 1u);
    EXPECT_EQ(codec.BlockRetries, 1u);
    EXPECT_EQ(codec.ProtocolState, psWaitDLE);
}

TEST(SessionIdCounter, CountsFromOneAndWrapsAfter255ToZero)
{
    TSessionIdCounter counter;
    std::vector<int> ids;
    for (int i = 0; i < 257; ++i)
        ids.push_back(counter.NewSessionID());
    EXPECT_EQ(ids.front(), 1);
    EXPECT_EQ(ids[253], 254);
    EXPECT_EQ(ids[254], 255);
    EXPECT_EQ(ids[255], 0);
    EXPECT_EQ(ids[256], 1);
}

TEST_F(SessionProtocol, HandshakeUsesSessionIdZeroAfter255)
{
    sessionIds.next = 255;
    openSession();
    EXPECT_EQ(session.SessionID, 255);
    receive("00 D2 04 00 00 03 17 34 12");
    EXPECT_EQ(sent(), Messages{bytes("01 D2 04 00 00 00")});
    receive("01 00 D2 04 00 00");
    receive("20 00 AA");
    EXPECT_EQ(session.SessionState, ssIdle);
    EXPECT_EQ(session.SetupData[0], 0xAA);
}

TEST_F(SessionProtocol, VersionReportUpdatesVersionsAndEndsTheOperation)
{
    openSession();
    test::TTraceCapture trace;
    session.SessionState = ssRealtime;
    window.sessionTimerActive = true;
    receive("25 01 D2 04 00 00 04 21 78 56");
    EXPECT_EQ(session.ProtocolVersion, 4);
    EXPECT_EQ(session.FirmwareVersion, 0x21);
    EXPECT_EQ(session.ConfigCode, 0x5678);
    EXPECT_EQ(session.SessionState, ssIdle);
    EXPECT_FALSE(window.sessionTimerActive);
    EXPECT_EQ(trace.texts, std::vector<std::string>{"Received message with ID $25."});

    session.SessionState = ssLoggerStatus;
    receive("26 01");
    EXPECT_EQ(session.SessionState, ssIdle);
}

class SetupImageReply : public test::SessionFixture,
                        public testing::WithParamInterface<std::size_t> {};

TEST_P(SetupImageReply, StoresUpToTheImageSizeAndLeavesTheRestZero)
{
    const std::size_t length = GetParam();
    openSession();
    session.SetupData.fill(0xEE);
    std::vector<std::uint8_t> message{msgReadSetup, session.SessionID};
    for (std::size_t i = 0; i < length; ++i)
        message.push_back(static_cast<std::uint8_t>(i + 1));
    session.SessionState = ssReadingSetup;
    receiveFrame(sim::encodeUnitFrame(message));
    receiveFrame(sim::encodeUnitFrame(message)); // a second answer, e.g. to a resend

    EXPECT_EQ(session.SessionState, ssIdle);
    for (std::size_t i = 0; i < SetupDataSize; ++i)
        EXPECT_EQ(session.SetupData[i], i < length ? i + 1 : 0) << "byte " << i;
    EXPECT_EQ(window.shownSetup, session.SetupData);
}

INSTANTIATE_TEST_SUITE_P(PayloadLengths, SetupImageReply, testing::Values(0, 40, 64, 70, 508));

TEST_F(SessionProtocol, SingleWriteEchoIsAcceptedSilently)
{
    openSession();
    test::TRecordingReplyHandler handler;
    session.setReplyHandler(&handler);
    test::TTraceCapture trace;
    session.SessionState = ssRealtime;
    session.MultiMode = false;
    receive("22 01 04 00");
    EXPECT_TRUE(handler.ids.empty());
    EXPECT_TRUE(trace.texts.empty());
    EXPECT_EQ(session.SessionState, ssRealtime);

    session.MultiMode = true;
    receive("22 01 04 00");
    EXPECT_EQ(handler.ids, std::vector<std::uint8_t>{0x22});
    EXPECT_EQ(trace.texts, std::vector<std::string>{"Received message with ID $22."});
}

TEST_F(SessionProtocol, RepliesReachTheOperationsInAnyState)
{
    openSession();
    test::TRecordingReplyHandler handler;
    session.setReplyHandler(&handler);
    test::TTraceCapture trace;
    for (const char* reply : {"21 01", "23 01", "24 01", "27 01", "28 01", "29 01 FF"})
        receive(reply);
    EXPECT_EQ(handler.ids, (std::vector<std::uint8_t>{0x21, 0x23, 0x24, 0x27, 0x28, 0x29}));
    EXPECT_EQ(session.SessionState, ssIdle);
    EXPECT_EQ(trace.texts.back(), "Received message with ID $29.");
}

struct SideEffectCase {
    const char* name;
    bool loggerStatusChecked;
    bool onCradleBeforeEnd;
    bool rejected;
    TSessionState finalState;
};

class CheckBoxSideEffect : public test::SessionFixture,
                           public testing::WithParamInterface<SideEffectCase> {};

TEST_P(CheckBoxSideEffect, DecidesTheStateAfterTheSessionEnds)
{
    const SideEffectCase& c = GetParam();
    openSession();
    session.SessionState = c.loggerStatusChecked ? ssLoggerStatus : ssIdle;
    window.loggerStatusChecked = c.loggerStatusChecked;
    session.OnCradle = c.onCradleBeforeEnd;
    if (c.rejected)
        session.SessionRejected();
    else
        session.SessionEnds();
    EXPECT_EQ(session.SessionState, c.finalState);
    EXPECT_FALSE(window.sessionTimerActive);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, CheckBoxSideEffect,
    testing::Values(SideEffectCase{"RejectedWhileWatchingLogger", true, true, true, ssIdle},
                    SideEffectCase{"EndedAfterUnitLeftWhileWatching", true, false, false, ssIdle},
                    SideEffectCase{"EndedOnCradleWhileWatching", true, true, false, ssNone},
                    SideEffectCase{"RejectedWithoutWatching", false, true, true, ssNone}),
    [](const testing::TestParamInfo<SideEffectCase>& info) { return info.param.name; });

TEST_F(SessionProtocol, EndingTheSessionClearsTheRealtimeDisplayThroughItsHandler)
{
    openSession();
    session.SessionState = ssRealtime;
    window.realtimeChecked = true;
    window.calls.clear();
    session.SessionEnds();
    EXPECT_FALSE(window.realtimeChecked);
    EXPECT_EQ(session.SessionState, ssNone);
    EXPECT_EQ(window.calls,
              (std::vector<std::string>{"EndRealtimeDisplay", "CheckBoxCleared", "SetAllowances",
                                        "SetCaption", "SetAllowances", "SetCaption"}));
}

TEST_F(SessionProtocol, SessionStartClearsTheDisplaysAndTheProgress)
{
    window.progress = 77;
    session.SETUPIndex = 12;
    session.SessionStarts();
    EXPECT_EQ(session.SessionState, ssReadingSetup);
    EXPECT_EQ(session.SETUPIndex, 0);
    EXPECT_EQ(window.progress, 0);
    EXPECT_EQ(window.calls,
              (std::vector<std::string>{"ClearSessionDisplays", "SetAllowances", "SetCaption"}));
    EXPECT_TRUE(window.sessionTimerActive);
}

// Random bytes and random well-formed frames of any ID and length: the
// session never reads or writes outside its buffers (the sanitizers watch)
// and stays in a defined state.
TEST_F(SessionProtocol, SurvivesRandomFramesAndBytes)
{
    test::TRecordingReplyHandler handler;
    session.setReplyHandler(&handler);
    std::mt19937 random(99);
    session.OnCradle = true;
    for (int round = 0; round < 3000; ++round) {
        std::vector<std::uint8_t> message(random() % 600);
        for (auto& b : message)
            b = static_cast<std::uint8_t>(random() % 3 == 0 ? 0x10 : random());
        if (!message.empty() && random() % 2 == 0)
            message[0] = static_cast<std::uint8_t>(random() % 0x2B);
        if (message.size() > 1 && random() % 2 == 0)
            message[1] = session.SessionID;
        std::vector<std::uint8_t> frame = sim::encodeUnitFrame(message, random() % 5 == 0);
        frame.resize(frame.size() - random() % 3);
        receiveFrame(frame);
        if (random() % 4 == 0)
            tick(static_cast<int>(random() % 25));
        if (random() % 10 == 0)
            session.MultiMode = !session.MultiMode;
        if (!session.OnCradle) {
            session.OnCradle = true;
            session.UnitDetected();
        }
        sent();
        ASSERT_GE(session.SessionState, ssNone);
        ASSERT_LE(session.SessionState, ssIdle);
        ASSERT_LE(session.SETUPIndex, SetupDataSize);
    }
}

} // namespace
} // namespace qzr
