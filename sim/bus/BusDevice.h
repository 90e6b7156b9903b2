#pragma once

#include <chrono>
#include <cstdint>
#include <filesystem>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "sim/bus/DeviceDescriptor.h"
#include "sim/bus/DeviceModel.h"
#include "sim/bus/EventLoop.h"
#include "sim/bus/ReportQueue.h"
#include "sim/bus/UniqueFd.h"

namespace sim {

// One device of the virtual HID bus: its NAME.dev and NAME.sock entries, the
// connections of its clients with their open modes, USB frame pacing in both
// directions, and the model that gives it behaviour. Lives on the loop thread.
class BusDevice final : private DeviceHost {
public:
    // Output reports that arrive faster than one per frame wait here; when the
    // queue is full the device stops reading its clients, as a USB endpoint
    // answers NAK, and their writes wait.
    static constexpr std::size_t OutputQueueCapacity = 16;
    // Input reports produced faster than one per frame wait here; beyond it
    // they are lost.
    static constexpr std::size_t InputQueueCapacity = 64;
    // A connection with less than this queued counts as keeping up.
    static constexpr int KeepingUpQueueBytes = 8192;
    // Clients that may have the device open at once; a further open is
    // refused for another reason than sharing.
    static constexpr std::size_t MaxConnections = 64;
    // Connections beyond this, open or waiting for their open request, are
    // closed at once.
    static constexpr std::size_t MaxPendingConnections = 2 * MaxConnections;
    // A model that asks to be ticked on every turn of the loop is ticked at
    // this interval instead while no client has the device open.
    static constexpr std::chrono::milliseconds UnwatchedTickInterval{1};

    // `usbFrame` 0 turns pacing off. The model must outlive the device.
    BusDevice(EventLoop& loop, std::filesystem::path directory, std::string name,
              DeviceDescriptor descriptor, DeviceModel& model, std::chrono::microseconds usbFrame);
    ~BusDevice();
    BusDevice(const BusDevice&) = delete;
    BusDevice& operator=(const BusDevice&) = delete;

    const std::string& name() const { return name_; }
    const DeviceDescriptor& descriptor() const { return descriptor_; }
    std::filesystem::path socketPath() const;
    std::filesystem::path descriptorPath() const;

    // Creates NAME.dev (written aside and renamed into place), then binds and
    // listens on NAME.sock. Throws when the entries cannot be made or another
    // live server owns the name; a socket left behind by a dead server is
    // replaced. Plugging a plugged device does nothing.
    void plug();
    // Removes NAME.sock, closes every connection, removes NAME.dev; cancels a
    // pending return after re-enumeration.
    void unplug();
    bool plugged() const { return listener_.valid(); }
    bool reenumerating() const { return replugAt_.has_value(); }

    std::size_t openConnectionCount() const;

    // Runs what is due at `now` (model tick, paced reports, return after
    // re-enumeration) and returns when the device next needs it.
    TimePoint runDue(TimePoint now);

private:
    struct Connection {
        UniqueFd fd;
        std::uint64_t watchId = 0;
        enum class State { Opening, Open, Closed } state = State::Opening;
        bool exclusive = false;
    };

    void sendInputReport(std::span<const std::uint8_t> report) override;
    bool readyForInputReport() const override;
    void reenumerate(std::chrono::milliseconds absence) override;
    void setDescriptor(const DeviceDescriptor& descriptor) override;

    void removeEntries();
    void bindListener();
    void acceptConnections();
    void onConnectionEvent(Connection& connection, std::uint32_t events);
    void handleOpenRequest(Connection& connection);
    void readOutputReports(Connection& connection);
    void takeOutputReport(std::span<const std::uint8_t> report);
    void deliverOutputReport(std::span<const std::uint8_t> report, TimePoint now);
    void fanOut(std::span<const std::uint8_t> report);
    void closeConnection(Connection& connection);
    void closeAllConnections();
    void setReading(bool reading);
    void finishCallbacks(TimePoint now);
    TimePoint nextFrame(TimePoint now) const;
    TimePoint deadline() const;
    TimePoint nextModelTick() const;

    template <typename Call> void callModel(Call&& call);

    EventLoop& loop_;
    std::filesystem::path directory_;
    std::string name_;
    DeviceDescriptor descriptor_;
    std::optional<DeviceDescriptor> nextDescriptor_;
    DeviceModel& model_;
    std::chrono::microseconds usbFrame_;

    UniqueFd listener_;
    std::uint64_t listenerWatch_ = 0;
    std::vector<std::unique_ptr<Connection>> connections_;
    bool sweepNeeded_ = false;
    bool reading_ = true;

    ReportQueue outputQueue_;
    ReportQueue inputQueue_;
    TimePoint nextOutputFrame_{};
    TimePoint nextInputFrame_{};
    std::vector<std::uint8_t> receiveBuffer_;

    TimePoint lastTick_{};
    std::optional<std::chrono::milliseconds> reenumerateRequest_;
    std::optional<TimePoint> replugAt_;
};

} // namespace sim
