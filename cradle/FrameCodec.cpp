#include "cradle/FrameCodec.h"

#include <stdexcept>

#include "cradle/ProtocolLogging.h"

namespace qzr {

void TFrameCodec::SendBlock(const TMessageBuffer& Data, std::uint32_t Count)
{
    if (Count < 1 || Count > Data.size())
        throw std::invalid_argument("SendBlock: message length must be 1 to 21 bytes");
    OutputCount = 0;
    AppendOutput(DLE);
    AppendOutput(STX);
    std::uint8_t checksum = ToUnitChecksumSeed;
    for (std::uint32_t i = 0; i < Count; ++i) {
        if (Data[i] == DLE)
            AppendOutput(DLE);
        AppendOutput(Data[i]);
        checksum ^= Data[i];
    }
    if (checksum == DLE)
        AppendOutput(DLE);
    AppendOutput(checksum);
    AppendOutput(DLE);
    AppendOutput(ETX);
    OutputIndex = 0;
    BlockRetries = 0;
    qCDebug(lcFrameCodec, "Block sent.");
}

void TFrameCodec::AppendOutput(std::uint8_t byte)
{
    OutputData[OutputCount++] = byte;
}

void TFrameCodec::ResendBlock()
{
    OutputIndex = 0;
    ++BlockRetries;
    qCDebug(lcFrameCodec, "Block resent.");
}

std::uint8_t TFrameCodec::NextOutputByte()
{
    if (!OutputPending())
        throw std::logic_error("NextOutputByte: no output pending");
    return OutputData[OutputIndex++];
}

void TFrameCodec::ReceiveByte(std::uint8_t b)
{
    ByteTimer = 0;
    switch (ProtocolState) {
    case psWaitDLE:
        if (b == DLE)
            ProtocolState = psWaitSTX;
        break;
    case psWaitSTX:
        if (b == STX) {
            InputCount = 0;
            ProtocolState = psData;
        } else if (b != DLE) {
            ProtocolState = psWaitDLE;
        }
        break;
    case psData:
        if (b == DLE)
            ProtocolState = psDataDLE;
        else
            StoreInputByte(b);
        break;
    case psDataDLE:
        if (b == DLE) {
            ProtocolState = psData;
            StoreInputByte(b);
        } else if (b == ETX) {
            if (InputChecksumOK()) {
                ProtocolState = psComplete;
            } else {
                ProtocolState = psError;
                qCDebug(lcFrameCodec, "Invalid data received.");
            }
        } else {
            ProtocolState = psError;
            qCDebug(lcFrameCodec, "Expected ETX but received something else.");
        }
        break;
    default:
        // Complete or failed: bytes wait for the owner's reset.
        break;
    }
}

void TFrameCodec::StoreInputByte(std::uint8_t b)
{
    InputData[InputCount++] = b;
    if (InputCount > MaxInputCount)
        ProtocolState = psOverflow;
}

bool TFrameCodec::InputChecksumOK() const
{
    // A frame of the two checksum bytes alone carries no message: it fails.
    if (InputCount < 3)
        return false;
    const std::uint16_t expected =
        static_cast<std::uint16_t>(InputData[InputCount - 2] | InputData[InputCount - 1] << 8);
    std::uint16_t sum = 0;
    for (std::uint32_t i = 0; i + 2 < InputCount; ++i)
        sum = static_cast<std::uint16_t>(sum + InputData[i]);
    return sum == expected;
}

void TFrameCodec::ResetReceiver()
{
    ProtocolState = psWaitDLE;
    InputCount = 0;
}

void TFrameCodec::ProtocolTimerTimer()
{
    switch (ProtocolState) {
    case psWaitDLE:
        ByteTimer = 0;
        break;
    case psWaitSTX:
    case psData:
    case psDataDLE:
        if (++ByteTimer >= ByteTimeoutTicks) {
            ProtocolState = psTimeout;
            qCDebug(lcFrameCodec, "Protocol timed out.");
        }
        break;
    default:
        break;
    }
}

} // namespace qzr
