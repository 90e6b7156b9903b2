// Any byte stream from a unit, in any session state, through the frame
// receiver and the session dispatcher.
//
// Input: byte 0 the session state to start in, byte 1 the session ID, byte 2
// flags (bit 0 a unit on the cradle, bit 1 a programming run, bit 7 framed
// mode); the rest is either the raw link stream or, in framed mode, messages
// of (length byte, bytes) that are framed with a good checksum, so that the
// dispatcher sees well-formed frames with any content. A byte 0xFE in the raw
// stream, or a message of length 0, also ticks the timers.

#include "cradle/FrameCodec.h"
#include "cradle/SessionProtocol.h"
#include "protocol/UnitProtocol.h"

#include <QLoggingCategory>

#include <cstddef>
#include <cstdint>
#include <vector>

namespace {

using namespace qzr;

class TFuzzWindow : public TSessionWindow {
public:
    void SetAllowances() override {}
    void SetCaption() override {}
    void ShowUnitOnCradle(bool) override {}
    void SetProgress(int percent) override
    {
        if (percent < 0 || percent > 100)
            __builtin_trap();
    }
    void ShowMessageCounts(std::uint32_t, std::uint32_t) override {}
    void SetSessionTimerActive(bool) override {}
    void ClearSessionDisplays() override {}
    void EndRealtimeDisplay() override {}
    void SetupDataToControls() override {}
};

class TFuzzSessionIds : public TSessionIdSource {
public:
    std::uint8_t NewSessionID() override { return ++FLast; }

private:
    std::uint8_t FLast = 0;
};

// Reads every reply the dispatcher hands on, as the unit operations do.
class TFuzzReplies : public TUnitReplyHandler {
public:
    void ReplyReceived(std::uint8_t, const TFrameCodec& codec) override
    {
        unsigned sum = 0;
        for (std::uint8_t b : codec.InputData)
            sum += b;
        Sink = sum;
    }
    volatile unsigned Sink = 0;
};

std::vector<std::uint8_t> Frame(const std::uint8_t* data, std::size_t size)
{
    std::vector<std::uint8_t> frame{DLE, STX};
    std::uint16_t sum = 0;
    const auto put = [&frame](std::uint8_t b) {
        frame.push_back(b);
        if (b == DLE)
            frame.push_back(DLE);
    };
    for (std::size_t i = 0; i < size; ++i) {
        sum = static_cast<std::uint16_t>(sum + data[i]);
        put(data[i]);
    }
    put(static_cast<std::uint8_t>(sum & 0xFF));
    put(static_cast<std::uint8_t>(sum >> 8));
    frame.push_back(DLE);
    frame.push_back(ETX);
    return frame;
}

} // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***)
{
    QLoggingCategory::setFilterRules(QStringLiteral("qzr.*=false"));
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    if (size < 3)
        return 0;
    TFrameCodec codec;
    TFuzzWindow window;
    TFuzzSessionIds ids;
    TFuzzReplies replies;
    TSessionProtocol session(codec, window, ids);
    session.setReplyHandler(&replies);
    session.SessionState = static_cast<TSessionState>(data[0] % 10);
    session.SessionID = data[1];
    session.OnCradle = (data[2] & 1) != 0;
    session.MultiMode = (data[2] & 2) != 0;
    const bool framed = (data[2] & 0x80) != 0;
    const auto tick = [&] {
        codec.ProtocolTimerTimer();
        session.SessionTimerTimer();
        while (codec.OutputPending())
            codec.NextOutputByte();
    };

    std::size_t i = 3;
    while (i < size) {
        if (!framed) {
            if (data[i] == 0xFE)
                tick();
            else
                session.ReceiveLinkByte(data[i]);
            ++i;
            continue;
        }
        const std::size_t length = data[i++];
        if (length == 0) {
            tick();
            continue;
        }
        const std::size_t available = size - i < length ? size - i : length;
        for (std::uint8_t b : Frame(data + i, available))
            session.ReceiveLinkByte(b);
        i += available;
        while (codec.OutputPending())
            codec.NextOutputByte();
    }
    if (session.SETUPIndex > session.SetupData.size())
        __builtin_trap();
    return 0;
}
