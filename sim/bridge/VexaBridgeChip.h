#pragma once

#include <chrono>
#include <cstdint>
#include <deque>
#include <optional>
#include <span>

#include "sim/bridge/AccessControl.h"
#include "sim/bridge/BridgeSettings.h"
#include "sim/bridge/PinBank.h"
#include "sim/bridge/SpiEngine.h"
#include "sim/bridge/SpiLine.h"
#include "sim/bridge/SpiPeripheral.h"
#include "sim/bridge/VexaProtocol.h"

// Model of the Vexa USB-to-SPI bridge chip as its host sees it: 64-byte
// command reports in, 64-byte response reports out, and a clock advanced from
// outside. It does no I/O and is single-threaded.
//
// Reports. A command is the 64 data bytes of an output report (shorter input is
// taken as zero-filled). Every command except reset is answered by exactly one
// response, queued for takeResponse(). On a HID interrupt endpoint every input
// report is a full report, so every response is 64 bytes: the bytes of its
// layout, then zeros. A host that checks a response "length" checks how many
// bytes of the report it took, which is always what it asked for. Offset 0
// echoes the command code, offset 1 is the status (0x00 success); 0x60 and
// 0x61 echo their sub-command at offset 2; 0x40 and 0x41 carry the record
// length 0x11 there. An unknown command or sub-command, or fields the chip
// cannot take, are answered with status 0xFE.
//
// Settings. The chip runs with current SPI transfer settings and current chip
// settings, loaded from the power-up settings at start and at every restart;
// writes of the current settings do not touch the power-up ones and vice
// versa. The current chip settings' outputs and directions are the live pin
// latch and direction register, so 0x20 reads what 0x30/0x32 set. The chip
// applies bit rates from 1500 to 12 000 000 bit/s (others are moved into that
// range), SPI modes 0-3 (the mode's low two bits) and any transaction size; it
// stores the three delays and reports them but clocks bytes back to back, so
// at 4000 bit/s each byte takes exactly 2 ms. Pin designations above 2 and
// interrupt modes above 4 are refused (0xFE).
//
// Transfers (0x42): see SpiEngine. Writing the current SPI settings (0x40),
// the power-up SPI settings (0x60/0x10) or a bus release (0x80) while a chunk
// is being clocked is answered busy (0xF8). An accepted 0x40 or bus release
// ends a transaction that waits for host data or for its data to be
// collected, so a host that gave up on a transfer is never stuck with it.
// The peripheral on the SPI bus (the readout unit) is selected while its
// select pin (pin 4 unless changed) is low: as a chip-select pin that is while
// a transaction runs with an active level of 0 for it.
//
// Protection (0x70, and every 0x60): see AccessControl. EEPROM writes (0x51)
// are refused with 0xFB while the chip is password protected and the password
// has not been entered, and with 0xFA while the EEPROM is write-protected
// (the chip is permanently locked, or the write-protect input is set).
//
// Status (0x10): offset 2 is 1 while the bus is released (until the next
// transaction starts), 3 the bus owner (0 none, 1 this chip while a transaction
// is open, 2 an external master), 4 the failed password entries since the
// chip started, 5 is 1 once the password has been entered, 10 the transfer
// engine's state (0 idle, else 0x10/0x20/0x30 as the next transfer answer
// would say). Cancel (0x11) ends any transaction and answers offsets 2 and 3
// as the status does afterwards.
//
// Interrupt counter (0x12): offsets 4-5 the count of events on pin 6; a
// non-zero second command byte resets the counter after reporting it.
//
// Reset (0xF0 0xAB 0xCD): no response; the chip restarts (current settings
// from the power-up ones, pins, counter, transfer and password entry reset,
// pending responses dropped) and asks to leave the bus and come back, which
// the serving layer learns from takeRestartRequest(). A reset code without its
// two key bytes is refused (0xFE).
namespace sim {

// Faults the simulator can inject.
struct BridgeChipFaults {
    // Every transfer command is answered busy (0xF8).
    bool busyEveryChunk = false;
    // An external master owns the SPI bus: transfer commands are refused (0xF7).
    bool refuseTransfers = false;
    // Every transaction ends (finished) after this many clocked bytes.
    std::optional<std::uint32_t> finishAfterBytes;
    // Commands are taken but never answered.
    bool silent = false;
    // Per clocked byte and direction: probability of one flipped bit, and of
    // losing the byte (see SpiLine), drawn from a generator seeded with `seed`.
    double corruptRate = 0.0;
    double dropRate = 0.0;
    std::uint32_t seed = 1;
};

class VexaBridgeChip {
public:
    static constexpr std::uint32_t MinBitRate = 1500;
    static constexpr std::uint32_t MaxBitRate = 12'000'000;

