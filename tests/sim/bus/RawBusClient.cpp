#include "RawBusClient.h"

#include <cerrno>
#include <cstring>
#include <poll.h>
#include <stdexcept>
#include <sys/socket.h>
#include <sys/un.h>

namespace simtest {
namespace {

bool waitReadable(int fd, std::chrono::milliseconds timeout)
{
    pollfd entry{fd, POLLIN, 0};
    int ready;
    do {
        ready = ::poll(&entry, 1, static_cast<int>(timeout.count()));
    } while (ready < 0 && errno == EINTR);
    return ready > 0;
}

} // namespace

RawBusClient::RawBusClient(const std::filesystem::path& socket)
    : fd_(::socket(AF_UNIX, SOCK_SEQPACKET | SOCK_CLOEXEC, 0))
{
    sockaddr_un address{};
    address.sun_family = AF_UNIX;
    std::strncpy(address.sun_path, socket.c_str(), sizeof address.sun_path - 1);
    if (!fd_.valid() ||
        ::connect(fd_.get(), reinterpret_cast<const sockaddr*>(&address), sizeof address) != 0) {
        throw std::runtime_error("cannot connect to " + socket.native() + ": " +
                                 std::strerror(errno));
    }
}

std::optional<std::uint8_t> RawBusClient::open(std::uint8_t request)
{
    if (!send({request})) {
        return std::nullopt;
    }
    auto answer = receive();
    if (!answer || answer->size() != 1) {
        return std::nullopt;
    }
    return (*answer)[0];
}

bool RawBusClient::send(const Bytes& message)
{
    return ::send(fd_.get(), message.data(), message.size(), MSG_NOSIGNAL) ==
           static_cast<ssize_t>(message.size());
}

std::optional<Bytes> RawBusClient::receive(std::chrono::milliseconds timeout)
{
    if (!waitReadable(fd_.get(), timeout)) {
        return std::nullopt;
    }
    Bytes buffer(2048);
    ssize_t received = ::recv(fd_.get(), buffer.data(), buffer.size(), MSG_DONTWAIT);
    if (received <= 0) {
        return std::nullopt;
    }
    buffer.resize(static_cast<std::size_t>(received));
    return buffer;
}

bool RawBusClient::waitForEndOfFile(std::chrono::milliseconds timeout)
{
    auto deadline = std::chrono::steady_clock::now() + timeout;
    std::uint8_t buffer[2048];
    while (std::chrono::steady_clock::now() < deadline) {
        auto left = std::chrono::duration_cast<std::chrono::milliseconds>(
            deadline - std::chrono::steady_clock::now());
        if (!waitReadable(fd_.get(), std::max(left, std::chrono::milliseconds{1}))) {
            return false;
        }
        ssize_t received = ::recv(fd_.get(), buffer, sizeof buffer, MSG_DONTWAIT);
        if (received == 0 || (received < 0 && errno != EAGAIN)) {
            return true;
        }
    }
    return false;
}

} // namespace simtest
