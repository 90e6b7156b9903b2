#pragma once

#include "hid/platform/FileDescriptor.h"
#include "hid/platform/HidPlatform.h"

#include <condition_variable>
#include <deque>
#include <memory>
#include <mutex>
#include <vector>

namespace qzr::test {

// One device of the fake system: its input reports are queued by the test and read by
// whichever handle reads; its output reports are recorded.
class FakeHidDevice {
public:
    explicit FakeHidDevice(QString Path, HidAttributes Attributes = {});

    const QString Path;
    const HidAttributes Attributes;

    // Any thread.
    void QueueInput(const THidReport& Report);
    // Reads fail from now on, as they do on a device that was pulled out.
    void Fail();
    void SetOpenable(bool Openable);
    // What a write reports as taken (all 9 bytes at first); nothing makes writes fail.
    void SetWriteResult(std::optional<std::size_t> Result);

    std::vector<THidReport> Written() const;
    int OpenHandles() const;
    int ReportsRead() const;
    // Wait, without running any event loop, until the count is reached; whether it was.
    bool WaitForOpenHandles(int Count) const;
    bool WaitForReportsRead(int Count) const;

private:
    friend class FakeHidDeviceHandle;
    friend class FakeHidPlatform;

    bool WaitForInput(const HidWakeSignal& Wake);
    HidReadOutcome Read(THidReport& Report);
    std::optional<std::size_t> Write(const THidReport& Report);
    void CountHandle(int Change);
    bool WaitUntil(const std::function<bool()>& Condition) const;

    mutable std::mutex FMutex;
    mutable std::condition_variable FChanged;
    std::deque<THidReport> FInput;
    bool FFailed = false;
    bool FOpenable = true;
    std::optional<std::size_t> FWriteResult = sizeof(THidReport);
    std::vector<THidReport> FWritten;
    FileDescriptor FReadable;
    int FOpenHandles = 0;
    int FReportsRead = 0;
};

// A system of fake devices; the test plugs and unplugs them and sends the change broadcast.
class FakeHidPlatform : public HidPlatform {
public:
    std::shared_ptr<FakeHidDevice> Plug(const QString& Path, HidAttributes Attributes = {});
    // Removes the device from the system; its reads fail.
    void Unplug(const QString& Path);
    // Runs the device-change handler of the watching list, as the system's broadcast would.
    void Broadcast();
    // Runs Step before every enumeration from now on, so that devices can come and go while a
    // list refreshes.
    void SetBeforeEnumeration(std::function<void()> Step);

    QStringList EnumerateDevicePaths() override;
    std::unique_ptr<HidDeviceHandle> OpenShared(const QString& DevicePath) override;
    std::unique_ptr<QObject> WatchDeviceChanges(std::function<void()> OnChange) override;

private:
    mutable std::mutex FMutex;
    std::vector<std::shared_ptr<FakeHidDevice>> FDevices;
    std::function<void()> FOnChange;
    std::function<void()> FBeforeEnumeration;
};

} // namespace qzr::test
