#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

namespace sim {

// The HID report descriptor of a simulated cradle: one vendor-defined
// application collection with an input report and an output report of
// `reportSize` bytes each and no report IDs, as the cradles' interface chips
// declare them. `reportSize` is 1..65535.
std::vector<std::uint8_t> uhidReportDescriptor(std::size_t reportSize);

} // namespace sim
