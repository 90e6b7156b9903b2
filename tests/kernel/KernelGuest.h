#pragma once

#include <QString>

#include <chrono>
#include <cstdint>
#include <functional>
#include <string>

// What the kernel tests share inside the rig's guest (scripts/kernel-rig.sh):
// one qzr-sim --uhid for the whole run, serving a HID cradle and a bridge
// cradle, each with a unit, as kernel HID devices. Outside the guest every
// test is skipped.
namespace qzr::kernel {

inline constexpr const char* HidCradleName = "hid1";
inline constexpr const char* BridgeCradleName = "bridge1";
inline constexpr const char* HidCradleSerial = "HC-hid1";
inline constexpr const char* BridgeSerial = "VX00000001";
inline constexpr std::uint32_t HidUnitSerial = 0x00A1B2C3;
inline constexpr std::uint32_t BridgeUnitSerial = 0x00A1B2D7;

// Runs one command line on the simulator's control socket; its reply.
std::string SimulatorCommand(const std::string& Line);

// The /dev/hidrawN node of the kernel device with this serial number
// (HID_UNIQ), or empty while there is none.
QString HidrawNodeOf(const char* Serial);

// The number of hidraw devices the kernel shows.
int HidrawDeviceCount();

// Runs the Qt event loop until Condition holds or the limit passes; whether
// it holds. The guest is an emulated machine: limits are generous.
bool WaitFor(const std::function<bool()>& Condition,
             std::chrono::milliseconds Limit = std::chrono::seconds(30));

} // namespace qzr::kernel
