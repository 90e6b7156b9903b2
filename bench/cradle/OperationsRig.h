#pragma once

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QTimer>

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <functional>
#include <memory>
#include <string>
#include <sys/wait.h>
#include <unistd.h>

#include "cradle/FrameCodec.h"
#include "cradle/HidLink.h"
#include "cradle/LinkEndpoint.h"
#include "cradle/SessionIdCounter.h"
#include "cradle/SessionProtocol.h"
#include "cradle/SpiLink.h"
#include "cradle/VexaBridge.h"
#include "cradle/operations/ControlsToSetupData.h"
#include "cradle/operations/UnitOperations.h"
#include "hid/HidDataPort.h"
#include "hid/HidDevice.h"
#include "hid/HidDevices.h"
#include "hid/platform/vhid/VirtualBusPlatform.h"
#include "protocol/CradleIdentifiers.h"
#include "sim/program/Simulator.h"

// The measuring rig of the unit operations: qzr-sim's cradles in a child
// process with USB and serial timing on (a HID cradle "hid" and a bridge
// cradle "bridge", each with a unit whose logger is full), and in this process
// the program's own link, session and operations, driven by the window's
// timers, one cradle at a time.
namespace qzr::bench {

[[noreturn]] inline void Fail(const std::string& why)
{
    std::fprintf(stderr, "%s\n", why.c_str());
    std::exit(1);
}

// A full logger: 3518 records of a slowly changing reading.
inline sim::LoggerRecording FullRecording()
{
    sim::LoggerRecording recording;
    recording.startTime = 763545600;
    recording.interval = 60;
    recording.decimals = 1;
    for (std::size_t k = 0; k < LogRecordCount; ++k) {
        const auto value = static_cast<std::int16_t>(200 + k % 37);
        recording.records.push_back({value, static_cast<std::int16_t>(value + 3), 60 * value});
    }
    return recording;
}

// The simulator in a child process, so that only the program's side runs here.
class TSimulatorProcess {
public:
    TSimulatorProcess()
    {
        char pattern[] = "/tmp/qzr-operations-bench-XXXXXX";
        if (::mkdtemp(pattern) == nullptr)
            Fail("cannot make the bus directory");
        FBus = pattern;
        int ready[2];
        int stop[2];
        if (::pipe(ready) != 0 || ::pipe(stop) != 0)
            Fail("cannot make pipes");
        FChild = ::fork();
        if (FChild == 0) {
            ::close(ready[0]);
            ::close(stop[1]);
            Serve(ready[1], stop[0]);
        }
        ::close(ready[1]);
        ::close(stop[0]);
        FStop = stop[1];
        char started = 0;
        if (::read(ready[0], &started, 1) != 1)
            Fail("the simulator did not start");
        ::close(ready[0]);
    }
    ~TSimulatorProcess()
    {
        ::close(FStop);
        ::waitpid(FChild, nullptr, 0);
        std::filesystem::remove_all(FBus);
    }
    TSimulatorProcess(const TSimulatorProcess&) = delete;
    TSimulatorProcess& operator=(const TSimulatorProcess&) = delete;

    const std::string& Bus() const { return FBus; }
    // The simulator's cradle serial rate, bytes a second.
    unsigned SerialByteRate() const { return sim::SimulatorOptions{}.byteRate; }

private:
    [[noreturn]] void Serve(int ready, int stop)
    {
        {
            sim::Simulator simulator(FBus);
            simulator.addHidCradle("hid");
            simulator.addBridgeCradle("bridge");
            sim::UnitSpec unit = sim::UnitSpec::demo(0x00A1B2C3);
            unit.recording = FullRecording();
            simulator.placeUnit("hid", unit);
            unit.identity.serialNumber = 0x00A1B2D7;
            simulator.placeUnit("bridge", unit);
            const char byte = 1;
            [[maybe_unused]] auto written = ::write(ready, &byte, 1);
            char ignored = 0;
            while (::read(stop, &ignored, 1) > 0) {
            }
        }
        std::_Exit(0);
    }

