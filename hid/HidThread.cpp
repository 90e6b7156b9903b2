#include "hid/HidThread.h"

#include "hid/HidGuiThreadQueue.h"
#include "hid/platform/HidPlatform.h"
#include "hid/platform/HidWakeSignal.h"

#include <algorithm>
#include <condition_variable>
#include <mutex>

namespace qzr {

// The part of a reader that both threads use. It lives as long as a report handed to the GUI
// thread is still queued there, which may be longer than the reader object itself; the reader
// object is only touched on the GUI thread and only until the abort request.
class THidThread::Channel : public std::enable_shared_from_this<Channel> {
public:
    explicit Channel(THidThread* Owner) : FOwner(Owner), FQueue(HidGuiThreadQueue::Instance()) {}

    const HidWakeSignal& Wake() const { return FWake; }

    bool AbortRequested() const
    {
        std::lock_guard lock(FMutex);
        return FAbortRequest;
    }

    void RequestAbort()
    {
        {
            std::lock_guard lock(FMutex);
            FAbortRequest = true;
        }
        FTaken.notify_all();
        FWake.Raise();
    }

    // On the reader thread: hands one report to the GUI thread, without waiting for it to be
    // taken. Whether the reader goes on.
    bool HandOff(const THidReport& Report)
    {
        {
            std::lock_guard lock(FMutex);
            if (FAbortRequest)
                return false;
            FReportId = Report[0];
            std::copy(Report.begin() + 1, Report.end(), FData.begin());
            FPending = true;
        }
        FQueue->Post([channel = shared_from_this()] { channel->Deliver(); });
        return true;
    }

    // On the reader thread, before it reads the next report: waits until the GUI thread has
    // run the handler of the last one or the reader is told to go away. Whether the reader
    // goes on.
    bool WaitUntilTaken()
    {
        std::unique_lock lock(FMutex);
        FTaken.wait(lock, [this] { return !FPending || FAbortRequest; });
        return !FAbortRequest && !FHandlerFailed;
    }

    // On the reader thread, as its last act after a failed read.
    void ReportReadFailed()
    {
        if (!AbortRequested())
            FQueue->Post([channel = shared_from_this()] { channel->DeliverReadFailed(); });
    }

private:
    void Deliver()
    {
        std::uint8_t reportId = 0;
        THidData data{};
        bool deliver = false;
        {
            std::lock_guard lock(FMutex);
            deliver = FPending && !FAbortRequest;
            reportId = FReportId;
            data = FData;
        }
        bool failed = false;
        if (deliver) {
            // A copy: the handler may end the connection and with it the reader object.
            const auto handler = FOwner->OnHidData;
            try {
                if (handler)
                    handler(FOwner, reportId, data);
            } catch (...) {
                // Ends the reader without showing anything; the device stays connected.
                failed = true;
            }
        }
        {
            std::lock_guard lock(FMutex);
            FPending = false;
            FHandlerFailed = failed;
        }
        FTaken.notify_all();
    }

    void DeliverReadFailed()
    {
        if (AbortRequested())
            return;
        const auto handler = FOwner->OnReadFailed;
        if (handler)
            handler(FOwner);
    }

    THidThread* const FOwner;
    const std::shared_ptr<HidGuiThreadQueue> FQueue;
    const HidWakeSignal FWake;

    mutable std::mutex FMutex;
    std::condition_variable FTaken;
    bool FAbortRequest = false;
    bool FPending = false;
    bool FHandlerFailed = false;
    std::uint8_t FReportId = 0;
    THidData FData{};
};

THidThread::THidThread(std::shared_ptr<HidPlatform> Platform)
    : FPlatform(std::move(Platform)), FChannel(std::make_shared<Channel>(this))
{}

THidThread::~THidThread()
{
    GoAway();
    if (FThread.joinable())
        FThread.join();
}

void THidThread::Start()
{
    FThread = std::thread([this] { Execute(); });
}

void THidThread::GoAway()
{
    FChannel->RequestAbort();
}

void THidThread::Execute()
{
    if (FDevicePath.isEmpty())
        return;
    const auto handle = FPlatform->OpenShared(FDevicePath);
    if (!handle)
        return;
    // The reader waits for the next report while the GUI thread handles the last one, but
    // reads it only after that handler has run: reports are delivered one at a time, in order.
    THidReport report{};
    while (handle->WaitForInput(FChannel->Wake()) && FChannel->WaitUntilTaken()) {
        switch (handle->Read(report)) {
        case HidReadOutcome::NotReady:
            break;
        case HidReadOutcome::Failed:
            FChannel->ReportReadFailed();
            return;
        case HidReadOutcome::Report:
            if (!FChannel->HandOff(report))
                return;
            break;
        }
    }
}

} // namespace qzr
