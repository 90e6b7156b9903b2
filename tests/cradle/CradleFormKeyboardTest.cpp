#include "CradleFormFixture.h"
#include "widgets/IntegerField.h"

#include <QAccessible>
#include <QApplication>
#include <QCheckBox>
#include <QLabel>
#include <QTabWidget>
#include <QTest>

#include <string>
#include <vector>

namespace qzr::test {
namespace {

class CradleFormKeyboardTest : public CradleFormFixture {
protected:
    // The window on screen and active, showing `sheet`.
    std::unique_ptr<TCradleForm> ShownWindow(QWidget* TCradleFormControls::*sheet)
    {
        auto window = NewWindow();
        window->Controls.PageControl->setCurrentWidget(window->Controls.*sheet);
        window->show();
        window->activateWindow();
        EXPECT_TRUE(QTest::qWaitForWindowActive(window.get()));
        return window;
    }
};

TEST_F(CradleFormKeyboardTest, EveryEntryFieldIsAnnouncedByItsLabelAndReachedByItsAccessKey)
{
    struct TCase {
        QWidget* TCradleFormControls::*sheet;
        QWidget* (*field)(const TCradleFormControls&);
        const char* labelName;
        std::string name;
        Qt::Key accessKey;
    };
    const std::vector<TCase> cases = {
        {&TCradleFormControls::SensorSettingsSheet,
         [](const TCradleFormControls& c) -> QWidget* { return c.SensitivityField; },
         "SensitivityLabel", "Sensitivity", Qt::Key_N},
        {&TCradleFormControls::SensorSettingsSheet,
         [](const TCradleFormControls& c) -> QWidget* { return c.UserMultiplier; },
         "UserMultiplierLabel", "Multiplier", Qt::Key_M},
        {&TCradleFormControls::SensorSettingsSheet,
         [](const TCradleFormControls& c) -> QWidget* { return c.UserDivider; }, "UserDividerLabel",
         "Divider", Qt::Key_D},
        {&TCradleFormControls::DataloggerSheet,
         [](const TCradleFormControls& c) -> QWidget* { return c.LogIntervalEdit; },
         "LogIntervalLabel", "Log interval (seconds)", Qt::Key_L},
    };
    for (const TCase& c : cases) {
        SCOPED_TRACE(c.name);
        auto window = ShownWindow(c.sheet);
        QWidget* field = c.field(window->Controls);
        auto* label = window->findChild<QLabel*>(QString::fromLatin1(c.labelName));
        ASSERT_NE(label, nullptr);
        EXPECT_EQ(label->buddy(), field);
        QAccessibleInterface* announced = QAccessible::queryAccessibleInterface(field);
        ASSERT_NE(announced, nullptr);
        EXPECT_EQ(announced->text(QAccessible::Name).toStdString(), c.name);

        QTest::keyClick(window.get(), c.accessKey, Qt::AltModifier);
        EXPECT_EQ(QApplication::focusWidget(), field);
    }
}

TEST_F(CradleFormKeyboardTest, TheCalibrationGridIsAnnouncedAndTabbedRowByRow)
{
    auto window = ShownWindow(&TCradleFormControls::CalibrationsSheet);
    const TCradleFormControls& c = window->Controls;
    EXPECT_EQ(QAccessible::queryAccessibleInterface(c.AdAmpOffset[5])->text(QAccessible::Name),
              "Offset 32x");

    std::vector<QWidget*> expected;
    for (const auto& row : {c.AdAmpMultiplier, c.AdAmpDivider, c.AdAmpOffset})
        expected.insert(expected.end(), row.begin(), row.end());
    c.AdAmpMultiplier[0]->setFocus();
    std::vector<QWidget*> visited = {QApplication::focusWidget()};
    for (std::size_t i = 1; i < expected.size(); ++i) {
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
        visited.push_back(QApplication::focusWidget());
    }
    EXPECT_EQ(visited, expected) << "the disabled Link boxes are passed over";
}

} // namespace
} // namespace qzr::test
