#include "cradle/CradleConnection.h"
#include "FakeBridge.h"
#include "cradle/SessionIdCounter.h"
#include "sim/unit/DemoRecording.h"
#include "sim/unit/Zt46Unit.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <string>
#include <vector>

namespace qzr::test {
namespace {

// The bridge cradle with a unit wired to its SPI bus: every clocked byte goes
// to the unit, and the byte clocked back is the unit's next one, or the fill
// byte 0xA5 while it has nothing to send.
class TUnitBridge : public TFakeBridge {
public:
    explicit TUnitBridge(sim::Zt46Unit& unit) : FUnit(unit) {}

    std::int32_t XferSpiData(TBridgeHandle handle, const std::uint8_t* txData, std::uint8_t* rxData,
                             std::uint32_t* bitRate, std::uint32_t* txferSize,
                             std::uint32_t csMask) override
    {
        const std::int32_t result =
            TFakeBridge::XferSpiData(handle, txData, rxData, bitRate, txferSize, csMask);
        if (result != 0)
            return result;
        for (std::uint32_t i = 0; i < *txferSize; ++i) {
            FUnit.receiveByte(txData[i]);
            rxData[i] = FUnit.hasOutput() ? FUnit.takeOutputByte() : 0xA5;
        }
        return 0;
    }

private:
    sim::Zt46Unit& FUnit;
};

// A display that records what it is told and models "Show realtime", whose
// handler switches the live readings off, and the selected amplifier range.
class TRecordingDisplay : public TCradleDisplay {
public:
    TCradleConnection* connection = nullptr;
    std::vector<std::string> calls;
    bool unitShown = false;
    bool realtimeOn = false;
    int cradleLost = 0;
    int amplifierIndex = -1;
    TSetupData shownSetup{};
    std::vector<TRealtimeReadings> readings;
    std::vector<TLogData> readouts;

    void SetAllowances() override { calls.push_back("SetAllowances"); }
    void SetCaption() override { calls.push_back("SetCaption"); }
    void ShowUnitOnCradle(bool present) override { unitShown = present; }
    void SetProgress(int) override {}
    void ShowMessageCounts(std::uint32_t, std::uint32_t) override {}
    void ClearSessionDisplays() override { calls.push_back("ClearSessionDisplays"); }
    void EndRealtimeDisplay() override
    {
        calls.push_back("EndRealtimeDisplay");
        if (realtimeOn) {
            realtimeOn = false;
            connection->Operations.Readings.ReadRealtimeActionExecute(false);
        }
    }
    void SetupDataToControls() override { shownSetup = connection->Session.SetupData; }
    void ShowReadings(const TRealtimeReadings& shown) override { readings.push_back(shown); }
    void ClearReadings() override {}
    int DecimalDotIndex() const override { return 1; }
    void ShowLoggerStatus(const TLoggerStatusTexts&) override {}
    void ShowLogInterval(std::uint16_t) override {}
    void ShowLogDate(const QDate&) override {}
    void LoggerStarted() override {}
    void CradleLost() override { ++cradleLost; }
    void ProgrammingFailed(std::uint16_t) override {}
    void ProgrammingStored(TNvmArea) override {}
    int AmplifierIndex() const override { return amplifierIndex; }
    bool LinkOffsetChecked() const override { return false; }
    bool LinkFullScaleChecked() const override { return false; }
    std::int32_t Offset(int) const override { return 0; }
    void SetOffset(int, std::int32_t) override {}
    void SetDivider(int, std::int32_t) override {}
    void ReadoutComplete(const TLogData& image) override { readouts.push_back(image); }
};

class CradleConnectionTest : public ::testing::Test {
protected:
    CradleConnectionTest() { display.connection = &connection; }

    void ConnectBridge()
    {
        connection.SetInterfaceChip(ifSorvik);
        connection.Connect(1);
        ASSERT_TRUE(connection.Connected());
    }

    // Polls as the SPI timer would until the session is idle; whether it got
    // there within the polls a handshake and setup read take.
    bool PollUntilIdle()
    {
        for (int poll = 0; poll < 200 && connection.Session.SessionState != ssIdle; ++poll) {
            connection.SPITimerTimer();
            unit.advanceTime(std::chrono::milliseconds(10));
        }
        return connection.Session.SessionState == ssIdle;
    }

    // The message bytes after DLE STX of the last poll's frame (session IDs
    // and values here have no byte 0x10 to double).
    std::vector<std::uint8_t> LastMessage(std::size_t count) const
    {
        const std::vector<std::uint8_t>& sent = bridge.transfers.back().sent;
        return std::vector<std::uint8_t>(sent.begin() + 2, sent.begin() + 2 + count);
    }

