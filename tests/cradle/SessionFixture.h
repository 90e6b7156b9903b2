#pragma once

#include <gtest/gtest.h>

#include <cstdint>
#include <string>
#include <vector>

#include "Bytes.h"
#include "FakeSessionWindow.h"
#include "cradle/FrameCodec.h"
#include "cradle/SessionProtocol.h"
#include "sim/unit/UnitFrameEncoder.h"
#include "sim/unit/UnitFrameReceiver.h"

namespace qzr::test {

// A session with a fake window; messages from the unit are framed by the
// unit model's encoder and fed byte by byte as a transport would.
class SessionFixture : public testing::Test {
protected:
    SessionFixture() { window.session = &session; }

    void receiveFrame(const std::vector<std::uint8_t>& frame)
    {
        for (std::uint8_t b : frame)
            session.ReceiveLinkByte(b);
    }
    void receive(const std::string& message) { receiveFrame(sim::encodeUnitFrame(bytes(message))); }
    void receiveCorrupt(const std::string& message)
    {
        receiveFrame(sim::encodeUnitFrame(bytes(message), true));
    }

    // The messages the codec put out since the last call, unframed.
    std::vector<std::vector<std::uint8_t>> sent()
    {
        std::vector<std::vector<std::uint8_t>> messages;
        sim::UnitFrameReceiver unit;
        while (codec.OutputPending()) {
            if (unit.receiveByte(codec.NextOutputByte()) ==
                sim::UnitFrameReceiver::Result::Accepted)
                messages.emplace_back(unit.message().begin(), unit.message().end());
        }
        return messages;
    }

    void tick(int times)
    {
        for (int i = 0; i < times; ++i)
            session.SessionTimerTimer();
    }

    // Detection and handshake with serial number 0x4D2, ending in ssIdle.
    void openSession()
    {
        session.OnCradle = true;
        session.UnitDetected();
        receive("00 D2 04 00 00 03 17 34 12");
        receive("01 00 D2 04 00 00");
        receive("20 " + sessionIdHex() + " 01 02 03");
        sent();
        ASSERT_EQ(session.SessionState, ssIdle);
    }

    std::string sessionIdHex() const
    {
        static const char digits[] = "0123456789ABCDEF";
        return {digits[session.SessionID >> 4], digits[session.SessionID & 15]};
    }

    TFrameCodec codec;
    TFakeSessionWindow window;
    TFakeSessionIds sessionIds;
    TSessionProtocol session{codec, window, sessionIds};
};

} // namespace qzr::test
