#pragma once

#include <chrono>
#include <memory>
#include <optional>

#include "sim/bridge/UnitOnSpiBus.h"
#include "sim/bridge/VexaBridgeChip.h"
#include "sim/bus/DeviceDescriptor.h"
#include "sim/bus/DeviceModel.h"
#include "sim/hidcradle/UnitSlot.h"
#include "sim/unit/Zt46Unit.h"

namespace sim {

struct BridgeCradleTiming {
    // The chip clocks SPI bytes at its bit rate; false clocks each chunk out
    // as soon as it arrives.
    bool spiRealTime = true;
    // How long the chip stays off the bus after a reset before it is back.
    std::chrono::milliseconds reenumerationTime{300};
};

// The newer cradle: the Vexa bridge chip on the USB side (64-byte command and
// response reports, report ID 0), the unit on its SPI bus. A reset command
// makes the device leave the bus and come back after reenumerationTime with
// the chip's stored USB identity; pulling the cradle out powers the chip down,
// so it starts afresh from its stored settings when plugged in again. The
// unit's clock runs with the cradle's ticks also while it is unplugged.
class BridgeCradle final : public DeviceModel {
public:
    static constexpr std::size_t ReportSize = vexa::ReportSize;
    static constexpr std::chrono::milliseconds IdleTickInterval{100};

    explicit BridgeCradle(BridgeCradleTiming timing = {}, BridgeChipNvram nvram = {});
    ~BridgeCradle() override;

    // The USB descriptor the chip's stored identity gives.
    static DeviceDescriptor descriptor(const BridgeChipNvram& nvram);

    // Puts a unit on the SPI bus; throws std::logic_error when one is there.
    void placeUnit(std::unique_ptr<Zt46Unit> unit);
    // Takes the unit off (nothing when there is none).
    std::unique_ptr<Zt46Unit> removeUnit();
    Zt46Unit* unit() const { return slot_.unit(); }

    const BridgeChipFaults& faults() const { return faults_; }
    void setFaults(const BridgeChipFaults& faults);

    void onOutputReport(std::span<const std::uint8_t> report, TimePoint now,
                        DeviceHost& host) override;
    void onTick(TimePoint now, DeviceHost& host) override;
    TimePoint nextTick() const override;
    void onPlugged(bool plugged, DeviceHost& host) override;

private:
    void advanceTo(TimePoint now);
    void powerUp();

    BridgeCradleTiming timing_;
    std::unique_ptr<VexaBridgeChip> chip_;
    BridgeChipFaults faults_;
    std::unique_ptr<UnitOnSpiBus> wiring_;
    UnitSlot slot_;
    std::optional<TimePoint> chipTime_;
    std::array<std::uint8_t, ReportSize + 1> response_{};
};

} // namespace sim
