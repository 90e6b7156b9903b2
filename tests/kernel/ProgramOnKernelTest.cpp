// QZR against the kernel's own devices: the main window as the program puts it
// together, and the program itself as a process.
#include "KernelGuest.h"
#include "app/MainForm.h"
#include "cradle/CradleForm.h"
#include "cradle/VexaBridge.h"

#include <catalogue/PersonalityData.h>
#include <translation/Translator.h>

#include <QCoreApplication>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <gtest/gtest.h>

#include <iostream>

namespace qzr::kernel {
namespace {

QString Caption(std::uint32_t Serial)
{
    return QStringLiteral("#%1").arg(Serial, 8, 16, QLatin1Char('0')).toUpper();
}

bool ShowsUnit(TInterfaceChip Chip, std::uint32_t Serial)
{
    for (const TCradleForm* window : TMainForm::CradleForms())
        if (window->Connection.InterfaceChip() == Chip && window->Connection.Connected() &&
            window->windowTitle() == Caption(Serial) &&
            window->Connection.Session.SessionState == ssIdle)
            return true;
    return false;
}

constexpr int Placings = 3;
constexpr auto PlacingLimit = std::chrono::seconds(45);

// Waits until Reached holds. When it does not in time, the HID cradle's unit is lifted off and
// put back, as a user would do: the HID link does not repeat a greeting whose answer got lost,
// and under emulation the kernel's queue of 64 reports per reader overflows now and then. How
// often that was needed goes to the test's output.
bool ReachedPlacingAgain(const std::function<bool()>& Reached)
{
    for (int placing = 0; placing < Placings; ++placing) {
        if (WaitFor(Reached, PlacingLimit)) {
            if (placing > 0)
                std::cout << "note: the HID cradle's unit was placed again " << placing
                          << " time(s) before the program reached it\n";
            return true;
        }
        SimulatorCommand(std::string("take ") + HidCradleName);
        WaitFor([] { return false; }, std::chrono::seconds(3));
        SimulatorCommand(std::string("place ") + HidCradleName + " 00A1B2C3");
    }
    return false;
}

TEST(ProgramOnKernel, TheMainWindowHoldsASessionWithTheUnitOnEachCradle)
{
    QTemporaryDir files;
    ASSERT_TRUE(files.isValid());
    const QString programDirectory = QCoreApplication::applicationDirPath() + '/';
    // The program's directory is read-only in the guest: the translator gets a copy.
    ASSERT_TRUE(QFile::copy(programDirectory + QStringLiteral("language.mdb"),
                            files.filePath(QStringLiteral("language.mdb"))));
    QStringList errors;
    TPersonalityData personality(TPersonalityOptions{programDirectory, [](const QString&) {}});
    TTranslator translator(TTranslatorOptions{files.filePath(QStringLiteral("language.mdb")),
                                              [&](const QString& error) { errors.append(error); },
                                              [] {}});
    TVexaBridge bridge;
    auto mainForm = std::make_unique<TMainForm>(
        TMainFormEnvironment{personality,
                             translator,
                             bridge,
                             TCradleIdentifierSet{},
                             files.filePath(QStringLiteral("QZR.INI")),
                             {},
                             [&](const QString& error) { errors.append(error); }});

    const bool both = ReachedPlacingAgain([] {
        return ShowsUnit(ifCypress, HidUnitSerial) && ShowsUnit(ifSorvik, BridgeUnitSerial);
    });
    QStringList captions;
    for (const TCradleForm* window : TMainForm::CradleForms())
        captions.append(window->windowTitle());
    EXPECT_TRUE(both) << "control windows: " << captions.join(", ").toStdString();
    EXPECT_TRUE(errors.isEmpty()) << errors.join('\n').toStdString();
}

// The program as a user starts it, with its diagnostic trace on: each unit
// identifies itself, confirms its session and sends its setup image.
TEST(ProgramOnKernel, TheProgramReadsTheSetupImageOfBothUnits)
{
    QProcess program;
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.remove(QStringLiteral("VHID_BUS"));
    environment.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
    environment.insert(QStringLiteral("QT_LOGGING_RULES"), QStringLiteral("qzr.*.debug=true"));
    program.setProcessEnvironment(environment);
    program.setProcessChannelMode(QProcess::MergedChannels);
    program.start(QStringLiteral(QZR_PROGRAM), {});
    ASSERT_TRUE(program.waitForStarted(30000)) << program.errorString().toStdString();

    QByteArray trace;
    const bool bothRead = ReachedPlacingAgain([&] {
        trace += program.readAll();
        return trace.count("Received message with ID $20.") >= 2;
    });
    program.terminate();
    if (!program.waitForFinished(20000)) {
        program.kill();
        program.waitForFinished(20000);
    }
    EXPECT_TRUE(bothRead) << trace.right(4000).toStdString();
}

} // namespace
} // namespace qzr::kernel
