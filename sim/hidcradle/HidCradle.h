#pragma once

#include <array>
#include <chrono>
#include <cstdint>
#include <memory>
#include <optional>
#include <string>

#include "sim/bus/DeviceDescriptor.h"
#include "sim/bus/DeviceModel.h"
#include "sim/hidcradle/ByteFifo.h"
#include "sim/hidcradle/LinkFaults.h"
#include "sim/hidcradle/UnitSlot.h"
#include "sim/unit/Zt46Unit.h"

namespace sim {

struct HidCradleTiming {
    // Time between input reports. 0: a report whenever a client is ready to
    // take one (as fast as the readers go, without losing any).
    std::chrono::microseconds reportInterval{1000};
    // Serial bytes per second between cradle and unit, each way (9600 baud
    // with start and stop bits). 0: bytes cross at once.
    unsigned byteRate = 960;
};

// The older cradle: a plain USB HID chip carrying the unit's serial byte
// stream in 8-byte reports with report ID 0.
//
// Input report, sent every reportInterval: byte 0 holds n (bits 0-2, the
// number of bytes from the unit in bytes 1..n, at most 7), 0x40 when the
// cradle holds no byte still to send to the unit, 0x80 while a unit is
// placed. Output report: byte 0 the number of bytes (1..7) in bytes 1..7, sent
// on to the unit at the byte rate; reports with another count or another
// report ID are ignored. Bytes from the unit wait in the cradle's receive
// buffer for the next input reports; the unit is read only while that buffer
// has room. Bytes are lost when the transmit buffer overflows, while no unit
// is placed, and through the link faults.
//
// The unit's clock runs with the cradle's ticks, also while the cradle is
// unplugged (the unit has its own battery); an unplugged cradle moves no
// bytes and forgets what its buffers held.
class HidCradle final : public DeviceModel {
public:
    static constexpr std::size_t ReportSize = 8;
    static constexpr std::size_t MaxLinkBytesPerReport = 7;
    static constexpr std::size_t BufferSize = 64;
    static constexpr std::uint8_t CountMask = 0x07;
    static constexpr std::uint8_t TransmitterEmpty = 0x40;
    static constexpr std::uint8_t UnitPresent = 0x80;

    explicit HidCradle(HidCradleTiming timing = {});
    ~HidCradle() override;

    // The cradle's USB descriptor: the cradle vendor and HID cradle product
    // identifiers, with the given serial-number string.
    static DeviceDescriptor descriptor(const std::string& serial);

    // Puts a unit on the cradle; throws std::logic_error when one is there.
    void placeUnit(std::unique_ptr<Zt46Unit> unit);
    // Takes the unit off (nothing when there is none); bytes on their way
    // from it are lost.
    std::unique_ptr<Zt46Unit> removeUnit();
    Zt46Unit* unit() const { return slot_.unit(); }

    void setTiming(HidCradleTiming timing);
    LinkFaults& faults() { return faults_; }
    // A silent cradle sends no input reports at all (its USB side hangs).
    void setSilent(bool silent) { silent_ = silent; }
    bool silent() const { return silent_; }

    // Bytes handed to the unit since the cradle was made.
    std::uint64_t bytesToUnit() const { return bytesToUnit_; }

    void onOutputReport(std::span<const std::uint8_t> report, TimePoint now,
                        DeviceHost& host) override;
    void onTick(TimePoint now, DeviceHost& host) override;
    TimePoint nextTick() const override;
    void onPlugged(bool plugged, DeviceHost& host) override;

private:
    void moveBytes(TimePoint now);
    void sendToUnit(std::uint8_t byte);
    void takeFromUnit();
    void sendReport(DeviceHost& host);
    std::chrono::nanoseconds byteTime() const;

    HidCradleTiming timing_;
    LinkFaults faults_;
    bool silent_ = false;
    bool powered_ = false;

    ByteFifo<BufferSize> toUnit_;
    ByteFifo<BufferSize> fromUnit_;
    UnitSlot slot_;
    TimePoint nextReport_{};
    std::optional<TimePoint> transmitLineClock_;
    std::optional<TimePoint> receiveLineClock_;
    std::array<std::uint8_t, ReportSize + 1> report_{};

    std::uint64_t bytesToUnit_ = 0;
};

} // namespace sim
