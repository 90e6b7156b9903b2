#include "sim/bus/VirtualHidBus.h"

#include <algorithm>
#include <stdexcept>

namespace sim {

VirtualHidBus::VirtualHidBus(std::filesystem::path directory) : directory_(std::move(directory))
{
    std::filesystem::create_directories(directory_);
    loop_.setDueHandler([this](TimePoint now) { return runDue(now); });
}

VirtualHidBus::~VirtualHidBus() = default;

void VirtualHidBus::addDevice(const std::string& name, DeviceDescriptor descriptor,
                              DeviceModel& model, std::chrono::microseconds usbFrame)
{
    if (hasDevice(name)) {
        throw std::invalid_argument("there is already a device named " + name);
    }
    devices_.emplace(name, std::make_unique<BusDevice>(loop_, directory_, name,
                                                       std::move(descriptor), model, usbFrame));
}

void VirtualHidBus::removeDevice(const std::string& name)
{
    auto it = devices_.find(name);
    if (it == devices_.end()) {
        throw std::out_of_range("no device named " + name);
    }
    it->second->unplug();
    devices_.erase(it);
}

bool VirtualHidBus::hasDevice(const std::string& name) const
{
    return devices_.contains(name);
}

void VirtualHidBus::plug(const std::string& name)
{
    device(name).plug();
}

void VirtualHidBus::unplug(const std::string& name)
{
    device(name).unplug();
}

BusDevice& VirtualHidBus::device(const std::string& name)
{
    auto it = devices_.find(name);
    if (it == devices_.end()) {
        throw std::out_of_range("no device named " + name);
    }
    return *it->second;
}

const BusDevice& VirtualHidBus::device(const std::string& name) const
{
    auto it = devices_.find(name);
    if (it == devices_.end()) {
        throw std::out_of_range("no device named " + name);
    }
    return *it->second;
}

std::vector<std::string> VirtualHidBus::deviceNames() const
{
    std::vector<std::string> names;
    for (const auto& entry : devices_) {
        names.push_back(entry.first);
    }
    return names;
}

DeviceStatus VirtualHidBus::deviceStatus(const std::string& name) const
{
    const BusDevice& served = device(name);
    return {served.descriptor(), served.plugged(), served.reenumerating(),
            served.openConnectionCount()};
}

TimePoint VirtualHidBus::runDue(TimePoint now)
{
    TimePoint next = TimePoint::max();
    for (auto& entry : devices_) {
        next = std::min(next, entry.second->runDue(now));
    }
    return next;
}

} // namespace sim
