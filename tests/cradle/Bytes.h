#pragma once

#include <cstdint>
#include <sstream>
#include <string>
#include <vector>

namespace qzr::test {

// "10 02 00 A5" -> {0x10, 0x02, 0x00, 0xA5}
inline std::vector<std::uint8_t> bytes(const std::string& hex)
{
    std::vector<std::uint8_t> result;
    std::istringstream in(hex);
    unsigned value = 0;
    while (in >> std::hex >> value)
        result.push_back(static_cast<std::uint8_t>(value));
    return result;
}

} // namespace qzr::test
