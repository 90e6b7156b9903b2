#pragma once

#include "cli/ChosenBridge.h"
#include "cli/CradleScan.h"

#include "cradle/CradleConnection.h"
#include "cradle/CradleDisplay.h"
#include "cradle/CradleLock.h"

#include <array>
#include <chrono>
#include <cstdint>
#include <functional>
#include <memory>
#include <optional>

namespace qzr {
class THidDevices;
}

namespace qzr::cli {

// One cradle driven from the command line: the program's own cradle
// connection (link, frame codec, session with the unit, timers, unit
// operations) with a console's display. It shows nothing but the progress of
// an operation; the unit's own setup image stands in for the window's fields,
// the "Link" boxes are never checked, and what each operation reports is kept
// for the command that started it.
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

    TSessionProtocol& Session() { return FConnection.Session; }
    TUnitOperations& Operations() { return FConnection.Operations; }

    // The progress meter of the running operation.
    std::function<void(int percent)> OnProgress;
    // A set of live readings arrived.
    std::function<void(const TRealtimeReadings& readings)> OnReadings;

    // What the operations reported.
    std::optional<std::uint16_t> ProgrammingFailedAt;
    bool ProgrammingDone = false;
    bool LoggerStartDone = false;
    // The texts of the last status reply ("--" for a state the program does
    // not know, which changes nothing on the sheet), and the whole reply (ID
    // at 0).
    std::optional<TLoggerStatusTexts> LoggerStatus;
    std::array<std::uint8_t, 20> LoggerStatusMessage{};
    std::optional<TLogData> ReadoutImage;

private:
    // TCradleDisplay: a console shows no controls.
    void SetAllowances() override {}
    void SetCaption() override {}
    void ShowUnitOnCradle(bool present) override;
    void SetProgress(int percent) override;
    void ShowMessageCounts(std::uint32_t ok, std::uint32_t errors) override;
    void ClearSessionDisplays() override {}
    void EndRealtimeDisplay() override {}
    void SetupDataToControls() override { FSetupRead = true; }
    void CradleLost() override {}

    // The reports of programming and readout.
    void ProgrammingFailed(std::uint16_t address) override { ProgrammingFailedAt = address; }
    void ProgrammingStored(TNvmArea) override { ProgrammingDone = true; }
    void ReadoutComplete(const TLogData& image) override { ReadoutImage = image; }

    // The calibration fields: the unit's image; nothing is ever copied into it.
    int AmplifierIndex() const override;
    bool LinkOffsetChecked() const override { return false; }
    bool LinkFullScaleChecked() const override { return false; }
    std::int32_t Offset(int range) const override;
    void SetOffset(int, std::int32_t) override {}
    void SetDivider(int, std::int32_t) override {}

    // The live readings and the "Datalogger" sheet.
    void ShowReadings(const TRealtimeReadings& readings) override;
    void ClearReadings() override {}
    int DecimalDotIndex() const override;
    void ShowLoggerStatus(const TLoggerStatusTexts& texts) override;
    void ShowLogInterval(std::uint16_t) override {}
    void ShowLogDate(const QDate&) override {}
    void LoggerStarted() override { LoggerStartDone = true; }

    // A status reply is the complete frame in the codec while it is handled.
    bool HandlingStatusReply() const;

    THidDevices& FDevices;
    TChosenBridge FBridge;
    // Held while the command drives a HID cradle, as QZR holds it for a window.
    std::unique_ptr<TCradleLock> FLock;
    TCradleConnection FConnection;
    bool FSetupRead = false;
    bool FSessionHeld = false;
    bool FUnitLeft = false;
};

} // namespace qzr::cli
