#pragma once

#include <array>
#include <cstdint>
#include <functional>

class QObject;

namespace qzr {

// The 8 data bytes of one HID report.
using THidData = std::array<std::uint8_t, 8>;

// One report as it travels to and from a device: byte 0 the report ID, then the 8 data bytes.
using THidReport = std::array<std::uint8_t, 9>;

// A plain notification: Sender is the object that raises it.
using TNotifyEvent = std::function<void(QObject* Sender)>;

// An input report: Sender is the object that raises it.
using THidDataEvent =
    std::function<void(QObject* Sender, std::uint8_t ReportId, const THidData& Data)>;

} // namespace qzr
