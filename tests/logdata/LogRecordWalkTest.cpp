// The record walk that the chart, the export and the command line share.
#include "LogImages.h"

#include <logdata/LogRecordWalk.h>
#include <logdata/LogTime.h>
#include <logdata/TimeAxisScale.h>

#include <gtest/gtest.h>

#include <ctime>

namespace qzr {
namespace {

using test::FullLogImage;
using test::LogImage;

const QDateTime Origin(QDate(2000, 1, 1), QTime(0, 0), Qt::UTC);

TEST(LogRecordWalk, PlacesRecordKOneIntervalAfterTheStartOfLoggingPlusK)
{
    // Start time one day, delay 30 s: logging starts 2000-01-02 00:00:30.
    const TLogData data = LogImage(
        86400, 30, 60, 0, {{1, 2, 180}, {3, 4, 240}, {5, 6, 300}, {-1, -1, -1}, {7, 8, 9}});
    const TLogWalk walk = WalkLogRecords(data);
    ASSERT_TRUE(walk.HasData);
    EXPECT_EQ(walk.StartDT, Origin.addSecs(86430));
    ASSERT_EQ(walk.Points.size(), 3u); // the erased fourth record ends the walk
    for (std::size_t k = 0; k < 3; ++k) {
        EXPECT_EQ(walk.Points[k].Index, k);
        EXPECT_EQ(walk.Points[k].Time, walk.StartDT.addSecs(60 * qint64(k + 1)));
    }
    EXPECT_EQ(walk.Points[2].Raw, (TLogRecord{5, 6, 300}));
    EXPECT_DOUBLE_EQ(*walk.Points[2].Average, 5.0);
}

TEST(LogRecordWalk, ScalesByTheDecimalsAndKeepsARecordWithOnlyTheIntegral)
{
    const TLogData data = LogImage(0, 0, 60, 2, {{1234, 1234, 6000}, {-1, -1, 0}});
    const TLogWalk walk = WalkLogRecords(data);
    ASSERT_EQ(walk.Points.size(), 2u);
    EXPECT_DOUBLE_EQ(walk.Points[0].Minimum, 12.34);
    EXPECT_DOUBLE_EQ(*walk.Points[0].Average, 1.00);
    EXPECT_DOUBLE_EQ(walk.Points[1].Minimum, -0.01);
    EXPECT_DOUBLE_EQ(walk.Points[1].Maximum, -0.01);
    EXPECT_DOUBLE_EQ(*walk.Points[1].Average, 0.0);
    EXPECT_DOUBLE_EQ(walk.Highest, 12.34);
    EXPECT_DOUBLE_EQ(walk.Lowest, -1.5);
}

TEST(LogRecordWalk, ValueRangeIsNeverNarrowerThanOneAndAHalfEachWay)
{
    struct Case {
        const char* name;
        TLogData data;
        double lowest;
        double highest;
    };
    const Case cases[] = {
        {"small values", LogImage(0, 0, 60, 1, {{-15, 15, 0}, {-3, 9, 0}}), -1.5, 1.5},
        {"first record erased", LogImage(0, 0, 60, 1, {}), -1.5, 1.5},
        {"wide values", LogImage(0, 0, 60, 1, {{-250, 30005, 0}}), -25.0, 3000.5},
        // Averages take no part in the range.
        {"large average", LogImage(0, 0, 1, 0, {{0, 1, 100000}}), -1.5, 1.5},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const TLogWalk walk = WalkLogRecords(c.data);
        EXPECT_DOUBLE_EQ(walk.Lowest, c.lowest);
        EXPECT_DOUBLE_EQ(walk.Highest, c.highest);
    }
}

TEST(LogRecordWalk, FullMemoryEndsAtTheLastRecordSlot)
{
    TLogData data = FullLogImage();
    // The two bytes after the last record are not a record.
    data[LogDataSize - 2] = 0x12;
    data[LogDataSize - 1] = 0x34;
    const TLogWalk walk = WalkLogRecords(data);
    ASSERT_EQ(walk.Points.size(), LogRecordCount);
    EXPECT_EQ(walk.Points.back().Index, LogRecordCount - 1);
    EXPECT_EQ(walk.Points.back().Raw.Maximum, 3517);
    EXPECT_EQ(walk.Points.back().Time, Origin.addSecs(60 * 3518));
}

TEST(LogRecordWalk, ImageWithoutDataHasNoPointsEvenWithRecords)
{
    const TLogWalk walk = WalkLogRecords(LogImage(-1, 0, 60, 0, {{1, 2, 3}}));
    EXPECT_FALSE(walk.HasData);
    EXPECT_TRUE(walk.Points.empty());
    EXPECT_FALSE(walk.StartDT.isValid());
    EXPECT_DOUBLE_EQ(walk.Lowest, -1.5);
    EXPECT_DOUBLE_EQ(walk.Highest, 1.5);
}

TEST(LogRecordWalk, IntervalZeroDefinesNoAverage)
{
    const TLogWalk walk = WalkLogRecords(LogImage(0, 0, 0, 0, {{1, 2, 3}}));
    ASSERT_EQ(walk.Points.size(), 1u);
    EXPECT_FALSE(walk.Points[0].Average.has_value());
    EXPECT_EQ(walk.Points[0].Time, walk.StartDT);
}

TEST(LogRecordWalk, CountsTimeOnTheWallClockAcrossYearsAndNegativeDelays)
{
    // 2026-03-29 is a daylight-saving day in much of Europe; the wall clock
    // counts through it without a shift.
    const qint64 start = Origin.secsTo(QDateTime(QDate(2026, 3, 29), QTime(1, 30), Qt::UTC));
    const TLogWalk walk =
        WalkLogRecords(LogImage(std::int32_t(start + 60), -60, 3600, 0, {{0, 0, 0}}));
    EXPECT_EQ(walk.StartDT.date(), QDate(2026, 3, 29));
    EXPECT_EQ(walk.StartDT.time(), QTime(1, 30));
    EXPECT_EQ(walk.Points[0].Time.time(), QTime(2, 30));
    // The largest start time and delay do not overflow.
    const TLogWalk far = WalkLogRecords(LogImage(INT32_MAX, INT32_MAX, 60, 0, {}));
    EXPECT_EQ(far.StartDT, Origin.addSecs(2 * qint64{INT32_MAX}));
}

TEST(LogTimeFormat, DropsTheTimeZoneOfTheLocalesLongFormat)
{
    EXPECT_EQ(LogTimeFormat(QLocale(QLocale::English, QLocale::UnitedStates)), "h:mm:ss AP");
    EXPECT_EQ(LogTimeFormat(QLocale(QLocale::Dutch, QLocale::Netherlands)), "HH:mm:ss");
    EXPECT_EQ(LogDateFormat(QLocale(QLocale::Dutch, QLocale::Netherlands)), "dd-MM-yyyy");
}

} // namespace
} // namespace qzr

