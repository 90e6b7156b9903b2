#pragma once

#include <chrono>
#include <cstdint>
#include <span>

#include "sim/bus/DeviceDescriptor.h"

// The interface between the virtual HID bus and the model of one device (a
// cradle's interface chip). The bus owns the sockets and the timing; the model
// owns the device's behaviour. All calls happen on the bus's event-loop thread.
namespace sim {

using Clock = std::chrono::steady_clock;
using TimePoint = Clock::time_point;

// What a model may ask of the bus that serves it, from inside its callbacks.
class DeviceHost {
public:
    // Sends one input report: the report ID followed by exactly report_size
    // data bytes. Every open connection gets its own copy; a connection whose
    // socket buffer is full loses this report. With USB pacing, reports that
    // come faster than one per frame wait in a bounded queue for their frame;
    // when that queue is full the report is lost. A report of the wrong length
    // throws std::invalid_argument. While the device is unplugged reports go
    // nowhere.
    virtual void sendInputReport(std::span<const std::uint8_t> report) = 0;

    // True when a report sent now would reach a reader without waiting behind
    // others: the USB frame is free, and some open connection has (almost)
    // nothing queued or no connection is open at all. Models that produce
    // reports as fast as they are taken use this to hold back instead of
    // filling the clients' buffers with reports that would be lost.
    virtual bool readyForInputReport() const = 0;

    // Leaves the bus and comes back, as a USB device that re-enumerates (for
    // example after a chip reset): the device's socket is removed and every
    // connection closed at once, then the descriptor removed; after `absence`
    // the device is plugged in again under the same name, with no connections.
    virtual void reenumerate(std::chrono::milliseconds absence) = 0;

    // The descriptor the device shows from the next time it is plugged in (a
    // chip whose USB identity was rewritten shows it after its restart).
    virtual void setDescriptor(const DeviceDescriptor& descriptor) = 0;

protected:
    ~DeviceHost() = default;
};

// The behaviour of one device. The bus calls, on its own thread:
// - onOutputReport for every output report a client wrote (report ID followed
//   by report_size data bytes; with USB pacing at most one per frame), with
//   the time it reaches the device;
// - onTick at (or soon after) the time nextTick() returned, and possibly more
//   often; a model must look at `now` rather than count calls;
// - onPlugged when the device appears on the bus or leaves it (the model keeps
//   being ticked while unplugged, as a battery-powered unit keeps its clock).
class DeviceModel {
public:
    virtual ~DeviceModel() = default;

    virtual void onOutputReport(std::span<const std::uint8_t> report, TimePoint now,
                                DeviceHost& host) = 0;
    virtual void onTick(TimePoint now, DeviceHost& host) = 0;

    // The time the model next needs onTick; TimePoint::max() when only an
    // output report can give it something to do. A time at or before the
    // current one asks for a tick on every turn of the event loop (as fast as
    // the bus goes; once a millisecond while no client has the device open),
    // which suits models producing reports as fast as they are taken (see
    // DeviceHost::readyForInputReport).
    virtual TimePoint nextTick() const = 0;

    virtual void onPlugged(bool plugged, DeviceHost& host)
    {
        (void)plugged;
        (void)host;
    }
};

} // namespace sim
