#pragma once

#include <linux/uhid.h>

#include <cstdint>
#include <memory>
#include <span>
#include <string>

#include "sim/bus/DeviceDescriptor.h"

// The events a user-space HID device writes to /dev/uhid, built from what the
// simulator knows about a device.
namespace sim {

// The name the kernel shows for the device (HID_NAME): manufacturer and
// product as a USB HID device is named, or "HID vvvv:pppp" without either.
std::string uhidDeviceName(const DeviceDescriptor& descriptor);

// UHID_CREATE2 for the device on the USB bus: its vendor and product IDs and
// version, its name, `phys` as its physical location (HID_PHYS), its
// serial-number string as HID_UNIQ and the report descriptor of its report
// size. Texts longer than the kernel's fields are cut.
std::unique_ptr<uhid_event> uhidCreateEvent(const DeviceDescriptor& descriptor,
                                            const std::string& phys);

// UHID_INPUT2 with one input report. `report` is the report ID followed by the
// data bytes; a device without report IDs sends the data bytes alone.
std::unique_ptr<uhid_event> uhidInputEvent(std::span<const std::uint8_t> report);

} // namespace sim
