#pragma once

#include "hid/HidData.h"

#include <QObject>
#include <QString>
#include <functional>
#include <memory>
#include <thread>

namespace qzr {

class HidPlatform;

// The reader of a connected device: a thread that opens the device a second time, reads one
// input report after another and hands each one to the GUI thread, waiting until OnHidData has
// run there before it reads the next. The device that starts it owns it.
class THidThread : public QObject {
    Q_OBJECT
public:
    explicit THidThread(std::shared_ptr<HidPlatform> Platform);
    // Tells the reader to go away and waits for its thread to end, which it does at once.
    ~THidThread() override;

    // Starts reading on a thread of its own.
    void Start();

    // Run on the GUI thread for each report, Sender = this reader. Set before the reader starts.
    THidDataEvent OnHidData;
    // Run on the GUI thread once, when the reader ended because a read failed (the device was
    // pulled out). Set before the reader starts.
    std::function<void(THidThread* Sender)> OnReadFailed;

    QString DevicePath() const { return FDevicePath; }
    // Set before the reader starts.
    void SetDevicePath(const QString& DevicePath) { FDevicePath = DevicePath; }

    // On the GUI thread: asks the reader to stop, without waiting for it. A reader waiting for
    // input or for the GUI thread to take a report wakes at once, and from now on nothing of
    // this reader reaches OnHidData or OnReadFailed, not even a report already read.
    void GoAway();

private:
    class Channel;

    // The read loop, on the reader's thread.
    void Execute();

    std::shared_ptr<HidPlatform> FPlatform;
    std::shared_ptr<Channel> FChannel;
    QString FDevicePath;
    std::thread FThread;
};

} // namespace qzr
