#pragma once

#include <array>
#include <atomic>
#include <chrono>
#include <condition_variable>
#include <cstdint>
#include <filesystem>
#include <functional>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

// A device on a virtual HID bus directory that answers from a script: it
// publishes NAME.dev and NAME.sock, takes opens as the bus contract says
// (shared and exclusive, with sharing conflicts), records every output report
// and hands each to the script, whose answers go back as input reports. Its
// own thread serves it until the object goes, which unplugs it (socket first,
// connections closed, then the descriptor).
namespace vexatest {

inline constexpr std::size_t dataSize = 64;
using Command = std::array<std::uint8_t, dataSize>;
using Response = std::array<std::uint8_t, dataSize>;

// Builds a response: the given bytes, then zeros.
Response reply(std::initializer_list<std::uint8_t> bytes);

struct DeviceDescriptor {
    std::uint16_t vid = 0;
    std::uint16_t pid = 0;
    // Written only when not empty: a device without a serial-number string.
    std::string serial;
    std::size_t reportSize = dataSize;
};

class ScriptedBusDevice {
public:
    // Answers to one output report (none, one or several input reports).
    using Script = std::function<std::vector<Response>(const Command&)>;

    ScriptedBusDevice(const std::filesystem::path& bus, std::string name,
                      DeviceDescriptor descriptor, Script script = {});
    ~ScriptedBusDevice();
    ScriptedBusDevice(const ScriptedBusDevice&) = delete;
    ScriptedBusDevice& operator=(const ScriptedBusDevice&) = delete;

    // The full path of NAME.sock, as clients show it.
    std::string socketPath() const;

    // Every open request refused with this answer (0x01 sharing conflict,
    // 0x02 other) instead of following the contract's sharing rules.
    void refuseOpens(std::uint8_t answer);

    // Output reports received so far, report ID 0 checked and removed.
    std::vector<Command> commands() const;
    // Waits (bounded) until at least `count` output reports have arrived.
    bool waitForCommands(std::size_t count, std::chrono::milliseconds limit) const;
    // Output reports whose report ID was not 0 or whose length was wrong.
    std::size_t malformedReports() const { return malformed_.load(); }
    // Connections that have been accepted as opened and are still open.
    std::size_t openConnections() const;
    bool waitForOpenConnections(std::size_t count, std::chrono::milliseconds limit) const;
    // Connections accepted so far, opened or refused.
    std::size_t acceptedConnections() const { return accepted_.load(); }

private:
    struct Connection {
        int fd;
        bool opened;
        bool exclusive;
    };

    void serve();
    void acceptConnection();
    void handleMessage(Connection& connection);
    void closeConnection(std::size_t index);

    std::filesystem::path devPath_;
    std::filesystem::path sockPath_;
    DeviceDescriptor descriptor_;
    Script script_;
    int listenFd_ = -1;
    int wakeFd_ = -1;
    std::atomic<std::uint8_t> refusal_{0};
    std::atomic<std::size_t> malformed_{0};
    std::atomic<std::size_t> accepted_{0};
    std::vector<Connection> connections_;
    mutable std::mutex mutex_;
    mutable std::condition_variable changed_;
    std::vector<Command> commands_;
    std::size_t openCount_ = 0;
    std::thread thread_;
};

} // namespace vexatest
