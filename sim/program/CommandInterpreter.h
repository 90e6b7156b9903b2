#pragma once

#include <string>
#include <string_view>

#include "sim/program/Simulator.h"

namespace sim {

// The simulator's command language, the same on standard input and on the
// control socket: one command a line, words separated by blanks. The reply
// is zero or more lines of information followed by one line "ok" or
// "error: " and what went wrong. `help` lists the commands.
class CommandInterpreter {
public:
    explicit CommandInterpreter(Simulator& simulator) : simulator_(simulator) {}

    // Runs one command line and returns the reply, every line ending in '\n'.
    // An empty line (or one starting with '#') is answered with nothing.
    std::string execute(std::string_view line);

    // True once `quit` was given.
    bool quitRequested() const { return quitRequested_; }

    static std::string helpText();
    // One line per cradle, as `list` shows them.
    static std::string describe(const CradleStatus& status);

private:
    Simulator& simulator_;
    bool quitRequested_ = false;
};

// A unit serial number written in hexadecimal, with or without a leading
// "0x" or "#" (as the program shows it); throws std::invalid_argument.
std::uint32_t parseUnitSerial(std::string_view text);

} // namespace sim
