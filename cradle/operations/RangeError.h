#pragma once

#include <cstdint>
#include <stdexcept>
#include <string>

namespace qzr {

// A value that does not fit its field in a message or an image. Raised before
// anything is sent; the message names the field, the value and the range,
// for example "Divider 8x: 40000 is outside 0 to 32767".
class ERangeError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;

    ERangeError(const std::string& field, std::int64_t value, std::int64_t lowest,
                std::int64_t highest)
        : std::runtime_error(field + ": " + std::to_string(value) + " is outside " +
                             std::to_string(lowest) + " to " + std::to_string(highest))
    {}
};

} // namespace qzr