    explicit VexaBridgeChip(BridgeChipNvram nvram = {});

    // ---- reports ----

    void receiveCommand(std::span<const std::uint8_t> command);
    bool hasResponse() const { return !responses_.empty(); }
    // Precondition: hasResponse().
    vexa::Report takeResponse();

    // ---- time ----

    void advance(std::chrono::microseconds elapsed);
    // Time until the chip next has something to do on its own (the chunk in
    // its buffer is clocked out); nothing while it only waits for the host.
    std::optional<std::chrono::microseconds> timeToNextEvent() const;

    // ---- restart ----

    // True once after a reset command: the device should leave the bus and
    // come back with the identity of nvram().
    bool takeRestartRequest();

    // ---- the SPI bus ----

    void placePeripheral(SpiPeripheral& peripheral) { line_.place(peripheral); }
    void removePeripheral() { line_.remove(); }
    // The pin that selects the peripheral, active low.
    void setPeripheralSelectPin(unsigned pin) { selectPin_ = pin; }
    // What the data line reads while nothing selected drives it.
    void setIdleLineLevel(std::uint8_t level) { line_.setIdleLevel(level); }

    // ---- outside world ----

    void setOutsideLevels(std::uint16_t levels) { pins_.setOutsideLevels(levels); }
    void setEepromWriteProtect(bool on) { eepromWriteProtect_ = on; }
    void setFaults(const BridgeChipFaults& faults);

    // ---- observation ----

    const BridgeChipNvram& nvram() const { return nvram_; }
    const SpiTransferSettings& currentSpiSettings() const { return spiSettings_; }
    const ChipSettings& currentChipSettings() const { return pins_.settings(); }
    std::uint16_t pinLevels() const;
    bool transactionOpen() const { return engine_.open(); }

private:
    void dispatch(const vexa::Report& command);
    void respond(const vexa::Report& response);
    void restart();

    void answerStatus(const vexa::Report& command);
    void cancelTransfer(const vexa::Report& command);
    void interruptCount(const vexa::Report& command);
    void getChipSettings(const vexa::Report& command);
    void setChipSettings(const vexa::Report& command);
    void setPinValues(const vexa::Report& command);
    void getPinValues(const vexa::Report& command);
    void setPinDirections(const vexa::Report& command);
    void getPinDirections(const vexa::Report& command);
    void setSpiSettings(const vexa::Report& command);
    void getSpiSettings(const vexa::Report& command);
    void spiTransfer(const vexa::Report& command);
    void readEeprom(const vexa::Report& command);
    void writeEeprom(const vexa::Report& command);
    void writeNvram(const vexa::Report& command);
    void readNvram(const vexa::Report& command);
    void sendPassword(const vexa::Report& command);
    void busRelease(const vexa::Report& command);
    void reset(const vexa::Report& command);

    std::uint8_t writeNvramRecord(std::uint8_t sub, const vexa::Report& command);
    void fillBusStatus(vexa::Report& response) const;
    bool peripheralSelected() const;

    BridgeChipNvram nvram_;
    SpiTransferSettings spiSettings_;
    PinBank pins_;
    PasswordSession passwordSession_;
    SpiEngine engine_;
    SpiLine line_;
    BridgeChipFaults faults_;
    unsigned selectPin_ = 4;
    bool busReleased_ = false;
    bool eepromWriteProtect_ = false;
    bool restartRequested_ = false;
    std::deque<vexa::Report> responses_;
};

} // namespace sim
