#include "sim/uhid/UhidDevice.h"

#include <fcntl.h>
#include <linux/uhid.h>
#include <sys/epoll.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <memory>
#include <stdexcept>
#include <system_error>

#include "sim/uhid/UhidEvents.h"

namespace sim {
namespace {

constexpr int MaxEventsPerWakeup = 64;
constexpr std::chrono::microseconds UnpacedFrame{1000};

} // namespace

template <typename Call> void UhidDevice::callModel(Call&& call)
{
    try {
        call();
    } catch (const std::exception& error) {
        std::fprintf(stderr, "%s: device model failed: %s\n", name_.c_str(), error.what());
    }
}

UhidDevice::UhidDevice(EventLoop& loop, std::filesystem::path uhidNode, std::string name,
                       DeviceDescriptor descriptor, DeviceModel& model,
                       std::chrono::microseconds usbFrame)
    : loop_(loop), uhidNode_(std::move(uhidNode)), name_(std::move(name)),
      descriptor_(std::move(descriptor)), model_(model), usbFrame_(usbFrame)
{
    if (!isValidDeviceName(name_)) {
        throw std::invalid_argument("invalid device name '" + name_ +
                                    "': use letters, digits, '_' and '-'");
    }
    validateDescriptor(descriptor_);
    if (usbFrame_.count() < 0) {
        throw std::invalid_argument("USB frame time must not be negative");
    }
}

UhidDevice::~UhidDevice()
{
    replugAt_.reset();
    if (plugged()) {
        destroy();
    }
}

void UhidDevice::plug()
{
    replugAt_.reset();
    if (plugged()) {
        return;
    }
    if (nextDescriptor_) {
        descriptor_ = std::move(*nextDescriptor_);
        nextDescriptor_.reset();
    }
    UniqueFd node(::open(uhidNode_.c_str(), O_RDWR | O_NONBLOCK | O_CLOEXEC));
    if (!node.valid()) {
        throw std::system_error(errno, std::generic_category(),
                                "cannot open " + uhidNode_.native() +
                                    " (is the uhid module loaded, and may this user write it?)");
    }
    const auto create = uhidCreateEvent(descriptor_, "qzr-sim/" + name_);
    if (::write(node.get(), create.get(), sizeof *create) != static_cast<ssize_t>(sizeof *create)) {
        throw std::system_error(errno, std::generic_category(),
                                uhidNode_.native() + " refused the device " + name_);
    }
    nodeWatch_ = loop_.watch(node.get(), EPOLLIN, [this](std::uint32_t) {
        readEvents();
        finishCallbacks(Clock::now());
    });
    node_ = std::move(node);
    started_ = false;
    opened_ = false;
    nextInputFrame_ = {};
    callModel([&] { model_.onPlugged(true, *this); });
    finishCallbacks(Clock::now());
}

void UhidDevice::unplug()
{
    replugAt_.reset();
    reenumerateRequest_.reset();
    if (!plugged()) {
        return;
    }
    destroy();
    callModel([&] { model_.onPlugged(false, *this); });
    finishCallbacks(Clock::now());
}

void UhidDevice::destroy()
{
    auto destroyEvent = std::make_unique<uhid_event>();
    std::memset(destroyEvent.get(), 0, sizeof *destroyEvent);
    destroyEvent->type = UHID_DESTROY;
    writeEvent(*destroyEvent);
    loop_.unwatch(nodeWatch_);
    node_.reset();
    started_ = false;
    opened_ = false;
}

void UhidDevice::readEvents()
{
    auto event = std::make_unique<uhid_event>();
    for (int count = 0; count < MaxEventsPerWakeup && plugged() && !reenumerateRequest_; ++count) {
        std::memset(event.get(), 0, sizeof *event);
        const ssize_t received = ::read(node_.get(), event.get(), sizeof *event);
        if (received < 0 && errno == EINTR) {
            continue;
        }
        if (received < 0 && (errno == EAGAIN || errno == EWOULDBLOCK)) {
            return;
        }
        if (received <= 0) {
            std::fprintf(stderr, "%s: reading %s failed: %s\n", name_.c_str(), uhidNode_.c_str(),
                         received < 0 ? std::strerror(errno) : "end of file");
            loop_.unwatch(nodeWatch_);
            node_.reset();
            return;
        }
        handleEvent(*event);
    }
}

void UhidDevice::handleEvent(const uhid_event& event)
{
    switch (event.type) {
    case UHID_START:
        started_ = true;
        break;
    case UHID_STOP:
        started_ = false;
        break;
    case UHID_OPEN:
        opened_ = true;
        break;
    case UHID_CLOSE:
        opened_ = false;
        break;
    case UHID_OUTPUT: {
        // uhid hands an output report on as the client wrote it: the report-ID
        // byte, then the data. A short report is filled up with zeros; one
        // longer than the device's reports is not taken.
        const std::size_t reportBytes = descriptor_.reportSize + 1;
        const std::size_t size = std::min<std::size_t>(event.u.output.size, UHID_DATA_MAX);
        if (event.u.output.rtype != UHID_OUTPUT_REPORT || size == 0 || size > reportBytes) {
            break;
        }
        outputReport_.assign(reportBytes, 0);
        std::copy_n(event.u.output.data, size, outputReport_.begin());
        callModel([&] { model_.onOutputReport(outputReport_, Clock::now(), *this); });
        break;
    }
    case UHID_GET_REPORT:
    case UHID_SET_REPORT:
        answerReportRequest(event);
        break;
    default:
        break;
    }
}

// The cradles' chips have no feature reports: every request is refused, so
// that the asking client is not left waiting for the kernel's time-out.
void UhidDevice::answerReportRequest(const uhid_event& request)
{
    auto answer = std::make_unique<uhid_event>();
    std::memset(answer.get(), 0, sizeof *answer);
    if (request.type == UHID_GET_REPORT) {
        answer->type = UHID_GET_REPORT_REPLY;
        answer->u.get_report_reply.id = request.u.get_report.id;
        answer->u.get_report_reply.err = EIO;
    } else {
        answer->type = UHID_SET_REPORT_REPLY;
        answer->u.set_report_reply.id = request.u.set_report.id;
        answer->u.set_report_reply.err = EIO;
    }
    writeEvent(*answer);
}

bool UhidDevice::writeEvent(const uhid_event& event)
{
    for (;;) {
        const ssize_t written = ::write(node_.get(), &event, sizeof event);
        if (written == static_cast<ssize_t>(sizeof event)) {
            return true;
        }
        if (written < 0 && errno == EINTR) {
            continue;
        }
        return false;
    }
}

void UhidDevice::sendInputReport(std::span<const std::uint8_t> report)
{
    if (report.size() != descriptor_.reportSize + 1) {
        throw std::invalid_argument("input report of " + std::to_string(report.size()) +
                                    " bytes, expected " +
                                    std::to_string(descriptor_.reportSize + 1));
    }
    // Until the kernel has started the device, and while it is away, reports
    // go nowhere.
    if (!plugged() || !started_ || reenumerateRequest_) {
        return;
    }
    nextInputFrame_ = Clock::now() + frame();
    writeEvent(*uhidInputEvent(report));
}

bool UhidDevice::readyForInputReport() const
{
    return !plugged() || reenumerateRequest_ || Clock::now() >= nextInputFrame_;
}

void UhidDevice::reenumerate(std::chrono::milliseconds absence)
{
    if (plugged()) {
        reenumerateRequest_ = std::max(absence, std::chrono::milliseconds{0});
    }
}

void UhidDevice::setDescriptor(const DeviceDescriptor& descriptor)
{
    validateDescriptor(descriptor);
    if (descriptor.reportSize != descriptor_.reportSize) {
        throw std::invalid_argument("a device cannot change its report size");
    }
    nextDescriptor_ = descriptor;
}

void UhidDevice::finishCallbacks(TimePoint now)
{
    if (reenumerateRequest_) {
        const std::chrono::milliseconds absence = *reenumerateRequest_;
        reenumerateRequest_.reset();
        destroy();
        callModel([&] { model_.onPlugged(false, *this); });
        replugAt_ = now + absence;
    }
}

std::chrono::microseconds UhidDevice::frame() const
{
    return usbFrame_.count() > 0 ? usbFrame_ : UnpacedFrame;
}

TimePoint UhidDevice::nextModelTick() const
{
    const TimePoint next = model_.nextTick();
    return next <= lastTick_ ? lastTick_ + frame() : next;
}

TimePoint UhidDevice::runDue(TimePoint now)
{
    if (replugAt_ && now >= *replugAt_) {
        try {
            plug();
        } catch (const std::exception& error) {
            std::fprintf(stderr, "%s: could not come back: %s\n", name_.c_str(), error.what());
        }
    }
    if (nextModelTick() <= now) {
        lastTick_ = now;
        callModel([&] { model_.onTick(now, *this); });
        finishCallbacks(now);
    }
    TimePoint next = nextModelTick();
    if (replugAt_) {
        next = std::min(next, *replugAt_);
    }
    return next;
}

} // namespace sim
