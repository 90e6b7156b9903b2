#pragma once

#include <protocol/CradleIdentifiers.h>

#include <cstdint>

namespace qzr {

// The USB identifiers by which the program recognises its two cradle kinds.
struct TCradleIdentifierSet {
    std::uint16_t VendorId = CradleVendorId;
    std::uint16_t HidProductId = HidCradleProductId;
    std::uint16_t BridgeProductId = BridgeCradleProductId;
};

} // namespace qzr
