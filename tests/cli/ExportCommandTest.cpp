#include "CliRig.h"

#include <protocol/LogData.h>

#include <QFile>
#include <QJsonArray>
#include <QJsonObject>

namespace qzr::cli::test {
namespace {

// 2026-12-10 08:00:00 on the wall clock, in seconds from 2000-01-01 00:00:00.
constexpr std::int32_t StartTime = 850204800 - 600;
constexpr std::int32_t Delay = 600;

// Three present records of a sensor with two decimals, logged every 60 s; the
// fourth record is erased and ends the data.
TLogData CraftedImage(std::uint16_t interval = 60)
{
    TLogData image{};
    image.Erase();
    image.SetStartTime(StartTime);
    image.SetDelay(Delay);
    image.SetInterval(interval);
    image.SetDecimals(2);
    image.SetSensorId(7);
    image.SetRecord(0, {-5, 1234, 6000});
    image.SetRecord(1, {100, 200, 9030});
    image.SetRecord(2, {-1, -1, 150});
    return image;
}

class ExportCommandTest : public CliRig {
protected:
    void SetUp() override
    {
        CliRig::SetUp();
        QFile catalogue(FilePath("sensors.csv"));
        ASSERT_TRUE(catalogue.open(QIODevice::WriteOnly));
        catalogue.write("sensor_ID,sensor_name,sensor_units\n7,Pressure,bar\n");
    }

    QString Write(const QString& name, const TLogData& image)
    {
        QFile file(FilePath(name));
        EXPECT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(reinterpret_cast<const char*>(image.data()), static_cast<qint64>(image.size()));
        return FilePath(name);
    }

    TCliRun Export(const QStringList& arguments)
    {
        return RunPlain(QStringList{"--catalogue", FilePath("sensors.csv"), "export"} + arguments);
    }
};

TEST_F(ExportCommandTest, CsvHasOneLinePerPresentRecordWithTheImagesDecimals)
{
    const TCliRun run = Export({Write("day.qzr", CraftedImage()), "--format", "csv"});
    ASSERT_EQ(run.ExitCode, 0) << run.Err.toStdString();
    // Data written to standard output is written also with --quiet.
    EXPECT_EQ(Export({FilePath("day.qzr"), "--format", "csv", "--quiet"}).Out, run.Out);
    EXPECT_EQ(run.Out.toStdString(), "time,minimum,maximum,average\n"
                                     "2026-12-10T08:01:00,-0.05,12.34,1.00\n"
                                     "2026-12-10T08:02:00,1.00,2.00,1.51\n"
                                     "2026-12-10T08:03:00,-0.01,-0.01,0.03\n");
}

TEST_F(ExportCommandTest, JsonHoldsTheHeadAndTheSameNumbersAsTheCsv)
{
    const TCliRun run = Export({Write("day.qzr", CraftedImage()), "--format", "json"});
    ASSERT_EQ(run.ExitCode, 0) << run.Err.toStdString();
    const QJsonObject document = run.Json().object();
    EXPECT_EQ(document["start"], "2026-12-10T08:00:00");
    EXPECT_EQ(document["interval"], 60);
    EXPECT_EQ(document["decimals"], 2);
    EXPECT_EQ(document["sensor_id"], 7);
    EXPECT_EQ(document["sensor_units"], "bar");
    const QJsonArray records = document["records"].toArray();
    ASSERT_EQ(records.size(), 3);
    EXPECT_EQ(records[0].toObject(), (QJsonObject{{"time", "2026-12-10T08:01:00"},
                                                  {"minimum", -0.05},
                                                  {"maximum", 12.34},
                                                  {"average", 1.0}}));
    EXPECT_EQ(records[1].toObject()["average"], 1.51);
}

TEST_F(ExportCommandTest, TextIsTheChartWindowsExportWrittenToTheOutputFile)
{
    const TCliRun run = Export({Write("day.qzr", CraftedImage()), "-o", FilePath("day.txt")});
    ASSERT_EQ(run.ExitCode, 0) << run.Err.toStdString();
    EXPECT_TRUE(run.Out.isEmpty());
    QFile text(FilePath("day.txt"));
    ASSERT_TRUE(text.open(QIODevice::ReadOnly));
    const QList<QByteArray> lines = text.readAll().split('\n');
    ASSERT_EQ(lines.size(), 6) << "header, empty line, three records, end";
    EXPECT_TRUE(lines[0].endsWith("\tMin.\tMax.\tAverage bar\r")) << lines[0].toStdString();
    EXPECT_EQ(lines[1], "\r");
    EXPECT_TRUE(lines[2].endsWith("\t-0.05\t12.34\t1.00\r")) << lines[2].toStdString();
}

TEST_F(ExportCommandTest, AnIntervalOfZeroLeavesTheAverageEmptyOrNull)
{
    const QString file = Write("zero.qzr", CraftedImage(0));
    const TCliRun csv = Export({file, "--format", "csv"});
    ASSERT_EQ(csv.ExitCode, 0) << csv.Err.toStdString();
    EXPECT_TRUE(csv.Out.contains("\n2026-12-10T08:00:00,-0.05,12.34,\n")) << csv.Out.toStdString();
    const TCliRun json = Export({file, "--format", "json"});
    EXPECT_TRUE(json.Json().object()["records"].toArray()[0].toObject()["average"].isNull());
}

TEST_F(ExportCommandTest, AnImageWithoutDataHasNoRecordsInAnyFormat)
{
    TLogData erased{};
    erased.Erase();
    const QString file = Write("empty.qzr", erased);
    EXPECT_EQ(Export({file, "--format", "csv"}).Out, "time,minimum,maximum,average\n");
    const QJsonObject document = Export({file, "--format", "json"}).Json().object();
    EXPECT_TRUE(document["start"].isNull());
    EXPECT_TRUE(document["records"].toArray().isEmpty());
    const TCliRun text = Export({file});
    ASSERT_EQ(text.ExitCode, 0);
    EXPECT_EQ(text.Out.count("\r\n"), 2) << "the two header lines only";
}

TEST_F(ExportCommandTest, BadInputGetsAClearMessageAndItsExitCode)
{
    const TCliRun missing = Export({FilePath("missing.qzr")});
    EXPECT_EQ(missing.ExitCode, 1);
    EXPECT_EQ(missing.ErrLines().size(), 1);
    const TCliRun directory = Export({filesDir.path()});
    EXPECT_EQ(directory.ExitCode, 1);
    EXPECT_EQ(directory.ErrLines().size(), 1);
    const TCliRun format = Export({Write("day.qzr", CraftedImage()), "--format", "xml"});
    EXPECT_EQ(format.ExitCode, 2);
    EXPECT_EQ(format.ErrLines().size(), 1);
}

} // namespace
} // namespace qzr::cli::test
