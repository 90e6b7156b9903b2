#include "ReportCountingProxy.h"

#include <poll.h>
#include <sys/eventfd.h>
#include <sys/socket.h>
#include <sys/un.h>
#include <unistd.h>

#include <array>
#include <cstdint>
#include <cstring>
#include <stdexcept>

namespace {

sockaddr_un addressOf(const std::filesystem::path& path)
{
    sockaddr_un address{};
    address.sun_family = AF_UNIX;
    const std::string text = path.string();
    if (text.size() >= sizeof address.sun_path)
        throw std::runtime_error("socket path too long: " + text);
    std::memcpy(address.sun_path, text.c_str(), text.size() + 1);
    return address;
}

} // namespace

ReportCountingProxy::ReportCountingProxy(const std::filesystem::path& bus, const std::string& name,
                                         const std::filesystem::path& descriptor,
                                         const std::filesystem::path& target)
    : devPath_(bus / (name + ".dev")), sockPath_(bus / (name + ".sock")), target_(target)
{
    std::filesystem::copy_file(descriptor, devPath_);
    listenFd_ = ::socket(AF_UNIX, SOCK_SEQPACKET | SOCK_CLOEXEC, 0);
    const sockaddr_un address = addressOf(sockPath_);
    if (::bind(listenFd_, reinterpret_cast<const sockaddr*>(&address), sizeof address) != 0 ||
        ::listen(listenFd_, 4) != 0)
        throw std::runtime_error("cannot serve " + sockPath_.string());
    wakeFd_ = ::eventfd(0, EFD_CLOEXEC);
    thread_ = std::thread([this] { serve(); });
}

ReportCountingProxy::~ReportCountingProxy()
{
    const std::uint64_t one = 1;
    (void)!::write(wakeFd_, &one, sizeof one);
    thread_.join();
    std::filesystem::remove(sockPath_);
    ::close(listenFd_);
    ::close(wakeFd_);
    std::filesystem::remove(devPath_);
}

void ReportCountingProxy::serve()
{
    for (;;) {
        std::array<pollfd, 2> watched{{{wakeFd_, POLLIN, 0}, {listenFd_, POLLIN, 0}}};
        if (::poll(watched.data(), watched.size(), -1) < 0)
            continue;
        if (watched[0].revents != 0)
            return;
        const int client = ::accept4(listenFd_, nullptr, nullptr, SOCK_CLOEXEC);
        if (client >= 0) {
            forward(client);
            ::close(client);
        }
    }
}

// Serves one client connection until either side closes it (one client at a
// time is all a measurement needs).
void ReportCountingProxy::forward(int client)
{
    const int upstream = ::socket(AF_UNIX, SOCK_SEQPACKET | SOCK_CLOEXEC, 0);
    const sockaddr_un address = addressOf(target_);
    if (::connect(upstream, reinterpret_cast<const sockaddr*>(&address), sizeof address) != 0) {
        ::close(upstream);
        return;
    }
    bool opened = false;
    for (;;) {
        std::array<pollfd, 3> watched{
            {{wakeFd_, POLLIN, 0}, {client, POLLIN, 0}, {upstream, POLLIN, 0}}};
        if (::poll(watched.data(), watched.size(), -1) < 0)
            continue;
        if (watched[0].revents != 0)
            break;
        std::array<std::uint8_t, 256> message{};
        if (watched[1].revents != 0) {
            const ssize_t got = ::recv(client, message.data(), message.size(), 0);
            if (got <= 0 || ::send(upstream, message.data(), got, MSG_NOSIGNAL) != got)
                break;
            if (opened)
                ++outputReports_;
        }
        if (watched[2].revents != 0) {
            const ssize_t got = ::recv(upstream, message.data(), message.size(), 0);
            if (got <= 0 || ::send(client, message.data(), got, MSG_NOSIGNAL) != got)
                break;
            if (opened)
                ++inputReports_;
            // The first message from the device answers the open request.
            opened = true;
        }
    }
    ::close(upstream);
}
