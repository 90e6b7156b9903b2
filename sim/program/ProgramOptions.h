#pragma once

#include <cstdint>
#include <filesystem>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "sim/program/Simulator.h"

namespace sim {

struct CradleArgument {
    CradleKind kind;
    std::string name;
    std::optional<std::uint32_t> unitSerial;
};

// What qzr-sim is asked to do on its command line.
struct ProgramOptions {
    std::filesystem::path busDirectory;
    std::vector<CradleArgument> cradles;
    SimulatorOptions timing;
    // The cradles become kernel HID devices through /dev/uhid; the directory,
    // when given, holds the control socket alone.
    bool uhid = false;
    bool exitOnEndOfInput = false;
    bool showHelp = false;
};

// The cradles served when none is named: one of each kind, each with a unit.
std::vector<CradleArgument> demoCradles();

// Parses the arguments after the program name. `environmentBus` is the value
// of VHID_BUS, used when --bus is not given. Throws std::invalid_argument
// with a message for the user.
ProgramOptions parseProgramOptions(std::span<const std::string_view> arguments,
                                   std::string_view environmentBus);

std::string usageText();

} // namespace sim
