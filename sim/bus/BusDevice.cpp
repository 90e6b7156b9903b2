#include "sim/bus/BusDevice.h"

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <fcntl.h>
#include <linux/sockios.h>
#include <stdexcept>
#include <sys/epoll.h>
#include <sys/ioctl.h>
#include <sys/socket.h>
#include <sys/un.h>
#include <system_error>

namespace sim {
namespace {

constexpr std::uint8_t OpenShared = 0x01;
constexpr std::uint8_t OpenExclusive = 0x02;
constexpr std::uint8_t AnswerOpened = 0x00;
constexpr std::uint8_t AnswerSharingConflict = 0x01;
constexpr std::uint8_t AnswerRefused = 0x02;
constexpr int ListenBacklog = 16;
constexpr int MaxMessagesPerWakeup = 64;

sockaddr_un socketAddress(const std::filesystem::path& path)
{
    sockaddr_un address{};
    address.sun_family = AF_UNIX;
    const std::string& text = path.native();
    if (text.size() >= sizeof address.sun_path) {
        throw std::invalid_argument("socket path too long for a UNIX-domain socket: " + text);
    }
    std::memcpy(address.sun_path, text.c_str(), text.size() + 1);
    return address;
}

UniqueFd seqpacketSocket()
{
    UniqueFd fd(::socket(AF_UNIX, SOCK_SEQPACKET | SOCK_NONBLOCK | SOCK_CLOEXEC, 0));
    if (!fd.valid()) {
        throw std::system_error(errno, std::generic_category(), "socket");
    }
    return fd;
}

// True when a server accepts connections on `path`.
bool socketIsLive(const std::filesystem::path& path)
{
    UniqueFd probe = seqpacketSocket();
    sockaddr_un address = socketAddress(path);
    if (::connect(probe.get(), reinterpret_cast<const sockaddr*>(&address), sizeof address) == 0) {
        return true;
    }
    return errno != ECONNREFUSED && errno != ENOENT;
}

void writeFileAtomically(const std::filesystem::path& target, const std::string& text)
{
    std::filesystem::path temporary =
        target.parent_path() / ("." + target.filename().native() + ".tmp");
    UniqueFd fd(::open(temporary.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0644));
    if (!fd.valid()) {
        throw std::system_error(errno, std::generic_category(), "create " + temporary.native());
    }
    std::size_t done = 0;
    while (done < text.size()) {
        ssize_t written = ::write(fd.get(), text.data() + done, text.size() - done);
        if (written < 0 && errno == EINTR) {
            continue;
        }
        if (written <= 0) {
            int error = errno;
            ::unlink(temporary.c_str());
            throw std::system_error(error, std::generic_category(), "write " + temporary.native());
        }
        done += static_cast<std::size_t>(written);
    }
    fd.reset();
    if (::rename(temporary.c_str(), target.c_str()) != 0) {
        int error = errno;
        ::unlink(temporary.c_str());
        throw std::system_error(error, std::generic_category(), "rename to " + target.native());
    }
}

bool wouldBlock(int error)
{
    return error == EAGAIN || error == EWOULDBLOCK || error == ENOBUFS;
}

} // namespace

template <typename Call> void BusDevice::callModel(Call&& call)
{
    try {
        call();
    } catch (const std::exception& error) {
        std::fprintf(stderr, "%s: device model failed: %s\n", name_.c_str(), error.what());
    }
}

BusDevice::BusDevice(EventLoop& loop, std::filesystem::path directory, std::string name,
                     DeviceDescriptor descriptor, DeviceModel& model,
                     std::chrono::microseconds usbFrame)
    : loop_(loop), directory_(std::move(directory)), name_(std::move(name)),
      descriptor_(std::move(descriptor)), model_(model), usbFrame_(usbFrame),
      outputQueue_(descriptor_.reportSize + 1, OutputQueueCapacity),
      inputQueue_(descriptor_.reportSize + 1, InputQueueCapacity),
      receiveBuffer_(descriptor_.reportSize + 2)
{
    if (!isValidDeviceName(name_)) {
        throw std::invalid_argument("invalid device name '" + name_ +
                                    "': use letters, digits, '_' and '-'");
    }
    validateDescriptor(descriptor_);
    socketAddress(socketPath());
    if (usbFrame_.count() < 0) {
        throw std::invalid_argument("USB frame time must not be negative");
    }
}

BusDevice::~BusDevice()
{
    replugAt_.reset();
    if (plugged()) {
        removeEntries();
    }
}

std::filesystem::path BusDevice::socketPath() const
{
    return directory_ / (name_ + ".sock");
}

std::filesystem::path BusDevice::descriptorPath() const
{
    return directory_ / (name_ + ".dev");
}

void BusDevice::plug()
{
    replugAt_.reset();
    if (plugged()) {
        return;
    }
    std::filesystem::path socket = socketPath();
    if (std::filesystem::exists(std::filesystem::symlink_status(socket))) {
        if (socketIsLive(socket)) {
            throw std::runtime_error("device " + name_ + " is already served in " +
                                     directory_.native());
        }
        ::unlink(socket.c_str());
    }
    if (nextDescriptor_) {
        descriptor_ = std::move(*nextDescriptor_);
        nextDescriptor_.reset();
    }
    writeFileAtomically(descriptorPath(), descriptorText(descriptor_));
    try {
        bindListener();
    } catch (...) {
        ::unlink(descriptorPath().c_str());
        throw;
    }
    outputQueue_.clear();
    inputQueue_.clear();
    nextOutputFrame_ = {};
    nextInputFrame_ = {};
    reading_ = true;
    callModel([&] { model_.onPlugged(true, *this); });
    finishCallbacks(Clock::now());
}

void BusDevice::bindListener()
{
    UniqueFd fd = seqpacketSocket();
    sockaddr_un address = socketAddress(socketPath());
    if (::bind(fd.get(), reinterpret_cast<const sockaddr*>(&address), sizeof address) != 0) {
        throw std::system_error(errno, std::generic_category(), "bind " + socketPath().native());
    }
    if (::listen(fd.get(), ListenBacklog) != 0) {
        int error = errno;
        ::unlink(socketPath().c_str());
        throw std::system_error(error, std::generic_category(), "listen");
    }
    try {
        listenerWatch_ = loop_.watch(fd.get(), EPOLLIN, [this](std::uint32_t) {
            acceptConnections();
            finishCallbacks(Clock::now());
        });
    } catch (...) {
        ::unlink(socketPath().c_str());
        throw;
    }
    listener_ = std::move(fd);
}

void BusDevice::unplug()
{
    replugAt_.reset();
    reenumerateRequest_.reset();
    if (!plugged()) {
        return;
    }
    removeEntries();
    callModel([&] { model_.onPlugged(false, *this); });
    finishCallbacks(Clock::now());
}

void BusDevice::removeEntries()
{
    ::unlink(socketPath().c_str());
    loop_.unwatch(listenerWatch_);
    listener_.reset();
    closeAllConnections();
    outputQueue_.clear();
    inputQueue_.clear();
    ::unlink(descriptorPath().c_str());
}

std::size_t BusDevice::openConnectionCount() const
{
    return static_cast<std::size_t>(
        std::count_if(connections_.begin(), connections_.end(), [](const auto& connection) {
            return connection->state == Connection::State::Open;
        }));
}

void BusDevice::acceptConnections()
{
    while (listener_.valid()) {
        int fd = ::accept4(listener_.get(), nullptr, nullptr, SOCK_NONBLOCK | SOCK_CLOEXEC);
        if (fd < 0) {
            if (errno == EINTR || errno == ECONNABORTED) {
                continue;
            }
            if (!wouldBlock(errno)) {
                std::fprintf(stderr, "%s: accept failed: %s\n", name_.c_str(),
                             std::strerror(errno));
            }
            return;
        }
        UniqueFd accepted(fd);
        if (connections_.size() >= MaxPendingConnections) {
            continue;
        }
        auto connection = std::make_unique<Connection>();
        Connection* raw = connection.get();
        connection->watchId =
            loop_.watch(accepted.get(), EPOLLIN, [this, raw](std::uint32_t events) {
                onConnectionEvent(*raw, events);
                finishCallbacks(Clock::now());
            });
        connection->fd = std::move(accepted);
        connections_.push_back(std::move(connection));
    }
}

void BusDevice::onConnectionEvent(Connection& connection, std::uint32_t events)
{
    if (events & EPOLLIN) {
        if (connection.state == Connection::State::Opening) {
            handleOpenRequest(connection);
        } else if (connection.state == Connection::State::Open) {
            readOutputReports(connection);
        }
    }
    if ((events & (EPOLLHUP | EPOLLERR)) && !(events & EPOLLIN)) {
        closeConnection(connection);
    }
}

void BusDevice::handleOpenRequest(Connection& connection)
{
    std::uint8_t request[2];
    ssize_t received = ::recv(connection.fd.get(), request, sizeof request, MSG_DONTWAIT);
    if (received < 0 && wouldBlock(errno)) {
        return;
    }
    if (received <= 0) {
        closeConnection(connection);
        return;
    }
    std::uint8_t answer = AnswerRefused;
    bool exclusive = request[0] == OpenExclusive;
    if (received == 1 && (request[0] == OpenShared || exclusive)) {
        bool conflict =
            std::any_of(connections_.begin(), connections_.end(), [&](const auto& other) {
                return other->state == Connection::State::Open && (other->exclusive || exclusive);
            });
        if (conflict) {
            answer = AnswerSharingConflict;
        } else if (openConnectionCount() < MaxConnections) {
            answer = AnswerOpened;
        }
    }
    ssize_t sent = ::send(connection.fd.get(), &answer, 1, MSG_DONTWAIT | MSG_NOSIGNAL);
    if (answer != AnswerOpened || sent != 1) {
        closeConnection(connection);
        return;
    }
    connection.state = Connection::State::Open;
    connection.exclusive = exclusive;
    if (!reading_) {
        loop_.modify(connection.watchId, 0);
    }
}

void BusDevice::readOutputReports(Connection& connection)
{
    const std::size_t reportBytes = descriptor_.reportSize + 1;
    for (int message = 0; message < MaxMessagesPerWakeup; ++message) {
        if (connection.state != Connection::State::Open || reenumerateRequest_ || !plugged()) {
            return;
        }
        if (usbFrame_.count() > 0 && outputQueue_.full()) {
            setReading(false);
            return;
        }
        ssize_t received =
            ::recv(connection.fd.get(), receiveBuffer_.data(), receiveBuffer_.size(), MSG_DONTWAIT);
        if (received < 0 && wouldBlock(errno)) {
            return;
        }
        if (received < 0 || static_cast<std::size_t>(received) != reportBytes) {
            // End of file, an error, or a report of the wrong size: a failed
            // write on a real device; the connection goes.
            closeConnection(connection);
            return;
        }
        takeOutputReport({receiveBuffer_.data(), reportBytes});
    }
}

void BusDevice::takeOutputReport(std::span<const std::uint8_t> report)
{
    TimePoint now = Clock::now();
    if (usbFrame_.count() == 0) {
        deliverOutputReport(report, now);
        return;
    }
    if (outputQueue_.empty() && now >= nextOutputFrame_) {
        nextOutputFrame_ = nextFrame(now);
        deliverOutputReport(report, now);
        return;
    }
    outputQueue_.push(report);
}

void BusDevice::deliverOutputReport(std::span<const std::uint8_t> report, TimePoint now)
{
    callModel([&] { model_.onOutputReport(report, now, *this); });
}

void BusDevice::sendInputReport(std::span<const std::uint8_t> report)
{
    if (report.size() != descriptor_.reportSize + 1) {
        throw std::invalid_argument("input report of " + std::to_string(report.size()) +
                                    " bytes, expected " +
                                    std::to_string(descriptor_.reportSize + 1));
    }
    if (!plugged() || reenumerateRequest_) {
        return;
    }
    if (usbFrame_.count() == 0) {
        fanOut(report);
        return;
    }
    TimePoint now = Clock::now();
    if (inputQueue_.empty() && now >= nextInputFrame_) {
        nextInputFrame_ = nextFrame(now);
        fanOut(report);
        return;
    }
    inputQueue_.push(report);
}

bool BusDevice::readyForInputReport() const
{
    if (!plugged() || reenumerateRequest_) {
        return true;
    }
    if (usbFrame_.count() > 0 && (!inputQueue_.empty() || Clock::now() < nextInputFrame_)) {
        return false;
    }
    bool anyOpen = false;
    for (const auto& connection : connections_) {
        if (connection->state != Connection::State::Open) {
            continue;
        }
        anyOpen = true;
        int queued = 0;
        if (::ioctl(connection->fd.get(), SIOCOUTQ, &queued) == 0 && queued < KeepingUpQueueBytes) {
            return true;
        }
    }
    return !anyOpen;
}

void BusDevice::reenumerate(std::chrono::milliseconds absence)
{
    if (plugged()) {
        reenumerateRequest_ = std::max(absence, std::chrono::milliseconds{0});
    }
}

void BusDevice::setDescriptor(const DeviceDescriptor& descriptor)
{
    validateDescriptor(descriptor);
    if (descriptor.reportSize != descriptor_.reportSize) {
        throw std::invalid_argument("a device cannot change its report size");
    }
    nextDescriptor_ = descriptor;
}

void BusDevice::fanOut(std::span<const std::uint8_t> report)
{
    for (auto& connection : connections_) {
        if (connection->state != Connection::State::Open) {
            continue;
        }
        ssize_t sent =
            ::send(connection->fd.get(), report.data(), report.size(), MSG_DONTWAIT | MSG_NOSIGNAL);
        if (sent < 0 && !wouldBlock(errno)) {
            closeConnection(*connection);
        }
    }
}

void BusDevice::closeConnection(Connection& connection)
{
    if (connection.state == Connection::State::Closed) {
        return;
    }
    loop_.unwatch(connection.watchId);
    connection.fd.reset();
    connection.state = Connection::State::Closed;
    sweepNeeded_ = true;
}

void BusDevice::closeAllConnections()
{
    for (auto& connection : connections_) {
        closeConnection(*connection);
    }
}

void BusDevice::setReading(bool reading)
{
    if (reading_ == reading) {
        return;
    }
    reading_ = reading;
    for (auto& connection : connections_) {
        if (connection->state == Connection::State::Open) {
            loop_.modify(connection->watchId, reading ? std::uint32_t{EPOLLIN} : 0U);
        }
    }
}

void BusDevice::finishCallbacks(TimePoint now)
{
    if (reenumerateRequest_) {
        std::chrono::milliseconds absence = *reenumerateRequest_;
        reenumerateRequest_.reset();
        removeEntries();
        callModel([&] { model_.onPlugged(false, *this); });
        replugAt_ = now + absence;
    }
    if (sweepNeeded_) {
        std::erase_if(connections_, [](const auto& connection) {
            return connection->state == Connection::State::Closed;
        });
        sweepNeeded_ = false;
    }
}

TimePoint BusDevice::runDue(TimePoint now)
{
    if (replugAt_ && now >= *replugAt_) {
        try {
            plug();
        } catch (const std::exception& error) {
            std::fprintf(stderr, "%s: could not come back on the bus: %s\n", name_.c_str(),
                         error.what());
        }
    }
    if (plugged() && usbFrame_.count() > 0) {
        if (!outputQueue_.empty() && now >= nextOutputFrame_) {
            nextOutputFrame_ = nextFrame(now);
            deliverOutputReport(outputQueue_.front(), now);
            outputQueue_.pop();
            if (!outputQueue_.full()) {
                setReading(true);
            }
        }
        if (!inputQueue_.empty() && now >= nextInputFrame_) {
            nextInputFrame_ = nextFrame(now);
            fanOut(inputQueue_.front());
            inputQueue_.pop();
        }
    }
    if (nextModelTick() <= now) {
        lastTick_ = now;
        callModel([&] { model_.onTick(now, *this); });
    }
    finishCallbacks(now);
    return deadline();
}

TimePoint BusDevice::nextFrame(TimePoint now) const
{
    auto frames = now.time_since_epoch() / usbFrame_;
    return TimePoint(std::chrono::duration_cast<Clock::duration>((frames + 1) * usbFrame_));
}

TimePoint BusDevice::nextModelTick() const
{
    TimePoint next = model_.nextTick();
    if (next <= lastTick_ && openConnectionCount() == 0) {
        next = lastTick_ + UnwatchedTickInterval;
    }
    return next;
}

TimePoint BusDevice::deadline() const
{
    TimePoint next = nextModelTick();
    if (plugged() && usbFrame_.count() > 0) {
        if (!outputQueue_.empty()) {
            next = std::min(next, nextOutputFrame_);
        }
        if (!inputQueue_.empty()) {
            next = std::min(next, nextInputFrame_);
        }
    }
    if (replugAt_) {
        next = std::min(next, *replugAt_);
    }
    return next;
}

} // namespace sim
