#pragma once

#include "cli/ChosenBridge.h"
#include "cli/CradleScan.h"

#include "cradle/CradleConnection.h"
#include "cradle/CradleDisplay.h"

#include <chrono>
#include <functional>

namespace qzr {
class THidDevices;
}

namespace qzr::cli {

// One cradle driven from the command line: the program's own cradle
// connection (link, frame codec, session with the unit, timers) with a
// console's display, which shows nothing but the progress of an operation.
class TConsoleCradle : private TCradleDisplay {
public:
    TConsoleCradle(THidDevices& devices, TBridgeApi& bridge, const TCradleIdentifierSet& ids,
                   TSessionIdSource& sessionIds);
    ~TConsoleCradle() override;
    TConsoleCradle(const TConsoleCradle&) = delete;
    TConsoleCradle& operator=(const TConsoleCradle&) = delete;

    // Opens the cradle; throws the no-cradle error (exit code 3) with the
    // connection's own message when it cannot be opened.
    void Connect(const TCradleEntry& cradle);
    bool Connected() const { return FConnection.Connected(); }

    // Runs the event loop until `done` holds, the cradle is lost or `deadline`
    // has passed; whether `done` holds.
    bool RunUntil(const std::function<bool()>& done, std::chrono::milliseconds deadline);

    // Waits for the session's start: the unit detected, the handshake and the
    // setup image read. Throws the no-cradle error when no unit shows up or no
    // session is held within `deadline`.
    void HoldSession(std::chrono::milliseconds deadline);

    // The unit has left the cradle since the session was held.
    bool UnitLeft() const { return FUnitLeft; }

    TCradleConnection& Connection() { return FConnection; }
    TSessionProtocol& Session() { return FConnection.Session; }

    // The progress meter of the running operation.
    std::function<void(int percent)> OnProgress;

private:
    // TCradleDisplay: a console shows no controls.
    void SetAllowances() override {}
    void SetCaption() override {}
    void ShowUnitOnCradle(bool present) override;
    void SetProgress(int percent) override;
    void ShowMessageCounts(std::uint32_t, std::uint32_t) override {}
    void ClearSessionDisplays() override {}
    void EndRealtimeDisplay() override {}
    void SetupDataToControls() override { FSetupRead = true; }
    void CradleLost() override {}

    THidDevices& FDevices;
    TChosenBridge FBridge;
    TCradleConnection FConnection;
    bool FSetupRead = false;
    bool FSessionHeld = false;
    bool FUnitLeft = false;
};

} // namespace qzr::cli