    std::string FBus;
    pid_t FChild = -1;
    int FStop = -1;
};

// The bridge calls, counting the bytes each poll clocks.
class TCountingBridge : public TVexaBridge {
public:
    std::int32_t XferSpiData(TBridgeHandle handle, const std::uint8_t* txData, std::uint8_t* rxData,
                             std::uint32_t* bitRate, std::uint32_t* txferSize,
                             std::uint32_t csMask) override
    {
        const std::int32_t result =
            TVexaBridge::XferSpiData(handle, txData, rxData, bitRate, txferSize, csMask);
        if (result == 0) {
            ClockedBytes += *txferSize;
            BitRate = *bitRate;
        }
        return result;
    }
    std::uint64_t ClockedBytes = 0;
    std::uint32_t BitRate = 0;
};

enum class TCradleKind { Hid, Bridge };

// One cradle as the program holds it: link, codec, session and operations,
// with the protocol, session and poll timers, and counters of the link bytes.
class TBenchCradle : public TLinkEndpoint,
                     public TSessionWindow,
                     public TSetupProgrammingReport,
                     public TLiveReadingsView,
                     public TCalibrationFieldsView,
                     public TDataLoggerView,
                     public TLogReadoutReport {
public:
    TBenchCradle(TCradleKind kind, const std::string& bus) : FKind(kind)
    {
        FProtocolTimer.setInterval(50);
        QObject::connect(&FProtocolTimer, &QTimer::timeout, [this] { Codec.ProtocolTimerTimer(); });
        FProtocolTimer.start();
        FSessionTimer.setInterval(100);
        QObject::connect(&FSessionTimer, &QTimer::timeout, [this] { Session.SessionTimerTimer(); });
        FPollTimer.setInterval(10);
        QObject::connect(&FPollTimer, &QTimer::timeout, [this] { FSpi.Poll(); });

        if (kind == TCradleKind::Hid) {
            FDevices = std::make_unique<THidDevices>(
                nullptr, std::make_shared<VirtualBusPlatform>(QString::fromStdString(bus)));
            FDevices->Loaded();
            FDevice.SetHidDevices(FDevices.get());
            FIn.SetHidDevice(&FDevice);
            FClock.start();
            FIn.OnHidData = [this](QObject*) {
                const THidData& report = FIn.AsHidData();
                const int count = report[0] & THidLink::UnitOnCradleBit
                                      ? report[0] & THidLink::LinkByteCountMask
                                      : 0;
                ReceivedBytes += count;
                const qint64 now = FClock.nsecsElapsed();
                if (count > 0 && FLastFrameBytesAt >= 0) {
                    FrameBytes += count;
                    FrameNanoseconds += now - FLastFrameBytesAt;
                }
                FHid.InputReport(report);
                if (count > 0)
                    FLastFrameBytesAt = ReceivingFrame() ? now : -1;
            };
            FOut.SetHidDevice(&FDevice);
            FOut.SetAcceptUSBData(false);
            FDevice.Connect(HidCradleIndex());
        } else {
            ::setenv("VHID_BUS", bus.c_str(), 1);
            FSpi.Connect();
        }
    }
    ~TBenchCradle() override
    {
        if (FKind == TCradleKind::Hid)
            FDevice.Disconnect();
        else
            FSpi.Disconnect();
    }

    // Runs the event loop until `done` holds; fails after `seconds`.
    void RunUntil(const std::function<bool()>& done, int seconds, const char* what)
    {
        QElapsedTimer waited;
        waited.start();
        while (!done()) {
            if (waited.elapsed() > seconds * 1000)
                Fail(std::string("timed out: ") + what);
            QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents, 5);
        }
    }

    void WaitForSession()
    {
        RunUntil([this] { return Session.SessionState == ssIdle; }, 30, "session start");
    }

    // Bytes that crossed between program and unit since the last reset.
    std::uint64_t CrossedBytes() const
    {
        return FKind == TCradleKind::Hid ? ReceivedBytes + SentBytes : Bridge.ClockedBytes;
    }
    // The serial byte rate the HID cradle delivered inside the unit's frames:
    // bytes per second between reports that carried bytes of one frame.
    double MeasuredSerialByteRate() const
    {
        return FrameNanoseconds > 0 ? double(FrameBytes) * 1e9 / double(FrameNanoseconds) : 0;
    }

    void ResetCounters()
    {
        FrameBytes = 0;
        FrameNanoseconds = 0;
        ReceivedBytes = SentBytes = 0;
        Bridge.ClockedBytes = 0;
    }

