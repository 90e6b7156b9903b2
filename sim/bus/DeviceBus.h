#pragma once

#include <chrono>
#include <cstddef>
#include <filesystem>
#include <string>
#include <vector>

#include "sim/bus/DeviceDescriptor.h"
#include "sim/bus/DeviceModel.h"
#include "sim/bus/EventLoop.h"

namespace sim {

// What a bus tells about one of its devices.
struct DeviceStatus {
    DeviceDescriptor descriptor;
    bool plugged = false;
    bool reenumerating = false;      // away for a while, coming back by itself
    std::size_t openConnections = 0; // clients that have it open, as far as the bus can tell
};

// Where simulated devices appear to their clients: the virtual HID bus
// directory, or the kernel's HID devices (sim/uhid). Each device is backed by a
// DeviceModel; everything runs on the bus's event loop, and every member
// except loop().post()/stop() belongs to the loop's thread.
class DeviceBus {
public:
    virtual ~DeviceBus() = default;

    virtual EventLoop& loop() = 0;
    // The directory the bus serves, or empty for a bus without one.
    virtual const std::filesystem::path& directory() const = 0;

    // Adds a device, not yet plugged in. The model must outlive the device
    // (until removeDevice or the bus's end). `usbFrame` 0 turns USB pacing
    // off. Throws std::invalid_argument for a bad or taken name.
    virtual void addDevice(const std::string& name, DeviceDescriptor descriptor, DeviceModel& model,
                           std::chrono::microseconds usbFrame) = 0;
    // Unplugs the device and forgets it.
    virtual void removeDevice(const std::string& name) = 0;
    virtual void plug(const std::string& name) = 0;
    virtual void unplug(const std::string& name) = 0;
    virtual std::vector<std::string> deviceNames() const = 0;
    // Throws std::out_of_range for an unknown name.
    virtual DeviceStatus deviceStatus(const std::string& name) const = 0;
};

} // namespace sim
