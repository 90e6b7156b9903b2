#pragma once

#include "cradle/LinkEndpoint.h"

#include <array>
#include <cstdint>
#include <functional>

namespace qzr {

// The 8 data bytes of one report of the HID cradle.
using TCradleReport = std::array<std::uint8_t, 8>;

// The byte stream of the HID cradle, carried in 8-byte reports. Every input
// report updates the transmitter-empty count and the presence debounce, feeds
// its link bytes to the endpoint while a unit is on the cradle, and may be
// followed by one output report of up to seven link bytes.
class THidLink {
public:
    using TReportSender = std::function<void(const TCradleReport&)>;

    // Bits of byte 0 of an input report.
    static constexpr std::uint8_t LinkByteCountMask = 0x07;
    static constexpr std::uint8_t TransmitterEmptyBit = 0x40;
    static constexpr std::uint8_t UnitOnCradleBit = 0x80;

    // Input reports that disagree with the presence state before it changes.
    static constexpr int PresenceDebounce = 25;
    // Input reports with the empty flag needed before the next output report.
    static constexpr int EmptyReportsBeforeOutput = 2;
    static constexpr int CounterLimit = 255;

    THidLink(TLinkEndpoint& endpoint, TReportSender sendReport);

    // The input handler: runs once per input report.
    void InputReport(const TCradleReport& data);

    int SeenOnOffCradle() const { return FSeenOnOffCradle; }
    int SeenEmpty() const { return FSeenEmpty; }
    bool XMitEmpty() const { return FXMitEmpty; }

private:
    void CountEmptyFlag(std::uint8_t status);
    void TrackPresence(std::uint8_t status);
    void SendPendingBytes();

    TLinkEndpoint& FEndpoint;
    TReportSender FSendReport;
    // Bytes after the count keep the values of the previous output report.
    TCradleReport FOutput{};
    int FSeenOnOffCradle = 0;
    int FSeenEmpty = 0;
    bool FXMitEmpty = false;
};

} // namespace qzr
