#pragma once

#include "hid/HidData.h"

#include <QObject>
#include <cstdint>

namespace qzr {

class THidDevice;

// An 8-byte report buffer on a device with typed, big-endian views (the byte with the lower
// index is the more significant). An input port takes every input report of its device and
// raises OnHidData; an output port (AcceptUSBData false) is filled and sent with SendData.
// A view read with an index outside its range gives 0 (false); writing one changes nothing.
class THidDataPort : public QObject {
    Q_OBJECT
public:
    explicit THidDataPort(QObject* AOwner = nullptr);
    ~THidDataPort() override;

    THidDevice* HidDevice() const { return FHidDevice; }
    // Unhooks from the current device, then hooks into the new one.
    void SetHidDevice(THidDevice* HidDevice);

    bool AcceptUSBData() const { return FAcceptUSBData; }
    void SetAcceptUSBData(bool AcceptUSBData) { FAcceptUSBData = AcceptUSBData; }

    // Sends the buffer as an output report with report ID 0.
    virtual bool SendData();

    // Called by the device for every input report.
    void ReceiveHidData(const THidData& Data);

    const THidData& AsHidData() const { return FData; }
    void SetAsHidData(const THidData& Data) { FData = Data; }

    std::int64_t AsInt64() const;
    void SetAsInt64(std::int64_t Value);
    // Indexes 0..1: bytes 4i..4i+3.
    std::int32_t AsLongInt(int Index) const;
    void SetAsLongInt(int Index, std::int32_t Value);
    // Indexes 0..3: bytes 2i..2i+1.
    std::int16_t AsSmallInt(int Index) const;
    void SetAsSmallInt(int Index, std::int16_t Value);
    // Indexes 0..7: byte i.
    std::int8_t AsShortInt(int Index) const;
    void SetAsShortInt(int Index, std::int8_t Value);
    std::uint8_t AsByte(int Index) const;
    void SetAsByte(int Index, std::uint8_t Value);
    // Indexes 0..63: bit i of AsInt64, that is bit i mod 8 of byte 7 - i div 8.
    bool AsBit(int Index) const;
    void SetAsBit(int Index, bool Value);

    TNotifyEvent OnHidData;

private:
    friend class THidDevice;

    std::uint64_t ReadBigEndian(int Index, int Width) const;
    void WriteBigEndian(int Index, int Width, std::uint64_t Value);

    THidData FData{};
    THidDevice* FHidDevice = nullptr;
    bool FAcceptUSBData = true;
};

} // namespace qzr
