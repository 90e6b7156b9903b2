#include "sim/program/BridgeCradle.h"

#include <stdexcept>

namespace sim {
namespace {

// The chip keeps its strings as UTF-16; the descriptor file is UTF-8.
std::string utf8(const std::u16string& text)
{
    std::string out;
    for (std::size_t i = 0; i < text.size(); ++i) {
        char32_t code = text[i];
        if (code >= 0xD800 && code <= 0xDBFF && i + 1 < text.size() && text[i + 1] >= 0xDC00 &&
            text[i + 1] <= 0xDFFF) {
            code = 0x10000 + ((code - 0xD800) << 10) + (text[i + 1] - 0xDC00);
            ++i;
        } else if (code >= 0xD800 && code <= 0xDFFF) {
            code = 0xFFFD; // a lone surrogate
        }
        if (code < 0x80) {
            out += static_cast<char>(code);
        } else if (code < 0x800) {
            out += static_cast<char>(0xC0 | (code >> 6));
            out += static_cast<char>(0x80 | (code & 0x3F));
        } else if (code < 0x10000) {
            out += static_cast<char>(0xE0 | (code >> 12));
            out += static_cast<char>(0x80 | ((code >> 6) & 0x3F));
            out += static_cast<char>(0x80 | (code & 0x3F));
        } else {
            out += static_cast<char>(0xF0 | (code >> 18));
            out += static_cast<char>(0x80 | ((code >> 12) & 0x3F));
            out += static_cast<char>(0x80 | ((code >> 6) & 0x3F));
            out += static_cast<char>(0x80 | (code & 0x3F));
        }
    }
    return out;
}

// Line breaks cannot stand in the descriptor file; the chip may hold any text.
std::string singleLine(std::string text)
{
    for (char& c : text) {
        if (c == '\n' || c == '\r') {
            c = ' ';
        }
    }
    return text;
}

} // namespace

BridgeCradle::BridgeCradle(BridgeCradleTiming timing, BridgeChipNvram nvram)
    : timing_(timing), chip_(std::make_unique<VexaBridgeChip>(std::move(nvram)))
{}

BridgeCradle::~BridgeCradle() = default;

DeviceDescriptor BridgeCradle::descriptor(const BridgeChipNvram& nvram)
{
    DeviceDescriptor descriptor;
    descriptor.vendorId = nvram.usbKey.vid;
    descriptor.productId = nvram.usbKey.pid;
    descriptor.version = 0x0100;
    descriptor.manufacturer = singleLine(utf8(nvram.manufacturer));
    descriptor.product = singleLine(utf8(nvram.product));
    descriptor.serial = singleLine(utf8(nvram.serialNumber));
    descriptor.reportSize = ReportSize;
    descriptor.strings = {
        {1, descriptor.manufacturer}, {2, descriptor.product}, {3, descriptor.serial}};
    return descriptor;
}

void BridgeCradle::placeUnit(std::unique_ptr<Zt46Unit> unit)
{
    slot_.place(std::move(unit));
    wiring_ = std::make_unique<UnitOnSpiBus>(*slot_.unit());
    chip_->placePeripheral(*wiring_);
}

std::unique_ptr<Zt46Unit> BridgeCradle::removeUnit()
{
    chip_->removePeripheral();
    wiring_.reset();
    return slot_.remove();
}

void BridgeCradle::setFaults(const BridgeChipFaults& faults)
{
    faults_ = faults;
    chip_->setFaults(faults_);
}

void BridgeCradle::advanceTo(TimePoint now)
{
    slot_.advanceTo(now);
    if (!chipTime_) {
        chipTime_ = now;
        return;
    }
    if (now <= *chipTime_) {
        return;
    }
    auto elapsed = std::chrono::duration_cast<std::chrono::microseconds>(now - *chipTime_);
    chip_->advance(elapsed);
    *chipTime_ += elapsed;
}

void BridgeCradle::onOutputReport(std::span<const std::uint8_t> report, TimePoint now,
                                  DeviceHost& host)
{
    if (report.size() != ReportSize + 1 || report[0] != 0) {
        return;
    }
    advanceTo(now);
    chip_->receiveCommand(report.subspan(1));
    if (!timing_.spiRealTime) {
        if (auto clocking = chip_->timeToNextEvent()) {
            chip_->advance(*clocking);
        }
    }
    while (chip_->hasResponse()) {
        vexa::Report response = chip_->takeResponse();
        response_[0] = 0;
        std::copy(response.begin(), response.end(), response_.begin() + 1);
        host.sendInputReport(response_);
    }
    if (chip_->takeRestartRequest()) {
        host.setDescriptor(descriptor(chip_->nvram()));
        host.reenumerate(timing_.reenumerationTime);
    }
}

void BridgeCradle::onTick(TimePoint now, DeviceHost&)
{
    advanceTo(now);
}

TimePoint BridgeCradle::nextTick() const
{
    auto last = slot_.last();
    if (!last) {
        return TimePoint::min();
    }
    if (auto clocking = chip_->timeToNextEvent(); clocking && timing_.spiRealTime) {
        return *chipTime_ + *clocking;
    }
    return *last + IdleTickInterval;
}

void BridgeCradle::onPlugged(bool plugged, DeviceHost&)
{
    if (plugged) {
        powerUp();
    }
}

void BridgeCradle::powerUp()
{
    BridgeChipNvram nvram = chip_->nvram();
    chip_ = std::make_unique<VexaBridgeChip>(std::move(nvram));
    chip_->setFaults(faults_);
    if (wiring_) {
        chip_->placePeripheral(*wiring_);
    }
}

} // namespace sim
