#include "hid/HidGuiThreadQueue.h"

#include <QCoreApplication>
#include <QPointer>
#include <QSocketNotifier>

namespace qzr {

std::shared_ptr<HidGuiThreadQueue> HidGuiThreadQueue::Instance()
{
    // The notifier belongs to the application object and goes with it; it keeps the queue alive
    // through its connection.
    static QPointer<QSocketNotifier> notifier;
    static std::weak_ptr<HidGuiThreadQueue> current;
    if (notifier.isNull()) {
        std::shared_ptr<HidGuiThreadQueue> queue(new HidGuiThreadQueue);
        notifier = new QSocketNotifier(queue->FPending.Descriptor(), QSocketNotifier::Read,
                                       QCoreApplication::instance());
        QObject::connect(notifier, &QSocketNotifier::activated, notifier,
                         [queue] { queue->RunPending(); });
        current = queue;
    }
    return current.lock();
}

void HidGuiThreadQueue::Post(std::function<void()> Job)
{
    {
        std::lock_guard lock(FMutex);
        FJobs.push_back(std::move(Job));
    }
    FPending.Raise();
}

void HidGuiThreadQueue::RunPending()
{
    FPending.Clear();
    for (;;) {
        std::function<void()> job;
        {
            std::lock_guard lock(FMutex);
            if (FJobs.empty())
                return;
            job = std::move(FJobs.front());
            FJobs.pop_front();
        }
        job();
    }
}

} // namespace qzr
