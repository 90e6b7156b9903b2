#pragma once

#include <cstdint>

#include "sim/bridge/BridgeSettings.h"
#include "sim/bridge/VexaProtocol.h"

// The chip's protection of its power-up settings.
//
// The protection byte (kept with the power-up chip settings) is open (0x00),
// password protected (0x40) or permanently locked (0x80). While protected,
// every power-up settings write is refused with 0xFB until the password has
// been entered; entering it unlocks the writes until the chip restarts. A locked
// chip refuses every power-up write with 0xFB and every password entry with
// 0xFC, for good. After MaxFailedAttempts wrong passwords every further entry,
// the right one included, is refused with 0xFB until the chip restarts.
namespace sim {

// What the chip remembers of password entries since it started.
struct PasswordSession {
    static constexpr std::uint8_t MaxFailedAttempts = 5;

    bool entered = false;
    std::uint8_t failedAttempts = 0;
};

bool powerUpWritesAllowed(const BridgeChipNvram& nvram, const PasswordSession& session);

// Checks a password entry; returns the status byte of the answer.
std::uint8_t enterPassword(const BridgeChipNvram& nvram, PasswordSession& session,
                           const vexa::Password& password);

// Applies the protection part of an accepted power-up chip settings write.
// Bit 7 of `requested` locks, else bit 6 protects, else the chip is open. A
// password field that is not all zero replaces the password; an all-zero field
// keeps it. Protection that is newly switched on guards from then on: the
// password must be entered before the next power-up write.
void applyAccessControlWrite(BridgeChipNvram& nvram, PasswordSession& session,
                             std::uint8_t requested, const vexa::Password& newPassword);

} // namespace sim
