#include "cradle/SessionProtocol.h"

#include <algorithm>

#include "cradle/ProtocolLogging.h"
#include "protocol/LittleEndian.h"

namespace qzr {

namespace {

// Positions in a received message.
constexpr std::uint32_t IdAt = 0;
constexpr std::uint32_t SessionIdAt = 1;
constexpr std::uint32_t ReplyPayloadAt = 2;
// ID and session ID before the payload, two checksum bytes after it.
constexpr std::uint32_t ReplyOverhead = 4;

constexpr std::uint32_t IdentifyCount = 1;
constexpr std::uint32_t SessionCount = 6;
constexpr std::uint32_t ReadSetupCount = 2;

constexpr bool IsReply(std::uint8_t id)
{
    return id >= msgReadSetup && id <= msgReadLog;
}

} // namespace

TSessionProtocol::TSessionProtocol(TFrameCodec& codec, TSessionWindow& window,
                                   TSessionIdSource& sessionIds)
    : FCodec(codec), FWindow(window), FSessionIds(sessionIds)
{}

TMessageBuffer TSessionProtocol::Message(std::uint8_t id, std::initializer_list<std::uint8_t> bytes)
{
    TMessageBuffer buffer{};
    buffer[0] = id;
    std::copy_n(bytes.begin(), std::min(bytes.size(), buffer.size() - 1), buffer.begin() + 1);
    return buffer;
}

void TSessionProtocol::ReceiveLinkByte(std::uint8_t b)
{
    FCodec.ReceiveByte(b);
    ProcessInput();
    if (FCodec.BlockComplete() || FCodec.BlockFailed())
        FCodec.ResetReceiver();
}

void TSessionProtocol::ProcessInput()
{
    if (FCodec.BlockComplete()) {
        CountMessage(true);
        SessionTimeout = RequestTimeoutTicks;
        FCodec.BlockRetries = 0;
        HandleMessage();
    } else if (FCodec.BlockFailed()) {
        CountMessage(false);
        if (SessionState == ssNone)
            return;
        if (FCodec.BlockRetries >= MaxResendsAfterFailure) {
            SessionRejected();
        } else {
            SessionTimeout = RequestTimeoutTicks;
            FCodec.ResendBlock();
        }
    }
}

void TSessionProtocol::CountMessage(bool ok)
{
    ++(ok ? FOkCount : FErrorCount);
    FWindow.ShowMessageCounts(FOkCount, FErrorCount);
}

void TSessionProtocol::HandleMessage()
{
    const std::uint8_t id = FCodec.InputData[IdAt];
    if (id == msgIdentify) {
        HandleIdentify();
        return;
    }
    if (id == msgSession) {
        HandleSessionConfirm();
        return;
    }
    if (!IsReply(id) || FCodec.InputData[SessionIdAt] != SessionID) {
        SessionRejected();
        return;
    }
    // The echo of a single pair written on its own needs nothing more.
    if (id == msgWriteSetup && !MultiMode)
        return;
    qCDebug(lcSession, "Received message with ID $%02X.", id);
    switch (id) {
    case msgReadSetup:
        HandleSetupImage();
        break;
    case msgVersion:
        HandleVersionReport();
        break;
    case msgDone:
        OperationDone();
        break;
    default:
        if (FReplyHandler != nullptr)
            FReplyHandler->ReplyReceived(id, FCodec);
        break;
    }
}

void TSessionProtocol::HandleIdentify()
{
    qCDebug(lcSession, "Received message with ID $00.");
    SerialNumber = ReadU32(&FCodec.InputData[1]);
    ProtocolVersion = FCodec.InputData[5];
    FirmwareVersion = FCodec.InputData[6];
    ConfigCode = ReadU16(&FCodec.InputData[7]);
    SessionID = FSessionIds.NewSessionID();
    SendSession();
    SetSessionState(ssHandshake);
}

void TSessionProtocol::HandleSessionConfirm()
{
    qCDebug(lcSession, "Received message with ID $01.");
    if (ReadU32(&FCodec.InputData[2]) == SerialNumber) {
        SETUPIndex = 0;
        FCodec.SendBlock(Message(msgReadSetup, {SessionID}), ReadSetupCount);
        SessionStarts();
    } else {
        SessionID = FSessionIds.NewSessionID();
        SendSession();
        qCDebug(lcSession, "Serial does not match.");
    }
}

void TSessionProtocol::SendSession()
{
    TMessageBuffer message = Message(msgSession);
    WriteU32(&message[1], SerialNumber);
    message[5] = SessionID;
    FCodec.SendBlock(message, SessionCount);
}

void TSessionProtocol::HandleSetupImage()
{
    // The image always starts at byte 0, also for a reply that comes twice (an
    // answer to the original request and one to its resend). Bytes beyond the
    // 64 of the image are ignored.
    SetupData.fill(0);
    SETUPIndex = 0;
    const std::uint32_t payload =
        FCodec.InputCount > ReplyOverhead ? FCodec.InputCount - ReplyOverhead : 0;
    for (std::uint32_t i = 0; i < payload && SETUPIndex < SetupData.size(); ++i)
        SetupData[SETUPIndex++] = FCodec.InputData[ReplyPayloadAt + i];
    FWindow.SetupDataToControls();
    OperationDone();
}

void TSessionProtocol::HandleVersionReport()
{
    ProtocolVersion = FCodec.InputData[6];
    FirmwareVersion = FCodec.InputData[7];
    ConfigCode = ReadU16(&FCodec.InputData[8]);
    OperationDone();
}

void TSessionProtocol::SessionTimerTimer()
{
    if (SessionTimeout > 0)
        --SessionTimeout;
    if (SessionTimeout > 0)
        return;
    if (FCodec.BlockRetries >= 1) {
        SessionRejected();
    } else {
        SessionTimeout = RequestTimeoutTicks;
        FCodec.ResendBlock();
    }
}

void TSessionProtocol::UnitDetected()
{
    FWindow.ShowUnitOnCradle(true);
    FCodec.ResetReceiver();
    FCodec.BlockRetries = 0;
    FCodec.SendBlock(Message(msgIdentify), IdentifyCount);
}

void TSessionProtocol::UnitGone()
{
    FWindow.ShowUnitOnCradle(false);
}

void TSessionProtocol::SessionStarts()
{
    SETUPIndex = 0;
    FWindow.SetProgress(0);
    FWindow.ClearSessionDisplays();
    SetSessionState(ssReadingSetup);
    FWindow.SetSessionTimerActive(true);
    qCDebug(lcSession, "Session starts.");
}

void TSessionProtocol::SessionEnds()
{
    FWindow.SetSessionTimerActive(false);
    FWindow.EndRealtimeDisplay();
    SetSessionState(ssNone);
    qCDebug(lcSession, "Session ends.");
}

void TSessionProtocol::SessionRejected()
{
    FWindow.SetSessionTimerActive(false);
    SessionEnds();
    OnCradle = false;
    FWindow.SetProgress(0);
    Refresh();
    qCDebug(lcSession, "Session rejected.");
}

void TSessionProtocol::OperationDone()
{
    FWindow.SetSessionTimerActive(false);
    SessionTimeout = RequestTimeoutTicks;
    SetSessionState(ssIdle);
}

void TSessionProtocol::SetSessionState(TSessionState state)
{
    SessionState = state;
    Refresh();
}

void TSessionProtocol::SendMessage(const TMessageBuffer& message, std::uint32_t count)
{
    FCodec.SendBlock(message, count);
}

void TSessionProtocol::SendRequest(const TMessageBuffer& message, std::uint32_t count)
{
    SessionTimeout = RequestTimeoutTicks;
    SetSessionTimerActive(true);
    SendMessage(message, count);
}

void TSessionProtocol::SetSessionTimerActive(bool active)
{
    FWindow.SetSessionTimerActive(active);
}

void TSessionProtocol::Refresh()
{
    FWindow.SetAllowances();
    FWindow.SetCaption();
}

} // namespace qzr
