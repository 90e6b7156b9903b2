#pragma once

#include <chrono>
#include <filesystem>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "sim/bus/BusDevice.h"
#include "sim/bus/DeviceBus.h"
#include "sim/bus/DeviceDescriptor.h"
#include "sim/bus/DeviceModel.h"
#include "sim/bus/EventLoop.h"

namespace sim {

// The server side of a virtual HID bus directory: any number of devices, each
// a DeviceModel behind NAME.dev + NAME.sock, all served by one event loop.
// Every member except loop().post()/stop() belongs to the loop's thread (see
// BusThread to run it on a thread of its own).
class VirtualHidBus final : public DeviceBus {
public:
    // The directory is created when missing; it is not removed again, only
    // the entries of the bus's devices are.
    explicit VirtualHidBus(std::filesystem::path directory);
    ~VirtualHidBus() override;
    VirtualHidBus(const VirtualHidBus&) = delete;
    VirtualHidBus& operator=(const VirtualHidBus&) = delete;

    const std::filesystem::path& directory() const override { return directory_; }
    EventLoop& loop() override { return loop_; }

    void addDevice(const std::string& name, DeviceDescriptor descriptor, DeviceModel& model,
                   std::chrono::microseconds usbFrame) override;
    void removeDevice(const std::string& name) override;
    bool hasDevice(const std::string& name) const;

    void plug(const std::string& name) override;
    void unplug(const std::string& name) override;
    // The device by name; throws std::out_of_range when there is none.
    BusDevice& device(const std::string& name);
    const BusDevice& device(const std::string& name) const;
    std::vector<std::string> deviceNames() const override;
    DeviceStatus deviceStatus(const std::string& name) const override;

    // Serves until loop().stop().
    void run() { loop_.run(); }

private:
    TimePoint runDue(TimePoint now);

    std::filesystem::path directory_;
    EventLoop loop_;
    std::map<std::string, std::unique_ptr<BusDevice>> devices_;
};

} // namespace sim
