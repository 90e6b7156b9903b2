#include "tests/hid/support/FakeHidPlatform.h"

#include "hid/platform/HidWakeSignal.h"

#include <QObject>
#include <algorithm>
#include <cstdint>
#include <sys/eventfd.h>

namespace qzr::test {

namespace {

void SetReadable(int Descriptor, bool Readable)
{
    std::uint64_t value = 1;
    [[maybe_unused]] const auto done = Readable ? ::write(Descriptor, &value, sizeof value)
                                                : ::read(Descriptor, &value, sizeof value);
}

} // namespace

class FakeHidDeviceHandle : public HidDeviceHandle {
public:
    explicit FakeHidDeviceHandle(std::shared_ptr<FakeHidDevice> Device) : FDevice(std::move(Device))
    {
        FDevice->CountHandle(+1);
    }
    ~FakeHidDeviceHandle() override { FDevice->CountHandle(-1); }

    HidAttributes Attributes() override { return FDevice->Attributes; }
    QString String(HidString Which) override
    {
        return Which == HidString::Product ? QStringLiteral("Fake device") : QString();
    }
    QString IndexedString(std::uint32_t StringIndex) override
    {
        return QStringLiteral("String %1").arg(StringIndex);
    }
    std::optional<std::size_t> Write(const THidReport& Report) override
    {
        return FDevice->Write(Report);
    }
    bool WaitForInput(const HidWakeSignal& Wake) override { return FDevice->WaitForInput(Wake); }
    HidReadOutcome Read(THidReport& Report) override { return FDevice->Read(Report); }

private:
    std::shared_ptr<FakeHidDevice> FDevice;
};

FakeHidDevice::FakeHidDevice(QString Path, HidAttributes Attributes)
    : Path(std::move(Path)), Attributes(Attributes),
      FReadable(::eventfd(0, EFD_CLOEXEC | EFD_NONBLOCK))
{}

void FakeHidDevice::QueueInput(const THidReport& Report)
{
    std::lock_guard lock(FMutex);
    FInput.push_back(Report);
    SetReadable(FReadable.Get(), true);
}

void FakeHidDevice::Fail()
{
    std::lock_guard lock(FMutex);
    FFailed = true;
    SetReadable(FReadable.Get(), true);
}

void FakeHidDevice::SetOpenable(bool Openable)
{
    std::lock_guard lock(FMutex);
    FOpenable = Openable;
}

void FakeHidDevice::SetWriteResult(std::optional<std::size_t> Result)
{
    std::lock_guard lock(FMutex);
    FWriteResult = Result;
}

std::vector<THidReport> FakeHidDevice::Written() const
{
    std::lock_guard lock(FMutex);
    return FWritten;
}

int FakeHidDevice::OpenHandles() const
{
    std::lock_guard lock(FMutex);
    return FOpenHandles;
}

int FakeHidDevice::ReportsRead() const
{
    std::lock_guard lock(FMutex);
    return FReportsRead;
}

bool FakeHidDevice::WaitForOpenHandles(int Count) const
{
    return WaitUntil([&] { return FOpenHandles == Count; });
}

bool FakeHidDevice::WaitForReportsRead(int Count) const
{
    return WaitUntil([&] { return FReportsRead == Count; });
}

bool FakeHidDevice::WaitUntil(const std::function<bool()>& Condition) const
{
    std::unique_lock lock(FMutex);
    return FChanged.wait_for(lock, std::chrono::seconds(10), Condition);
}

void FakeHidDevice::CountHandle(int Change)
{
    {
        std::lock_guard lock(FMutex);
        FOpenHandles += Change;
    }
    FChanged.notify_all();
}

bool FakeHidDevice::WaitForInput(const HidWakeSignal& Wake)
{
    return Wake.WaitForInput(FReadable.Get()) != HidWakeSignal::Wait::Woken;
}

HidReadOutcome FakeHidDevice::Read(THidReport& Report)
{
    std::lock_guard lock(FMutex);
    if (FFailed)
        return HidReadOutcome::Failed;
    if (FInput.empty())
        return HidReadOutcome::NotReady;
    Report = FInput.front();
    FInput.pop_front();
    if (FInput.empty())
        SetReadable(FReadable.Get(), false);
    ++FReportsRead;
    FChanged.notify_all();
    return HidReadOutcome::Report;
}

std::optional<std::size_t> FakeHidDevice::Write(const THidReport& Report)
{
    std::lock_guard lock(FMutex);
    FWritten.push_back(Report);
    return FWriteResult;
}

std::shared_ptr<FakeHidDevice> FakeHidPlatform::Plug(const QString& Path, HidAttributes Attributes)
{
    auto device = std::make_shared<FakeHidDevice>(Path, Attributes);
    std::lock_guard lock(FMutex);
    FDevices.push_back(device);
    return device;
}

void FakeHidPlatform::Unplug(const QString& Path)
{
    std::lock_guard lock(FMutex);
    const auto found = std::find_if(FDevices.begin(), FDevices.end(),
                                    [&](const auto& device) { return device->Path == Path; });
    if (found == FDevices.end())
        return;
    (*found)->Fail();
    FDevices.erase(found);
}

void FakeHidPlatform::Broadcast()
{
    if (FOnChange)
        FOnChange();
}

void FakeHidPlatform::SetBeforeEnumeration(std::function<void()> Step)
{
    FBeforeEnumeration = std::move(Step);
}

QStringList FakeHidPlatform::EnumerateDevicePaths()
{
    if (FBeforeEnumeration)
        FBeforeEnumeration();
    std::lock_guard lock(FMutex);
    QStringList paths;
    for (const auto& device : FDevices)
        paths.push_back(device->Path);
    return paths;
}

std::unique_ptr<HidDeviceHandle> FakeHidPlatform::OpenShared(const QString& DevicePath)
{
    std::shared_ptr<FakeHidDevice> found;
    {
        std::lock_guard lock(FMutex);
        for (const auto& device : FDevices)
            if (device->Path == DevicePath)
                found = device;
    }
    if (!found)
        return nullptr;
    {
        std::lock_guard lock(found->FMutex);
        if (!found->FOpenable)
            return nullptr;
    }
    return std::make_unique<FakeHidDeviceHandle>(found);
}

std::unique_ptr<QObject> FakeHidPlatform::WatchDeviceChanges(std::function<void()> OnChange)
{
    FOnChange = std::move(OnChange);
    auto watch = std::make_unique<QObject>();
    QObject::connect(watch.get(), &QObject::destroyed, [this] { FOnChange = nullptr; });
    return watch;
}

} // namespace qzr::test
