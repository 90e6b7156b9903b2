#include "ProgramRig.h"
#include "widgets/RadioGroup.h"

#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPointer>
#include <QPushButton>
#include <QTabWidget>

namespace qzr::test {
namespace {

constexpr std::uint32_t Serial = 0x00A1B2C3;
const QString SerialCaption = QStringLiteral("#00A1B2C3");

class EndToEndTest : public ProgramRig {};

struct CradleCase {
    const char* name;
    bool bridge;
};

void PrintTo(const CradleCase& cradle, std::ostream* out)
{
    *out << cradle.name;
}

class EndToEndPerCradleKind : public ProgramRig, public ::testing::WithParamInterface<CradleCase> {
protected:
    TInterfaceChip Chip() const { return GetParam().bridge ? ifSorvik : ifCypress; }
    void AddCradle(const std::string& name)
    {
        if (GetParam().bridge)
            simulator->addBridgeCradle(name);
        else
            simulator->addHidCradle(name);
    }
};

TEST_P(EndToEndPerCradleKind, ACradleGetsAWindowThatFollowsItsUnitUntilItIsUnplugged)
{
    StartProgram();
    AddCradle("cradle");
    ASSERT_TRUE(WaitFor([&] { return WindowOf(Chip()) != nullptr; }));
    TCradleForm* window = WindowOf(Chip());
    EXPECT_TRUE(window->isVisible());
    EXPECT_EQ(window->windowTitle(), "Nothing connected");
    EXPECT_EQ(Windows().size(), 1);
    // The default personality: no calibrations sheet, no advanced panel.
    const QTabWidget* pages = window->Controls.PageControl;
    EXPECT_TRUE(pages->isTabVisible(pages->indexOf(window->Controls.SensorSettingsSheet)));
    EXPECT_FALSE(pages->isTabVisible(pages->indexOf(window->Controls.CalibrationsSheet)));
    EXPECT_TRUE(pages->isTabVisible(pages->indexOf(window->Controls.DataloggerSheet)));
    EXPECT_TRUE(window->Controls.AdvancedSensorSettingsPanel->isHidden());

    simulator->placeUnit("cradle", sim::UnitSpec::demo(Serial));
    ASSERT_TRUE(WaitFor([&] { return ShowsUnit(window, SerialCaption); }))
        << window->windowTitle().toStdString();
    EXPECT_EQ(window->Controls.FirmwareVersionLabel->text(), "14");
    EXPECT_GE(window->Controls.AdAmpSelectBox->ItemIndex(), 0) << "the setup image is shown";
    EXPECT_FALSE(window->Controls.SensitivityField->text().isEmpty());
    EXPECT_TRUE(window->Controls.StartLoggerBtn->isEnabled());

    // A rejected session is a forced new handshake, with a new session ID.
    const std::uint8_t firstSession = window->Connection.Session.SessionID;
    window->Connection.Session.SessionRejected();
    ASSERT_TRUE(WaitFor([&] {
        return ShowsUnit(window, SerialCaption) &&
               window->Connection.Session.SessionID != firstSession;
    }));

    simulator->removeUnit("cradle");
    ASSERT_TRUE(WaitFor([&] { return window->windowTitle() == "Nothing connected"; }));
    EXPECT_FALSE(window->Connection.Session.OnCradle);

    const QPointer<TCradleForm> watched(window);
    simulator->unplug("cradle");
    ASSERT_TRUE(WaitFor([&] { return watched.isNull(); }));
    EXPECT_TRUE(Windows().isEmpty());
    EXPECT_TRUE(errors.isEmpty()) << errors.join(QLatin1Char('\n')).toStdString();
}

INSTANTIATE_TEST_SUITE_P(Cradles, EndToEndPerCradleKind,
                         ::testing::Values(CradleCase{"Hid", false}, CradleCase{"Bridge", true}),
                         [](const auto& info) { return std::string(info.param.name); });

TEST_F(EndToEndTest, CradlesPresentAtStartAndAddedLaterGetOneWindowEach)
{
    simulator->addBridgeCradle("bridge");
    simulator->placeUnit("bridge", sim::UnitSpec::demo(Serial));
    StartProgram();
    ASSERT_TRUE(WaitFor([&] { return ShowsUnit(WindowOf(ifSorvik), SerialCaption); }));
    TCradleForm* bridgeWindow = WindowOf(ifSorvik);

    // A second cradle gets its own window; the bridge the program holds,
    // which the device list can no longer ask, gets no second one.
    simulator->addHidCradle("hid");
    simulator->placeUnit("hid", sim::UnitSpec::demo(0x0BADCAFE));
    ASSERT_TRUE(WaitFor([&] { return ShowsUnit(WindowOf(ifCypress), "#0BADCAFE"); }));
    EXPECT_EQ(Windows().size(), 2);
    EXPECT_EQ(WindowOf(ifSorvik), bridgeWindow);
    EXPECT_NE(WindowOf(ifCypress)->Connection.Session.SessionID,
              bridgeWindow->Connection.Session.SessionID);

    // A second HID cradle: the one already open keeps its window, only the new one gets one.
    const QPointer<TCradleForm> firstHidWindow(WindowOf(ifCypress));
    simulator->addHidCradle("hid2");
    ASSERT_TRUE(WaitFor([&] { return Windows().size() == 3; }));
    ASSERT_FALSE(firstHidWindow.isNull());
    EXPECT_EQ(firstHidWindow->Connection.HidDevice.DevicePath(),
              QString::fromStdString(simulator->devicePath("hid").string()));
    for (const TCradleForm* window : Windows())
        EXPECT_TRUE(window->Connection.Connected()) << window->objectName().toStdString();
    EXPECT_TRUE(errors.isEmpty()) << errors.join(QLatin1Char('\n')).toStdString();
}

TEST_F(EndToEndTest, ABrokenBridgeTransferDisconnectsSilentlyAndALaterScanOpensItAgain)
{
    simulator->addBridgeCradle("bridge");
    simulator->placeUnit("bridge", sim::UnitSpec::demo(Serial));
    StartProgram();
    ASSERT_TRUE(WaitFor([&] { return ShowsUnit(WindowOf(ifSorvik), SerialCaption); }));
    const QPointer<TCradleForm> broken(WindowOf(ifSorvik));

    bool silentlyDisconnected = false;
    QObject::connect(broken.data(), &TCradleForm::CradleWasLost, [&] {
        silentlyDisconnected = !broken->Connection.Connected() &&
                               broken->Connection.SpiLink().MCDeviceHandle() == nullptr &&
                               !broken->Connection.SPITimer.isActive();
    });
    simulator->setCradleSilent("bridge", true);
    ASSERT_TRUE(WaitFor([&] { return broken.isNull(); }));
    EXPECT_TRUE(silentlyDisconnected);
    EXPECT_TRUE(errors.isEmpty()) << "no message for a failed poll";
    EXPECT_TRUE(Windows().isEmpty());

    // The next scan (another cradle arrives) opens the bridge, which answers
    // again, in a new window.
    simulator->setCradleSilent("bridge", false);
    simulator->addHidCradle("hid");
    ASSERT_TRUE(WaitFor([&] { return ShowsUnit(WindowOf(ifSorvik), SerialCaption); }));
    EXPECT_NE(WindowOf(ifCypress), nullptr);
    EXPECT_TRUE(errors.isEmpty()) << errors.join(QLatin1Char('\n')).toStdString();
}

// USB frames, the serial byte rate and SPI clocked at 4000 bit/s, as the
// demonstration runs.
class EndToEndAtRealTimingTest : public ProgramRig {
protected:
    sim::SimulatorOptions Timing() const override { return {}; }
};

TEST_F(EndToEndAtRealTimingTest, BothCradleKindsReachTheirUnitsSideBySide)
{
    // A bridge poll blocks for its whole transfer; the HID cradle's reports
    // must still get through between polls.
    simulator->addBridgeCradle("bridge");
    simulator->addHidCradle("hid");
    simulator->placeUnit("bridge", sim::UnitSpec::demo(Serial));
    simulator->placeUnit("hid", sim::UnitSpec::demo(0x0BADCAFE));
    StartProgram();
    ASSERT_TRUE(WaitFor([&] {
        return ShowsUnit(WindowOf(ifSorvik), SerialCaption) &&
               ShowsUnit(WindowOf(ifCypress), "#0BADCAFE");
    }));
    EXPECT_EQ(WindowOf(ifCypress)->Controls.ErrorCounter->text(), "0");
    EXPECT_EQ(WindowOf(ifSorvik)->Controls.ErrorCounter->text(), "0");
}

TEST_F(EndToEndTest, TwoBridgeCradlesEachGetAWorkingWindow)
{
    // Each bridge window opens the first bridge that no other window holds.
    simulator->addBridgeCradle("a");
    simulator->addBridgeCradle("b");
    simulator->placeUnit("a", sim::UnitSpec::demo(Serial));
    simulator->placeUnit("b", sim::UnitSpec::demo(0x0BADCAFE));
    StartProgram();
    ASSERT_TRUE(WaitFor([&] {
        QStringList captions;
        for (const TCradleForm* window : Windows())
            if (window->Connection.Session.SessionState == ssIdle)
                captions.append(window->windowTitle());
        captions.sort();
        return captions == QStringList{SerialCaption, QStringLiteral("#0BADCAFE")};
    }));
    EXPECT_EQ(Windows().size(), 2);
    EXPECT_TRUE(errors.isEmpty()) << errors.join(QLatin1Char('\n')).toStdString();

    simulator->addHidCradle("c");
    ASSERT_TRUE(WaitFor([&] { return WindowOf(ifCypress) != nullptr; }));
    EXPECT_EQ(Windows().size(), 3);
    EXPECT_TRUE(errors.isEmpty()) << "a later scan finds both bridges held by their windows";
}

TEST_F(EndToEndTest, AHidCradlePulledOutAndPluggedBackGetsAFreshWindow)
{
    simulator->addHidCradle("hid");
    simulator->placeUnit("hid", sim::UnitSpec::demo(Serial));
    StartProgram();
    ASSERT_TRUE(WaitFor([&] { return ShowsUnit(WindowOf(ifCypress), SerialCaption); }));
    const QPointer<TCradleForm> first(WindowOf(ifCypress));

    simulator->unplug("hid");
    simulator->plug("hid");
    ASSERT_TRUE(WaitFor([&] { return first.isNull(); }));
    ASSERT_TRUE(WaitFor([&] { return ShowsUnit(WindowOf(ifCypress), SerialCaption); }));
    EXPECT_EQ(Windows().size(), 1);
}

} // namespace
} // namespace qzr::test
