#include "sim/program/Simulator.h"

#include <cmath>
#include <cstdio>
#include <map>
#include <numbers>
#include <stdexcept>

#include "sim/bus/BusThread.h"
#include "sim/bus/VirtualHidBus.h"
#include "sim/hidcradle/HidCradle.h"
#include "sim/program/BridgeCradle.h"
#include "sim/unit/DemoRecording.h"

namespace sim {
namespace {

// 2024-03-12 08:00:00, counted in seconds from 2000-01-01 00:00:00.
constexpr std::int32_t DemoRecordingStart = 763545600;
constexpr std::size_t MaxBridgeSerialLength = 10;

// One cradle of either kind with what the simulator keeps about it.
class Cradle {
public:
    Cradle(std::unique_ptr<HidCradle> hid) : kind_(CradleKind::Hid), hid_(std::move(hid)) {}
    Cradle(std::unique_ptr<BridgeCradle> bridge)
        : kind_(CradleKind::Bridge), bridge_(std::move(bridge))
    {}

    CradleKind kind() const { return kind_; }
    DeviceModel& model() { return hid_ ? static_cast<DeviceModel&>(*hid_) : *bridge_; }
    Zt46Unit* unit() const { return hid_ ? hid_->unit() : bridge_->unit(); }

    void placeUnit(std::unique_ptr<Zt46Unit> unit)
    {
        hid_ ? hid_->placeUnit(std::move(unit)) : bridge_->placeUnit(std::move(unit));
        unitSilent_ = false;
    }
    void removeUnit()
    {
        hid_ ? hid_->removeUnit() : bridge_->removeUnit();
        unitSilent_ = false;
    }

    void setCorruptionRate(double probability)
    {
        if (hid_) {
            hid_->faults().setCorruptionRate(probability);
        } else {
            BridgeChipFaults faults = bridge_->faults();
            faults.corruptRate = checkedFaultRate(probability);
            bridge_->setFaults(faults);
        }
    }
    void setDropRate(double probability)
    {
        if (hid_) {
            hid_->faults().setDropRate(probability);
        } else {
            BridgeChipFaults faults = bridge_->faults();
            faults.dropRate = checkedFaultRate(probability);
            bridge_->setFaults(faults);
        }
    }
    void setCradleSilent(bool silent)
    {
        if (hid_) {
            hid_->setSilent(silent);
        } else {
            BridgeChipFaults faults = bridge_->faults();
            faults.silent = silent;
            bridge_->setFaults(faults);
        }
    }
    void setBusy(bool busy)
    {
        if (!bridge_) {
            throw std::logic_error("only a bridge cradle can answer busy");
        }
        BridgeChipFaults faults = bridge_->faults();
        faults.busyEveryChunk = busy;
        bridge_->setFaults(faults);
    }
    void setUnitSilent(bool silent)
    {
        unit()->setSilent(silent);
        unitSilent_ = silent;
    }

    void describe(CradleStatus& status) const
    {
        status.kind = kind_;
        if (unit()) {
            status.unit = unit()->identity();
        }
        status.unitSilent = unitSilent_;
        if (hid_) {
            status.corruptionRate = hid_->faults().corruptionRate();
            status.dropRate = hid_->faults().dropRate();
            status.cradleSilent = hid_->silent();
            status.busy = false;
        } else {
            status.corruptionRate = bridge_->faults().corruptRate;
            status.dropRate = bridge_->faults().dropRate;
            status.cradleSilent = bridge_->faults().silent;
            status.busy = bridge_->faults().busyEveryChunk;
        }
    }

private:
    CradleKind kind_;
    std::unique_ptr<HidCradle> hid_;
    std::unique_ptr<BridgeCradle> bridge_;
    bool unitSilent_ = false;
};

std::u16string ascii16(const std::string& text)
{
    std::u16string wide;
    for (char c : text) {
        if (static_cast<unsigned char>(c) > 0x7E || static_cast<unsigned char>(c) < 0x20) {
            throw std::invalid_argument("a bridge serial number is printable ASCII text");
        }
        wide += static_cast<char16_t>(c);
    }
    return wide;
}

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
    UnitSpec described;
    described.identity = UnitIdentity{serialNumber, 1, 0x14, 0};
    described.setup = temperatureProbeSetupImage();
    described.inputSignal = [](std::chrono::milliseconds unitTime) {
        // 1000 uV per degree: 21.0 degrees, half a degree up and down over ten minutes.
        const double cycle = 2.0 * std::numbers::pi * double(unitTime.count()) / 600000.0;
        return 21000.0 + 500.0 * std::sin(cycle);
    };
    described.recording = temperatureDayRecording(DemoRecordingStart);
    return described;
}

struct Simulator::State {
    State(std::unique_ptr<DeviceBus> servingBus, SimulatorOptions simulatorOptions)
        : options(simulatorOptions), bus(std::move(servingBus)), thread(bus->loop())
    {}

