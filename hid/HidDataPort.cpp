#include "hid/HidDataPort.h"

#include "hid/EUSBException.h"
#include "hid/HidDevice.h"

namespace qzr {

THidDataPort::THidDataPort(QObject* AOwner) : QObject(AOwner) {}

THidDataPort::~THidDataPort()
{
    if (FHidDevice != nullptr)
        FHidDevice->UnhookHidDataPort(this);
}

void THidDataPort::SetHidDevice(THidDevice* HidDevice)
{
    if (FHidDevice != nullptr)
        FHidDevice->UnhookHidDataPort(this);
    if (HidDevice != nullptr)
        HidDevice->HookHidDataPort(this);
}

bool THidDataPort::SendData()
{
    if (FHidDevice == nullptr)
        throw EUSBException(
            QStringLiteral("There is no THidDevice connected to the THidDataPort."));
    return FHidDevice->SendData(0, FData);
}

void THidDataPort::ReceiveHidData(const THidData& Data)
{
    if (!FAcceptUSBData)
        return;
    FData = Data;
    // A copy: the handler may destroy this port.
    const auto handler = OnHidData;
    if (handler)
        handler(this);
}

// The value of the Width bytes starting at byte Index * Width, most significant first; 0 when
// the index is outside the buffer.
std::uint64_t THidDataPort::ReadBigEndian(int Index, int Width) const
{
    if (Index < 0 || Index >= int(FData.size()) / Width)
        return 0;
    std::uint64_t value = 0;
    for (int i = 0; i < Width; ++i)
        value = (value << 8) | FData[std::size_t(Index * Width + i)];
    return value;
}

void THidDataPort::WriteBigEndian(int Index, int Width, std::uint64_t Value)
{
    if (Index < 0 || Index >= int(FData.size()) / Width)
        return;
    for (int i = Width - 1; i >= 0; --i, Value >>= 8)
        FData[std::size_t(Index * Width + i)] = static_cast<std::uint8_t>(Value);
}

std::int64_t THidDataPort::AsInt64() const
{
    return static_cast<std::int64_t>(ReadBigEndian(0, 8));
}

void THidDataPort::SetAsInt64(std::int64_t Value)
{
    WriteBigEndian(0, 8, static_cast<std::uint64_t>(Value));
}

std::int32_t THidDataPort::AsLongInt(int Index) const
{
    return static_cast<std::int32_t>(ReadBigEndian(Index, 4));
}

void THidDataPort::SetAsLongInt(int Index, std::int32_t Value)
{
    WriteBigEndian(Index, 4, static_cast<std::uint32_t>(Value));
}

std::int16_t THidDataPort::AsSmallInt(int Index) const
{
    return static_cast<std::int16_t>(ReadBigEndian(Index, 2));
}

void THidDataPort::SetAsSmallInt(int Index, std::int16_t Value)
{
    WriteBigEndian(Index, 2, static_cast<std::uint16_t>(Value));
}

std::int8_t THidDataPort::AsShortInt(int Index) const
{
    return static_cast<std::int8_t>(ReadBigEndian(Index, 1));
}

void THidDataPort::SetAsShortInt(int Index, std::int8_t Value)
{
    WriteBigEndian(Index, 1, static_cast<std::uint8_t>(Value));
}

std::uint8_t THidDataPort::AsByte(int Index) const
{
    return static_cast<std::uint8_t>(ReadBigEndian(Index, 1));
}

void THidDataPort::SetAsByte(int Index, std::uint8_t Value)
{
    WriteBigEndian(Index, 1, Value);
}

bool THidDataPort::AsBit(int Index) const
{
    if (Index < 0 || Index >= 64)
        return false;
    return (AsByte(7 - Index / 8) >> (Index % 8)) & 1;
}

void THidDataPort::SetAsBit(int Index, bool Value)
{
    if (Index < 0 || Index >= 64)
        return;
    const int byte = 7 - Index / 8;
    const auto mask = static_cast<std::uint8_t>(1u << (Index % 8));
    SetAsByte(byte, static_cast<std::uint8_t>(Value ? AsByte(byte) | mask : AsByte(byte) & ~mask));
}

} // namespace qzr
