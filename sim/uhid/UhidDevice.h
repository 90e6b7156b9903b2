#pragma once

#include <chrono>
#include <filesystem>
#include <optional>
#include <string>
#include <vector>

#include "sim/bus/DeviceDescriptor.h"
#include "sim/bus/DeviceModel.h"
#include "sim/bus/EventLoop.h"
#include "sim/bus/UniqueFd.h"

struct uhid_event;

namespace sim {

// One simulated device as a kernel HID device: plugging it opens the uhid node
// and creates the device there (the kernel then serves it as /dev/hidrawN,
// with its sysfs entries and udev events); unplugging destroys it. Output
// reports that clients write reach the model with their report-ID byte in
// front, as uhid hands them on; the model's input reports go to the kernel
// without it, since the device declares no report IDs. Lives on the loop
// thread.
//
// The kernel queues input reports for each reader and takes them at once, so
// USB pacing here only keeps a model that produces reports "as fast as they
// are taken" to one report per frame (1 ms when pacing is off).
class UhidDevice final : private DeviceHost {
public:
    UhidDevice(EventLoop& loop, std::filesystem::path uhidNode, std::string name,
               DeviceDescriptor descriptor, DeviceModel& model, std::chrono::microseconds usbFrame);
    ~UhidDevice();
    UhidDevice(const UhidDevice&) = delete;
    UhidDevice& operator=(const UhidDevice&) = delete;

    const std::string& name() const { return name_; }
    const DeviceDescriptor& descriptor() const { return descriptor_; }

    // Creates the kernel device. Throws std::system_error with a message for
    // the user when the uhid node cannot be opened or refuses the device.
    // Plugging a plugged device does nothing.
    void plug();
    // Destroys the kernel device; cancels a pending return after
    // re-enumeration.
    void unplug();
    bool plugged() const { return node_.valid(); }
    bool reenumerating() const { return replugAt_.has_value(); }
    // The kernel reports whether any client has the device open, not how many.
    bool opened() const { return opened_; }

    // Runs what is due at `now` and returns when the device next needs it.
    TimePoint runDue(TimePoint now);

private:
    void sendInputReport(std::span<const std::uint8_t> report) override;
    bool readyForInputReport() const override;
    void reenumerate(std::chrono::milliseconds absence) override;
    void setDescriptor(const DeviceDescriptor& descriptor) override;

    void destroy();
    void readEvents();
    void handleEvent(const uhid_event& event);
    void answerReportRequest(const uhid_event& request);
    bool writeEvent(const uhid_event& event);
    void finishCallbacks(TimePoint now);
    std::chrono::microseconds frame() const;
    // A model that asks for a tick at once is ticked once per frame.
    TimePoint nextModelTick() const;

    template <typename Call> void callModel(Call&& call);

    EventLoop& loop_;
    std::filesystem::path uhidNode_;
    std::string name_;
    DeviceDescriptor descriptor_;
    std::optional<DeviceDescriptor> nextDescriptor_;
    DeviceModel& model_;
    std::chrono::microseconds usbFrame_;

    UniqueFd node_;
    std::uint64_t nodeWatch_ = 0;
    bool started_ = false;
    bool opened_ = false;
    std::vector<std::uint8_t> outputReport_;
    TimePoint nextInputFrame_{};
    TimePoint lastTick_{};
    std::optional<std::chrono::milliseconds> reenumerateRequest_;
    std::optional<TimePoint> replugAt_;
};

} // namespace sim
