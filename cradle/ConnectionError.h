#pragma once

#include <stdexcept>
#include <string>

namespace qzr {

// A cradle could not be connected; the message is meant for the user.
class EConnectionError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

} // namespace qzr
