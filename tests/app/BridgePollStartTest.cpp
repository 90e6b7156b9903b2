// The start-up scan opens, sets up and shows the cradles' windows in device
// order while the main window is built, as before; only the bridges' polls,
// each blocking the GUI thread for its whole transfer, wait until the main
// window has been painted.
#include "ProgramRig.h"

#include "cradle/SpiLink.h"

#include <QTest>

namespace qzr::test {
namespace {

// The bridge library's calls as the program makes them, in order.
class TRecordingBridge : public TVexaBridge {
public:
    TBridgeHandle OpenByIndex(std::uint32_t vid, std::uint32_t pid, std::uint32_t index,
                              std::uint16_t* devicePath, std::uint32_t* devicePathSize) override
    {
        Calls.append(QStringLiteral("open"));
        return TVexaBridge::OpenByIndex(vid, pid, index, devicePath, devicePathSize);
    }
    std::int32_t XferSpiDataEx(TBridgeHandle handle, const std::uint8_t* txData,
                               std::uint8_t* rxData, std::uint32_t* bitRate,
                               std::uint32_t* txferSize, std::uint32_t csMask,
                               std::uint32_t* idleCsValues, std::uint32_t* activeCsValues,
                               std::uint32_t* delay1, std::uint32_t* delay2, std::uint32_t* delay3,
                               std::uint8_t* spiMode) override
    {
        Calls.append(QStringLiteral("set-up"));
        return TVexaBridge::XferSpiDataEx(handle, txData, rxData, bitRate, txferSize, csMask,
                                          idleCsValues, activeCsValues, delay1, delay2, delay3,
                                          spiMode);
    }
    std::int32_t XferSpiData(TBridgeHandle handle, const std::uint8_t* txData, std::uint8_t* rxData,
                             std::uint32_t* bitRate, std::uint32_t* txferSize,
                             std::uint32_t csMask) override
    {
        Calls.append(QStringLiteral("poll"));
        return TVexaBridge::XferSpiData(handle, txData, rxData, bitRate, txferSize, csMask);
    }

    QStringList Calls;
};

class BridgePollStartTest : public ProgramRig {
protected:
    void SetUp() override
    {
        ProgramRig::SetUp();
        simulator->addHidCradle("hid");
        simulator->addBridgeCradle("bridge");
        simulator->placeUnit("bridge", sim::UnitSpec::demo(0x00A1B2D7));
    }

    void TearDown() override
    {
        program.reset();
        ProgramRig::TearDown();
    }

    // The main window built as the program builds it, not shown yet.
    void BuildMainWindow()
    {
        program = std::make_unique<TMainForm>(
            TMainFormEnvironment{*personality,
                                 *translator,
                                 recordingBridge,
                                 TCradleIdentifierSet{},
                                 filesDir.filePath(QStringLiteral("QZR.INI")),
                                 {},
                                 [this](const QString& error) { errors.append(error); }});
    }

    static void PollNow(TInterfaceChip chip) { WindowOf(chip)->Connection.SPITimerTimer(); }

    TRecordingBridge recordingBridge;
    std::unique_ptr<TMainForm> program;
};

TEST_F(BridgePollStartTest,
       CradlesAreOpenedAndShownWhileTheMainWindowIsBuiltButPolledOnlyOnceItIsPainted)
{
    BuildMainWindow();
    ASSERT_EQ(Windows().size(), 2);
    ASSERT_NE(WindowOf(ifCypress), nullptr);
    ASSERT_NE(WindowOf(ifSorvik), nullptr);
    EXPECT_TRUE(WindowOf(ifCypress)->isVisible());
    EXPECT_TRUE(WindowOf(ifSorvik)->isVisible());
    EXPECT_EQ(recordingBridge.Calls, (QStringList{"open", "set-up"}))
        << "the bridge is opened and set up by the start-up scan itself";
    EXPECT_TRUE(WindowOf(ifSorvik)->Connection.SPITimer.isActive());

    EXPECT_TRUE(TSpiLink::PollsHeld());
    PollNow(ifSorvik);
    EXPECT_EQ(recordingBridge.Calls, (QStringList{"open", "set-up"})) << "no poll before the paint";
    EXPECT_TRUE(WindowOf(ifSorvik)->Connection.SPITimer.isActive()) << "the poll timer tries again";

    program->show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(program.get()));
    program->repaint();
    EXPECT_FALSE(TSpiLink::PollsHeld());
    const qsizetype callsBefore = recordingBridge.Calls.size();
    PollNow(ifSorvik);
    ASSERT_EQ(recordingBridge.Calls.size(), callsBefore + 1);
    EXPECT_EQ(recordingBridge.Calls.last(), "poll");
}

TEST_F(BridgePollStartTest, AMainWindowThatIsNeverPaintedHoldsThePollsOnlyUntilTheDeadline)
{
    BuildMainWindow();
    ASSERT_NE(WindowOf(ifSorvik), nullptr);
    ASSERT_TRUE(TSpiLink::PollsHeld());
    ASSERT_TRUE(WaitFor([] { return !TSpiLink::PollsHeld(); }));
    EXPECT_TRUE(
        WaitFor([&] { return ShowsUnit(WindowOf(ifSorvik), QStringLiteral("#00A1B2D7")); }));
}

TEST_F(BridgePollStartTest, TheHoldEndsWithTheMainWindow)
{
    BuildMainWindow();
    ASSERT_TRUE(TSpiLink::PollsHeld());
    program.reset();
    EXPECT_FALSE(TSpiLink::PollsHeld()) << "later windows are polled as usual";
}

} // namespace
} // namespace qzr::test
