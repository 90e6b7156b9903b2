#pragma once

#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QProcess>
#include <QStringList>
#include <QTemporaryDir>
#include <QThread>

#include <cstdio>
#include <cstdlib>
#include <unistd.h>

namespace qzr::bench {

// The demonstration set-up as run.sh makes it: qzr-sim serving a HID cradle
// and a bridge cradle, each with a unit, on a temporary virtual HID bus, the
// programs taken from the directory of this measuring program.
class TDemoRig {
public:
    TDemoRig()
    {
        if (!FBus.isValid())
            Fail("cannot make the bus directory");
        FSimulator.setProgram(ProgramPath("qzr-sim"));
        FSimulator.setArguments({QStringLiteral("--bus"), FBus.path()});
        FSimulator.setStandardOutputFile(QProcess::nullDevice());
        FSimulator.start();
        if (!FSimulator.waitForStarted())
            Fail("cannot start qzr-sim");
        QElapsedTimer waited;
        waited.start();
        while (!QFile::exists(FBus.filePath(QStringLiteral("hid1.sock"))) ||
               !QFile::exists(FBus.filePath(QStringLiteral("bridge1.sock")))) {
            if (waited.elapsed() > 10000)
                Fail("the simulator's cradles did not appear");
            QThread::msleep(20);
        }
    }

    ~TDemoRig()
    {
        FSimulator.terminate();
        FSimulator.waitForFinished(5000);
    }

    TDemoRig(const TDemoRig&) = delete;
    TDemoRig& operator=(const TDemoRig&) = delete;

    // The environment of a program that uses the simulated cradles.
    QProcessEnvironment ClientEnvironment() const
    {
        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        environment.insert(QStringLiteral("VHID_BUS"), FBus.path());
        if (!environment.contains(QStringLiteral("DISPLAY")) &&
            !environment.contains(QStringLiteral("WAYLAND_DISPLAY")))
            environment.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
        return environment;
    }

    qint64 SimulatorPid() const { return FSimulator.processId(); }

    static QString ProgramPath(const char* name)
    {
        return QDir(QCoreApplication::applicationDirPath()).filePath(QString::fromLatin1(name));
    }

    [[noreturn]] static void Fail(const char* why)
    {
        std::fprintf(stderr, "%s\n", why);
        std::exit(1);
    }

private:
    QTemporaryDir FBus;
    QProcess FSimulator;
};

// CPU time (user + system) a process has used so far, in seconds.
inline double CpuSeconds(qint64 pid)
{
    QFile stat(QStringLiteral("/proc/%1/stat").arg(pid));
    if (!stat.open(QIODevice::ReadOnly))
        return 0;
    const QByteArray line = stat.readAll();
    // Fields after the command name, which ends with the last ')'.
    const QList<QByteArray> fields = line.mid(line.lastIndexOf(')') + 2).split(' ');
    const double ticks = fields.value(11).toDouble() + fields.value(12).toDouble();
    return ticks / static_cast<double>(::sysconf(_SC_CLK_TCK));
}

} // namespace qzr::bench
