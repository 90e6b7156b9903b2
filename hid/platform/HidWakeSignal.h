#pragma once

#include "hid/platform/FileDescriptor.h"

namespace qzr {

// A flag that one thread raises and another thread can wait for together with a device's input,
// so that a thread blocked on a device wakes at once when it is told to stop.
class HidWakeSignal {
public:
    enum class Wait { Readable, Woken, Failed };

    HidWakeSignal();

    void Raise() const;
    void Clear() const;
    int Descriptor() const { return FEvent.Get(); }

    // Blocks until Descriptor has input (or has hung up: Readable then, the read tells), or
    // until the signal is raised. The signal wins when both happen.
    Wait WaitForInput(int InputDescriptor) const;

private:
    FileDescriptor FEvent;
};

} // namespace qzr
