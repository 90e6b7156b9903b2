#pragma once

#include "platform/Platform.h"

#include <string>

// The devices of a virtual HID bus directory: NAME.dev descriptors beside
// NAME.sock sequenced-packet sockets.
namespace vexa::platform {

class VirtualBusPlatform final : public Platform {
public:
    explicit VirtualBusPlatform(std::string directory);

    // Devices whose NAME.dev and NAME.sock both exist, in ascending byte
    // order of NAME; found from the descriptors without opening anything.
    std::int32_t listDevices(std::vector<DeviceRecord>& devices) const override;

    // Connects to NAME.sock and asks for an exclusive open.
    std::int32_t openExclusive(const DeviceRecord& device, VexaHandle& handle) const override;

    // Every device on the bus counts as served by the HID-over-USB driver.
    std::int32_t listHidUsbInstances(std::vector<std::u16string>& instances) const override;

private:
    std::string directory_;
};

} // namespace vexa::platform
