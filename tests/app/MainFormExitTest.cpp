#include "ProgramRig.h"

#include <QAction>
#include <QApplication>
#include <QTimer>

namespace qzr::test {
namespace {

constexpr int NotEnded = 99;

using MainFormExitTest = ProgramRig;

// A control window that holds its cradle refuses to be closed by itself;
// "Exit" still ends the program's event loop.
TEST_F(MainFormExitTest, ExitEndsTheProgramWhileAControlWindowHoldsItsCradle)
{
    StartProgram();
    mainForm->show();
    simulator->addHidCradle("cradle");
    ASSERT_TRUE(WaitFor([] { return WindowOf(ifCypress) != nullptr; }));
    QTimer::singleShot(0, mainForm->FileExitAction, &QAction::trigger);
    QTimer guard;
    guard.setSingleShot(true);
    QObject::connect(&guard, &QTimer::timeout, [] { QCoreApplication::exit(NotEnded); });
    guard.start(WaitMilliseconds);
    EXPECT_EQ(QApplication::exec(), 0);
}

} // namespace
} // namespace qzr::test
