#include "OperationsFixture.h"

#include <QLocale>

#include "cradle/operations/LoggerStart.h"
#include "cradle/operations/LoggerStatusTexts.h"
#include "cradle/operations/RangeError.h"
#include "sim/unit/UnitFrameEncoder.h"

namespace qzr::test {
namespace {

using namespace std::chrono_literals;

QDateTime At(int year, int month, int day, int hour, int minute, int second = 0, int msec = 0)
{
    return QDateTime(QDate(year, month, day), QTime(hour, minute, second, msec));
}

TEST(LoggerStartFromFields, CountsLocalSecondsFrom2000AndTheDelayToTheStart)
{
    struct Case {
        const char* what;
        QDateTime now;
        TLoggerStartFields fields;
        std::int32_t t;
        std::int32_t d;
        std::uint16_t interval;
        bool raised;
        bool movedToToday;
    };
    const Case cases[] = {
        {"no delayed start",
         At(2000, 1, 2, 0, 0, 1, 999),
         {{}, {}, 60},
         86401,
         0,
         60,
         false,
         false},
        {"tomorrow 08:00 at 20:00",
         At(2024, 3, 12, 20, 0),
         {QDate(2024, 3, 13), QTime(8, 0), 600},
         763588800,
         43200,
         600,
         false,
         false},
        {"milliseconds of now dropped",
         At(2024, 3, 12, 19, 59, 59, 500),
         {QDate(2024, 3, 12), QTime(20, 0), 30},
         763588799,
         0,
         30,
         false,
         false},
        {"a start already past today",
         At(2024, 3, 12, 20, 0),
         {QDate(2024, 3, 12), QTime(8, 0), 30},
         763588800,
         0,
         30,
         false,
         true},
        {"empty interval", At(2024, 3, 12, 20, 0), {{}, {}, 0}, 763588800, 0, 2, true, false},
        {"interval 1", At(2024, 3, 12, 20, 0), {{}, {}, 1}, 763588800, 0, 2, true, false},
        {"interval 65535",
         At(2024, 3, 12, 20, 0),
         {{}, {}, 65535},
         763588800,
         0,
         65535,
         false,
         false},
        {"the last second the unit can count",
         At(2068, 1, 19, 3, 14, 0),
         {QDate(2068, 1, 19), QTime(3, 14, 7), 60},
         2147483640,
         7,
         60,
         false,
         false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        const TLoggerStart start = LoggerStartFromFields(c.now, c.fields);
        EXPECT_EQ(start.T, c.t);
        EXPECT_EQ(start.D, c.d);
        EXPECT_EQ(start.Interval, c.interval);
        EXPECT_EQ(start.IntervalRaised, c.raised);
        EXPECT_EQ(start.StartMovedToToday, c.movedToToday);
    }
}

TEST(LoggerStartFromFields, AStartTheUnitCannotCountIsARangeError)
{
    struct Case {
        QDateTime now;
        TLoggerStartFields fields;
        std::string message;
    };
    const Case cases[] = {
        {At(2024, 3, 12, 20, 0),
         {QDate(2068, 1, 19), QTime(3, 15), 60},
         "Delayed start: 2068-01-19 03:15:00 is outside 2000-01-01 00:00:00 to 2068-01-19 "
         "03:14:07"},
        {At(2024, 3, 12, 20, 0),
         {QDate(2099, 12, 31), QTime(23, 59), 60},
         "Delayed start: 2099-12-31 23:59:00 is outside 2000-01-01 00:00:00 to 2068-01-19 "
         "03:14:07"},
        {At(2070, 1, 1, 0, 0),
         {{}, {}, 60},
         "Current time: 2070-01-01 00:00:00 is outside 2000-01-01 00:00:00 to 2068-01-19 "
         "03:14:07"},
        {At(2024, 3, 12, 20, 0),
         {{}, {}, 65536},
         "Log interval (seconds): 65536 is outside 1 to 65535"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.message);
        try {
            LoggerStartFromFields(c.now, c.fields);
            ADD_FAILURE() << "no range error";
        } catch (const ERangeError& error) {
            EXPECT_EQ(error.what(), c.message);
        }
    }
}

TEST(ScaledValueText, ShortestGeneralFormWithTheLocalesSeparator)
{
    struct Case {
        std::int32_t value;
        int decimals;
        const char* text;
    };
    const Case cases[] = {
        {1234, 2, "12.34"},
        {1200, 2, "12"},
        {-5, 1, "-0.5"},
        {0, 3, "0"},
        {7, 0, "7"},
        {1, 5, "0.00001"},
        {5, 10, "5E-10"},
        {-123456, 9, "-0.000123456"},
        {-1, 6, "-1E-6"},
        {2147483647, 0, "2147483647"},
        {-2147483647 - 1, 3, "-2147483.648"},
        {100, 1, "10"},
        {1, 255, "1E-255"},
        {123456789, 20, "1.23456789E-12"},
    };
    for (const Case& c : cases)
        EXPECT_EQ(ScaledValueText(c.value, c.decimals).toStdString(), c.text)
            << c.value << " with " << c.decimals << " decimals";

    const QLocale before;
    QLocale::setDefault(QLocale(QLocale::Dutch, QLocale::Netherlands));
    EXPECT_EQ(ScaledValueText(1234, 2).toStdString(), "12,34");
    EXPECT_EQ(ScaledValueText(-5, 1).toStdString(), "-0,5");
    QLocale::setDefault(before);
}

// A 0x27 reply: state, remaining delay, fill position, seconds left, minimum,
// maximum, integral.
std::array<std::uint8_t, 22> StatusReply(std::uint8_t state, std::uint32_t delay,
                                         std::uint16_t fill, std::uint16_t left,
                                         std::int16_t minimum, std::int16_t maximum,
                                         std::int32_t integral)
{
    std::array<std::uint8_t, 22> message{msgLoggerStatus, 1};
    WriteU32(&message[2], delay);
    WriteU16(&message[6], fill);
    message[8] = state;
    WriteU16(&message[10], left);
    WriteS16(&message[12], minimum);
    WriteS16(&message[14], maximum);
    WriteS32(&message[16], integral);
    return message;
}

TEST(LoggerStatusTexts, EachStateHasItsText)
{
    struct Case {
        std::array<std::uint8_t, 22> reply;
        int decimals;
        TLoggerStatusTexts texts;
    };
    const Case cases[] = {
        {StatusReply(0, 5, 14, 3, 1, 2, 3), 1, {"Idle", "", "", "", ""}},
        {StatusReply(2, 43200, 14, 0, 32767, -32768, 0),
         1,
         {"Armed: remaining delay 43200 s.", "", "", "", ""}},
        {StatusReply(2, 4294967295u, 14, 0, 0, 0, 0),
         0,
         {"Armed: remaining delay 4294967295 s.", "", "", "", ""}},
        {StatusReply(4, 0, 14, 59, 32767, -32768, 0),
         1,
         {"Logging: 0 of 3518 samples stored.", "", "", "0", "59"}},
        {StatusReply(4, 0, 22, 60, 205, 231, 12840),
         1,
         {"Logging: 1 of 3518 samples stored.", "20.5", "23.1", "1284", "60"}},
        {StatusReply(4, 0, 28158, 65535, -5, 1200, -40),
         2,
         {"Logging: 3518 of 3518 samples stored.", "-0.05", "12", "-0.4", "65535"}},
        {StatusReply(4, 0, 3, 1, 0, 0, 0),
         0,
         {"Logging: 0 of 3518 samples stored.", "0", "0", "0", "1"}},
        {StatusReply(6, 0, 28158, 0, 1, 2, 3), 1, {"Memory full", "", "", "", ""}},
        {StatusReply(8, 0, 100, 0, 1, 2, 3), 1, {"Battery low", "", "", "", ""}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.texts.Status.toStdString());
        const auto texts = LoggerStatusTexts(c.reply.data(), c.decimals);
        ASSERT_TRUE(texts.has_value());
        EXPECT_EQ(*texts, c.texts);
    }
    for (std::uint8_t unknown : {1, 3, 5, 9, 255})
        EXPECT_FALSE(LoggerStatusTexts(StatusReply(unknown, 0, 22, 0, 0, 0, 0).data(), 0))
            << int{unknown};
}

class DataLogger : public OperationsFixture {
protected:
    void SetUp() override { openSession(); }

    void start(const QDateTime& now, const TLoggerStartFields& fields)
    {
        operations.Logger.StartLoggerBtnClick(now, fields);
        exchange();
    }
};

TEST_F(DataLogger, StartSendsTDAndTheIntervalAndTheUnitKeepsThem)
{
    unit.loadLoggerRecording({1, 2, 60, 1, 20, {{1, 2, 3}}});
    start(At(2024, 3, 12, 20, 0), {QDate(2024, 3, 13), QTime(8, 0), 0});

    ASSERT_EQ(sent.size(), 1u);
    EXPECT_EQ(sent[0].size(), 12u);
    EXPECT_EQ(sent[0][0], msgStartLogger);
    EXPECT_EQ(ReadS32(&sent[0][2]), 763588800);
    EXPECT_EQ(ReadS32(&sent[0][6]), 43200);
    EXPECT_EQ(ReadU16(&sent[0][10]), 2);
    EXPECT_EQ(window.intervalShown, std::optional<std::uint16_t>(2));
    EXPECT_FALSE(window.dateShown.has_value());
    EXPECT_EQ(window.loggerStarted, 1);
    EXPECT_EQ(session.SessionState, ssIdle);
    EXPECT_FALSE(window.sessionTimerActive);

    EXPECT_EQ(unit.loggerState(), lsArmed);
    EXPECT_EQ(unit.loggerMemory().StartTime(), 763588800);
    EXPECT_EQ(unit.loggerMemory().Delay(), 43200);
    EXPECT_EQ(unit.loggerMemory().Interval(), 2);
    EXPECT_EQ(unit.loggerFillPosition(), LogHeadSize) << "old data erased";
}

TEST_F(DataLogger, AStartInThePastStartsAtOnceAndShowsToday)
{
    start(At(2024, 3, 12, 20, 0), {QDate(2024, 3, 1), QTime(8, 0), 120});
    EXPECT_EQ(ReadS32(&sent.at(0)[6]), 0);
    EXPECT_EQ(window.dateShown, std::optional<QDate>(QDate(2024, 3, 12)));
    EXPECT_FALSE(window.intervalShown.has_value());
    EXPECT_EQ(unit.loggerState(), lsLogging);
}

TEST_F(DataLogger, AStartBeyond2068SendsNothingAndReturnsToIdle)
{
    EXPECT_THROW(operations.Logger.StartLoggerBtnClick(At(2024, 3, 12, 20, 0),
                                                       {QDate(2070, 5, 1), QTime(8, 0), 60}),
                 ERangeError);
    EXPECT_FALSE(codec.OutputPending());
    exchange();
    EXPECT_TRUE(sent.empty());
    EXPECT_EQ(session.SessionState, ssIdle);
    EXPECT_FALSE(window.sessionTimerActive);
    EXPECT_EQ(unit.loggerState(), lsIdle);
}

TEST_F(DataLogger, StatusPollingFollowsADelayedStartIntoLogging)
{
    unit.setInputMicrovolts(20500); // 1x: 2050 counts, 205.0 as the image shows it
    start(At(2024, 3, 12, 20, 0), {QDate(2024, 3, 12), QTime(20, 0, 3), 2});
    window.decimalDotIndex = 1;
    sent.clear();

    window.ClickLoggerStatus(true);
    EXPECT_EQ(window.statusTexts.back(), NoLoggerStatusTexts());
    EXPECT_EQ(session.SessionState, ssLoggerStatus);
    EXPECT_TRUE(window.loggerTimerActive);
    EXPECT_TRUE(window.sessionTimerActive);

    const auto pollAfter = [&](std::chrono::milliseconds elapsed) {
        unit.advanceTime(elapsed);
        operations.Logger.LoggerTimerTimer();
        exchange();
        return window.statusTexts.back();
    };
    EXPECT_EQ(pollAfter(0ms).Status, "Armed: remaining delay 3 s.");
    EXPECT_EQ(pollAfter(2s).Status, "Armed: remaining delay 1 s.");
    const auto logging = pollAfter(2s);
    EXPECT_EQ(logging.Status, "Logging: 0 of 3518 samples stored.");
    EXPECT_EQ(logging.RemainingInterval, "1");
    const auto first = pollAfter(2s);
    EXPECT_EQ(first.Status, "Logging: 1 of 3518 samples stored.");
    EXPECT_EQ(sentIds(), std::vector<std::uint8_t>(4, msgLoggerStatus));
    EXPECT_EQ(session.SessionState, ssLoggerStatus);
    const auto expected = unit.readings().userAdjusted;
    EXPECT_EQ(first.Minimum, ScaledValueText(expected, 1));
    EXPECT_EQ(first.Maximum, ScaledValueText(expected, 1));

    window.ClickLoggerStatus(false);
    EXPECT_EQ(session.SessionState, ssIdle);
    EXPECT_FALSE(window.loggerTimerActive);
    EXPECT_FALSE(window.sessionTimerActive);
}

TEST_F(DataLogger, ARejectedSessionStopsThePollingWithoutClaimingIdle)
{
    window.ClickLoggerStatus(true);
    session.SessionRejected();
    EXPECT_FALSE(window.loggerStatusChecked);
    EXPECT_FALSE(window.loggerTimerActive);
    EXPECT_EQ(session.SessionState, ssNone);
}

TEST_F(DataLogger, AnUnknownStateLeavesTheTextsAlone)
{
    window.ClickLoggerStatus(true);
    const std::size_t shown = window.statusTexts.size();
    const auto reply = StatusReply(3, 0, 22, 0, 0, 0, 0);
    std::vector<std::uint8_t> message(reply.begin(), reply.end());
    message[1] = session.SessionID;
    for (std::uint8_t b : sim::encodeUnitFrame(message))
        session.ReceiveLinkByte(b);
    EXPECT_EQ(window.statusTexts.size(), shown);
    EXPECT_EQ(session.SessionState, ssLoggerStatus);
}

} // namespace
} // namespace qzr::test
