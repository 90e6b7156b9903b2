#include "hid/platform/vhid/VirtualBusWatcher.h"

#include <QFile>
#include <QSocketNotifier>
#include <array>
#include <string_view>
#include <sys/inotify.h>

namespace qzr {

VirtualBusWatcher::VirtualBusWatcher(const QString& BusDirectory, std::function<void()> OnChange)
    : FInotify(::inotify_init1(IN_NONBLOCK | IN_CLOEXEC)), FOnChange(std::move(OnChange))
{
    if (!FInotify.Valid())
        return;
    // A directory that cannot be watched (not there yet, no access) just reports no changes.
    if (::inotify_add_watch(FInotify.Get(), QFile::encodeName(BusDirectory).constData(),
                            IN_CREATE | IN_DELETE | IN_MOVED_FROM | IN_MOVED_TO) < 0)
        return;
    FNotifier = new QSocketNotifier(FInotify.Get(), QSocketNotifier::Read, this);
    connect(FNotifier, &QSocketNotifier::activated, this, &VirtualBusWatcher::ReadEvents);
}

VirtualBusWatcher::~VirtualBusWatcher()
{
    delete FNotifier;
}

void VirtualBusWatcher::ReadEvents()
{
    alignas(inotify_event) std::array<char, 4096> buffer;
    bool socketsChanged = false;
    for (;;) {
        const auto length = ::read(FInotify.Get(), buffer.data(), buffer.size());
        if (length <= 0)
            break;
        for (ssize_t offset = 0; offset < length;) {
            const auto* event = reinterpret_cast<const inotify_event*>(buffer.data() + offset);
            const std::string_view name = event->len > 0 ? event->name : "";
            if (name.ends_with(".sock"))
                socketsChanged = true;
            offset += ssize_t(sizeof(inotify_event) + event->len);
        }
    }
    if (socketsChanged && FOnChange)
        FOnChange();
}

} // namespace qzr
