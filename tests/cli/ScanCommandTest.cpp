#include "CliRig.h"

#include <QJsonArray>
#include <QJsonObject>
#include <QProcess>

#include <vexalib.h>

#include <cstdlib>

namespace qzr::cli::test {
namespace {

class ScanCommandTest : public CliRig {};

TEST_F(ScanCommandTest, ListsHidCradlesFirstWithKindIdentifiersAndSerialInTextAndJson)
{
    simulator->addBridgeCradle("bridge1", true, "VX00000042");
    simulator->addHidCradle("hid1");

    const TCliRun text = Run({"scan"});
    EXPECT_EQ(text.ExitCode, 0) << text.Err.toStdString();
    EXPECT_EQ(text.Out.toStdString(), "hid1\thid\t3a7c:0046\tHC-hid1\n"
                                      "bridge1\tbridge\t3a7c:0146\tVX00000042\n");
    EXPECT_TRUE(text.Err.isEmpty());

    const TCliRun json = Run({"scan", "--json"});
    EXPECT_EQ(json.ExitCode, 0);
    const QJsonArray cradles = json.Json().array();
    ASSERT_EQ(cradles.size(), 2) << json.Out.toStdString();
    EXPECT_EQ(cradles[0].toObject(), (QJsonObject{{"device", "hid1"},
                                                  {"kind", "hid"},
                                                  {"vendor_id", 0x3A7C},
                                                  {"product_id", 0x0046},
                                                  {"usb_serial", "HC-hid1"}}));
    EXPECT_EQ(cradles[1].toObject()["kind"], "bridge");
    EXPECT_EQ(cradles[1].toObject()["product_id"], 0x0146);
}

TEST_F(ScanCommandTest, FindingNoCradleIsSuccessAndPrintsNothing)
{
    for (const QStringList& arguments : {QStringList{"scan"}, QStringList{"--quiet", "scan"}}) {
        const TCliRun run = Run(arguments);
        EXPECT_EQ(run.ExitCode, 0);
        EXPECT_TRUE(run.Out.isEmpty()) << run.Out.toStdString();
        EXPECT_TRUE(run.Err.isEmpty()) << run.Err.toStdString();
    }
    EXPECT_EQ(Run({"--json", "scan"}).Json().array().size(), 0);
}

TEST_F(ScanCommandTest, TheBusComesFromTheEnvironmentWithoutBusOption)
{
    simulator->addHidCradle("hid7");
    QProcess process;
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert("VHID_BUS", busDir.path());
    process.setProcessEnvironment(environment);
    process.start(QStringLiteral(QZR_CLI_PATH), {"scan"});
    ASSERT_TRUE(process.waitForFinished(RunMilliseconds));
    EXPECT_EQ(process.exitCode(), 0);
    EXPECT_TRUE(process.readAllStandardOutput().startsWith("hid7\thid\t"));
}

TEST_F(ScanCommandTest, ABridgeHeldByAnotherProgramIsNotListedButNamedOnStandardError)
{
    simulator->addBridgeCradle("bridge1");
    simulator->placeUnit("bridge1", sim::UnitSpec::demo(0x00A1B2C3));
    // This process holds the bridge as QZR holds the one it drives.
    ::setenv("VHID_BUS", busDir.path().toLocal8Bit().constData(), 1);
    const VexaHandle held = Vexa_OpenByIndex(0x3A7C, 0x0146, 0, nullptr, nullptr);
    ::unsetenv("VHID_BUS");
    ASSERT_EQ(Vexa_GetLastError(), VEXA_OK);

    const TCliRun scan = Run({"scan"});
    EXPECT_EQ(scan.ExitCode, 0);
    EXPECT_TRUE(scan.Out.isEmpty()) << scan.Out.toStdString();
    EXPECT_EQ(scan.ErrLines(), QList<QByteArray>{"1 bridge cradle is held by another program"});

    const TCliRun info = Run({"info"});
    EXPECT_EQ(info.ExitCode, 3);
    EXPECT_EQ(info.ErrLines(),
              QList<QByteArray>{"no cradle (1 bridge cradle is held by another program)"});
    Vexa_Close(held);
}

TEST_F(ScanCommandTest, LinksNeitherQtGuiNorQtWidgets)
{
    QProcess ldd;
    ldd.start(QStringLiteral("ldd"), {QStringLiteral(QZR_CLI_PATH)});
    ASSERT_TRUE(ldd.waitForFinished(RunMilliseconds));
    const QByteArray libraries = ldd.readAllStandardOutput();
    EXPECT_TRUE(libraries.contains("libQt6Core")) << libraries.toStdString();
    EXPECT_FALSE(libraries.contains("libQt6Gui")) << libraries.toStdString();
    EXPECT_FALSE(libraries.contains("libQt6Widgets")) << libraries.toStdString();
}

} // namespace
} // namespace qzr::cli::test
