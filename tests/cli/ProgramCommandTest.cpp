#include "CliRig.h"

#include <catalogue/SensorFileReader.h>
#include <catalogue/SensorSetup.h>

#include <QFile>
#include <QJsonObject>

namespace qzr::cli::test {
namespace {

constexpr std::uint32_t Serial = 0x00A1B2C3;
// A unit whose firmware reads the fixed-point sensitivity.
constexpr std::uint8_t NewFirmware = 41;

// Sensor 7: a pressure sensor whose settings fit the unit; sensor 8: one whose
// multiplier (50000 x 10) does not fit the unit's 16-bit field.
const char* const Catalogue = "sensor_ID,sensor_name,sensor_min,sensor_max,sensor_FS,sensor_DP,"
                              "sensor_notnegative,sensor_currentoutput,sensor_resistor,"
                              "sensor_units\n"
                              "7,Pressure 10 bar,1,3,100,2,TRUE,FALSE,0,bar\n"
                              "8,Load cell,1,3,50000,1,FALSE,FALSE,0,kg\n";

class ProgramCommandTest : public CliRig {
protected:
    void SetUp() override
    {
        CliRig::SetUp();
        QFile file(FilePath("sensors.csv"));
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(Catalogue);
        file.close();
        simulator->addHidCradle("hid1");
        sim::UnitSpec unit = sim::UnitSpec::demo(Serial);
        unit.identity.firmwareVersion = NewFirmware;
        simulator->placeUnit("hid1", unit);
        userAreaBefore = UserArea();
    }

    TCliRun Program(QStringList arguments, const QByteArray& input = {})
    {
        return Run(QStringList{"--catalogue", FilePath("sensors.csv")} + arguments, input);
    }

    TSetupData UserArea()
    {
        TSetupData image{};
        simulator->withUnit("hid1",
                            [&](sim::Zt46Unit& unit) { image = unit.storedSetup(nvmUser); });
        return image;
    }

    TSensorRecord Sensor(qint32 id)
    {
        const auto records = ReadSensorFile(FilePath("sensors.csv"));
        for (const TSensorRecord& record : *records)
            if (record.sensor_ID == id)
                return record;
        ADD_FAILURE() << "no sensor " << id;
        return {};
    }

    static QString Hex(const TSetupData& image)
    {
        return QString::fromLatin1(
            QByteArray(reinterpret_cast<const char*>(image.data()), 64).toHex());
    }

