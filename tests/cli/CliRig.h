#pragma once

#include <protocol/LogData.h>
#include <sim/program/Simulator.h>

#include <QByteArray>
#include <QJsonDocument>
#include <QProcess>
#include <QStringList>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <poll.h>
#include <pty.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <memory>
#include <string>
#include <vector>

namespace qzr::cli::test {

// The result of one run of qzr-cli.
struct TCliRun {
    int ExitCode = -1;
    QByteArray Out;
    QByteArray Err;

    QJsonDocument Json() const { return QJsonDocument::fromJson(Out); }
    // Standard error's lines, for the one-line failure messages.
    QList<QByteArray> ErrLines() const { return Err.trimmed().split('\n'); }
};

// The real qzr-cli binary against the simulator on a virtual HID bus in a
// temporary directory, each run bounded in time, with system settings of its
// own (none, unless a test writes some) and files in a temporary directory.
class CliRig : public ::testing::Test {
protected:
    static constexpr int RunMilliseconds = 30000;

    void SetUp() override
    {
        ASSERT_TRUE(busDir.isValid());
        ASSERT_TRUE(filesDir.isValid());
        simulator = std::make_unique<sim::Simulator>(busDir.path().toStdString(), Timing());
    }

    // Answers as fast as possible, unless a test needs the cradles' real pace.
    virtual sim::SimulatorOptions Timing() const { return sim::SimulatorOptions::fast(); }

    void TearDown() override { simulator.reset(); }

    // Runs qzr-cli --bus BUS ARGUMENTS with `input` on its standard input.
    TCliRun Run(const QStringList& arguments, const QByteArray& input = {})
    {
        return RunPlain(QStringList{QStringLiteral("--bus"), busDir.path()} + arguments, input);
    }

    // Starts qzr-cli --bus BUS ARGUMENTS without waiting for it.
    void Start(QProcess& process, const QStringList& arguments)
    {
        Prepare(process);
        process.start(QStringLiteral(QZR_CLI_PATH),
                      QStringList{QStringLiteral("--bus"), busDir.path()} + arguments);
    }

    // Runs qzr-cli ARGUMENTS as given.
    TCliRun RunPlain(const QStringList& arguments, const QByteArray& input = {})
    {
        QProcess process;
        Prepare(process);
        process.start(QStringLiteral(QZR_CLI_PATH), arguments);
        TCliRun run;
        if (!process.waitForStarted(RunMilliseconds)) {
            ADD_FAILURE() << "qzr-cli did not start";
            return run;
        }
        process.write(input);
        process.closeWriteChannel();
        if (!process.waitForFinished(RunMilliseconds)) {
            process.kill();
            process.waitForFinished();
            ADD_FAILURE() << "qzr-cli " << arguments.join(' ').toStdString()
                          << " did not finish in time";
        }
        run.ExitCode = process.exitStatus() == QProcess::NormalExit ? process.exitCode() : -1;
        run.Out = process.readAllStandardOutput();
        run.Err = process.readAllStandardError();
        return run;
    }

    // Runs qzr-cli --bus BUS ARGUMENTS on a terminal of its own (standard
    // input, output and error), typing `typed` into it. What the terminal
    // showed, output and error together, is TCliRun::Out.
    TCliRun RunOnTerminal(const QStringList& arguments, const QByteArray& typed)
    {
        std::vector<std::string> words{QZR_CLI_PATH, "--bus", busDir.path().toStdString()};
        for (const QString& argument : arguments)
            words.push_back(argument.toStdString());
        std::vector<char*> argv;
        for (std::string& word : words)
            argv.push_back(word.data());
        argv.push_back(nullptr);
        const std::string configDirs = filesDir.filePath("system").toStdString();

        int terminal = -1;
        const pid_t child = ::forkpty(&terminal, nullptr, nullptr, nullptr);
        if (child == 0) {
            ::unsetenv("VHID_BUS");
            ::setenv("XDG_CONFIG_DIRS", configDirs.c_str(), 1);
            ::execv(argv[0], argv.data());
            ::_exit(127);
        }
        TCliRun run;
        if (child < 0) {
            ADD_FAILURE() << "forkpty failed";
            return run;
        }
        if (::write(terminal, typed.constData(), static_cast<size_t>(typed.size())) < 0)
            ADD_FAILURE() << "cannot type into the terminal";
        const auto deadline =
            std::chrono::steady_clock::now() + std::chrono::milliseconds(RunMilliseconds);
        for (;;) {
            pollfd ready{terminal, POLLIN, 0};
            if (std::chrono::steady_clock::now() > deadline) {
                ADD_FAILURE() << "qzr-cli did not finish in time on its terminal";
                ::kill(child, SIGKILL);
                break;
            }
            if (::poll(&ready, 1, 100) <= 0)
                continue;
            char buffer[4096];
            const ssize_t got = ::read(terminal, buffer, sizeof buffer);
            if (got <= 0)
                break;
            run.Out.append(buffer, got);
        }
        ::close(terminal);
        int status = 0;
        ::waitpid(child, &status, 0);
        run.ExitCode = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
        return run;
    }

    QString FilePath(const QString& name) const { return filesDir.filePath(name); }

    // The environment and directory of every run: the bus only through --bus,
    // system settings of the test's own.
    void Prepare(QProcess& process) const
    {
        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        environment.remove(QStringLiteral("VHID_BUS"));
        environment.insert(QStringLiteral("XDG_CONFIG_DIRS"), filesDir.filePath("system"));
        environment.insert(QStringLiteral("HOME"), filesDir.path());
        process.setProcessEnvironment(environment);
        process.setWorkingDirectory(filesDir.path());
    }

    QTemporaryDir busDir;
    QTemporaryDir filesDir;
    std::unique_ptr<sim::Simulator> simulator;
};

// The rig with one HID cradle "hid1" holding a demonstration unit.
class CliRigWithHidUnit : public CliRig {
public:
    static constexpr std::uint32_t Serial = 0x00A1B2C3;

protected:
    void SetUp() override
    {
        CliRig::SetUp();
        simulator->addHidCradle("hid1");
        simulator->placeUnit("hid1", sim::UnitSpec::demo(Serial));
    }

    // The unit's logger memory as it is now.
    TLogData UnitMemory()
    {
        TLogData memory{};
        simulator->withUnit("hid1", [&](sim::Zt46Unit& unit) { memory = unit.loggerMemory(); });
        return memory;
    }
};
} // namespace qzr::cli::test
