#include <catalogue/SensorFileReader.h>

#include <QLocale>
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace qzr {
namespace {

const QString Header = "sensor_ID,sensor_name,sensor_caption,sensor_min,sensor_max,sensor_FS,"
                       "sensor_DP,sensor_notnegative,sensor_currentoutput,sensor_resistor,"
                       "sensor_units\n";

TSensorRecord LoadCell()
{
    TSensorRecord record;
    record.sensor_ID = 7;
    record.sensor_name = "Load cell";
    record.sensor_caption = "uV per kg";
    record.sensor_min = 1.5;
    record.sensor_max = 2.25;
    record.sensor_FS = 500;
    record.sensor_DP = 1;
    record.sensor_notnegative = true;
    record.sensor_currentoutput = false;
    record.sensor_resistor = 604;
    record.sensor_units = "kg";
    return record;
}

struct TReadCase {
    const char* Name;
    QString Contents;
    std::vector<TSensorRecord> Expected;
};

void PrintTo(const TReadCase& readCase, std::ostream* out)
{
    *out << readCase.Name;
}

class SensorFileContents : public testing::TestWithParam<TReadCase> {};

TEST_P(SensorFileContents, LoadAsExpected)
{
    const auto records = ParseSensorFile(GetParam().Contents);
    ASSERT_TRUE(records.has_value());
    EXPECT_EQ(*records, GetParam().Expected);
}

TSensorRecord With(std::function<void(TSensorRecord&)> change)
{
    TSensorRecord record = LoadCell();
    change(record);
    return record;
}

TSensorRecord Only(std::function<void(TSensorRecord&)> fill)
{
    TSensorRecord record;
    fill(record);
    return record;
}

const QString LoadCellLine = "7,Load cell,uV per kg,1.5,2.25,500,1,TRUE,FALSE,604,kg\n";

INSTANTIATE_TEST_SUITE_P(
    Cases, SensorFileContents,
    testing::Values(
        TReadCase{"FileOrder", Header + LoadCellLine, {LoadCell()}},
        TReadCase{"OtherColumnOrderAndLetterCase",
                  "SENSOR_UNITS,Sensor_Resistor,sensor_currentOutput,sensor_notnegative,sensor_dp,"
                  "sensor_fs,SENSOR_MAX,sensor_min,sensor_Caption,sensor_NAME,Sensor_id\n"
                  "kg,604,FALSE,TRUE,1,500,2.25,1.5,uV per kg,Load cell,7\n",
                  {LoadCell()}},
        TReadCase{"MissingColumnsStayEmptyUnknownColumnsSkipped",
                  "colour,sensor_ID,weight\nred,3,12.5\n",
                  {Only([](TSensorRecord& r) { r.sensor_ID = 3; })}},
        TReadCase{"QuotedCommaAndDoubledQuote",
                  Header + "7,\"Cell \"\"A\"\", 50 kg\",\"uV, per kg\",1.5,2.25,500,1,TRUE,"
                           "FALSE,604,kg\n",
                  {With([](TSensorRecord& r) {
                      r.sensor_name = "Cell \"A\", 50 kg";
                      r.sensor_caption = "uV, per kg";
                  })}},
        TReadCase{"OnlyExactTrueIsTrue",
                  "sensor_ID,sensor_notnegative,sensor_currentoutput\n1,True,1\n2,TRUE,true\n",
                  {Only([](TSensorRecord& r) { r.sensor_ID = 1; }), Only([](TSensorRecord& r) {
                       r.sensor_ID = 2;
                       r.sensor_notnegative = true;
                   })}},
        TReadCase{"EscapesInTexts",
                  "sensor_ID,sensor_name,sensor_units\n1,a%cb%nc%0d%%e%x,100%%\n",
                  {Only([](TSensorRecord& r) {
                      r.sensor_ID = 1;
                      r.sensor_name = QString("a\rb\nc") + QChar(0) + "d%e%x";
                      r.sensor_units = "100%";
                  })}},
        TReadCase{"TextsCutToTheirSizes",
                  "sensor_ID,sensor_name,sensor_caption,sensor_units\n1," + QString(40, 'n') + "," +
                      QString(33, 'c') + "," + QString(17, 'u') + "\n",
                  {Only([](TSensorRecord& r) {
                      r.sensor_ID = 1;
                      r.sensor_name = QString(32, 'n');
                      r.sensor_caption = QString(32, 'c');
                      r.sensor_units = QString(16, 'u');
                  })}},
        TReadCase{"PreambleAndEmptyLinesSkipped",
                  "@@FILE VERSION@@,2\n\n@@TABLEDEF START@@\nsensor_ID,integer\n"
                  "sensor_name,text\n@@TABLEDEF END@@\r\n\r\n" +
                      Header + "\n" + LoadCellLine + "\r\n   \n",
                  {LoadCell()}},
        TReadCase{"EmptyUnquotedFieldsLeaveFieldsEmpty",
                  Header + "7,,,,,,,,,,\n",
                  {Only([](TSensorRecord& r) { r.sensor_ID = 7; })}},
        TReadCase{
            "ShortRowLeavesTheRestEmpty", Header + "7,Load cell\n", {Only([](TSensorRecord& r) {
                r.sensor_ID = 7;
                r.sensor_name = "Load cell";
            })}},
        TReadCase{"RecordsKeepFileOrderWithDuplicateIds",
                  "sensor_ID,sensor_units\n5,bar\n5,psi\n",
                  {Only([](TSensorRecord& r) {
                       r.sensor_ID = 5;
                       r.sensor_units = "bar";
                   }),
                   Only([](TSensorRecord& r) {
                       r.sensor_ID = 5;
                       r.sensor_units = "psi";
                   })}},
        TReadCase{"HeaderOnly", Header, {}}, TReadCase{"Empty", "", {}}),
    [](const testing::TestParamInfo<TReadCase>& info) { return info.param.Name; });

TEST(SensorFileReader, NumberFieldsThatAreNotNumbersFailTheLoad)
{
    for (const char* line :
         {"x1,a", "1,a,b,abc", "1,a,b,1.5,2.5x", "1,a,b,1,2,3,1.5", "1,a,b,1,2,3,40000",
          "1,a,b,1,2,3,1,TRUE,TRUE,6e2", "1,a,b,1,2,nan", "99999999999,a"}) {
        SCOPED_TRACE(line);
        EXPECT_FALSE(ParseSensorFile(Header + LoadCellLine + line + "\n").has_value());
    }
}

TEST(SensorFileReader, NumbersUseADotWhateverTheLocale)
{
    const QLocale previous;
    QLocale::setDefault(QLocale(QLocale::German, QLocale::Germany));
    const auto records = ParseSensorFile("sensor_ID,sensor_min,sensor_max\n1,0.25,1e3\n");
    const auto withComma = ParseSensorFile("sensor_ID,sensor_min\n1,\"0,25\"\n");
    QLocale::setDefault(previous);

    ASSERT_TRUE(records.has_value());
    ASSERT_EQ(records->size(), 1u);
    EXPECT_DOUBLE_EQ(records->front().sensor_min, 0.25);
    EXPECT_DOUBLE_EQ(records->front().sensor_max, 1000);
    EXPECT_FALSE(withComma.has_value());
}

TEST(SensorFileReader, AHugeHeaderFillsEachFieldFromItsFirstColumnOnly)
{
    // 80 000 columns, the known ones among them twice and in every spelling.
    QStringList header;
    QStringList line;
    for (int i = 0; i < 80000; ++i) {
        header.append(QString("unknown%1").arg(i));
        line.append("x");
    }
    header[100] = " SENSOR_ID ";
    line[100] = "12";
    header[79998] = "sensor_id";
    line[79998] = "not a number";
    header[500] = "sensor_units";
    line[500] = "bar";
    header[79999] = "Sensor_Units";
    line[79999] = "psi";

    const auto records = ParseSensorFile(header.join(',') + '\n' + line.join(',') + '\n');
    ASSERT_TRUE(records.has_value());
    ASSERT_EQ(records->size(), 1u);
    EXPECT_EQ(records->front().sensor_ID, 12);
    EXPECT_EQ(records->front().sensor_units, "bar");
}

TEST(SensorFileReader, ReadsAFileInUtf8AndRejectsWhatIsNoFile)
{
    QTemporaryDir directory;
    ASSERT_TRUE(directory.isValid());
    QFile file(directory.filePath("catalogue.csv"));
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write("\xEF\xBB\xBFsensor_ID,sensor_caption\r\n4,\xC2\xB5V per \xC2\xB0"
               "C\r\n");
    file.close();

    const auto records = ReadSensorFile(file.fileName());
    ASSERT_TRUE(records.has_value());
    ASSERT_EQ(records->size(), 1u);
    EXPECT_EQ(records->front().sensor_ID, 4);
    EXPECT_EQ(records->front().sensor_caption, QString::fromUtf8("\xC2\xB5V per \xC2\xB0"
                                                                 "C"));

    EXPECT_FALSE(ReadSensorFile(directory.filePath("missing.csv")).has_value());
    EXPECT_FALSE(ReadSensorFile(directory.path()).has_value());
}

} // namespace
} // namespace qzr
