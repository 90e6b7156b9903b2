#pragma once

#include <cstdint>

#include "cradle/SessionInterfaces.h"

namespace qzr {

// The program-wide session-ID counter: 1, 2, ..., 255, 0, 1, ...
class TSessionIdCounter : public TSessionIdSource {
public:
    std::uint8_t NewSessionID() override
    {
        FLastSessionID = static_cast<std::uint8_t>(FLastSessionID + 1);
        return FLastSessionID;
    }

private:
    std::uint8_t FLastSessionID = 0;
};

} // namespace qzr