namespace qzr {
namespace {

// Sets the process's time zone for the life of the object.
class TimeZoneScope {
public:
    explicit TimeZoneScope(const char* zone)
        : FOld(qgetenv("TZ")), FHadOld(qEnvironmentVariableIsSet("TZ"))
    {
        qputenv("TZ", zone);
        tzset();
    }
    ~TimeZoneScope()
    {
        if (FHadOld)
            qputenv("TZ", FOld);
        else
            qunsetenv("TZ");
        tzset();
    }

private:
    QByteArray FOld;
    bool FHadOld;
};

TEST(LocalClockMapper, GivesTheExactInstantsAcrossDaylightSavingChanges)
{
    for (const char* zone : {"Europe/Amsterdam", "America/New_York", "UTC"}) {
        SCOPED_TRACE(zone);
        const TimeZoneScope scope(zone);
        TLocalClockMapper mapper;
        // Every 20 minutes over 2026, which holds both changes of each zone.
        const QDateTime start(QDate(2026, 1, 1), QTime(0, 0), Qt::UTC);
        for (qint64 minutes = 0; minutes < 366 * 24 * 60; minutes += 20) {
            const QDateTime wallClock = start.addSecs(minutes * 60);
            // The hour that the autumn change shows twice is ambiguous.
            const qint64 exact = LocalClockMSecs(wallClock);
            const auto shows = [&](qint64 msecs) {
                return QDateTime::fromMSecsSinceEpoch(msecs).time() == wallClock.time();
            };
            if (shows(exact - 3600000) || shows(exact + 3600000))
                continue;
            ASSERT_EQ(mapper.MSecs(wallClock), LocalClockMSecs(wallClock))
                << wallClock.toString(Qt::ISODate).toStdString();
        }
    }
}

} // namespace
} // namespace qzr

namespace qzr {
namespace {

TEST(RoundTimeAxisScale, WidensToTheSmallestRoundStepWithAtMostSixIntervals)
{
    constexpr qint64 Minute = 60000;
    constexpr qint64 Hour = 60 * Minute;
    constexpr qint64 Day = 24 * Hour;
    // 2026-12-10 00:00:00 UTC.
    const qint64 midnight =
        QDateTime(QDate(2026, 12, 10), QTime(0, 0), Qt::UTC).toMSecsSinceEpoch();
    struct Case {
        const char* name;
        qint64 first;
        qint64 last;
        int offsetSeconds;
        TTimeAxisScale scale;
    };
    const Case cases[] = {
        {"a whole day", midnight, midnight + Day, 0, {midnight, midnight + Day, 7}},
        {"a zoomed stretch",
         midnight + 9 * Hour + 35 * Minute + 15000,
         midnight + 10 * Hour + 56 * Minute + 49000,
         0,
         {midnight + 9 * Hour + 30 * Minute, midnight + 11 * Hour, 7}},
        {"local midnight an hour ahead of UTC",
         midnight - Hour,
         midnight + Day - Hour,
         3600,
         {midnight - Hour, midnight + Day - Hour, 7}},
        {"an instant", midnight + 1234, midnight + 1234, 0, {midnight + 1000, midnight + 3000, 3}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const TTimeAxisScale scale = RoundTimeAxisScale(c.first, c.last, c.offsetSeconds);
        EXPECT_EQ(scale.FirstMSecs, c.scale.FirstMSecs);
        EXPECT_EQ(scale.LastMSecs, c.scale.LastMSecs);
        EXPECT_EQ(scale.TickCount, c.scale.TickCount);
        EXPECT_LE(scale.FirstMSecs, c.first);
        EXPECT_GE(scale.LastMSecs, c.last);
    }
    // The longest span the memory can hold: 3518 intervals of 65535 s.
    const qint64 longest = 3518 * qint64{65535} * 1000;
    const TTimeAxisScale years = RoundTimeAxisScale(midnight, midnight + longest, 0);
    EXPECT_LE(years.FirstMSecs, midnight);
    EXPECT_GE(years.LastMSecs, midnight + longest);
    EXPECT_LE(years.TickCount, MaximumTimeAxisIntervals + 1);
    EXPECT_EQ((years.LastMSecs - years.FirstMSecs) % (7 * Day), 0);
}

} // namespace
} // namespace qzr
