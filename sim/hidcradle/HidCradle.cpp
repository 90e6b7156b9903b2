#include "sim/hidcradle/HidCradle.h"

#include <algorithm>
#include <stdexcept>

#include <protocol/CradleIdentifiers.h>

namespace sim {
namespace {

constexpr std::chrono::milliseconds UnpoweredTickInterval{100};

TimePoint nextGridPoint(TimePoint now, std::chrono::microseconds interval)
{
    auto steps = now.time_since_epoch() / interval;
    return TimePoint(std::chrono::duration_cast<Clock::duration>((steps + 1) * interval));
}

} // namespace

HidCradle::HidCradle(HidCradleTiming timing)
{
    setTiming(timing);
}

HidCradle::~HidCradle() = default;

DeviceDescriptor HidCradle::descriptor(const std::string& serial)
{
    DeviceDescriptor descriptor;
    descriptor.vendorId = qzr::CradleVendorId;
    descriptor.productId = qzr::HidCradleProductId;
    descriptor.version = 0x0100;
    descriptor.manufacturer = "Halvern";
    descriptor.product = "ZT-46 USB cradle";
    descriptor.serial = serial;
    descriptor.reportSize = ReportSize;
    descriptor.strings = {{1, descriptor.manufacturer}, {2, descriptor.product}, {3, serial}};
    return descriptor;
}

void HidCradle::placeUnit(std::unique_ptr<Zt46Unit> unit)
{
    slot_.place(std::move(unit));
    receiveLineClock_.reset();
}

std::unique_ptr<Zt46Unit> HidCradle::removeUnit()
{
    fromUnit_.clear();
    receiveLineClock_.reset();
    return slot_.remove();
}

void HidCradle::setTiming(HidCradleTiming timing)
{
    if (timing.reportInterval.count() < 0) {
        throw std::invalid_argument("the report interval must not be negative");
    }
    timing_ = timing;
    nextReport_ = {};
    transmitLineClock_.reset();
    receiveLineClock_.reset();
}

void HidCradle::onOutputReport(std::span<const std::uint8_t> report, TimePoint now, DeviceHost&)
{
    if (!powered_ || report.size() != ReportSize + 1 || report[0] != 0) {
        return;
    }
    std::size_t count = report[1];
    if (count < 1 || count > MaxLinkBytesPerReport) {
        return;
    }
    for (std::size_t i = 0; i < count; ++i) {
        toUnit_.push(report[2 + i]);
    }
    if (timing_.byteRate == 0) {
        moveBytes(now);
    }
}

void HidCradle::onTick(TimePoint now, DeviceHost& host)
{
    slot_.advanceTo(now);
    if (!powered_) {
        while (unit() && unit()->hasOutput()) {
            unit()->takeOutputByte(); // into a cradle without power
        }
        return;
    }
    moveBytes(now);
    if (timing_.reportInterval.count() == 0) {
        if (!silent_ && host.readyForInputReport()) {
            sendReport(host);
        }
    } else if (now >= nextReport_) {
        if (!silent_) {
            sendReport(host);
        }
        nextReport_ = nextGridPoint(now, timing_.reportInterval);
    }
}

TimePoint HidCradle::nextTick() const
{
    if (!slot_.last()) {
        return TimePoint::min();
    }
    if (!powered_) {
        return *slot_.last() + UnpoweredTickInterval;
    }
    if (timing_.reportInterval.count() == 0) {
        return TimePoint::min();
    }
    return nextReport_;
}

void HidCradle::onPlugged(bool plugged, DeviceHost&)
{
    powered_ = plugged;
    toUnit_.clear();
    fromUnit_.clear();
    transmitLineClock_.reset();
    receiveLineClock_.reset();
    nextReport_ = {};
}

std::chrono::nanoseconds HidCradle::byteTime() const
{
    return std::chrono::nanoseconds(1'000'000'000 / timing_.byteRate);
}

void HidCradle::moveBytes(TimePoint now)
{
    if (timing_.byteRate == 0) {
        while (!toUnit_.empty()) {
            sendToUnit(toUnit_.pop());
        }
        while (unit() && unit()->hasOutput() && !fromUnit_.full()) {
            takeFromUnit();
        }
        return;
    }
    const auto perByte = byteTime();
    if (!transmitLineClock_ && !toUnit_.empty()) {
        transmitLineClock_ = now;
    }
    while (transmitLineClock_ && *transmitLineClock_ + perByte <= now) {
        sendToUnit(toUnit_.pop());
        *transmitLineClock_ += perByte;
        if (toUnit_.empty()) {
            transmitLineClock_.reset();
        }
    }
    if (!receiveLineClock_ && unit() && unit()->hasOutput()) {
        receiveLineClock_ = now;
    }
    while (receiveLineClock_ && *receiveLineClock_ + perByte <= now) {
        if (!unit() || !unit()->hasOutput()) {
            receiveLineClock_.reset();
        } else if (fromUnit_.full()) {
            receiveLineClock_ = now; // the unit waits until there is room
            break;
        } else {
            takeFromUnit();
            *receiveLineClock_ += perByte;
        }
    }
}

void HidCradle::sendToUnit(std::uint8_t byte)
{
    std::optional<std::uint8_t> arriving = faults_.pass(byte);
    if (arriving && unit()) {
        unit()->receiveByte(*arriving);
        ++bytesToUnit_;
    }
}

void HidCradle::takeFromUnit()
{
    std::optional<std::uint8_t> arriving = faults_.pass(unit()->takeOutputByte());
    if (arriving) {
        fromUnit_.push(*arriving);
    }
}

void HidCradle::sendReport(DeviceHost& host)
{
    std::size_t count = std::min(fromUnit_.size(), MaxLinkBytesPerReport);
    report_.fill(0);
    report_[1] = static_cast<std::uint8_t>(count) | (toUnit_.empty() ? TransmitterEmpty : 0) |
                 (unit() ? UnitPresent : 0);
    for (std::size_t i = 0; i < count; ++i) {
        report_[2 + i] = fromUnit_.pop();
    }
    host.sendInputReport(report_);
}

} // namespace sim
