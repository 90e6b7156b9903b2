#pragma once

#include "cli/CliContext.h"
#include "cli/ConsoleCradle.h"

#include "cradle/SessionIdCounter.h"
#include "cradle/VexaBridge.h"

#include <hid/HidDevices.h>

#include <chrono>

namespace qzr::cli {

// The cradle a unit command works on, opened, and the session with its unit
// held: the cradle chosen with -d (or the only one), the session within ten
// seconds. Closed again when it goes.
class TUnitSession {
public:
    static constexpr std::chrono::seconds SessionDeadline{10};

    // Throws the command's error: no cradle, several cradles, no unit, no session.
    explicit TUnitSession(const TCliContext& context);

    TConsoleCradle& Cradle() { return FCradle; }
    TSessionProtocol& Session() { return FCradle.Session(); }

    // Runs the event loop until `done` holds. Throws when the unit leaves the
    // cradle or the cradle is lost (exit code 3), when the session ends
    // otherwise (rejected: exit code 1), or when `deadline` passes.
    void RunUntil(const std::function<bool()>& done, std::chrono::milliseconds deadline);

private:
    THidDevices FDevices;
    TVexaBridge FBridge;
    TSessionIdCounter FSessionIds;
    TConsoleCradle FCradle;
};

} // namespace qzr::cli
