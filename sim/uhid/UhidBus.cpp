#include "sim/uhid/UhidBus.h"

#include <algorithm>
#include <stdexcept>

namespace sim {

UhidBus::UhidBus(std::filesystem::path uhidNode) : uhidNode_(std::move(uhidNode))
{
    loop_.setDueHandler([this](TimePoint now) { return runDue(now); });
}

UhidBus::~UhidBus() = default;

void UhidBus::addDevice(const std::string& name, DeviceDescriptor descriptor, DeviceModel& model,
                        std::chrono::microseconds usbFrame)
{
    if (devices_.contains(name)) {
        throw std::invalid_argument("there is already a device named " + name);
    }
    devices_.emplace(name, std::make_unique<UhidDevice>(loop_, uhidNode_, name,
                                                        std::move(descriptor), model, usbFrame));
}

void UhidBus::removeDevice(const std::string& name)
{
    device(name).unplug();
    devices_.erase(name);
}

void UhidBus::plug(const std::string& name)
{
    device(name).plug();
}

void UhidBus::unplug(const std::string& name)
{
    device(name).unplug();
}

std::vector<std::string> UhidBus::deviceNames() const
{
    std::vector<std::string> names;
    for (const auto& entry : devices_) {
        names.push_back(entry.first);
    }
    return names;
}

DeviceStatus UhidBus::deviceStatus(const std::string& name) const
{
    const UhidDevice& served = device(name);
    return {served.descriptor(), served.plugged(), served.reenumerating(),
            served.opened() ? std::size_t{1} : std::size_t{0}};
}

UhidDevice& UhidBus::device(const std::string& name) const
{
    auto it = devices_.find(name);
    if (it == devices_.end()) {
        throw std::out_of_range("no device named " + name);
    }
    return *it->second;
}

TimePoint UhidBus::runDue(TimePoint now)
{
    TimePoint next = TimePoint::max();
    for (auto& entry : devices_) {
        next = std::min(next, entry.second->runDue(now));
    }
    return next;
}

} // namespace sim
