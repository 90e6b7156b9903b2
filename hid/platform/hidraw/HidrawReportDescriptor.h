#pragma once

#include <cstdint>
#include <span>

namespace qzr {

// Whether a HID report descriptor declares report IDs (a Report ID item). Without them the
// system's reads return the data bytes alone, without the report-ID byte.
bool ReportDescriptorUsesReportIds(std::span<const std::uint8_t> Descriptor);

} // namespace qzr
