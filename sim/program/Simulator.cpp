#include "sim/program/Simulator.h"

#include <map>
#include <stdexcept>

#include "sim/bus/BusThread.h"
#include "sim/bus/VirtualHidBus.h"
#include "sim/hidcradle/HidCradle.h"
#include "sim/unit/DemoRecording.h"

namespace sim {
namespace {

// 2024-03-12 08:00:00, counted in seconds from 2000-01-01 00:00:00.
constexpr std::int32_t DemoRecordingStart = 763545600;

struct Cradle {
    CradleKind kind = CradleKind::Hid;
    std::unique_ptr<HidCradle> hid;
    bool unitSilent = false;

    DeviceModel& model() { return *hid; }
    Zt46Unit* unit() const { return hid->unit(); }
    LinkFaults& faults() { return hid->faults(); }
};

} // namespace

SimulatorOptions SimulatorOptions::fast()
{
    SimulatorOptions options;
    options.reportInterval = {};
    options.byteRate = 0;
    options.usbFrame = {};
    options.spiRealTime = false;
    options.reenumerationTime = {};
    return options;
}

UnitSpec UnitSpec::demo(std::uint32_t serialNumber)
{
    UnitSpec spec;
    spec.identity = UnitIdentity{serialNumber, 1, 0x14, 0};
    spec.recording = temperatureDayRecording(DemoRecordingStart);
    return spec;
}

struct Simulator::State {
    State(std::filesystem::path directory, SimulatorOptions simulatorOptions)
        : options(simulatorOptions), bus(std::move(directory)), thread(bus.loop())
    {}

    ~State()
    {
        thread.call([this] {
            for (const auto& name : bus.deviceNames()) {
                bus.removeDevice(name);
            }
            cradles.clear();
        });
        thread.stop();
    }

    Cradle& cradle(const std::string& name)
    {
        auto it = cradles.find(name);
        if (it == cradles.end()) {
            throw std::out_of_range("no cradle named " + name);
        }
        return it->second;
    }

    void addCradle(const std::string& name, Cradle cradle, DeviceDescriptor descriptor,
                   bool plugged)
    {
        if (cradles.contains(name)) {
            throw std::invalid_argument("there is already a cradle named " + name);
        }
        bus.addDevice(name, std::move(descriptor), cradle.model(), options.usbFrame);
        auto& added = cradles.emplace(name, std::move(cradle)).first->second;
        if (plugged) {
            try {
                bus.plug(name);
            } catch (...) {
                bus.removeDevice(name);
                cradles.erase(name);
                throw;
            }
        }
        (void)added;
    }

    SimulatorOptions options;
    VirtualHidBus bus;
    std::map<std::string, Cradle> cradles;
    BusThread thread;
};

Simulator::Simulator(std::filesystem::path busDirectory, SimulatorOptions options)
    : state_(std::make_unique<State>(std::move(busDirectory), options))
{}

Simulator::~Simulator() = default;

const std::filesystem::path& Simulator::busDirectory() const
{
    return state_->bus.directory();
}

const SimulatorOptions& Simulator::options() const
{
    return state_->options;
}

std::filesystem::path Simulator::devicePath(const std::string& cradle) const
{
    return busDirectory() / (cradle + ".sock");
}

void Simulator::addHidCradle(const std::string& name, bool plugged, const std::string& usbSerial)
{
    state_->thread.call([&] {
        Cradle cradle;
        cradle.kind = CradleKind::Hid;
        cradle.hid = std::make_unique<HidCradle>(
            HidCradleTiming{state_->options.reportInterval, state_->options.byteRate});
        state_->addCradle(name, std::move(cradle),
                          HidCradle::descriptor(usbSerial.empty() ? "HC-" + name : usbSerial),
                          plugged);
    });
}

void Simulator::removeCradle(const std::string& name)
{
    state_->thread.call([&] {
        state_->cradle(name);
        state_->bus.removeDevice(name);
        state_->cradles.erase(name);
    });
}

void Simulator::plug(const std::string& cradle)
{
    state_->thread.call([&] {
        state_->cradle(cradle);
        state_->bus.plug(cradle);
    });
}

void Simulator::unplug(const std::string& cradle)
{
    state_->thread.call([&] {
        state_->cradle(cradle);
        state_->bus.unplug(cradle);
    });
}

void Simulator::placeUnit(const std::string& cradle, const UnitSpec& spec)
{
    state_->thread.call([&] {
        Cradle& target = state_->cradle(cradle);
        if (target.unit()) {
            throw std::logic_error("a unit is already on cradle " + cradle);
        }
        auto unit = std::make_unique<Zt46Unit>(spec.identity);
        if (spec.recording) {
            unit->loadLoggerRecording(*spec.recording);
        }
        target.hid->placeUnit(std::move(unit));
        target.unitSilent = false;
    });
}

void Simulator::removeUnit(const std::string& cradle)
{
    state_->thread.call([&] {
        Cradle& target = state_->cradle(cradle);
        target.hid->removeUnit();
        target.unitSilent = false;
    });
}

void Simulator::setCorruptionRate(const std::string& cradle, double probability)
{
    state_->thread.call([&] { state_->cradle(cradle).faults().setCorruptionRate(probability); });
}

void Simulator::setDropRate(const std::string& cradle, double probability)
{
    state_->thread.call([&] { state_->cradle(cradle).faults().setDropRate(probability); });
}

void Simulator::setUnitSilent(const std::string& cradle, bool silent)
{
    state_->thread.call([&] {
        Cradle& target = state_->cradle(cradle);
        if (!target.unit()) {
            throw std::logic_error("no unit on cradle " + cradle);
        }
        target.unit()->setSilent(silent);
        target.unitSilent = silent;
    });
}

void Simulator::setCradleSilent(const std::string& cradle, bool silent)
{
    state_->thread.call([&] { state_->cradle(cradle).hid->setSilent(silent); });
}

void Simulator::withUnit(const std::string& cradle, const std::function<void(Zt46Unit&)>& action)
{
    state_->thread.call([&] {
        Zt46Unit* unit = state_->cradle(cradle).unit();
        if (!unit) {
            throw std::logic_error("no unit on cradle " + cradle);
        }
        action(*unit);
    });
}

std::vector<CradleStatus> Simulator::cradles() const
{
    return state_->thread.call([&] {
        std::vector<CradleStatus> list;
        for (auto& [name, cradle] : state_->cradles) {
            const BusDevice& device = state_->bus.device(name);
            CradleStatus status{};
            status.name = name;
            status.kind = cradle.kind;
            status.plugged = device.plugged();
            status.reenumerating = device.reenumerating();
            status.openConnections = device.openConnectionCount();
            if (cradle.unit()) {
                status.unit = cradle.unit()->identity();
            }
            status.corruptionRate = cradle.faults().corruptionRate();
            status.dropRate = cradle.faults().dropRate();
            status.cradleSilent = cradle.hid->silent();
            status.unitSilent = cradle.unitSilent;
            list.push_back(status);
        }
        return list;
    });
}

} // namespace sim
