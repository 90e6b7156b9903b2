#pragma once

#include "hid/HidData.h"

#include <QString>
#include <memory>
#include <string>
#include <vector>

namespace sim {
class BusThread;
class VirtualHidBus;
} // namespace sim

namespace qzr::test {

// A device with 8-byte reports on a virtual HID bus, served by the simulator's bus server on a
// thread of its own: it records every output report and sends the input reports it is given.
class RecordingBusDevice {
public:
    RecordingBusDevice(const QString& BusDirectory, const std::string& Name);
    ~RecordingBusDevice();

    QString DevicePath() const;
    // To every connection that has the device open.
    void SendInput(const THidReport& Report);
    // Waits (bounded) until at least Count output reports arrived; whether they did.
    bool WaitForOutputs(std::size_t Count) const;
    std::vector<THidReport> Outputs() const;
    std::size_t OpenConnections() const;

private:
    class Model;

    std::string FName;
    std::unique_ptr<Model> FModel;
    std::unique_ptr<sim::VirtualHidBus> FBus;
    std::unique_ptr<sim::BusThread> FThread;
};

} // namespace qzr::test
