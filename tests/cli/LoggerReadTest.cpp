#include "CradleKinds.h"

#include <sim/unit/DemoRecording.h>

#include <QDir>
#include <QFile>
#include <QJsonObject>
#include <QThread>

namespace qzr::cli::test {
namespace {

QByteArray Bytes(const TLogData& image)
{
    return QByteArray(reinterpret_cast<const char*>(image.data()),
                      static_cast<qsizetype>(image.size()));
}

// Every record present: the memory read to its very end.
sim::LoggerRecording FullRecording()
{
    sim::LoggerRecording recording = sim::temperatureDayRecording(850000000);
    while (recording.records.size() < LogRecordCount)
        recording.records.push_back(recording.records[recording.records.size() % 1440]);
    return recording;
}

using LoggerReadPerCradleKind = PerCradleKind;

TEST_P(LoggerReadPerCradleKind, ReadsAFullLoggerIntoAFileThatHoldsTheUnitsMemoryByteForByte)
{
    simulator->withUnit("cradle",
                        [](sim::Zt46Unit& unit) { unit.loadLoggerRecording(FullRecording()); });
    const TCliRun run = Run({"--json", "logger", "read", "-o", FilePath("full.qzr")});
    ASSERT_EQ(run.ExitCode, 0) << run.Err.toStdString();
    EXPECT_TRUE(run.Err.isEmpty()) << "no progress bar without a terminal";
    EXPECT_EQ(run.Json().object(), (QJsonObject{{"file", FilePath("full.qzr")},
                                                {"bytes", int(LogDataSize)},
                                                {"records", int(LogRecordCount)}}));
    QFile file(FilePath("full.qzr"));
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    EXPECT_EQ(file.readAll(), Bytes(UnitMemory()));
}

INSTANTIATE_TEST_SUITE_P(Kinds, LoggerReadPerCradleKind, CradleKinds(), CradleKindName);

using LoggerReadTest = CliRigWithHidUnit;

TEST_F(LoggerReadTest, AnExistingFileIsKeptUnlessForced)
{
    QFile existing(FilePath("day.qzr"));
    ASSERT_TRUE(existing.open(QIODevice::WriteOnly));
    existing.write("keep me");
    existing.close();

    const TCliRun kept = Run({"logger", "read", "-o", FilePath("day.qzr")});
    EXPECT_EQ(kept.ExitCode, 1);
    EXPECT_EQ(kept.ErrLines().size(), 1);
    ASSERT_TRUE(existing.open(QIODevice::ReadOnly));
    EXPECT_EQ(existing.readAll(), "keep me");
    existing.close();

    const TCliRun forced = Run({"logger", "read", "-o", FilePath("day.qzr"), "--force"});
    ASSERT_EQ(forced.ExitCode, 0) << forced.Err.toStdString();
    EXPECT_TRUE(forced.Out.startsWith("12032 bytes read, 1440 records"))
        << forced.Out.toStdString();
    ASSERT_TRUE(existing.open(QIODevice::ReadOnly));
    EXPECT_EQ(existing.readAll(), Bytes(UnitMemory()));
}

// The cradle at its real pace, so that a readout takes long enough to be
// interrupted.
class InterruptedReadout : public CliRig {
protected:
    sim::SimulatorOptions Timing() const override
    {
        sim::SimulatorOptions options = sim::SimulatorOptions::fast();
        options.byteRate = 960;
        return options;
    }
};

TEST_F(InterruptedReadout, AUnitTakenOffMidwayEndsTheReadoutWithoutAFile)
{
    simulator->addHidCradle("hid1");
    simulator->placeUnit("hid1", sim::UnitSpec::demo(CliRigWithHidUnit::Serial));
    QProcess process;
    Start(process, {"logger", "read", "-o", FilePath("day.qzr")});
    ASSERT_TRUE(process.waitForStarted());
    // Wait until the readout is under way: the unit has been asked for blocks.
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(10);
    bool reading = false;
    while (!reading && std::chrono::steady_clock::now() < deadline) {
        QThread::msleep(100);
        simulator->withUnit("hid1",
                            [&](sim::Zt46Unit& unit) { reading = unit.framesAccepted() > 6; });
    }
    ASSERT_TRUE(reading);
    simulator->removeUnit("hid1");
    ASSERT_TRUE(process.waitForFinished(RunMilliseconds));
    EXPECT_TRUE(process.exitCode() == 1 || process.exitCode() == 3) << process.exitCode();
    EXPECT_EQ(process.readAllStandardError().trimmed().count('\n'), 0);
    EXPECT_EQ(QDir(filesDir.path()).entryList(QDir::Files), QStringList{});
}

} // namespace
} // namespace qzr::cli::test
