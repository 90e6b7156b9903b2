#include "CradleFormFixture.h"
#include "cradle/SessionColors.h"
#include "widgets/Indicator.h"
#include "widgets/RadioGroup.h"

#include <QCheckBox>
#include <QLabel>
#include <QPushButton>

#include <vector>

namespace qzr::test {
namespace {

class CradleFormStatesTest : public CradleFormFixture {
protected:
    static std::vector<QPushButton*> OperationButtons(const TCradleForm& window)
    {
        const TCradleFormControls& c = window.Controls;
        return {c.ProgramFactoryBtn, c.ProgramUserBtn, c.ReadLoggerBtn, c.StartLoggerBtn};
    }

    // A connected window with a unit on the cradle and an idle session.
    std::unique_ptr<TCradleForm> IdleSessionWindow()
    {
        auto window = ConnectedWindow();
        window->Connection.Session.OnCradle = true;
        window->Connection.Session.SessionState = ssIdle;
        window->SetAllowances();
        return window;
    }
};

TEST_F(CradleFormStatesTest, CreationDefaults)
{
    auto window = NewWindow();
    EXPECT_EQ(window->windowTitle(), "Control Interface");
    EXPECT_EQ(window->property("tag").toInt(), 999);
    EXPECT_EQ(window->size(), QSize(569, 274));
    EXPECT_EQ(window->Connection.InterfaceChip(), ifUndefined);
    EXPECT_FALSE(window->Connection.Connected());
    EXPECT_FALSE(window->Connection.Session.OnCradle);
    EXPECT_EQ(window->Connection.Session.SessionState, ssNone);
    EXPECT_EQ(window->Connection.Codec.ProtocolState, psWaitDLE);
    EXPECT_TRUE(window->Connection.ProtocolTimer.isActive());
    EXPECT_EQ(window->Connection.ProtocolTimer.interval(), 50);
    EXPECT_FALSE(window->Connection.SessionTimer.isActive());
    EXPECT_EQ(window->Connection.SessionTimer.interval(), 100);
    EXPECT_FALSE(window->Connection.SPITimer.isActive());
    EXPECT_EQ(window->Connection.SPITimer.interval(), 10);
    EXPECT_EQ(window->Controls.OnCradleIndicator->Color(), UnitGoneColor);
    EXPECT_EQ(window->Controls.SessionIndicator->Color(), SessionIdleColor);
    EXPECT_EQ(window->Controls.AdAmpSelectBox->ItemIndex(), -1);
    EXPECT_EQ(window->Controls.AdAmpSelectBox2->ItemIndex(), -1);
}

TEST_F(CradleFormStatesTest, CaptionAndFirmwareLabelFollowTheSessionState)
{
    struct Case {
        TSessionState state;
        const char* caption;
        const char* firmware;
    };
    const Case cases[] = {
        {ssNone, "Nothing connected", ".."},
        {ssHandshake, "#000012AB", ".."},
        {ssReadingSetup, "Reading #000012AB", ".."},
        {ssRealtime, "Reading inputs", ".."},
        {ssSendingSetup, "Sending setup info", ".."},
        {ssFlashing, "Requesting NVM flash", ".."},
        {ssStartingLogger, "Start datalogger", ".."},
        {ssReadingLog, "Reading stored data from logger", ".."},
        {ssLoggerStatus, "Reading measured values from logger", ".."},
        {ssIdle, "#000012AB", "2A"},
        {ssHandshake, "#000012AB", "2A"}, // the label keeps the idle state's version
    };
    auto window = ConnectedWindow();
    window->Connection.Session.SerialNumber = 0x12AB;
    window->Connection.Session.FirmwareVersion = 0x2A;
    for (const Case& c : cases) {
        window->Connection.Session.SessionState = c.state;
        window->SetCaption();
        EXPECT_EQ(window->windowTitle(), c.caption) << "state " << c.state;
        EXPECT_EQ(window->Controls.FirmwareVersionLabel->text(), c.firmware) << "state " << c.state;
    }
}

TEST_F(CradleFormStatesTest, AnUnconnectedWindowShowsTheProductNameInEveryState)
{
    auto window = NewWindow();
    for (TSessionState state : {ssNone, ssHandshake, ssReadingSetup, ssIdle}) {
        window->Connection.Session.SessionState = state;
        window->SetCaption();
        EXPECT_EQ(window->windowTitle(), "ZT-46");
    }
}

TEST_F(CradleFormStatesTest, OperationsAreAllowedOnlyWithAUnitAndNoRunningOperation)
{
    struct Case {
        bool onCradle;
        TSessionState state;
        bool buttons;
        bool realtime;
        bool loggerStatus;
        QColor indicator;
    };
    const Case cases[] = {
        {false, ssNone, false, false, false, SessionIdleColor},
        {false, ssIdle, false, false, false, SessionIdleColor},
        {true, ssNone, true, true, true, SessionIdleColor},
        {true, ssHandshake, true, true, true, SessionIdleColor},
        {true, ssIdle, true, true, true, SessionIdleColor},
        {true, ssReadingSetup, false, false, false, SessionBusyColor},
        {true, ssSendingSetup, false, false, false, SessionBusyColor},
        {true, ssFlashing, false, false, false, SessionBusyColor},
        {true, ssStartingLogger, false, false, false, SessionBusyColor},
        {true, ssReadingLog, false, false, false, SessionBusyColor},
        {true, ssRealtime, false, true, false, SessionBusyColor},
        {true, ssLoggerStatus, false, false, true, SessionBusyColor},
    };
    auto window = ConnectedWindow();
    const TCradleFormControls& c = window->Controls;
    for (const Case& k : cases) {
        SCOPED_TRACE(testing::Message() << "onCradle " << k.onCradle << ", state " << k.state);
        window->Connection.Session.OnCradle = k.onCradle;
        window->Connection.Session.SessionState = k.state;
        window->SetAllowances();
        for (QPushButton* button : OperationButtons(*window))
            EXPECT_EQ(button->isEnabled(), k.buttons) << button->objectName().toStdString();
        EXPECT_EQ(c.RealtimeCheckBox->isEnabled(), k.realtime);
        EXPECT_EQ(c.ReadLoggerValuesCheckbox->isEnabled(), k.loggerStatus);
        EXPECT_FALSE(c.LinkOffsetToRealtimeCheckBox->isEnabled());
        EXPECT_FALSE(c.LinkFullScaleToRealtimeCheckBox->isEnabled());
        EXPECT_EQ(c.SessionIndicator->Color(), k.indicator);
        EXPECT_TRUE(c.WizardBtn->isEnabled()) << "never governed by the rules";
    }
}

TEST_F(CradleFormStatesTest, ShowRealtimeEnablesTheLinksAndDisablingItRunsItsHandlerOnce)
{
    auto window = IdleSessionWindow();
    const TCradleFormControls& c = window->Controls;

    c.RealtimeCheckBox->setChecked(true);
    EXPECT_EQ(window->Connection.Session.SessionState, ssRealtime);
    EXPECT_TRUE(window->Connection.RealTimer.isActive());
    EXPECT_TRUE(window->Connection.SessionTimer.isActive());
    EXPECT_TRUE(c.RealtimeCheckBox->isEnabled());
    EXPECT_TRUE(c.LinkOffsetToRealtimeCheckBox->isEnabled());
    EXPECT_TRUE(c.LinkFullScaleToRealtimeCheckBox->isEnabled());
    EXPECT_FALSE(c.ReadLoggerValuesCheckbox->isEnabled());
    EXPECT_EQ(window->windowTitle(), "Reading inputs");
    c.LinkOffsetToRealtimeCheckBox->setChecked(true);
    c.LinkFullScaleToRealtimeCheckBox->setChecked(true);

    // The unit leaves: the box is disabled, unchecked, and its handler ends
    // the live readings.
    int handlerRuns = 0;
    QObject::connect(c.RealtimeCheckBox, &QCheckBox::toggled, [&] { ++handlerRuns; });
    window->Connection.Session.OnCradle = false;
    window->SetAllowances();
    EXPECT_EQ(handlerRuns, 1);
    EXPECT_FALSE(c.RealtimeCheckBox->isChecked());
    EXPECT_EQ(window->Connection.Session.SessionState, ssIdle);
    EXPECT_EQ(window->Connection.Session.SessionTimeout, 20u);
    EXPECT_FALSE(window->Connection.RealTimer.isActive());
    EXPECT_FALSE(window->Connection.SessionTimer.isActive());
    for (QCheckBox* link : {c.LinkOffsetToRealtimeCheckBox, c.LinkFullScaleToRealtimeCheckBox}) {
        EXPECT_FALSE(link->isChecked());
        EXPECT_FALSE(link->isEnabled());
    }
}

TEST_F(CradleFormStatesTest, AnOperationStartedDuringRealtimeKeepsItsStateAndTheBusyRules)
{
    auto window = IdleSessionWindow();
    const TCradleFormControls& c = window->Controls;
    c.RealtimeCheckBox->setChecked(true);
    c.LinkOffsetToRealtimeCheckBox->setChecked(true);

    // An operation that the rules do not govern (the sensor wizard's
    // programming run) starts while the readings run.
    window->Connection.Session.SessionState = ssSendingSetup;
    window->SetAllowances();

    // The unchecked box's handler ends the readings but leaves the running
    // operation its state and its session timer; the refresh applies the busy
    // rules throughout.
    EXPECT_FALSE(c.RealtimeCheckBox->isChecked());
    EXPECT_FALSE(c.RealtimeCheckBox->isEnabled());
    EXPECT_FALSE(window->Connection.RealTimer.isActive());
    EXPECT_TRUE(window->Connection.SessionTimer.isActive());
    EXPECT_EQ(window->Connection.Session.SessionState, ssSendingSetup);
    EXPECT_FALSE(c.ReadLoggerValuesCheckbox->isEnabled());
    EXPECT_FALSE(c.LinkOffsetToRealtimeCheckBox->isChecked());
    EXPECT_FALSE(c.LinkOffsetToRealtimeCheckBox->isEnabled());
    for (QPushButton* button : OperationButtons(*window))
        EXPECT_FALSE(button->isEnabled()) << button->objectName().toStdString();
    EXPECT_EQ(c.SessionIndicator->Color(), SessionBusyColor);
}

TEST_F(CradleFormStatesTest, MessageCountersShowWholeNumbersInFull)
{
    auto window = NewWindow();
    window->ShowMessageCounts(1234567, 4294967295u);
    EXPECT_EQ(window->Controls.OkCounter->text(), "1234567");
    EXPECT_EQ(window->Controls.ErrorCounter->text(), "4294967295");
}

TEST_F(CradleFormStatesTest, ARejectionWhileWatchingTheLoggerEndsTheSession)
{
    auto window = IdleSessionWindow();
    window->Controls.ReadLoggerValuesCheckbox->setChecked(true);
    EXPECT_EQ(window->Connection.Session.SessionState, ssLoggerStatus);
    EXPECT_TRUE(window->Connection.LoggerTimer.isActive());

    window->Connection.Session.SessionRejected();
    EXPECT_FALSE(window->Controls.ReadLoggerValuesCheckbox->isChecked());
    EXPECT_FALSE(window->Connection.LoggerTimer.isActive());
    EXPECT_FALSE(window->Connection.SessionTimer.isActive());
    EXPECT_EQ(window->Connection.Session.SessionState, ssNone)
        << "the box's handler leaves the ended session alone";
    EXPECT_FALSE(window->Connection.Session.OnCradle);
}

TEST_F(CradleFormStatesTest, TheNextPollIsDueAfterThePreviousOneEndedWhileTheBridgeIsOpen)
{
    auto window = ConnectedWindow();
    EXPECT_TRUE(window->Connection.SPITimer.isActive());
    EXPECT_TRUE(window->Connection.SPITimer.isSingleShot());
    window->Connection.SPITimer.stop();
    window->Connection.SPITimerTimer();
    EXPECT_EQ(bridge.transfers.size(), 1u);
    EXPECT_TRUE(window->Connection.SPITimer.isActive());

    bridge.transferResult = -205;
    window->Connection.SPITimerTimer();
    EXPECT_FALSE(window->Connection.Connected());
    EXPECT_FALSE(window->Connection.SPITimer.isActive());
}

TEST_F(CradleFormStatesTest, TheCloseBoxOfAConnectedWindowDoesNothing)
{
    auto window = ConnectedWindow();
    window->show();
    EXPECT_FALSE(window->close());
    EXPECT_TRUE(window->isVisible());
    EXPECT_TRUE(window->Connection.Connected());
    EXPECT_TRUE(bridge.closed.empty());
}

TEST_F(CradleFormStatesTest, AnUnconnectedWindowClosesHiddenAndKeepsItsPlacement)
{
    auto window = ConnectedWindow();
    window->show();
    window->move(140, 120);
    bridge.transferResult = -111;
    window->Connection.SPITimerTimer();
    ASSERT_FALSE(window->Connection.Connected());
    EXPECT_TRUE(window->close());
    EXPECT_FALSE(window->isVisible());

    auto next = NewWindow();
    next->RestorePlacement(nullptr);
    EXPECT_EQ(next->pos(), window->pos());
}

} // namespace
} // namespace qzr::test
