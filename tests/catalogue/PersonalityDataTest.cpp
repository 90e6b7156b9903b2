#include <catalogue/PersonalityData.h>

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QSettings>
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace qzr {
namespace {

// Points the system settings at a temporary directory and writes the
// personality file there.
class PersonalityDataTest : public testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(FSettingsDir.isValid());
        ASSERT_TRUE(FProgramDir.isValid());
        QSettings::setPath(QSettings::NativeFormat, QSettings::SystemScope, FSettingsDir.path());
        QSettings::setPath(QSettings::IniFormat, QSettings::SystemScope, FSettingsDir.path());
    }

    void WriteSettings(const QByteArray& contents)
    {
        ASSERT_TRUE(QDir(FSettingsDir.path()).mkpath("Halvern"));
        QFile file(FSettingsDir.filePath("Halvern/QZR.conf"));
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(contents);
    }

    void WriteProgramFile(const QString& name, const QByteArray& contents)
    {
        QFile file(FProgramDir.filePath(name));
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(contents);
    }

    QString ProgramDir() const { return FProgramDir.path() + '/'; }

    std::unique_ptr<TPersonalityData> Create()
    {
        return std::make_unique<TPersonalityData>(TPersonalityOptions{
            ProgramDir(), [this](const QString& message) { Reports.append(message); }});
    }

    QStringList Reports;

private:
    QTemporaryDir FSettingsDir;
    QTemporaryDir FProgramDir;
};

TEST_F(PersonalityDataTest, WithoutKeysTheDefaultsStayAndTheShippedCatalogueLoads)
{
    TPersonalityData personality(
        TPersonalityOptions{{}, [this](const QString& message) { Reports.append(message); }});
    const QString programDir = QCoreApplication::applicationDirPath() + '/';

    EXPECT_EQ(personality.ProductName, "ZT-46");
    EXPECT_EQ(personality.AppTitle, "ZT-46 Control Utilities");
    EXPECT_EQ(personality.MainformCaption, "ZT-46 Tallyscope");
    EXPECT_EQ(personality.AboutformImage, programDir);
    EXPECT_FALSE(personality.AboutformLink.isEmpty());
    EXPECT_EQ(personality.Sensorfile, programDir + "standard.csv");
    EXPECT_EQ(personality.Iconfile, programDir + "ZT-46.ico");
    EXPECT_FALSE(personality.HasTranslations);
    EXPECT_TRUE(personality.HasSensorSheet);
    EXPECT_FALSE(personality.HasCalibrationsSheet);
    EXPECT_TRUE(personality.HasDataloggerSheet);
    EXPECT_FALSE(personality.HasDetailedSensorSettings);
    EXPECT_TRUE(Reports.isEmpty());
    EXPECT_GE(personality.SensorTable.RecordCount(), 10);
    EXPECT_EQ(personality.SearchTable.RecordCount(), personality.SensorTable.RecordCount());
}

TEST_F(PersonalityDataTest, EveryValueOfBothGroupsIsTaken)
{
    WriteSettings("[DEALER]\nPRODUCTNAME=Meter\nAPPTITLE=Meter Tools\nMAINCAPTION=Meter Main\n"
                  "LOGO=logo.png\nLINK=https://dealer.example\nSENSORS=dealer.csv\n"
                  "ICON=meter.ico\nTRANSLATIONS=1\n"
                  "[FACTORY]\nSENSORSHEET=0\nCALIBRATIONSHEET=1\nDATALOGGERSHEET=0\n"
                  "DETAILEDSENSORSETTINGS=5\n");
    WriteProgramFile("dealer.csv", "sensor_ID,sensor_units\n42,Pa\n");

    const auto personality = Create();
    EXPECT_EQ(personality->ProductName, "Meter");
    EXPECT_EQ(personality->AppTitle, "Meter Tools");
    EXPECT_EQ(personality->MainformCaption, "Meter Main");
    EXPECT_EQ(personality->AboutformImage, ProgramDir() + "logo.png");
    EXPECT_EQ(personality->AboutformLink, "https://dealer.example");
    EXPECT_EQ(personality->Sensorfile, ProgramDir() + "dealer.csv");
    EXPECT_EQ(personality->Iconfile, ProgramDir() + "meter.ico");
    EXPECT_TRUE(personality->HasTranslations);
    EXPECT_FALSE(personality->HasSensorSheet);
    EXPECT_TRUE(personality->HasCalibrationsSheet);
    EXPECT_FALSE(personality->HasDataloggerSheet);
    EXPECT_TRUE(personality->HasDetailedSensorSettings);
    EXPECT_TRUE(Reports.isEmpty());
    ASSERT_EQ(personality->SensorTable.RecordCount(), 1);
    EXPECT_EQ(personality->SensorTable.Current().sensor_ID, 42);
    EXPECT_TRUE(personality->SearchTable.Locate(42));
    EXPECT_EQ(personality->SearchTable.SensorUnits(), "Pa");
}

TEST_F(PersonalityDataTest, AValueMissingFromAnExistingGroupReadsAsEmpty)
{
    WriteSettings("[DEALER]\nLINK=https://dealer.example\n");
    WriteProgramFile("standard.csv", "sensor_ID\n1\n");

    const auto personality = Create();
    EXPECT_EQ(personality->ProductName, "");
    EXPECT_EQ(personality->AppTitle, "");
    EXPECT_EQ(personality->MainformCaption, "");
    EXPECT_EQ(personality->Sensorfile, ProgramDir());
    EXPECT_FALSE(personality->HasTranslations);
    EXPECT_EQ(Reports, QStringList{"'' is not a valid integer value for Integer type"});
    EXPECT_EQ(personality->SensorTable.RecordCount(), 0);
    EXPECT_EQ(personality->SearchTable.RecordCount(), 0);
    EXPECT_TRUE(personality->HasSensorSheet);
}

TEST_F(PersonalityDataTest, AFlagThatIsNoIntegerIsReportedCountsAsZeroAndTheRestLoads)
{
    WriteSettings("[FACTORY]\nSENSORSHEET=yes\nCALIBRATIONSHEET=1\nDATALOGGERSHEET=0x1\n"
                  "DETAILEDSENSORSETTINGS=-2\n");
    WriteProgramFile("standard.csv", "sensor_ID\n1\n2\n");

    const auto personality = Create();
    EXPECT_EQ(Reports, (QStringList{"'yes' is not a valid integer value for Integer type",
                                    "'0x1' is not a valid integer value for Integer type"}));
    EXPECT_FALSE(personality->HasSensorSheet);
    EXPECT_TRUE(personality->HasCalibrationsSheet);
    EXPECT_FALSE(personality->HasDataloggerSheet);
    EXPECT_TRUE(personality->HasDetailedSensorSettings);
    EXPECT_EQ(personality->ProductName, "ZT-46");
    EXPECT_EQ(personality->SensorTable.RecordCount(), 2);
}

TEST_F(PersonalityDataTest, ACatalogueThatCannotBeConvertedLeavesBothTablesEmpty)
{
    WriteProgramFile("standard.csv", "sensor_ID,sensor_FS\n1,100\n2,lots\n");

    const auto personality = Create();
    EXPECT_EQ(personality->SensorTable.RecordCount(), 0);
    EXPECT_EQ(personality->SearchTable.RecordCount(), 0);
    EXPECT_FALSE(personality->SensorTable.Locate(1));
    EXPECT_TRUE(Reports.isEmpty());
}

} // namespace
} // namespace qzr
