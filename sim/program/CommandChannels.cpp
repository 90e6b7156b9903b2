#include "sim/program/CommandChannels.h"

#include <algorithm>
#include <cerrno>
#include <csignal>
#include <cstring>
#include <poll.h>
#include <stdexcept>
#include <sys/signalfd.h>
#include <sys/socket.h>
#include <sys/un.h>
#include <system_error>
#include <unistd.h>

namespace sim {
namespace {

constexpr std::size_t MaxClients = 16;

sigset_t stopSignals()
{
    sigset_t set;
    sigemptyset(&set);
    sigaddset(&set, SIGINT);
    sigaddset(&set, SIGTERM);
    sigaddset(&set, SIGHUP);
    return set;
}

sockaddr_un addressOf(const std::filesystem::path& path)
{
    sockaddr_un address{};
    address.sun_family = AF_UNIX;
    if (path.native().size() >= sizeof address.sun_path) {
        throw std::invalid_argument("control socket path too long: " + path.native());
    }
    std::memcpy(address.sun_path, path.c_str(), path.native().size() + 1);
    return address;
}

bool liveServerAt(const std::filesystem::path& path)
{
    UniqueFd probe(::socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0));
    sockaddr_un address = addressOf(path);
    return ::connect(probe.get(), reinterpret_cast<const sockaddr*>(&address), sizeof address) == 0;
}

void writeAll(int fd, const std::string& text)
{
    std::size_t done = 0;
    while (done < text.size()) {
        ssize_t written = ::send(fd, text.data() + done, text.size() - done, MSG_NOSIGNAL);
        if (written < 0 && errno == EINTR) {
            continue;
        }
        if (written <= 0) {
            return;
        }
        done += static_cast<std::size_t>(written);
    }
}

// Takes complete lines off the front of `pending`.
std::vector<std::string> takeLines(std::string& pending)
{
    std::vector<std::string> lines;
    std::size_t newline;
    while ((newline = pending.find('\n')) != std::string::npos) {
        std::string line = pending.substr(0, newline);
        if (!line.empty() && line.back() == '\r') {
            line.pop_back();
        }
        lines.push_back(std::move(line));
        pending.erase(0, newline + 1);
    }
    return lines;
}

} // namespace

void CommandChannels::blockStopSignals()
{
    sigset_t set = stopSignals();
    pthread_sigmask(SIG_BLOCK, &set, nullptr);
    std::signal(SIGPIPE, SIG_IGN);
}

CommandChannels::CommandChannels(CommandInterpreter& interpreter,
                                 const std::filesystem::path& busDirectory, bool exitOnEndOfInput,
                                 std::FILE* output)
    : interpreter_(interpreter),
      socketPath_(busDirectory.empty() ? std::filesystem::path()
                                       : busDirectory / ControlSocketName),
      exitOnEndOfInput_(exitOnEndOfInput), output_(output)
{
    sigset_t set = stopSignals();
    signals_.reset(::signalfd(-1, &set, SFD_CLOEXEC | SFD_NONBLOCK));
    if (!signals_.valid()) {
        throw std::system_error(errno, std::generic_category(), "signalfd");
    }
    if (busDirectory.empty()) {
        return;
    }
    sockaddr_un address = addressOf(socketPath_);
    if (std::filesystem::exists(std::filesystem::symlink_status(socketPath_))) {
        if (liveServerAt(socketPath_)) {
            throw std::runtime_error("another simulator serves " + busDirectory.native());
        }
        ::unlink(socketPath_.c_str());
    }
    listener_.reset(::socket(AF_UNIX, SOCK_STREAM | SOCK_NONBLOCK | SOCK_CLOEXEC, 0));
    if (!listener_.valid() ||
        ::bind(listener_.get(), reinterpret_cast<const sockaddr*>(&address), sizeof address) != 0 ||
        ::listen(listener_.get(), 4) != 0) {
        throw std::system_error(errno, std::generic_category(),
                                "control socket " + socketPath_.native());
    }
}

CommandChannels::~CommandChannels()
{
    if (listener_.valid()) {
        ::unlink(socketPath_.c_str());
    }
}

