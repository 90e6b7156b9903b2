#pragma once

#include "hid/platform/FileDescriptor.h"

#include <QObject>
#include <functional>

class QSocketNotifier;

namespace qzr {

// Watches a virtual bus directory and calls OnChange on the GUI thread whenever a device socket
// (NAME.sock) appears or disappears there: the bus's device-change broadcast.
class VirtualBusWatcher : public QObject {
    Q_OBJECT
public:
    VirtualBusWatcher(const QString& BusDirectory, std::function<void()> OnChange);
    ~VirtualBusWatcher() override;

private:
    void ReadEvents();

    FileDescriptor FInotify;
    QSocketNotifier* FNotifier = nullptr;
    std::function<void()> FOnChange;
};

} // namespace qzr
