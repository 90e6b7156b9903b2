#pragma once

#include "hid/EUSBException.h"

#include <string>

namespace qzr::test {

// The text of the EUSBException that Act raises, or "no error".
template <typename Action> std::string ErrorOf(Action&& Act)
{
    try {
        Act();
    } catch (const EUSBException& error) {
        return error.what();
    }
    return "no error";
}

} // namespace qzr::test
