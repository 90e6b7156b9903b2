// Measures `qzr-cli logger read` of a full logger (3518 records, 28160 bytes)
// through the HID cradle at its real pace, beside the link's own limit: the
// time the memory's bytes alone take on the cradle's serial line to the unit.

#include "FigureLine.h"

#include <sim/program/Simulator.h>
#include <sim/unit/DemoRecording.h>

#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>

#include <cstdio>
#include <cstdlib>

namespace {

constexpr std::uint32_t Serial = 0x00A1B2C3;

[[noreturn]] void Fail(const char* why)
{
    std::fprintf(stderr, "%s\n", why);
    std::exit(1);
}

sim::LoggerRecording FullRecording()
{
    sim::LoggerRecording recording = sim::temperatureDayRecording(850000000);
    const std::size_t day = recording.records.size();
    while (recording.records.size() < qzr::LogRecordCount)
        recording.records.push_back(recording.records[recording.records.size() % day]);
    return recording;
}

} // namespace

int main(int argc, char** argv)
{
    QCoreApplication application(argc, argv);
    QTemporaryDir bus;
    QTemporaryDir files;
    if (!bus.isValid() || !files.isValid())
        Fail("cannot make the temporary directories");
    const sim::SimulatorOptions pace;
    sim::Simulator simulator(bus.path().toStdString(), pace);
    simulator.addHidCradle("hid1");
    simulator.placeUnit("hid1", sim::UnitSpec::demo(Serial));
    simulator.withUnit("hid1",
                       [](sim::Zt46Unit& unit) { unit.loadLoggerRecording(FullRecording()); });

    QProcess cli;
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert(QStringLiteral("VHID_BUS"), bus.path());
    cli.setProcessEnvironment(environment);
    cli.setProgram(
        QDir(QCoreApplication::applicationDirPath()).filePath(QStringLiteral("qzr-cli")));
    cli.setArguments({QStringLiteral("logger"), QStringLiteral("read"), QStringLiteral("-o"),
                      files.filePath(QStringLiteral("full.qzr"))});
    QElapsedTimer clock;
    clock.start();
    cli.start();
    if (!cli.waitForFinished(300000) || cli.exitCode() != 0)
        Fail("the readout failed");
    const double seconds = static_cast<double>(clock.nsecsElapsed()) / 1e9;
    if (QFile(files.filePath(QStringLiteral("full.qzr"))).size() !=
        static_cast<qint64>(qzr::LogDataSize))
        Fail("the file does not hold the whole memory");

    const double limit = static_cast<double>(qzr::LogDataSize) / pace.byteRate;
    std::printf("qzr-cli logger read of a full logger (%zu bytes) through the HID cradle:\n",
                qzr::LogDataSize);
    std::printf("  the memory's bytes at %u bytes/s   %6.1f s (the link's limit)\n", pace.byteRate,
                limit);
    std::printf("  start to exit, file written        %6.1f s (%.0f %% of the limit's rate)\n",
                seconds, 100.0 * limit / seconds);
    qzr::bench::PrintFigure("qzr-cli full logger read, HID cradle, beside the serial byte limit",
                            seconds, limit, "s");
    return 0;
}
