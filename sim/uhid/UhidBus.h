#pragma once

#include <filesystem>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "sim/bus/DeviceBus.h"
#include "sim/uhid/UhidDevice.h"

namespace sim {

// Simulated devices as kernel HID devices, each created through its own open
// of the uhid node (/dev/uhid; the uhid module and write access to it are
// needed), all served by one event loop. Clients find them among the system's
// hidraw devices; the bus has no directory.
class UhidBus final : public DeviceBus {
public:
    static constexpr const char* DefaultNode = "/dev/uhid";

    explicit UhidBus(std::filesystem::path uhidNode = DefaultNode);
    ~UhidBus() override;
    UhidBus(const UhidBus&) = delete;
    UhidBus& operator=(const UhidBus&) = delete;

    EventLoop& loop() override { return loop_; }
    const std::filesystem::path& directory() const override { return noDirectory_; }

    void addDevice(const std::string& name, DeviceDescriptor descriptor, DeviceModel& model,
                   std::chrono::microseconds usbFrame) override;
    void removeDevice(const std::string& name) override;
    void plug(const std::string& name) override;
    void unplug(const std::string& name) override;
    std::vector<std::string> deviceNames() const override;
    DeviceStatus deviceStatus(const std::string& name) const override;

private:
    UhidDevice& device(const std::string& name) const;
    TimePoint runDue(TimePoint now);

    std::filesystem::path uhidNode_;
    std::filesystem::path noDirectory_;
    EventLoop loop_;
    std::map<std::string, std::unique_ptr<UhidDevice>> devices_;
};

} // namespace sim
