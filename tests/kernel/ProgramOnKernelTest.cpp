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

namespace qzr::kernel {
namespace {

QString Caption(std::uint32_t Serial)
{
    return QStringLiteral("#%1").arg(Serial, 8, 16, QLatin1Char('0')).toUpper();
}

bool ShowsUnit(TInterfaceChip Chip, std::uint32_t Serial)
{
    for (const TCradleForm* window : TMainForm::CradleForms())
        if (window->InterfaceChip() == Chip && window->Connected() &&
            window->windowTitle() == Caption(Serial) && window->Session.SessionState == ssIdle)
            return true;
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

    const bool both = WaitFor(
        [] { return ShowsUnit(ifCypress, HidUnitSerial) && ShowsUnit(ifSorvik, BridgeUnitSerial); },
        std::chrono::seconds(90));
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
    const bool bothRead = WaitFor(
        [&] {
            trace += program.readAll();
            return trace.count("Received message with ID $20.") >= 2;
        },
        std::chrono::seconds(90));
    program.terminate();
    if (!program.waitForFinished(20000)) {
        program.kill();
        program.waitForFinished(20000);
    }
    EXPECT_TRUE(bothRead) << trace.right(4000).toStdString();
}

} // namespace
} // namespace qzr::kernel