    sim::Zt46Unit unit{{0x12AB34CD, 2, 0x15, 0x0310}};
    TUnitBridge bridge{unit};
    TSessionIdCounter sessionIds;
    TRecordingDisplay display;
    TCradleConnection connection{display, sessionIds, bridge, TCradleIdentifierSet{}};
};

TEST_F(CradleConnectionTest, ABridgeCradleHoldsASessionWithoutAnyWindow)
{
    ConnectBridge();
    EXPECT_TRUE(connection.SPITimer.isActive());
    ASSERT_TRUE(PollUntilIdle());

    EXPECT_TRUE(display.unitShown);
    EXPECT_EQ(connection.Session.SerialNumber, 0x12AB34CDu);
    EXPECT_EQ(display.shownSetup, unit.workingSetup());
    EXPECT_FALSE(connection.SessionTimer.isActive()) << "the session timer is the connection's";
    EXPECT_EQ(display.calls.back(), "SetCaption");
    EXPECT_NE(std::find(display.calls.begin(), display.calls.end(), "ClearSessionDisplays"),
              display.calls.end());
}

TEST_F(CradleConnectionTest, AFailedTransferClosesTheBridgeAndReportsTheCradleLost)
{
    ConnectBridge();
    bridge.transferResult = -1;
    connection.SPITimerTimer();
    EXPECT_EQ(display.cradleLost, 1);
    EXPECT_FALSE(connection.Connected());
    EXPECT_FALSE(connection.SPITimer.isActive()) << "no poll follows a closed bridge";
}

TEST_F(CradleConnectionTest, ConnectFailuresCarryTheirTextsAndLeaveNothingConnected)
{
    struct TCase {
        TInterfaceChip chip;
        int index;
        std::int32_t openResult;
        std::int32_t setupResult;
        std::string message;
    };
    for (const TCase& c : {TCase{ifCypress, 70000, 0, 0, "Device 70000 is not available."},
                           TCase{ifCypress, -1, 0, 0, "Device -1 is not available."},
                           TCase{ifSorvik, 1, -106, 0, "Failed to open connection: -106"},
                           TCase{ifSorvik, 1, 0, -5, "Connection error: -5"}}) {
        SCOPED_TRACE(c.message);
        TSessionIdCounter ids;
        TFakeBridge failing;
        failing.openResult = c.openResult;
        failing.setupResult = c.setupResult;
        TRecordingDisplay shown;
        TCradleConnection failed(shown, ids, failing, TCradleIdentifierSet{});
        failed.SetInterfaceChip(c.chip);
        std::string message;
        try {
            failed.Connect(c.index);
        } catch (const std::exception& error) {
            message = error.what();
        }
        EXPECT_EQ(message, c.message);
        EXPECT_FALSE(failed.Connected());
        EXPECT_FALSE(failed.SPITimer.isActive());
    }
}

TEST_F(CradleConnectionTest, RealtimeRequestsRunUntilSwitchedOffOrTheSessionEnds)
{
    ConnectBridge();
    ASSERT_TRUE(PollUntilIdle());
    const std::uint8_t id = connection.Session.SessionID;

    display.realtimeOn = true;
    connection.Operations.Readings.ReadRealtimeActionExecute(true);
    EXPECT_EQ(connection.Session.SessionState, ssRealtime);
    EXPECT_TRUE(connection.RealTimer.isActive());
    EXPECT_TRUE(connection.SessionTimer.isActive());

    display.amplifierIndex = 2;
    connection.Operations.Readings.AmplifierSelectionChanged();
    connection.RealTimerTimer();
    connection.SPITimerTimer();
    EXPECT_EQ(LastMessage(6), (std::vector<std::uint8_t>{msgWriteSetup, id, 36, 0, 4, 0}))
        << "a changed range replaces one reading request";
    EXPECT_EQ(unit.workingSetup().AmplifierIndex(), 2);

    connection.RealTimerTimer();
    connection.SPITimerTimer();
    EXPECT_EQ(LastMessage(2), (std::vector<std::uint8_t>{msgRealtime, id}));
    connection.SPITimerTimer();
    ASSERT_FALSE(display.readings.empty()) << "the reply reaches the display";
    EXPECT_EQ(display.readings.back().RawInput, unit.readings().rawInput);

    connection.Session.SessionEnds();
    EXPECT_FALSE(display.realtimeOn);
    EXPECT_FALSE(connection.RealTimer.isActive());
    EXPECT_FALSE(connection.SessionTimer.isActive());
    EXPECT_EQ(connection.Session.SessionState, ssNone);
}

TEST_F(CradleConnectionTest, AReadoutOfAFullDayEndsWithTheUnitsImage)
{
    unit.loadLoggerRecording(sim::temperatureDayRecording(850000000));
    ConnectBridge();
    ASSERT_TRUE(PollUntilIdle());

    connection.Operations.Readout.ReadLoggerBtnClick();
    EXPECT_EQ(connection.Session.SessionState, ssReadingLog);
    for (int poll = 0; poll < 20000 && connection.Session.SessionState == ssReadingLog; ++poll)
        connection.SPITimerTimer();
    ASSERT_EQ(display.readouts.size(), 1u);
    EXPECT_EQ(display.readouts.front(), unit.loggerMemory());
    EXPECT_EQ(connection.Session.SessionState, ssIdle);
}

} // namespace
} // namespace qzr::test
