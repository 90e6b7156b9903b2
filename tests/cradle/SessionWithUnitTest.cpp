#include <gtest/gtest.h>

#include "FakeSessionWindow.h"
#include "cradle/FrameCodec.h"
#include "cradle/SessionIdCounter.h"
#include "cradle/SessionProtocol.h"
#include "sim/unit/Zt46Unit.h"
#include "tests/support/TraceCapture.h"

namespace qzr {
namespace {

// The session core and the unit model joined by an in-memory byte pipe.
class SessionWithUnit : public testing::Test {
protected:
    SessionWithUnit() { window.session = &session; }

    // Moves what each side has to send once in each direction.
    void exchangeOnce()
    {
        while (codec.OutputPending())
            unit.receiveByte(codec.NextOutputByte());
        while (unit.hasOutput())
            session.ReceiveLinkByte(unit.takeOutputByte());
    }

    // Moves bytes both ways until neither side has anything to send.
    void exchange()
    {
        while (codec.OutputPending() || unit.hasOutput())
            exchangeOnce();
    }

    // Detection, identification and confirmation; the setup request is the
    // next thing to go out.
    void handshakeUpToSetupRequest()
    {
        session.OnCradle = true;
        session.UnitDetected();
        exchangeOnce();
        exchangeOnce();
        ASSERT_EQ(session.SessionState, ssReadingSetup);
    }

    void detect()
    {
        session.OnCradle = true;
        session.UnitDetected();
        exchange();
    }

    void sessionTicks(int count)
    {
        for (int i = 0; i < count; ++i) {
            session.SessionTimerTimer();
            exchange();
        }
    }

    // An operation's request as the window would start it.
    void request(std::uint8_t id, TSessionState state)
    {
        session.SessionState = state;
        codec.SendBlock(TSessionProtocol::Message(id, {session.SessionID}), 2);
        session.SessionTimeout = TSessionProtocol::RequestTimeoutTicks;
        window.sessionTimerActive = true;
        exchange();
    }

    TFrameCodec codec;
    test::TFakeSessionWindow window;
    TSessionIdCounter sessionIds;
    TSessionProtocol session{codec, window, sessionIds};
    test::TRecordingReplyHandler operations;
    sim::Zt46Unit unit{{0x12AB34CD, 2, 0x15, 0x0310}};
};

TEST_F(SessionWithUnit, HandshakeEndsIdleWithTheUnitsSetupImage)
{
    test::TTraceCapture trace;
    detect();
    EXPECT_EQ(session.SessionState, ssIdle);
    EXPECT_EQ(session.SerialNumber, 0x12AB34CDu);
    EXPECT_EQ(session.ProtocolVersion, 2);
    EXPECT_EQ(session.FirmwareVersion, 0x15);
    EXPECT_EQ(session.ConfigCode, 0x0310);
    EXPECT_EQ(session.SessionID, 1);
    EXPECT_TRUE(unit.inSession());
    EXPECT_EQ(unit.sessionId(), 1);
    EXPECT_EQ(session.SetupData, unit.workingSetup());
    EXPECT_EQ(window.shownSetup, unit.workingSetup());
    EXPECT_FALSE(window.sessionTimerActive);
    EXPECT_EQ(session.okCount(), 3u);
    EXPECT_EQ(session.errorCount(), 0u);
    EXPECT_EQ(trace.texts.back(), "Received message with ID $20.");
}

TEST_F(SessionWithUnit, SilentUnitIsRejectedAndGreetedAgainWithANewSession)
{
    session.setReplyHandler(&operations);
    detect();
    unit.setSilent(true);
    request(msgRealtime, ssRealtime);
    sessionTicks(20);
    EXPECT_EQ(codec.BlockRetries, 1u);
    sessionTicks(20);
    EXPECT_EQ(session.SessionState, ssNone);
    EXPECT_FALSE(session.OnCradle);

    unit.setSilent(false);
    detect();
    EXPECT_EQ(session.SessionState, ssIdle);
    EXPECT_EQ(session.SessionID, 2);
    EXPECT_EQ(unit.sessionId(), 2);
    request(msgRealtime, ssRealtime);
    EXPECT_EQ(operations.ids, std::vector<std::uint8_t>{msgRealtime});
}

TEST_F(SessionWithUnit, ReplyWithAWrongSessionIdRejects)
{
    detect();
    unit.answerNextWithWrongSessionId();
    request(msgLoggerStatus, ssLoggerStatus);
    EXPECT_EQ(session.SessionState, ssNone);
    EXPECT_FALSE(session.OnCradle);
}

TEST_F(SessionWithUnit, UnknownMessageFromTheUnitRejects)
{
    detect();
    unit.sendUnknownMessage(0x05);
    exchange();
    EXPECT_EQ(session.SessionState, ssNone);
    EXPECT_FALSE(session.OnCradle);
}

TEST_F(SessionWithUnit, CorruptSetupReplyIsResentAndTheSessionGoesOn)
{
    handshakeUpToSetupRequest();
    unit.corruptNextChecksums(1);
    exchange();
    EXPECT_EQ(session.SessionState, ssIdle);
    EXPECT_EQ(session.errorCount(), 1u);
    EXPECT_EQ(unit.framesAccepted(), 4u); // 0x00, 0x01, 0x20 and its resend
    EXPECT_EQ(session.SetupData, unit.workingSetup());
}

TEST_F(SessionWithUnit, CorruptFramesOutsideASessionAreOnlyCounted)
{
    session.OnCradle = true;
    session.UnitDetected();
    unit.corruptNextChecksums(1);
    exchange();
    EXPECT_EQ(session.SessionState, ssNone);
    EXPECT_EQ(session.errorCount(), 1u);
    EXPECT_EQ(unit.framesAccepted(), 1u);
}

TEST_F(SessionWithUnit, TruncatedReplyTimesOutAndTheResendCompletesTheRead)
{
    handshakeUpToSetupRequest();
    unit.truncateNextFrame(1);
    exchange();
    EXPECT_EQ(codec.ProtocolState, psDataDLE);
    for (std::uint32_t i = 0; i < TFrameCodec::ByteTimeoutTicks; ++i)
        codec.ProtocolTimerTimer();
    EXPECT_EQ(codec.ProtocolState, psTimeout);

    // The resend's answer loses its first byte to the timed-out frame; that
    // failure resends once more, and the third answer completes the read.
    sessionTicks(TSessionProtocol::RequestTimeoutTicks);
    EXPECT_EQ(session.SessionState, ssIdle);
    EXPECT_EQ(session.errorCount(), 1u);
    EXPECT_EQ(unit.framesAccepted(), 5u);
    EXPECT_EQ(session.SetupData, unit.workingSetup());
}

TEST_F(SessionWithUnit, VersionReportFromTheUnitEndsTheOperation)
{
    detect();
    request(msgLoggerStatus, ssLoggerStatus);
    unit.sendVersionReport();
    exchange();
    EXPECT_EQ(session.SessionState, ssIdle);
    EXPECT_EQ(session.FirmwareVersion, 0x15);
    EXPECT_EQ(session.ConfigCode, 0x0310);
}

TEST_F(SessionWithUnit, ShortAndLongSetupRepliesBothEndIdle)
{
    for (std::size_t length : {40u, 70u}) {
        unit.setSetupReplyLength(length);
        detect();
        EXPECT_EQ(session.SessionState, ssIdle);
        for (std::size_t i = 0; i < SetupDataSize; ++i)
            EXPECT_EQ(session.SetupData[i], i < length ? unit.workingSetup()[i] : 0);
    }
}

} // namespace
} // namespace qzr
