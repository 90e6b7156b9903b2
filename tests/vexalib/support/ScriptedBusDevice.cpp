#include "ScriptedBusDevice.h"

#include <poll.h>
#include <sys/eventfd.h>
#include <sys/socket.h>
#include <sys/un.h>
#include <unistd.h>

#include <algorithm>
#include <cstring>
#include <fstream>
#include <stdexcept>

namespace vexatest {
namespace {

constexpr std::uint8_t requestShared = 0x01;
constexpr std::uint8_t requestExclusive = 0x02;
constexpr std::uint8_t answerOpened = 0x00;
constexpr std::uint8_t answerSharingConflict = 0x01;
constexpr std::uint8_t answerRefused = 0x02;

void writeDescriptor(const std::filesystem::path& path, const DeviceDescriptor& descriptor)
{
    const auto temporary = path.string() + ".tmp";
    {
        std::ofstream out(temporary);
        out << "# scripted test device\n"
            << "vid=0x" << std::hex << descriptor.vid << "\n"
            << "pid=" << std::dec << descriptor.pid << "\n"
            << "version=0x0100\n"
            << "manufacturer=Test\n"
            << "product=Scripted bridge\n"
            << "report_size=" << descriptor.reportSize << "\n";
        if (!descriptor.serial.empty())
            out << "serial=" << descriptor.serial << "\n";
    }
    std::filesystem::rename(temporary, path);
}

} // namespace

Response reply(std::initializer_list<std::uint8_t> bytes)
{
    Response response{};
    std::copy(bytes.begin(), bytes.end(), response.begin());
    return response;
}

ScriptedBusDevice::ScriptedBusDevice(const std::filesystem::path& bus, std::string name,
                                     DeviceDescriptor descriptor, Script script)
    : devPath_(bus / (name + ".dev")), sockPath_(bus / (name + ".sock")),
      descriptor_(std::move(descriptor)), script_(std::move(script))
{
    writeDescriptor(devPath_, descriptor_);
    listenFd_ = ::socket(AF_UNIX, SOCK_SEQPACKET | SOCK_CLOEXEC, 0);
    sockaddr_un address{};
    address.sun_family = AF_UNIX;
    const std::string path = sockPath_.string();
    if (listenFd_ < 0 || path.size() >= sizeof address.sun_path)
        throw std::runtime_error("cannot create the device socket");
    std::memcpy(address.sun_path, path.c_str(), path.size() + 1);
    if (::bind(listenFd_, reinterpret_cast<const sockaddr*>(&address), sizeof address) != 0 ||
        ::listen(listenFd_, 8) != 0)
        throw std::runtime_error("cannot bind the device socket");
    wakeFd_ = ::eventfd(0, EFD_CLOEXEC);
    thread_ = std::thread([this] { serve(); });
}

ScriptedBusDevice::~ScriptedBusDevice()
{
    const std::uint64_t one = 1;
    (void)!::write(wakeFd_, &one, sizeof one);
    thread_.join();
    // Unplugged as the contract orders it: socket, connections, descriptor.
    std::error_code ignored;
    std::filesystem::remove(sockPath_, ignored);
    for (const auto& connection : connections_)
        ::close(connection.fd);
    ::close(listenFd_);
    ::close(wakeFd_);
    std::filesystem::remove(devPath_, ignored);
}

std::string ScriptedBusDevice::socketPath() const
{
    return sockPath_.string();
}

void ScriptedBusDevice::refuseOpens(std::uint8_t answer)
{
    refusal_ = answer;
}

std::vector<Command> ScriptedBusDevice::commands() const
{
    std::lock_guard lock(mutex_);
    return commands_;
}

bool ScriptedBusDevice::waitForCommands(std::size_t count, std::chrono::milliseconds limit) const
{
    std::unique_lock lock(mutex_);
    return changed_.wait_for(lock, limit, [&] { return commands_.size() >= count; });
}

std::size_t ScriptedBusDevice::openConnections() const
{
    std::lock_guard lock(mutex_);
    return openCount_;
}

bool ScriptedBusDevice::waitForOpenConnections(std::size_t count,
                                               std::chrono::milliseconds limit) const
{
    std::unique_lock lock(mutex_);
    return changed_.wait_for(lock, limit, [&] { return openCount_ == count; });
}

void ScriptedBusDevice::serve()
{
    for (;;) {
        std::vector<pollfd> watched{{wakeFd_, POLLIN, 0}, {listenFd_, POLLIN, 0}};
        for (const auto& connection : connections_)
            watched.push_back({connection.fd, POLLIN, 0});
        if (::poll(watched.data(), watched.size(), -1) < 0)
            continue;
        if (watched[0].revents != 0)
            return;
        if (watched[1].revents & POLLIN)
            acceptConnection();
        // From the back, so that closing a connection keeps the other
        // indices valid.
        for (std::size_t i = watched.size(); i-- > 2;) {
            if (watched[i].revents != 0)
                handleMessage(connections_[i - 2]);
        }
        for (std::size_t i = connections_.size(); i-- > 0;) {
            if (connections_[i].fd < 0)
                closeConnection(i);
        }
    }
}

void ScriptedBusDevice::acceptConnection()
{
    const int fd = ::accept4(listenFd_, nullptr, nullptr, SOCK_CLOEXEC);
    if (fd < 0)
        return;
    connections_.push_back({fd, false, false});
    ++accepted_;
}

void ScriptedBusDevice::handleMessage(Connection& connection)
{
    std::array<std::uint8_t, 1 + dataSize + 16> message{};
    const ssize_t got = ::recv(connection.fd, message.data(), message.size(), MSG_DONTWAIT);
    if (got <= 0) {
        ::close(connection.fd);
        connection.fd = -1;
        return;
    }
    if (!connection.opened) {
        const bool exclusive = got == 1 && message[0] == requestExclusive;
        const bool anyExclusive =
            std::any_of(connections_.begin(), connections_.end(),
                        [](const auto& c) { return c.opened && c.exclusive; });
        const bool anyOpen = std::any_of(connections_.begin(), connections_.end(),
                                         [](const auto& c) { return c.opened; });
        std::uint8_t answer = answerOpened;
        if (refusal_ != 0)
            answer = refusal_;
        else if (got != 1 || (message[0] != requestShared && message[0] != requestExclusive))
            answer = answerRefused;
        else if (anyExclusive || (exclusive && anyOpen))
            answer = answerSharingConflict;
        if (answer != answerOpened) {
            ::send(connection.fd, &answer, 1, MSG_NOSIGNAL);
            ::close(connection.fd);
            connection.fd = -1;
            return;
        }
        // Counted before the client learns of the open.
        connection.opened = true;
        connection.exclusive = exclusive;
        {
            std::lock_guard lock(mutex_);
            ++openCount_;
            changed_.notify_all();
        }
        ::send(connection.fd, &answer, 1, MSG_NOSIGNAL);
        return;
    }
    if (static_cast<std::size_t>(got) != 1 + descriptor_.reportSize || message[0] != 0) {
        ++malformed_;
        // A report of the wrong length is a failed write: the connection goes.
        if (static_cast<std::size_t>(got) != 1 + descriptor_.reportSize) {
            ::close(connection.fd);
            connection.fd = -1;
        }
        return;
    }
    Command command{};
    std::copy_n(message.begin() + 1, dataSize, command.begin());
    {
        std::lock_guard lock(mutex_);
        commands_.push_back(command);
        changed_.notify_all();
    }
    if (!script_)
        return;
    for (const auto& response : script_(command)) {
        std::array<std::uint8_t, 1 + dataSize> report{};
        std::copy(response.begin(), response.end(), report.begin() + 1);
        ::send(connection.fd, report.data(), report.size(), MSG_DONTWAIT | MSG_NOSIGNAL);
    }
}

void ScriptedBusDevice::closeConnection(std::size_t index)
{
    // Only opened connections were counted.
    const bool wasOpened = connections_[index].opened;
    connections_.erase(connections_.begin() + static_cast<std::ptrdiff_t>(index));
    if (wasOpened) {
        std::lock_guard lock(mutex_);
        --openCount_;
        changed_.notify_all();
    }
}

} // namespace vexatest
