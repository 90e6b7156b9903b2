#pragma once

#include <cstdio>
#include <filesystem>
#include <memory>
#include <string>
#include <vector>

#include "sim/bus/UniqueFd.h"
#include "sim/program/CommandInterpreter.h"

namespace sim {

// Where qzr-sim's commands come from while it runs: standard input and a
// stream socket DIR/.control (a name no client mistakes for a device), with
// SIGINT, SIGTERM and SIGHUP taken through a signal descriptor. Runs on the
// calling thread; those signals must be blocked in every thread of the
// process (block them before the simulator starts its thread).
class CommandChannels {
public:
    static constexpr const char* ControlSocketName = ".control";
    static constexpr std::size_t MaxLineLength = 4096;

    // Binds the control socket (replacing one left behind by a dead process;
    // throws when a live one is there); an empty directory has none, and
    // commands come from standard input alone. Replies and notes go to
    // `output`.
    CommandChannels(CommandInterpreter& interpreter, const std::filesystem::path& busDirectory,
                    bool exitOnEndOfInput, std::FILE* output);
    // Removes the control socket.
    ~CommandChannels();
    CommandChannels(const CommandChannels&) = delete;
    CommandChannels& operator=(const CommandChannels&) = delete;

    // Serves commands until `quit`, a signal, or the end of standard input
    // when asked to stop there. Returns the signal number, or 0.
    int run();

    // Blocks SIGINT, SIGTERM and SIGHUP for the calling thread and the
    // threads it starts from now on; ignores SIGPIPE.
    static void blockStopSignals();

private:
    struct Client {
        UniqueFd fd;
        std::string pending;
    };

    void readStandardInput();
    void acceptClients();
    void serveClient(Client& client);
    std::string runLine(const std::string& line, const char* origin);

    CommandInterpreter& interpreter_;
    std::filesystem::path socketPath_;
    bool exitOnEndOfInput_;
    std::FILE* output_;
    UniqueFd listener_;
    UniqueFd signals_;
    bool inputOpen_ = true;
    std::string inputPending_;
    std::vector<std::unique_ptr<Client>> clients_;
};

} // namespace sim
