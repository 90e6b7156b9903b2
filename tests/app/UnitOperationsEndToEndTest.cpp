// The unit operations clicked in the real control window, end to end: the
// program and the in-process simulator on a virtual HID bus.
#include "ProgramRig.h"
#include "widgets/IntegerField.h"

#include "widgets/RadioGroup.h"
#include <logdata/ChartForm.h>

#include <QAbstractButton>
#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QDateEdit>
#include <QLabel>
#include <QMessageBox>
#include <QProgressBar>
#include <QPushButton>
#include <QRadioButton>
#include <QTest>
#include <QTimeEdit>

#include <chrono>
#include <vector>

namespace qzr::test {
namespace {

constexpr std::uint32_t Serial = 0x00A1B2C3;
const QString SerialCaption = QStringLiteral("#00A1B2C3");

enum class TCradleKind { Hid, Bridge };

// A logger memory with every one of its 3518 records written.
sim::LoggerRecording FullLogger()
{
    sim::LoggerRecording recording;
    recording.startTime = 850000000;
    recording.interval = 30;
    recording.decimals = 1;
    recording.sensorId = 20;
    for (std::size_t k = 0; k < LogRecordCount; ++k) {
        const auto value = static_cast<std::int16_t>(k % 1000);
        recording.records.push_back({value, static_cast<std::int16_t>(value + 7), value * 30});
    }
    return recording;
}

class UnitOperationsEndToEnd : public ProgramRig {
protected:
    void TearDown() override
    {
        for (TChartForm* window : TChartForm::Windows())
            delete window;
        ProgramRig::TearDown();
    }

    // The program with every sheet and panel, its window idle on a unit.
    TCradleForm* IdleWindow(TCradleKind kind, const sim::UnitSpec& unit)
    {
        personality->HasCalibrationsSheet = true;
        personality->HasDetailedSensorSettings = true;
        if (kind == TCradleKind::Hid)
            simulator->addHidCradle("cradle");
        else
            simulator->addBridgeCradle("cradle");
        simulator->placeUnit("cradle", unit);
        StartProgram();
        const TInterfaceChip chip = kind == TCradleKind::Hid ? ifCypress : ifSorvik;
        EXPECT_TRUE(WaitFor([&] { return ShowsUnit(WindowOf(chip), SerialCaption); }));
        TCradleForm* window = WindowOf(chip);
        if (window != nullptr)
            window->show();
        return window;
    }

    template <typename Action> auto WithUnit(Action action)
    {
        decltype(action(std::declval<sim::Zt46Unit&>())) result{};
        simulator->withUnit("cradle", [&](sim::Zt46Unit& unit) { result = action(unit); });
        return result;
    }

    static bool IsIdle(const TCradleForm* window)
    {
        return window->Connection.Session.SessionState == ssIdle;
    }

    // The dialog the window shows, once it is there.
    static QMessageBox* Dialog(TCradleForm* window)
    {
        QMessageBox* shown = nullptr;
        WaitFor([&] {
            const auto dialogs = window->findChildren<QMessageBox*>();
            shown = dialogs.isEmpty() ? nullptr : dialogs.back();
            return shown != nullptr && shown->isVisible();
        });
        return shown;
    }

    // Clicks a button where the user would: it must be on screen (its sheet
    // shown and laid out) and enabled.
    static void Click(QAbstractButton* button)
    {
        ProcessReadyEvents();
        ASSERT_TRUE(button->isVisible()) << button->objectName().toStdString();
        ASSERT_TRUE(button->isEnabled()) << button->objectName().toStdString();
        // A check box takes clicks on its box and caption only, at its left.
        const QPoint where = qobject_cast<QCheckBox*>(button) != nullptr
                                 ? QPoint(button->height() / 2, button->height() / 2)
                                 : button->rect().center();
        QTest::mouseClick(button, Qt::LeftButton, {}, where);
    }

