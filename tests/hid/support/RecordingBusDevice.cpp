#include "tests/hid/support/RecordingBusDevice.h"

#include "sim/bus/BusThread.h"
#include "sim/bus/DeviceModel.h"
#include "sim/bus/VirtualHidBus.h"

#include <algorithm>
#include <condition_variable>
#include <mutex>

namespace qzr::test {

class RecordingBusDevice::Model : public sim::DeviceModel {
public:
    void onOutputReport(std::span<const std::uint8_t> Report, sim::TimePoint,
                        sim::DeviceHost&) override
    {
        THidReport copy{};
        std::copy_n(Report.begin(), std::min(Report.size(), copy.size()), copy.begin());
        {
            std::lock_guard lock(FMutex);
            FOutputs.push_back(copy);
        }
        FArrived.notify_all();
    }
    void onTick(sim::TimePoint, sim::DeviceHost&) override {}
    sim::TimePoint nextTick() const override { return sim::TimePoint::max(); }
    void onPlugged(bool Plugged, sim::DeviceHost& Host) override
    {
        FHost = Plugged ? &Host : nullptr;
    }

    // On the bus's thread.
    void Send(const THidReport& Report)
    {
        if (FHost != nullptr)
            FHost->sendInputReport(Report);
    }

    bool WaitForOutputs(std::size_t Count) const
    {
        std::unique_lock lock(FMutex);
        return FArrived.wait_for(lock, std::chrono::seconds(10),
                                 [&] { return FOutputs.size() >= Count; });
    }

    std::vector<THidReport> Outputs() const
    {
        std::lock_guard lock(FMutex);
        return FOutputs;
    }

private:
    sim::DeviceHost* FHost = nullptr;
    mutable std::mutex FMutex;
    mutable std::condition_variable FArrived;
    std::vector<THidReport> FOutputs;
};

RecordingBusDevice::RecordingBusDevice(const QString& BusDirectory, const std::string& Name)
    : FName(Name), FModel(std::make_unique<Model>()),
      FBus(std::make_unique<sim::VirtualHidBus>(BusDirectory.toStdString()))
{
    sim::DeviceDescriptor descriptor;
    descriptor.vendorId = 0x1234;
    descriptor.productId = 0x5678;
    descriptor.reportSize = 8;
    FBus->addDevice(FName, descriptor, *FModel, std::chrono::microseconds(0));
    FBus->plug(FName);
    FThread = std::make_unique<sim::BusThread>(FBus->loop());
}

RecordingBusDevice::~RecordingBusDevice()
{
    FThread->call([this] { FBus->removeDevice(FName); });
    FThread.reset();
    FBus.reset();
}

QString RecordingBusDevice::DevicePath() const
{
    return QString::fromStdString(FBus->directory() / (FName + ".sock"));
}

void RecordingBusDevice::SendInput(const THidReport& Report)
{
    FThread->call([&] { FModel->Send(Report); });
}

bool RecordingBusDevice::WaitForOutputs(std::size_t Count) const
{
    return FModel->WaitForOutputs(Count);
}

std::vector<THidReport> RecordingBusDevice::Outputs() const
{
    return FModel->Outputs();
}

std::size_t RecordingBusDevice::OpenConnections() const
{
    return FThread->call([this] { return FBus->device(FName).openConnectionCount(); });
}

} // namespace qzr::test