std::string CommandChannels::runLine(const std::string& line, const char* origin)
{
    std::string reply = interpreter_.execute(line);
    if (origin && !reply.empty()) {
        std::fprintf(output_, "[%s] %s\n%s", origin, line.c_str(), reply.c_str());
    } else {
        std::fputs(reply.c_str(), output_);
    }
    std::fflush(output_);
    return reply;
}

int CommandChannels::run()
{
    while (!interpreter_.quitRequested()) {
        std::vector<pollfd> fds;
        fds.push_back({signals_.get(), POLLIN, 0});
        fds.push_back({listener_.get(), POLLIN, 0});
        fds.push_back({inputOpen_ ? STDIN_FILENO : -1, POLLIN, 0});
        for (const auto& client : clients_) {
            fds.push_back({client->fd.get(), POLLIN, 0});
        }
        if (::poll(fds.data(), fds.size(), -1) < 0) {
            if (errno == EINTR) {
                continue;
            }
            throw std::system_error(errno, std::generic_category(), "poll");
        }
        if (fds[0].revents & POLLIN) {
            signalfd_siginfo info{};
            if (::read(signals_.get(), &info, sizeof info) == sizeof info) {
                return static_cast<int>(info.ssi_signo);
            }
        }
        if (fds[1].revents & POLLIN) {
            acceptClients();
        }
        if (fds[2].revents & (POLLIN | POLLHUP | POLLERR)) {
            readStandardInput();
            if (!inputOpen_ && exitOnEndOfInput_) {
                return 0;
            }
        }
        for (std::size_t i = 3; i < fds.size(); ++i) {
            if (fds[i].revents & (POLLIN | POLLHUP | POLLERR)) {
                serveClient(*clients_[i - 3]);
            }
        }
        std::erase_if(clients_, [](const auto& client) { return !client->fd.valid(); });
    }
    return 0;
}

void CommandChannels::readStandardInput()
{
    char buffer[4096];
    ssize_t received = ::read(STDIN_FILENO, buffer, sizeof buffer);
    if (received < 0 && (errno == EINTR || errno == EAGAIN)) {
        return;
    }
    if (received <= 0) {
        inputOpen_ = false;
        if (!inputPending_.empty()) {
            runLine(inputPending_, nullptr);
            inputPending_.clear();
        }
        return;
    }
    inputPending_.append(buffer, static_cast<std::size_t>(received));
    for (const auto& line : takeLines(inputPending_)) {
        runLine(line, nullptr);
        if (interpreter_.quitRequested()) {
            return;
        }
    }
    if (inputPending_.size() > MaxLineLength) {
        inputPending_.clear();
        std::fputs("error: line too long\n", output_);
    }
}

void CommandChannels::acceptClients()
{
    for (;;) {
        int fd = ::accept4(listener_.get(), nullptr, nullptr, SOCK_CLOEXEC);
        if (fd < 0) {
            return;
        }
        auto client = std::make_unique<Client>();
        client->fd.reset(fd);
        if (clients_.size() >= MaxClients) {
            writeAll(fd, "error: too many control connections\n");
            continue;
        }
        clients_.push_back(std::move(client));
    }
}

void CommandChannels::serveClient(Client& client)
{
    char buffer[4096];
    ssize_t received = ::recv(client.fd.get(), buffer, sizeof buffer, MSG_DONTWAIT);
    if (received < 0 && (errno == EINTR || errno == EAGAIN)) {
        return;
    }
    if (received <= 0) {
        if (!client.pending.empty()) {
            runLine(client.pending, "control");
        }
        client.fd.reset();
        return;
    }
    client.pending.append(buffer, static_cast<std::size_t>(received));
    for (const auto& line : takeLines(client.pending)) {
        writeAll(client.fd.get(), runLine(line, "control"));
        if (interpreter_.quitRequested()) {
            return;
        }
    }
    if (client.pending.size() > MaxLineLength) {
        writeAll(client.fd.get(), "error: line too long\n");
        client.fd.reset();
    }
}

} // namespace sim
