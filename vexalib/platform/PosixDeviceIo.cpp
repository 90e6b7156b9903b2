#include "platform/DeviceIo.h"

#include "DeviceHandle.h"

#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <cerrno>
#include <chrono>

namespace vexa::platform {
namespace {

using Clock = std::chrono::steady_clock;

enum class Readiness { ready, timedOut, failed };

// Waits until the descriptor reports any of `events` (or a hang-up or error,
// which the following call then reports) or the deadline passes.
Readiness waitReady(int fd, short events, Clock::time_point deadline)
{
    for (;;) {
        const auto left =
            std::chrono::ceil<std::chrono::milliseconds>(deadline - Clock::now()).count();
        pollfd entry{fd, events, 0};
        const int ready = ::poll(&entry, 1, left > 0 ? static_cast<int>(left) : 0);
        if (ready > 0)
            return (entry.revents & POLLNVAL) ? Readiness::failed : Readiness::ready;
        if (ready == 0)
            return Readiness::timedOut;
        if (errno != EINTR)
            return Readiness::failed;
    }
}

// Runs `attempt` whenever the descriptor is ready, until it moves data, fails,
// or the deadline passes. `attempt` returns the byte count or -1 with errno.
template <class Attempt>
IoResult moveWhenReady(int fd, short events, int timeoutMs, Attempt attempt)
{
    const auto deadline = Clock::now() + std::chrono::milliseconds(timeoutMs);
    for (;;) {
        switch (waitReady(fd, events, deadline)) {
        case Readiness::timedOut:
            return {VEXA_REPORT_TIMEOUT, 0};
        case Readiness::failed:
            return {VEXA_REPORT_IO_FAILED, 0};
        case Readiness::ready:
            break;
        }
        const ssize_t moved = attempt();
        if (moved > 0)
            return {VEXA_OK, static_cast<std::size_t>(moved)};
        // Nothing moved: the peer has gone (end of file) or the call failed.
        if (moved == 0 || (errno != EINTR && errno != EAGAIN && errno != EWOULDBLOCK))
            return {VEXA_REPORT_IO_FAILED, 0};
    }
}

} // namespace

IoResult writeReport(VexaHandle handle, const std::uint8_t* report, std::size_t size, int timeoutMs)
{
    const auto device = decodeHandle(handle);
    if (!device)
        return {VEXA_REPORT_IO_FAILED, 0};
    const int fd = device->fd;
    if (device->kind == DescriptorKind::busConnection) {
        // MSG_NOSIGNAL: a device that went away must not raise SIGPIPE in the
        // caller's process.
        return moveWhenReady(fd, POLLOUT, timeoutMs,
                             [&] { return ::send(fd, report, size, MSG_NOSIGNAL | MSG_DONTWAIT); });
    }
    // hidraw takes the report ID in byte 0 whether or not the device numbers
    // its reports.
    return moveWhenReady(fd, POLLOUT, timeoutMs, [&] { return ::write(fd, report, size); });
}

IoResult readReport(VexaHandle handle, std::uint8_t* report, std::size_t capacity, int timeoutMs)
{
    const auto device = decodeHandle(handle);
    if (!device || capacity < 2)
        return {VEXA_REPORT_IO_FAILED, 0};
    const int fd = device->fd;
    switch (device->kind) {
    case DescriptorKind::busConnection:
        return moveWhenReady(fd, POLLIN, timeoutMs,
                             [&] { return ::recv(fd, report, capacity, MSG_DONTWAIT); });
    case DescriptorKind::hidrawNumbered:
        return moveWhenReady(fd, POLLIN, timeoutMs, [&] { return ::read(fd, report, capacity); });
    case DescriptorKind::hidrawUnnumbered:
        break;
    }
    // hidraw returns the reports of a device without report IDs as data
    // alone: put report ID 0 in front so that callers always see ID + data.
    IoResult result =
        moveWhenReady(fd, POLLIN, timeoutMs, [&] { return ::read(fd, report + 1, capacity - 1); });
    if (result.code == VEXA_OK) {
        report[0] = 0;
        ++result.count;
    }
    return result;
}

std::int32_t closeDevice(VexaHandle handle)
{
    const auto device = decodeHandle(handle);
    if (!device)
        return VEXA_BAD_HANDLE;
    if (::close(device->fd) == 0)
        return VEXA_OK;
    if (errno == EBADF)
        return VEXA_BAD_HANDLE;
    // On Linux the descriptor is released even when close is interrupted;
    // closing it again could close a descriptor opened meanwhile.
    if (errno == EINTR)
        return VEXA_OK;
    return VEXA_CLOSE_REFUSED;
}

} // namespace vexa::platform