    static void TypeInto(QLineEdit* field, const QString& text)
    {
        field->setFocus();
        field->selectAll();
        QTest::keyClicks(field, text);
    }
};

TEST_F(UnitOperationsEndToEnd, ProgrammingTheUserAreaStoresTheWindowsImageInTheUnit)
{
    TCradleForm* window = IdleWindow(TCradleKind::Hid, sim::UnitSpec::demo(Serial));
    ASSERT_NE(window, nullptr);
    const TCradleFormControls& c = window->Controls;
    const TSetupData factory = WithUnit([](sim::Zt46Unit& u) { return u.storedSetup(nvmFactory); });
    TSetupData expected = WithUnit([](sim::Zt46Unit& u) { return u.workingSetup(); });

    c.PageControl->setCurrentWidget(c.SensorSettingsSheet);
    TypeInto(c.UserMultiplier, QStringLiteral("1234"));
    TypeInto(c.UserDivider, QStringLiteral("617"));
    Click(c.DecDotSelectBox->Button(3));
    Click(c.AdAmpSelectBox2->Button(2));
    Click(c.NegativesAllowedCheckBox);
    expected.SetS16(SetupOffset::UserMultiplier, 1234);
    expected.SetS16(SetupOffset::UserDivider, 617);
    expected[SetupOffset::Decimals] = 3;
    expected.SetAmplifierIndex(2);
    expected.SetNegativesAllowed(!expected.NegativesAllowed());

    std::vector<int> meter;
    QObject::connect(c.ProgressBar, &QProgressBar::valueChanged,
                     [&meter](int value) { meter.push_back(value); });
    Click(c.ProgramUserBtn);
    EXPECT_EQ(window->Connection.Session.SessionState, ssSendingSetup);
    ASSERT_TRUE(WaitFor([&] { return IsIdle(window); }));

    EXPECT_EQ(WithUnit([](sim::Zt46Unit& u) { return u.storedSetup(nvmUser); }), expected)
        << "bytes 52 to 63 carried unchanged, the rest from the window";
    EXPECT_EQ(WithUnit([](sim::Zt46Unit& u) { return u.storedSetup(nvmFactory); }), factory);
    ASSERT_GE(meter.size(), 32u);
    EXPECT_EQ(std::vector<int>(meter.begin(), meter.begin() + 5),
              (std::vector<int>{3, 6, 9, 12, 16}));
    EXPECT_EQ(c.ProgressBar->value(), 100);
}

TEST_F(UnitOperationsEndToEnd, AFailedEchoShowsTheAddressInTheTranslatedDialogAndStoresNothing)
{
    TCradleForm* window = IdleWindow(TCradleKind::Bridge, sim::UnitSpec::demo(Serial));
    ASSERT_NE(window, nullptr);
    mainForm->OvcLanguageSelector->setCurrentIndex(1);
    const TSetupData stored = WithUnit([](sim::Zt46Unit& u) { return u.storedSetup(nvmFactory); });
    simulator->withUnit("cradle", [](sim::Zt46Unit& u) { u.setWriteFaultAddress(18); });

    window->Controls.PageControl->setCurrentWidget(window->Controls.CalibrationsSheet);
    Click(window->Controls.ProgramFactoryBtn);
    QMessageBox* dialog = Dialog(window);
    ASSERT_NE(dialog, nullptr);
    EXPECT_EQ(dialog->icon(), QMessageBox::Critical);
    EXPECT_EQ(dialog->text(), "Programmeren mislukt op adres: 0012");
    EXPECT_TRUE(IsIdle(window));
    Click(dialog->button(QMessageBox::Ok));
    EXPECT_EQ(WithUnit([](sim::Zt46Unit& u) { return u.storedSetup(nvmFactory); }), stored);
}

TEST_F(UnitOperationsEndToEnd, ADelayedStartIsArmedAndTurnsIntoLoggingWhenTheUnitsClockGetsThere)
{
    TCradleForm* window = IdleWindow(TCradleKind::Hid, sim::UnitSpec::demo(Serial));
    ASSERT_NE(window, nullptr);
    const TCradleFormControls& c = window->Controls;
    c.PageControl->setCurrentWidget(c.DataloggerSheet);
    TypeInto(c.LogIntervalEdit, QStringLiteral("60"));
    c.LogDateEdit->setDate(QDate::currentDate().addDays(1));
    c.LogTimeEdit->setTime(QTime(8, 0));

    Click(c.StartLoggerBtn);
    QMessageBox* question = Dialog(window);
    ASSERT_NE(question, nullptr);
    EXPECT_EQ(question->text(), "This will erase the data, are you sure ?");
    EXPECT_TRUE(IsIdle(window)) << "nothing starts before the answer";
    Click(question->button(QMessageBox::Yes));
    ASSERT_TRUE(WaitFor([&] { return IsIdle(window); }));
    EXPECT_EQ(WithUnit([](sim::Zt46Unit& u) { return u.loggerState(); }), lsArmed);

    Click(c.ReadLoggerValuesCheckbox);
    ASSERT_TRUE(WaitFor([&] {
        return c.LoggerStatusStaticText->text().startsWith("Armed: remaining delay ");
    })) << c.LoggerStatusStaticText->text().toStdString();
    const auto delay = WithUnit([](sim::Zt46Unit& u) { return u.loggerRemainingDelay(); });
    simulator->withUnit("cradle", [delay](sim::Zt46Unit& u) {
        u.advanceTime(std::chrono::seconds(delay + 2 * 60 + 1));
    });
    ASSERT_TRUE(WaitFor([&] { return c.LoggerStatusStaticText->text().startsWith("Logging: "); }))
        << c.LoggerStatusStaticText->text().toStdString();
    EXPECT_TRUE(c.LoggerStatusStaticText->text().endsWith(" of 3518 samples stored."));
    EXPECT_FALSE(c.RemainingIntervalStaticText->text().isEmpty());
}

class FullReadout : public UnitOperationsEndToEnd,
                    public testing::WithParamInterface<TCradleKind> {};

TEST_P(FullReadout, AFullLoggerIsReadByteForByteIntoANewWindow)
{
    sim::UnitSpec unit = sim::UnitSpec::demo(Serial);
    unit.recording = FullLogger();
    TCradleForm* window = IdleWindow(GetParam(), unit);
    ASSERT_NE(window, nullptr);
    const TCradleFormControls& c = window->Controls;
    c.PageControl->setCurrentWidget(c.DataloggerSheet);
    int highest = 0;
    QObject::connect(c.ProgressBar, &QProgressBar::valueChanged,
                     [&highest](int value) { highest = std::max(highest, value); });

    Click(c.ReadLoggerBtn);
    ASSERT_TRUE(WaitFor([&] { return !TChartForm::Windows().isEmpty(); }));
    const TLogData memory = WithUnit([](sim::Zt46Unit& u) { return u.loggerMemory(); });
    ASSERT_EQ(TChartForm::Windows().size(), 1);
    TChartForm* chart = TChartForm::Windows().front();
    EXPECT_EQ(chart->ChartData(), memory);
    EXPECT_EQ(chart->LogInterval(), 30);
    EXPECT_TRUE(chart->isVisible());
    EXPECT_EQ(chart->parent(), nullptr) << "owned by the program, not by the control window";
    EXPECT_EQ(highest, 100);
    EXPECT_EQ(c.ProgressBar->value(), 0) << "the meter returns to 0 when the window opens";
    EXPECT_TRUE(IsIdle(window));
}

INSTANTIATE_TEST_SUITE_P(BothCradleKinds, FullReadout,
                         testing::Values(TCradleKind::Hid, TCradleKind::Bridge),
                         [](const testing::TestParamInfo<TCradleKind>& info) {
                             return info.param == TCradleKind::Hid ? "Hid" : "Bridge";
                         });

TEST_F(UnitOperationsEndToEnd, AUnitPulledOutDuringTheReadoutEndsTheSessionAndOpensNoWindow)
{
    sim::UnitSpec unit = sim::UnitSpec::demo(Serial);
    unit.recording = FullLogger();
    TCradleForm* window = IdleWindow(TCradleKind::Hid, unit);
    ASSERT_NE(window, nullptr);
    window->Controls.PageControl->setCurrentWidget(window->Controls.DataloggerSheet);
    Click(window->Controls.ReadLoggerBtn);
    ASSERT_TRUE(WaitFor([&] { return window->Connection.Operations.Readout.LogDataIndex() > 0; }));

    simulator->removeUnit("cradle");
    ASSERT_TRUE(WaitFor([&] { return window->Connection.Session.SessionState != ssReadingLog; }));
    EXPECT_LT(window->Connection.Operations.Readout.LogDataIndex(), LogDataSize);
    EXPECT_EQ(window->Connection.Session.SessionState, ssNone);
    EXPECT_FALSE(window->Controls.ReadLoggerBtn->isEnabled());
    ProcessReadyEvents();
    EXPECT_TRUE(TChartForm::Windows().isEmpty());
}

} // namespace
} // namespace qzr::test
