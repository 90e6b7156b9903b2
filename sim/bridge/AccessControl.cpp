#include "sim/bridge/AccessControl.h"

#include <algorithm>

namespace sim {

bool powerUpWritesAllowed(const BridgeChipNvram& nvram, const PasswordSession& session)
{
    switch (nvram.accessControl) {
    case vexa::access::Open:
        return true;
    case vexa::access::PasswordProtected:
        return session.entered;
    default:
        return false;
    }
}

std::uint8_t enterPassword(const BridgeChipNvram& nvram, PasswordSession& session,
                           const vexa::Password& password)
{
    if (nvram.accessControl == vexa::access::Locked)
        return vexa::status::Locked;
    if (nvram.accessControl == vexa::access::Open)
        return vexa::status::Ok;
    if (session.failedAttempts >= PasswordSession::MaxFailedAttempts)
        return vexa::status::Blocked;
    if (password != nvram.password) {
        ++session.failedAttempts;
        return vexa::status::PasswordRefused;
    }
    session.entered = true;
    session.failedAttempts = 0;
    return vexa::status::Ok;
}

void applyAccessControlWrite(BridgeChipNvram& nvram, PasswordSession& session,
                             std::uint8_t requested, const vexa::Password& newPassword)
{
    std::uint8_t protection = vexa::access::Open;
    if (requested & vexa::access::Locked)
        protection = vexa::access::Locked;
    else if (requested & vexa::access::PasswordProtected)
        protection = vexa::access::PasswordProtected;

    const bool stillProtected = nvram.accessControl == vexa::access::PasswordProtected &&
                                protection == vexa::access::PasswordProtected;
    session.entered = stillProtected && session.entered;
    nvram.accessControl = protection;
    if (protection == vexa::access::PasswordProtected &&
        std::any_of(newPassword.begin(), newPassword.end(), [](std::uint8_t b) { return b != 0; }))
        nvram.password = newPassword;
}

} // namespace sim