    TSetupData userAreaBefore{};
};

TEST_F(ProgramCommandTest, ADryRunShowsTheWizardsSettingsAndSendsNothing)
{
    const TSensorSetup setup = SensorSetupFor(Sensor(7), 2.0625f, NewFirmware);
    TSetupData expected = userAreaBefore;
    ApplySensorSetup(expected, setup);

    const TCliRun run =
        Program({"--json", "program", "--sensor", "7", "--sensitivity", "2.0625", "--dry-run"});
    ASSERT_EQ(run.ExitCode, 0) << run.Err.toStdString();
    EXPECT_EQ(run.Json().object(), (QJsonObject{{"amplifier", setup.Settings.AmplifierSetting},
                                                {"multiplier", setup.Settings.Multiplier},
                                                {"divider", setup.Settings.Divider},
                                                {"decimals", setup.Settings.DecDotSetting},
                                                {"negatives_allowed", false},
                                                {"sensitivity_decimals", 3},
                                                {"sensitivity_fixed", 2062},
                                                {"programmed", false},
                                                {"setup_image", Hex(expected)}}));
    EXPECT_EQ(UserArea(), userAreaBefore);
}

TEST_F(ProgramCommandTest, ProgramsTheUserAreaWithTheImageItPrints)
{
    const TCliRun run =
        Program({"--json", "program", "--sensor", "7", "--sensitivity", "2.5", "--yes"});
    ASSERT_EQ(run.ExitCode, 0) << run.Err.toStdString();
    const QJsonObject result = run.Json().object();
    EXPECT_EQ(result["programmed"], true);
    const TSetupData stored = UserArea();
    EXPECT_EQ(result["setup_image"].toString(), Hex(stored));
    EXPECT_EQ(stored.SensorId(), 7);
    EXPECT_EQ(stored.Sensitivity(), 2.5f);
    // The unit's own bytes travel back unchanged.
    EXPECT_TRUE(std::equal(stored.begin() + 52, stored.end(), userAreaBefore.begin() + 52));

    const TCliRun text = Program({"program", "--sensor", "7", "--sensitivity", "2.5", "--yes"});
    ASSERT_EQ(text.ExitCode, 0) << text.Err.toStdString();
    EXPECT_TRUE(text.Out.contains("programmed: yes\n")) << text.Out.toStdString();
}

TEST_F(ProgramCommandTest, ASensitivityOutsideTheSensorsLimitsIsKeptWithinThemWithANote)
{
    const TCliRun run =
        Program({"--json", "program", "--sensor", "7", "--sensitivity", "5", "--dry-run"});
    ASSERT_EQ(run.ExitCode, 0) << run.Err.toStdString();
    EXPECT_EQ(run.Json().object()["sensitivity_fixed"], 3000);
    EXPECT_EQ(run.ErrLines().size(), 1) << run.Err.toStdString();
    EXPECT_TRUE(run.Err.contains("using 3")) << run.Err.toStdString();
}

TEST_F(ProgramCommandTest, ARangeErrorStopsBeforeAnythingIsSentAlsoInADryRun)
{
    for (const char* mode : {"--dry-run", "--yes"}) {
        const TCliRun run = Program({"program", "--sensor", "8", "--sensitivity", "2", mode});
        EXPECT_EQ(run.ExitCode, 1) << mode;
        ASSERT_EQ(run.ErrLines().size(), 1) << run.Err.toStdString();
        EXPECT_TRUE(run.Err.contains("500000")) << run.Err.toStdString();
        EXPECT_FALSE(run.Out.contains("programmed: yes"));
    }
    EXPECT_EQ(UserArea(), userAreaBefore);
}

TEST_F(ProgramCommandTest, AnEchoThatDiffersFailsWithTheProgramsOwnMessage)
{
    simulator->withUnit("hid1", [](sim::Zt46Unit& unit) { unit.setWriteFaultAddress(18); });
    const TCliRun run = Program({"program", "--sensor", "7", "--sensitivity", "2", "--yes"});
    EXPECT_EQ(run.ExitCode, 1);
    EXPECT_EQ(run.ErrLines(), QList<QByteArray>{"Programming failed at address: 0012"});
    EXPECT_EQ(UserArea(), userAreaBefore);
}

struct TWrongProgramCase {
    const char* Name;
    QStringList Arguments;
};

void PrintTo(const TWrongProgramCase& value, std::ostream* out)
{
    *out << value.Name;
}

class WrongProgramLine : public ProgramCommandTest,
                         public ::testing::WithParamInterface<TWrongProgramCase> {};

TEST_P(WrongProgramLine, IsAUsageErrorAndSendsNothing)
{
    const TCliRun run = Program(GetParam().Arguments);
    EXPECT_EQ(run.ExitCode, 2) << run.Err.toStdString();
    EXPECT_EQ(run.ErrLines().size(), 1) << run.Err.toStdString();
    EXPECT_EQ(UserArea(), userAreaBefore);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, WrongProgramLine,
    ::testing::Values(
        TWrongProgramCase{"SensorNotInTheCatalogue",
                          {"program", "--sensor", "99", "--sensitivity", "2", "--yes"}},
        TWrongProgramCase{"SensitivityNotANumber",
                          {"program", "--sensor", "7", "--sensitivity", "two", "--yes"}},
        TWrongProgramCase{"SensorNotANumber",
                          {"program", "--sensor", "seven", "--sensitivity", "2", "--yes"}},
        TWrongProgramCase{"NoSensitivity", {"program", "--sensor", "7", "--yes"}},
        TWrongProgramCase{"NoYesWithoutATerminal",
                          {"program", "--sensor", "7", "--sensitivity", "2"}}),
    [](const auto& info) { return std::string(info.param.Name); });

TEST_F(ProgramCommandTest, OnATerminalItAsksAndProgramsOnlyAfterYes)
{
    const QStringList arguments{"--catalogue", FilePath("sensors.csv"), "program", "--sensor",
                                "7",           "--sensitivity",         "2"};
    const TCliRun declined = RunOnTerminal(arguments, "n\n");
    EXPECT_EQ(declined.ExitCode, 1) << declined.Out.toStdString();
    EXPECT_TRUE(declined.Out.contains("Send new sensor settings to the device now ?"))
        << declined.Out.toStdString();
    EXPECT_EQ(UserArea(), userAreaBefore);

    const TCliRun accepted = RunOnTerminal(arguments, "y\n");
    EXPECT_EQ(accepted.ExitCode, 0) << accepted.Out.toStdString();
    EXPECT_TRUE(accepted.Out.contains("programmed: yes")) << accepted.Out.toStdString();
    // The progress of the run is drawn on the terminal.
    EXPECT_TRUE(accepted.Out.contains("100 %")) << accepted.Out.toStdString();
    EXPECT_EQ(UserArea().SensorId(), 7);
}

} // namespace
} // namespace qzr::cli::test