    ~State()
    {
        thread.call([this] {
            for (const auto& name : bus->deviceNames()) {
                bus->removeDevice(name);
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

    Zt46Unit& unitOn(const std::string& name)
    {
        Zt46Unit* unit = cradle(name).unit();
        if (!unit) {
            throw std::logic_error("no unit on cradle " + name);
        }
        return *unit;
    }

    void addCradle(const std::string& name, Cradle cradle, DeviceDescriptor descriptor,
                   bool plugged)
    {
        if (cradles.contains(name)) {
            throw std::invalid_argument("there is already a cradle named " + name);
        }
        auto& added = cradles.emplace(name, std::move(cradle)).first->second;
        try {
            bus->addDevice(name, std::move(descriptor), added.model(), options.usbFrame);
        } catch (...) {
            cradles.erase(name);
            throw;
        }
        if (plugged) {
            try {
                bus->plug(name);
            } catch (...) {
                bus->removeDevice(name);
                cradles.erase(name);
                throw;
            }
        }
    }

    std::string nextBridgeSerial()
    {
        char serial[16];
        std::snprintf(serial, sizeof serial, "VX%08u", ++bridgeSerials);
        return serial;
    }

    SimulatorOptions options;
    std::unique_ptr<DeviceBus> bus;
    std::map<std::string, Cradle> cradles;
    unsigned bridgeSerials = 0;
    BusThread thread;
};

Simulator::Simulator(std::filesystem::path busDirectory, SimulatorOptions options)
    : Simulator(std::make_unique<VirtualHidBus>(std::move(busDirectory)), options)
{}

Simulator::Simulator(std::unique_ptr<DeviceBus> bus, SimulatorOptions options)
    : state_(std::make_unique<State>(std::move(bus), options))
{}

Simulator::~Simulator() = default;

const std::filesystem::path& Simulator::busDirectory() const
{
    return state_->bus->directory();
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
        auto model = std::make_unique<HidCradle>(
            HidCradleTiming{state_->options.reportInterval, state_->options.byteRate});
        state_->addCradle(name, Cradle(std::move(model)),
                          HidCradle::descriptor(usbSerial.empty() ? "HC-" + name : usbSerial),
                          plugged);
    });
}

void Simulator::addBridgeCradle(const std::string& name, bool plugged, const std::string& usbSerial)
{
    state_->thread.call([&] {
        if (usbSerial.size() > MaxBridgeSerialLength) {
            throw std::invalid_argument("a bridge serial number has at most 10 characters");
        }
        BridgeChipNvram nvram;
        nvram.serialNumber = ascii16(usbSerial.empty() ? state_->nextBridgeSerial() : usbSerial);
        DeviceDescriptor descriptor = BridgeCradle::descriptor(nvram);
        auto model = std::make_unique<BridgeCradle>(
            BridgeCradleTiming{state_->options.spiRealTime, state_->options.reenumerationTime},
            std::move(nvram));
        state_->addCradle(name, Cradle(std::move(model)), std::move(descriptor), plugged);
    });
}

void Simulator::removeCradle(const std::string& name)
{
    state_->thread.call([&] {
        state_->cradle(name);
        state_->bus->removeDevice(name);
        state_->cradles.erase(name);
    });
}

void Simulator::plug(const std::string& cradle)
{
    state_->thread.call([&] {
        state_->cradle(cradle);
        state_->bus->plug(cradle);
    });
}

void Simulator::unplug(const std::string& cradle)
{
    state_->thread.call([&] {
        state_->cradle(cradle);
        state_->bus->unplug(cradle);
    });
}

void Simulator::placeUnit(const std::string& cradle, const UnitSpec& described)
{
    state_->thread.call([&] {
        Cradle& target = state_->cradle(cradle);
        if (target.unit()) {
            throw std::logic_error("a unit is already on cradle " + cradle);
        }
        auto unit = std::make_unique<Zt46Unit>(described.identity);
        if (described.setup) {
            unit->setStoredSetup(qzr::nvmUser, *described.setup);
            unit->setWorkingSetup(*described.setup);
        }
        if (described.inputSignal) {
            unit->setInputSignal(described.inputSignal);
        }
        if (described.recording) {
            unit->loadLoggerRecording(*described.recording);
        }
        target.placeUnit(std::move(unit));
    });
}

void Simulator::removeUnit(const std::string& cradle)
{
    state_->thread.call([&] { state_->cradle(cradle).removeUnit(); });
}

void Simulator::setCorruptionRate(const std::string& cradle, double probability)
{
    state_->thread.call([&] { state_->cradle(cradle).setCorruptionRate(probability); });
}

void Simulator::setDropRate(const std::string& cradle, double probability)
{
    state_->thread.call([&] { state_->cradle(cradle).setDropRate(probability); });
}

void Simulator::setUnitSilent(const std::string& cradle, bool silent)
{
    state_->thread.call([&] {
        state_->unitOn(cradle);
        state_->cradle(cradle).setUnitSilent(silent);
    });
}

void Simulator::setCradleSilent(const std::string& cradle, bool silent)
{
    state_->thread.call([&] { state_->cradle(cradle).setCradleSilent(silent); });
}

void Simulator::setBridgeBusy(const std::string& cradle, bool busy)
{
    state_->thread.call([&] { state_->cradle(cradle).setBusy(busy); });
}

void Simulator::withUnit(const std::string& cradle, const std::function<void(Zt46Unit&)>& action)
{
    state_->thread.call([&] { action(state_->unitOn(cradle)); });
}

std::vector<CradleStatus> Simulator::cradles() const
{
    return state_->thread.call([&] {
        std::vector<CradleStatus> list;
        for (auto& [name, cradle] : state_->cradles) {
            const DeviceStatus device = state_->bus->deviceStatus(name);
            CradleStatus status{};
            status.name = name;
            status.vendorId = device.descriptor.vendorId;
            status.productId = device.descriptor.productId;
            status.usbSerial = device.descriptor.serial;
            status.plugged = device.plugged;
            status.reenumerating = device.reenumerating;
            status.openConnections = device.openConnections;
            cradle.describe(status);
            list.push_back(status);
        }
        return list;
    });
}

} // namespace sim
