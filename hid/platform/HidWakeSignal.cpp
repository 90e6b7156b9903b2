#include "hid/platform/HidWakeSignal.h"

#include <cerrno>
#include <cstdint>
#include <poll.h>
#include <sys/eventfd.h>
#include <system_error>

namespace qzr {

HidWakeSignal::HidWakeSignal() : FEvent(::eventfd(0, EFD_CLOEXEC | EFD_NONBLOCK))
{
    if (!FEvent.Valid())
        throw std::system_error(errno, std::generic_category(), "eventfd");
}

void HidWakeSignal::Raise() const
{
    const std::uint64_t one = 1;
    // The counter cannot overflow in practice; a failed write leaves the signal raised anyway.
    [[maybe_unused]] const auto written = ::write(FEvent.Get(), &one, sizeof one);
}

void HidWakeSignal::Clear() const
{
    std::uint64_t count = 0;
    [[maybe_unused]] const auto read = ::read(FEvent.Get(), &count, sizeof count);
}

HidWakeSignal::Wait HidWakeSignal::WaitForInput(int InputDescriptor) const
{
    pollfd descriptors[2] = {{FEvent.Get(), POLLIN, 0}, {InputDescriptor, POLLIN, 0}};
    for (;;) {
        const int ready = ::poll(descriptors, 2, -1);
        if (ready < 0) {
            if (errno == EINTR)
                continue;
            return Wait::Failed;
        }
        if (descriptors[0].revents != 0)
            return Wait::Woken;
        if (descriptors[1].revents & POLLNVAL)
            return Wait::Failed;
        if (descriptors[1].revents != 0)
            return Wait::Readable;
    }
}

} // namespace qzr
