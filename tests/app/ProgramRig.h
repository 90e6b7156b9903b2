#pragma once

#include "app/MainForm.h"
#include "cradle/CradleForm.h"
#include "cradle/VexaBridge.h"
#include "tests/support/EventLoopWait.h"

#include <catalogue/PersonalityData.h>
#include <sim/program/Simulator.h>
#include <translation/Translator.h>

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QSettings>
#include <QStringList>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <cstdlib>
#include <functional>
#include <memory>

namespace qzr::test {

// The program's parts as the program puts them together, on a virtual HID
// bus of their own with the simulator serving it, every file in temporary
// directories.
class ProgramRig : public ::testing::Test {
protected:
    static constexpr int WaitMilliseconds = 15000;

    void SetUp() override
    {
        ASSERT_TRUE(busDir.isValid());
        ASSERT_TRUE(filesDir.isValid());
        QSettings::setPath(QSettings::NativeFormat, QSettings::SystemScope,
                           filesDir.filePath(QStringLiteral("system")));
        ::setenv("VHID_BUS", busDir.path().toLocal8Bit().constData(), 1);
        // The cradle locks of this run, away from the user's own.
        ASSERT_TRUE(QDir(filesDir.path()).mkdir(QStringLiteral("runtime")));
        QFile::setPermissions(filesDir.filePath(QStringLiteral("runtime")),
                              QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
        ::setenv("XDG_RUNTIME_DIR",
                 filesDir.filePath(QStringLiteral("runtime")).toLocal8Bit().constData(), 1);
        simulator = std::make_unique<sim::Simulator>(busDir.path().toStdString(), Timing());

        const QString programDir = QCoreApplication::applicationDirPath() + QLatin1Char('/');
        QFile::copy(programDir + QStringLiteral("language.mdb"),
                    filesDir.filePath(QStringLiteral("language.mdb")));
        personality = std::make_unique<TPersonalityData>(
            TPersonalityOptions{programDir, [](const QString&) {}});
        translator = std::make_unique<TTranslator>(
            TTranslatorOptions{filesDir.filePath(QStringLiteral("language.mdb")),
                               [this](const QString& error) { errors.append(error); }, [] {}});
    }

    void TearDown() override
    {
        mainForm.reset();
        translator.reset();
        personality.reset();
        simulator.reset();
        ::unsetenv("VHID_BUS");
    }

    // The simulator's timing: every delay 0 unless a test wants the real one.
    virtual sim::SimulatorOptions Timing() const { return sim::SimulatorOptions::fast(); }

    void StartProgram()
    {
        mainForm = std::make_unique<TMainForm>(
            TMainFormEnvironment{*personality,
                                 *translator,
                                 bridge,
                                 TCradleIdentifierSet{},
                                 filesDir.filePath(QStringLiteral("QZR.INI")),
                                 {},
                                 [this](const QString& error) { errors.append(error); }});
        // Shown at once, as the program shows it: the bridges' first polls
        // wait for its first paint.
        mainForm->show();
    }

    // Runs the program's event loop until the condition holds; false when it
    // did not within the time limit.
    static bool WaitFor(const std::function<bool()>& condition)
    {
        return WaitForEvents(condition, std::chrono::milliseconds(WaitMilliseconds));
    }

    static QList<TCradleForm*> Windows() { return TMainForm::CradleForms(); }

    // The one control window of this cradle kind.
    static TCradleForm* WindowOf(TInterfaceChip chip)
    {
        TCradleForm* found = nullptr;
        for (TCradleForm* window : Windows())
            if (window->Connection.InterfaceChip() == chip && window->Connection.Connected())
                found = window;
        return found;
    }

    static bool ShowsUnit(const TCradleForm* window, const QString& caption)
    {
        return window != nullptr && window->windowTitle() == caption &&
               window->Connection.Session.SessionState == ssIdle;
    }

    QTemporaryDir busDir;
    QTemporaryDir filesDir;
    std::unique_ptr<sim::Simulator> simulator;
    std::unique_ptr<TPersonalityData> personality;
    std::unique_ptr<TTranslator> translator;
    TVexaBridge bridge;
    std::unique_ptr<TMainForm> mainForm;
    QStringList errors;
};

} // namespace qzr::test