    TFrameCodec Codec;
    TSessionIdCounter SessionIds;
    TSessionProtocol Session{Codec, *this, SessionIds};
    TUnitOperations Operations{Session, *this, *this, *this, *this, *this};
    TSetupControls Controls;
    TCountingBridge Bridge;

    std::uint64_t ReceivedBytes = 0;
    std::uint64_t SentBytes = 0;
    bool Stored = false;
    bool ReadoutDone = false;
    TLogData Image{};

    // TLinkEndpoint
    bool OnCradle() const override { return Session.OnCradle; }
    void SetOnCradle(bool onCradle) override { Session.OnCradle = onCradle; }
    void ReceiveLinkByte(std::uint8_t byte) override { Session.ReceiveLinkByte(byte); }
    bool ReceivingFrame() const override
    {
        return (Codec.ProtocolState & (psData | psDataDLE)) != 0;
    }
    bool OutputPending() const override { return Codec.OutputPending(); }
    std::uint8_t NextOutputByte() override { return Codec.NextOutputByte(); }
    void SessionStarts() override { Session.SessionStarts(); }
    void SessionEnds() override { Session.SessionEnds(); }
    void UnitDetected() override { Session.UnitDetected(); }
    void UnitGone() override { Session.UnitGone(); }

    // TSessionWindow
    void SetAllowances() override {}
    void SetCaption() override {}
    void ShowUnitOnCradle(bool) override {}
    void SetProgress(int) override {}
    void ShowMessageCounts(std::uint32_t, std::uint32_t) override {}
    void SetSessionTimerActive(bool active) override
    {
        if (active)
            FSessionTimer.start();
        else
            FSessionTimer.stop();
    }
    void ClearSessionDisplays() override {}
    void EndRealtimeDisplay() override {}
    void SetupDataToControls() override { Controls = SetupControlsShowing(Session.SetupData); }

    // The operations' views and reports
    void ProgrammingFailed(std::uint16_t address) override
    {
        Fail("programming failed at " + SetupAddressText(address));
    }
    void ProgrammingStored(TNvmArea) override { Stored = true; }
    void SetRealtimeTimerActive(bool) override {}
    void ShowReadings(const TRealtimeReadings&) override {}
    void ClearReadings() override {}
    int AmplifierIndex() const override { return Controls.AmplifierIndex; }
    bool LinkOffsetChecked() const override { return false; }
    bool LinkFullScaleChecked() const override { return false; }
    std::int32_t Offset(int range) const override { return Controls.Offset[range]; }
    void SetOffset(int, std::int32_t) override {}
    void SetDivider(int, std::int32_t) override {}
    int DecimalDotIndex() const override { return Controls.DecimalDotIndex; }
    void SetLoggerTimerActive(bool) override {}
    void ShowLoggerStatus(const TLoggerStatusTexts&) override {}
    void ShowLogInterval(std::uint16_t) override {}
    void ShowLogDate(const QDate&) override {}
    void LoggerStarted() override {}
    void ReadoutComplete(const TLogData& image) override
    {
        Image = image;
        ReadoutDone = true;
    }

private:
    std::uint16_t HidCradleIndex() const
    {
        for (std::uint16_t i = 1; i <= FDevices->NumberOfHidDevices(); ++i)
            if (FDevices->GetProductId(i) == HidCradleProductId)
                return i;
        Fail("no HID cradle on the bus");
    }

    TCradleKind FKind;
    QElapsedTimer FClock;
    qint64 FLastFrameBytesAt = -1;
    std::uint64_t FrameBytes = 0;
    qint64 FrameNanoseconds = 0;
    QTimer FProtocolTimer;
    QTimer FSessionTimer;
    QTimer FPollTimer;
    std::unique_ptr<THidDevices> FDevices;
    THidDevice FDevice;
    THidDataPort FIn;
    THidDataPort FOut;
    THidLink FHid{*this, [this](const THidData& report) {
                      SentBytes += report[0];
                      FOut.SetAsHidData(report);
                      FOut.SendData();
                  }};
    TSpiLink FSpi{*this, Bridge,
                  [this](bool on) {
                      if (on)
                          FPollTimer.start();
                      else
                          FPollTimer.stop();
                  },
                  CradleVendorId, BridgeCradleProductId};
};

} // namespace qzr::bench
