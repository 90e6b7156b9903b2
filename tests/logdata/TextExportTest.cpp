// The tab-separated text export and the number texts it is written with.
#include "LogImages.h"

#include <logdata/LogValueText.h>
#include <logdata/TextExport.h>

#include <gtest/gtest.h>

namespace qzr {
namespace {

using test::FullLogImage;
using test::LogImage;

const QLocale English(QLocale::English, QLocale::UnitedKingdom); // 31/12/2000, 13:04:05
const QLocale Dutch(QLocale::Dutch, QLocale::Netherlands);       // 31-12-2000, 13:04:05

QStringList Lines(const QByteArray& text)
{
    QStringList lines = QString::fromUtf8(text).split(QStringLiteral("\r\n"));
    EXPECT_EQ(lines.takeLast(), QString()) << "every line ends in CR LF";
    return lines;
}

TEST(ScaledValueText, WritesExactlyTheDecimalsWithTheLocalesSeparator)
{
    struct Case {
        qint64 value;
        int decimals;
        const char* point;
        const char* text;
    };
    const Case cases[] = {
        {-5, 2, ".", "-0.05"}, {1234, 2, ".", "12.34"},        {100, 2, ",", "1,00"},
        {0, 3, ".", "0.000"},  {-32768, 0, ".", "-32768"},     {7, 0, ",", "7"},
        {-1, 1, ",", "-0,1"},  {5, 12, ".", "0.000000000005"},
    };
    for (const Case& c : cases)
        EXPECT_EQ(ScaledValueText(c.value, c.decimals, QString::fromLatin1(c.point)), c.text)
            << c.value << " with " << c.decimals;
}

TEST(AverageText, RoundsHalvesAwayFromZeroOnTheIntegers)
{
    struct Case {
        std::int32_t integral;
        quint16 interval;
        int decimals;
        const char* text;
    };
    const Case cases[] = {
        {6000, 60, 2, "1.00"},
        {25, 2, 2, "0.13"}, // 12.5 hundredths
        {-25, 2, 2, "-0.13"},
        {24, 2, 1, "1.2"}, // exact
        {1, 3, 0, "0"},
        {-1, 60, 2, "0.00"}, // no negative zero
        {INT32_MIN, 1, 0, "-2147483648"},
    };
    for (const Case& c : cases)
        EXPECT_EQ(AverageText(c.integral, c.interval, c.decimals, QStringLiteral(".")), c.text)
            << c.integral << " / " << c.interval;
    EXPECT_EQ(AverageText(6000, 0, 2, QStringLiteral(".")), QString());
}

TEST(TextExport, WritesHeaderEmptyLineAndOneTabbedLinePerRecord)
{
    // Start 2000-01-01 00:00:00 + 1 day, delay 90 s.
    const TLogData data = LogImage(86400, 90, 60, 2, {{-5, 1234, 6000}, {-1, -1, -1}, {1, 1, 1}});
    const QStringList lines = Lines(LogDataText(WalkLogRecords(data), "°C", English));
    ASSERT_EQ(lines.size(), 3);
    EXPECT_EQ(lines[0], "02/01/2000\t00:01:30\tMin.\tMax.\tAverage °C");
    EXPECT_EQ(lines[1], "");
    EXPECT_EQ(lines[2], "02/01/2000\t00:02:30\t-0.05\t12.34\t1.00");
}

TEST(TextExport, IsUtf8AndUsesTheLocalesFormats)
{
    const TLogData data = LogImage(0, 0, 60, 1, {{-5, 1234, 6000}});
    const QByteArray text = LogDataText(WalkLogRecords(data), "µm", Dutch);
    EXPECT_TRUE(text.contains("Average \xC2\xB5m\r\n"));
    EXPECT_TRUE(text.endsWith("01-01-2000\t00:01:00\t-0,5\t123,4\t10,0\r\n"));
}

TEST(TextExport, ZeroDecimalsHaveNoSeparatorAndUnknownUnitsKeepTheSpace)
{
    const TLogData data = LogImage(0, 0, 60, 0, {{-5, 1234, 6000}});
    const QStringList lines = Lines(LogDataText(WalkLogRecords(data), QString(), Dutch));
    ASSERT_EQ(lines.size(), 3);
    EXPECT_TRUE(lines[0].endsWith("\tAverage "));
    EXPECT_EQ(lines[2], "01-01-2000\t00:01:00\t-5\t1234\t100");
}

TEST(TextExport, FirstRecordErasedGivesTheHeaderLinesOnly)
{
    const QStringList lines =
        Lines(LogDataText(WalkLogRecords(LogImage(0, 0, 60, 0, {})), "V", English));
    EXPECT_EQ(lines, QStringList({"01/01/2000\t00:00:00\tMin.\tMax.\tAverage V", ""}));
}

TEST(TextExport, ImageWithoutDataGivesHeaderLinesWithoutDateAndTime)
{
    TLogData data;
    data.Erase();
    const QStringList lines = Lines(LogDataText(WalkLogRecords(data), QString(), English));
    EXPECT_EQ(lines, QStringList({"\t\tMin.\tMax.\tAverage ", ""}));
}

TEST(TextExport, IntervalZeroLeavesTheAverageEmpty)
{
    const QStringList lines =
        Lines(LogDataText(WalkLogRecords(LogImage(0, 0, 0, 1, {{1, 2, 3}})), "V", English));
    ASSERT_EQ(lines.size(), 3);
    EXPECT_EQ(lines[2], "01/01/2000\t00:00:00\t0.1\t0.2\t");
}

TEST(TextExport, FullMemoryGives3520Lines)
{
    const QStringList lines = Lines(LogDataText(WalkLogRecords(FullLogImage()), "V", English));
    ASSERT_EQ(lines.size(), 3520);
    EXPECT_EQ(lines.last(), "03/01/2000\t10:38:00\t-3517\t3517\t3517");
}

} // namespace
} // namespace qzr
