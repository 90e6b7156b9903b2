#pragma once

#include <chrono>
#include <filesystem>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "sim/bus/BusDevice.h"
#include "sim/bus/DeviceDescriptor.h"
#include "sim/bus/DeviceModel.h"
#include "sim/bus/EventLoop.h"

namespace sim {

// The server side of a virtual HID bus directory: any number of devices, each
// a DeviceModel behind NAME.dev + NAME.sock, all served by one event loop.
// Every member except loop().post()/stop() belongs to the loop's thread (see
// BusThread to run it on a thread of its own).
class VirtualHidBus {
public:
    // The directory is created when missing; it is not removed again, only
    // the entries of the bus's devices are.
    explicit VirtualHidBus(std::filesystem::path directory);
    ~VirtualHidBus();
    VirtualHidBus(const VirtualHidBus&) = delete;
    VirtualHidBus& operator=(const VirtualHidBus&) = delete;

    const std::filesystem::path& directory() const { return directory_; }
    EventLoop& loop() { return loop_; }

    // Adds a device, not yet plugged in. The model must outlive the device
    // (until removeDevice or the bus's end). `usbFrame` 0 turns USB pacing
    // off. Throws std::invalid_argument for a bad or taken name.
    void addDevice(const std::string& name, DeviceDescriptor descriptor, DeviceModel& model,
                   std::chrono::microseconds usbFrame);
    // Unplugs the device and forgets it.
    void removeDevice(const std::string& name);
    bool hasDevice(const std::string& name) const;

    void plug(const std::string& name);
    void unplug(const std::string& name);
    // The device by name; throws std::out_of_range when there is none.
    BusDevice& device(const std::string& name);
    const BusDevice& device(const std::string& name) const;
    std::vector<std::string> deviceNames() const;

    // Serves until loop().stop().
    void run() { loop_.run(); }

private:
    TimePoint runDue(TimePoint now);

    std::filesystem::path directory_;
    EventLoop loop_;
    std::map<std::string, std::unique_ptr<BusDevice>> devices_;
};

} // namespace sim
