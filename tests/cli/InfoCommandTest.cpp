#include "CradleKinds.h"

#include <QFile>
#include <QJsonArray>
#include <QJsonObject>

namespace qzr::cli::test {
namespace {

constexpr std::uint32_t Serial = 0x00A1B2C3;

using InfoPerCradleKind = PerCradleKind;

TEST_P(InfoPerCradleKind, DecodesTheUnitsIdentityAndSetupImageAsJson)
{
    const TSetupData image = UnitImage();
    const TCliRun run = Run({"--json", "info"});
    ASSERT_EQ(run.ExitCode, 0) << run.Err.toStdString();
    const QJsonObject info = run.Json().object();
    EXPECT_EQ(info["serial"], "#00A1B2C3");
    EXPECT_EQ(info["protocol_version"], 1);
    EXPECT_EQ(info["firmware_version"], 0x14);
    EXPECT_EQ(info["configuration"], 0);
    EXPECT_EQ(info["setup_image"].toString().toStdString(),
              QByteArray(reinterpret_cast<const char*>(image.data()), 64).toHex().toStdString());
    const QJsonObject calibration = info["calibration"].toObject();
    for (int range = 0; range < 6; ++range) {
        EXPECT_EQ(calibration["offset"].toArray()[range], image.AmpOffset(range));
        EXPECT_EQ(calibration["multiplier"].toArray()[range], image.AmpMultiplier(range));
        EXPECT_EQ(calibration["divider"].toArray()[range], image.AmpDivider(range));
    }
    EXPECT_EQ(info["amplifier"].toObject(), (QJsonObject{{"index", image.AmplifierIndex()},
                                                         {"gain", 1 << image.AmplifierIndex()}}));
    EXPECT_EQ(info["user_multiplier"], image.UserMultiplier());
    EXPECT_EQ(info["user_divider"], image.UserDivider());
    EXPECT_EQ(info["decimals"], image.Decimals());
    EXPECT_EQ(info["negatives_allowed"], image.NegativesAllowed());
    EXPECT_EQ(info["sensor_id"], image.SensorId());
    EXPECT_EQ(info["sensitivity"].toDouble(), image.Sensitivity());
    // The demonstration unit carries a sensor of the shipped catalogue.
    EXPECT_FALSE(info["sensor_name"].toString().isEmpty());
}

TEST_P(InfoPerCradleKind, PrintsOneFieldALineAsText)
{
    const TCliRun run = Run({"info"});
    ASSERT_EQ(run.ExitCode, 0) << run.Err.toStdString();
    const QList<QByteArray> lines = run.Out.trimmed().split('\n');
    ASSERT_EQ(lines.size(), 16) << run.Out.toStdString();
    EXPECT_EQ(lines[0], "serial: #00A1B2C3");
    EXPECT_EQ(lines[2], "firmware_version: 20");
    EXPECT_TRUE(lines[15].startsWith("setup_image: ")) << lines[15].toStdString();
    EXPECT_TRUE(run.Err.isEmpty()) << run.Err.toStdString();

    const TCliRun quiet = Run({"--quiet", "info"});
    EXPECT_EQ(quiet.ExitCode, 0);
    EXPECT_TRUE(quiet.Out.isEmpty());
}

INSTANTIATE_TEST_SUITE_P(Kinds, InfoPerCradleKind, CradleKinds(), CradleKindName);

class InfoCommandTest : public CliRig {};

TEST_F(InfoCommandTest, ASensorThatTheCatalogueDoesNotHoldHasAnEmptyName)
{
    QFile catalogue(FilePath("other.csv"));
    ASSERT_TRUE(catalogue.open(QIODevice::WriteOnly));
    catalogue.write("sensor_ID,sensor_name\n250,Elsewhere\n");
    catalogue.close();
    simulator->addHidCradle("hid1");
    simulator->placeUnit("hid1", sim::UnitSpec::demo(Serial));

    const TCliRun run = Run({"--catalogue", FilePath("other.csv"), "--json", "info"});
    ASSERT_EQ(run.ExitCode, 0) << run.Err.toStdString();
    EXPECT_EQ(run.Json().object()["sensor_name"], "");

    const TCliRun missing = Run({"--catalogue", FilePath("missing.csv"), "info"});
    EXPECT_EQ(missing.ExitCode, 1);
    EXPECT_EQ(missing.ErrLines().size(), 1);
}

} // namespace
} // namespace qzr::cli::test
