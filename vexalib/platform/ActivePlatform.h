#pragma once

#include "platform/HidrawPlatform.h"
#include "platform/VirtualBusPlatform.h"

#include <cstdlib>

// The device source in force for one call: the virtual HID bus named by the
// environment variable VHID_BUS when it is set and not empty, the system's
// hidraw devices otherwise. Chosen anew on every call; nothing is kept.
namespace vexa::platform {

template <class Action> auto withActivePlatform(Action&& action)
{
    const char* bus = std::getenv("VHID_BUS");
    if (bus != nullptr && *bus != '\0') {
        const VirtualBusPlatform platform(bus);
        return action(static_cast<const Platform&>(platform));
    }
    const HidrawPlatform platform("/sys", "/dev");
    return action(static_cast<const Platform&>(platform));
}

} // namespace vexa::platform
