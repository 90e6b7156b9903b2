#pragma once

#include <chrono>
#include <cstdint>
#include <filesystem>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "sim/bus/DeviceBus.h"
#include "sim/unit/Zt46Unit.h"

// The ZT-46 cradle simulator as a library: cradles served on a virtual HID bus
// directory (NAME.dev + NAME.sock per cradle), each with or without a unit, by
// an event loop on a thread of its own.
//
// Typical end-to-end test:
//
//     TemporaryDirectory bus;                       // the test's own mkdtemp
//     sim::Simulator simulator(bus.path(), sim::SimulatorOptions::fast());
//     simulator.addHidCradle("cradle1");            // plugged at once
//     simulator.placeUnit("cradle1", sim::UnitSpec::demo(0x00A1B2C3));
//     ::setenv("VHID_BUS", bus.path().c_str(), 1);  // the client under test
//     ... run the client; inspect the unit with withUnit() ...
//
// Every member function may be called from any thread: it runs on the
// simulator's loop and returns when done, rethrowing the loop's exception
// (std::invalid_argument for bad values, std::out_of_range for an unknown
// cradle, std::logic_error for a state that does not allow the command).
// The destructor unplugs every cradle, removing its entries, and stops the
// loop; the directory itself stays.
namespace sim {

struct SimulatorOptions {
    // HID cradles: time between input reports; 0 sends a report whenever a
    // client is ready to take one, which keeps the fastest reader of each
    // cradle busy all the time (a few hundred microseconds leave a reader
    // that hands reports to a GUI thread some air).
    std::chrono::microseconds reportInterval{1000};
    // HID cradles: serial bytes per second between cradle and unit (9600
    // baud); 0 moves bytes at once.
    unsigned byteRate = 960;
    // USB full-speed timing: at most one report per frame in each direction
    // per device; 0 turns pacing off.
    std::chrono::microseconds usbFrame{1000};
    // Bridge cradles: the chip clocks SPI bytes at its bit rate (4000 bit/s
    // is 2 ms a byte); false clocks each chunk out as soon as it arrives.
    bool spiRealTime = true;
    // Bridge cradles: how long the chip stays off the bus after a reset.
    std::chrono::milliseconds reenumerationTime{300};

    // Every delay 0: for tests that want answers as fast as possible.
    static SimulatorOptions fast();
};

// A unit to place on a cradle.
struct UnitSpec {
    UnitIdentity identity{};
    // Stored in the user area and loaded as the working image when present.
    std::optional<qzr::TSetupData> setup;
    // Fills the logger memory when present.
    std::optional<LoggerRecording> recording;
    // The signal at the unit's input when set; a unit reads 0 V otherwise.
    InputSignal inputSignal;

    // A unit with the given serial number, firmware 1.4 (0x14), protocol 1,
    // configuration 0, set up for the catalogue's temperature probe, reading
    // a room temperature that drifts around 21 degrees, and a logger holding
    // one day of temperature readings.
    static UnitSpec demo(std::uint32_t serialNumber);
};

enum class CradleKind { Hid, Bridge };

struct CradleStatus {
    std::string name;
    CradleKind kind;
    std::uint16_t vendorId;
    std::uint16_t productId;
    std::string usbSerial;
    bool plugged;
    bool reenumerating;          // a bridge away for its reset
    std::size_t openConnections; // clients that have it open
    std::optional<UnitIdentity> unit;
    double corruptionRate;
    double dropRate;
    bool cradleSilent;
    bool unitSilent;
    bool busy; // a bridge that answers every transfer busy
};

class Simulator {
public:
    // Creates the directory when missing. Throws when the loop cannot start.
    explicit Simulator(std::filesystem::path busDirectory, SimulatorOptions options = {});
    // Serves the cradles on another bus (the kernel's HID devices, sim/uhid).
    explicit Simulator(std::unique_ptr<DeviceBus> bus, SimulatorOptions options = {});
    ~Simulator();
    Simulator(const Simulator&) = delete;
    Simulator& operator=(const Simulator&) = delete;

    // The bus's directory; empty for a bus without one.
    const std::filesystem::path& busDirectory() const;
    const SimulatorOptions& options() const;
    // The device path a client of the virtual HID bus shows for the cradle:
    // its NAME.sock.
    std::filesystem::path devicePath(const std::string& cradle) const;

    // Adds a cradle (name: letters, digits, '_' and '-'), plugged in unless
    // asked otherwise. A HID cradle's USB serial-number string is "HC-" and
    // the name unless given.
    void addHidCradle(const std::string& name, bool plugged = true,
                      const std::string& usbSerial = {});
    // A bridge cradle's serial number (at most 10 characters, as bridge
    // serial numbers are) defaults to "VX" and eight digits counting up.
    void addBridgeCradle(const std::string& name, bool plugged = true,
                         const std::string& usbSerial = {});
    // Unplugs the cradle and forgets it with its unit.
    void removeCradle(const std::string& name);

    // Plugs the cradle in (its entries appear) or pulls it out (its socket
    // goes, every connection is closed, then its descriptor goes).
    void plug(const std::string& cradle);
    void unplug(const std::string& cradle);

    // Places a unit on the cradle (std::logic_error when one is there) or
    // takes it off (nothing when there is none).
    void placeUnit(const std::string& cradle, const UnitSpec& unit);
    void removeUnit(const std::string& cradle);

    // Faults of the link between cradle and unit, per byte in each direction:
    // probabilities 0..1 of a changed byte and of a lost byte.
    void setCorruptionRate(const std::string& cradle, double probability);
    void setDropRate(const std::string& cradle, double probability);
    // The unit takes bytes but stops answering.
    void setUnitSilent(const std::string& cradle, bool silent);
    // The cradle's USB side falls silent: a HID cradle sends no input reports,
    // a bridge takes commands without answering them.
    void setCradleSilent(const std::string& cradle, bool silent);
    // Bridge only: every SPI transfer command is answered busy.
    void setBridgeBusy(const std::string& cradle, bool busy);

    // Runs `action` on the loop with the cradle's unit, e.g. to set its input
    // signal or to look at its logger. std::logic_error when there is none.
    void withUnit(const std::string& cradle, const std::function<void(Zt46Unit&)>& action);

    std::vector<CradleStatus> cradles() const;

private:
    struct State;
    std::unique_ptr<State> state_;
};

} // namespace sim
