#pragma once

#include "tests/support/WaitFor.h"

#include <QCoreApplication>
#include <QEvent>
#include <QEventLoop>
#include <QTimer>

#include <chrono>

namespace qzr::test {

// Runs whatever is ready for the GUI thread now, without waiting for more.
inline void ProcessReadyEvents()
{
    for (int i = 0; i < 3; ++i)
        QCoreApplication::processEvents();
}

// Runs the GUI thread's event loop until `condition` holds or `limit` has
// passed; whether it held. For results that other threads or processes
// deliver through the event loop.
template <typename Condition>
bool WaitForEvents(Condition&& condition, std::chrono::milliseconds limit = DefaultWaitLimit)
{
    return WaitFor(condition, limit, [] {
        // Runs the events of the next millisecond as they come, then the
        // deferred deletions they left.
        QEventLoop pause;
        QTimer::singleShot(std::chrono::milliseconds(1), &pause, &QEventLoop::quit);
        pause.exec();
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    });
}

} // namespace qzr::test
