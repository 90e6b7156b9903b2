#pragma once

#include "vexalib.h"

#include <cstdint>
#include <optional>

// What a VexaHandle carries. The library keeps no table of open devices, so
// the handle itself names the open descriptor and how reports move on it:
// handle value = descriptor number * 4 + kind. Kind 0 never occurs, so small
// stray integers and the all-ones invalid value do not decode.
namespace vexa {

enum class DescriptorKind : std::uint8_t {
    // A connection to a virtual HID bus device: whole reports as messages.
    busConnection = 1,
    // A hidraw node of a device with numbered reports: byte 0 is the report ID
    // on reads and writes.
    hidrawNumbered = 2,
    // A hidraw node of a device without report IDs: writes carry report ID 0
    // in byte 0, reads return the data alone.
    hidrawUnnumbered = 3,
};

struct OpenDescriptor {
    int fd;
    DescriptorKind kind;
};

VexaHandle encodeHandle(OpenDescriptor descriptor);
std::optional<OpenDescriptor> decodeHandle(VexaHandle handle);

// The checks every export runs on its handle before anything else: VEXA_OK,
// VEXA_NULL_ARGUMENT or VEXA_BAD_HANDLE.
std::int32_t checkHandle(VexaHandle handle);

} // namespace vexa
