#pragma once

#include <QCoreApplication>
#include <QtCore/qtestsupport_core.h>

#include <chrono>
#include <functional>

namespace qzr::test {

// Runs the GUI thread's event loop until Condition holds or the deadline passes; whether it
// holds. For results that other threads or processes deliver.
inline bool WaitFor(const std::function<bool()>& Condition,
                    std::chrono::milliseconds Deadline = std::chrono::seconds(10))
{
    return QTest::qWaitFor(Condition, int(Deadline.count()));
}

// Runs whatever is ready for the GUI thread now, without waiting for more.
inline void ProcessReadyEvents()
{
    for (int i = 0; i < 3; ++i)
        QCoreApplication::processEvents();
}

} // namespace qzr::test
