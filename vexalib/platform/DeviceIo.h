#pragma once

#include "vexalib.h"

#include <cstddef>
#include <cstdint>

// Report I/O and close on an open device, identified by its handle alone.
namespace vexa::platform {

struct IoResult {
    std::int32_t code; // VEXA_OK, VEXA_REPORT_TIMEOUT or VEXA_REPORT_IO_FAILED
    std::size_t count; // bytes moved, report ID included
};

// Writes one whole report (report ID in byte 0, then the data) within
// timeoutMs milliseconds; nothing is left pending after a time-out.
IoResult writeReport(VexaHandle handle, const std::uint8_t* report, std::size_t size,
                     int timeoutMs);

// Reads the next input report (report ID in byte 0, then the data, whatever
// the device's report numbering) within timeoutMs milliseconds. A device that
// has gone away is a failure.
IoResult readReport(VexaHandle handle, std::uint8_t* report, std::size_t capacity, int timeoutMs);

// Closes the device: VEXA_OK, VEXA_BAD_HANDLE when the system does not know
// the handle, VEXA_CLOSE_REFUSED for any other failure.
std::int32_t closeDevice(VexaHandle handle);

} // namespace vexa::platform
