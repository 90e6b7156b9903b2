#pragma once

#include <sim/program/Simulator.h>

#include <QByteArray>
#include <QJsonDocument>
#include <QProcess>
#include <QStringList>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <memory>

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
        simulator = std::make_unique<sim::Simulator>(busDir.path().toStdString(),
                                                     sim::SimulatorOptions::fast());
    }

    void TearDown() override { simulator.reset(); }

    // Runs qzr-cli --bus BUS ARGUMENTS with `input` on its standard input.
    TCliRun Run(const QStringList& arguments, const QByteArray& input = {})
    {
        return RunPlain(QStringList{QStringLiteral("--bus"), busDir.path()} + arguments, input);
    }

    // Runs qzr-cli ARGUMENTS as given.
    TCliRun RunPlain(const QStringList& arguments, const QByteArray& input = {})
    {
        QProcess process;
        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        environment.remove(QStringLiteral("VHID_BUS"));
        environment.insert(QStringLiteral("XDG_CONFIG_DIRS"), filesDir.filePath("system"));
        environment.insert(QStringLiteral("HOME"), filesDir.path());
        process.setProcessEnvironment(environment);
        process.setWorkingDirectory(filesDir.path());
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

    QString FilePath(const QString& name) const { return filesDir.filePath(name); }

    QTemporaryDir busDir;
    QTemporaryDir filesDir;
    std::unique_ptr<sim::Simulator> simulator;
};

} // namespace qzr::cli::test
