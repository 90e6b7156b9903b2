#include "app/version/BuildInfo.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QRegularExpression>
#include <QStandardPaths>
#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace qzr::test {
namespace {

constexpr int ProcessMilliseconds = 90000;
const QString Prefix = QStringLiteral("/usr");

struct TProcessResult {
    bool finished = false;
    int exitCode = -1;
    QString output;
};

TProcessResult
RunProcess(const QString& program, const QStringList& arguments,
           const QProcessEnvironment& environment = QProcessEnvironment::systemEnvironment())
{
    QProcess process;
    process.setProcessEnvironment(environment);
    process.setProcessChannelMode(QProcess::MergedChannels);
    process.start(program, arguments);
    TProcessResult result;
    result.finished = process.waitForFinished(ProcessMilliseconds);
    if (!result.finished)
        process.kill();
    process.waitForFinished();
    result.exitCode = process.exitStatus() == QProcess::NormalExit ? process.exitCode() : -1;
    result.output = QString::fromLocal8Bit(process.readAll());
    return result;
}

// The files an installation holds, relative to its prefix.
QStringList InstalledFiles()
{
    QFile list(QStringLiteral(QZR_TEST_INSTALLED_FILES));
    EXPECT_TRUE(list.open(QIODevice::ReadOnly | QIODevice::Text)) << QZR_TEST_INSTALLED_FILES;
    return QString::fromUtf8(list.readAll()).split('\n', Qt::SkipEmptyParts);
}

bool HasTool(const char* name)
{
    return !QStandardPaths::findExecutable(QString::fromLatin1(name)).isEmpty();
}

// This build installed with the prefix /usr into a temporary root (DESTDIR).
class InstallLayoutTest : public ::testing::Test {
protected:
    void Install()
    {
        ASSERT_TRUE(root.isValid());
        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        environment.insert(QStringLiteral("DESTDIR"), root.path());
        const TProcessResult install = RunProcess(
            QStringLiteral(QZR_TEST_CMAKE),
            {"--install", QStringLiteral(QZR_TEST_BUILD_DIR), "--prefix", Prefix}, environment);
        ASSERT_TRUE(install.finished && install.exitCode == 0) << install.output.toStdString();
    }

    QString Installed(const QString& relative) const
    {
        return root.path() + Prefix + '/' + relative;
    }

    QTemporaryDir root;
};

TEST_F(InstallLayoutTest, EveryFileLandsWhereADistributionExpectsIt)
{
    Install();
    const QStringList files = InstalledFiles();
    ASSERT_FALSE(files.isEmpty());
    for (const QString& file : files)
        EXPECT_TRUE(QFileInfo(Installed(file)).isFile()) << file.toStdString();
    for (const char* program : {"QZR", "qzr-sim"}) {
        const QFileInfo installed(Installed(QStringLiteral(QZR_TEST_BIN_DIR "/") + program));
        EXPECT_TRUE(installed.isExecutable()) << program;
    }

    // The program finds its data directory from its own.
    const QString programDir = Installed(QStringLiteral(QZR_TEST_BIN_DIR));
    const QString dataDir =
        QDir(programDir).filePath(QString::fromUtf8(build::DataDirFromProgramDir));
    EXPECT_TRUE(QFileInfo::exists(dataDir + QStringLiteral("/language.mdb")))
        << dataDir.toStdString();
    EXPECT_TRUE(QFileInfo::exists(dataDir + QStringLiteral("/standard.csv")));
    EXPECT_FALSE(QFileInfo::exists(programDir + QStringLiteral("/language.mdb")))
        << "nothing but programs in the program directory";
}

TEST_F(InstallLayoutTest, TheInstalledProgramFindsTheInstalledBridgeLibraryThroughItsRunPath)
{
    if (!HasTool("ldd"))
        GTEST_SKIP() << "no ldd";
    Install();
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.remove(QStringLiteral("LD_LIBRARY_PATH"));
    const TProcessResult ldd = RunProcess(
        QStringLiteral("ldd"), {Installed(QStringLiteral(QZR_TEST_BIN_DIR "/QZR"))}, environment);
    ASSERT_EQ(ldd.exitCode, 0) << ldd.output.toStdString();
    QString resolved;
    for (const QString& line : ldd.output.split('\n')) {
        if (line.contains(QStringLiteral("libvexalib.so.2 => ")))
            resolved = line.section(QStringLiteral(" => "), 1).section(' ', 0, 0);
    }
    EXPECT_EQ(QFileInfo(resolved).canonicalFilePath(),
              QFileInfo(Installed(QStringLiteral(QZR_TEST_LIB_DIR "/libvexalib.so.2")))
                  .canonicalFilePath())
        << ldd.output.toStdString();
}

TEST(DesktopFilesTest, TheDesktopEntryAndTheAppStreamMetadataAreValid)
{
    const QString packaging = QStringLiteral(QZR_TEST_BUILD_DIR "/packaging/");
    const QString id = QString::fromUtf8(build::ApplicationId);
    if (!HasTool("desktop-file-validate") || !HasTool("appstreamcli"))
        GTEST_SKIP()
            << "desktop-file-validate (desktop-file-utils) or appstreamcli (appstream) missing";
    const TProcessResult desktop = RunProcess(QStringLiteral("desktop-file-validate"),
                                              {packaging + id + QStringLiteral(".desktop")});
    EXPECT_EQ(desktop.exitCode, 0) << desktop.output.toStdString();
    EXPECT_EQ(desktop.output, "") << "no warnings either";
    const TProcessResult metainfo = RunProcess(
        QStringLiteral("appstreamcli"),
        {"validate", "--no-net", "--pedantic", packaging + id + QStringLiteral(".metainfo.xml")});
    EXPECT_EQ(metainfo.exitCode, 0) << metainfo.output.toStdString();
}

// The Debian package, made by cpack from this build into a temporary
// directory: the same files under /usr, its scripts and the dependencies it
// names itself. The libraries' dependencies are left to scripts/package.sh:
// dpkg-shlibdeps takes most of a minute over sanitizer builds.
TEST(DebianPackageTest, ThePackageHoldsTheInstalledFilesItsScriptsAndItsDependencies)
{
    if (!HasTool("dpkg-deb"))
        GTEST_SKIP() << "dpkg-deb missing";
    QTemporaryDir output;
    ASSERT_TRUE(output.isValid());
    const TProcessResult cpack =
        RunProcess(QStringLiteral(QZR_TEST_CPACK),
                   {"--config", QStringLiteral(QZR_TEST_BUILD_DIR "/CPackConfig.cmake"), "-B",
                    output.path(), "-D", "CPACK_DEBIAN_PACKAGE_SHLIBDEPS=OFF"});
    ASSERT_TRUE(cpack.finished && cpack.exitCode == 0) << cpack.output.toStdString();
    const QString package = output.filePath(QStringLiteral(QZR_TEST_PACKAGE_FILE));
    ASSERT_TRUE(QFileInfo::exists(package)) << cpack.output.toStdString();

    const TProcessResult contents = RunProcess(QStringLiteral("dpkg-deb"), {"--contents", package});
    ASSERT_EQ(contents.exitCode, 0) << contents.output.toStdString();
    // A file, or a link with its target.
    for (const QString& file : InstalledFiles()) {
        const QRegularExpression entry(QStringLiteral(" \\./usr/") +
                                           QRegularExpression::escape(file) +
                                           QStringLiteral("( -> \\S+)?$"),
                                       QRegularExpression::MultilineOption);
        EXPECT_TRUE(contents.output.contains(entry)) << file.toStdString() << "\n"
                                                     << contents.output.toStdString();
    }

    const TProcessResult depends =
        RunProcess(QStringLiteral("dpkg-deb"), {"--field", package, "Depends"});
    for (const char* dependency : {"libqt6sql6-sqlite", "libqt6svg6"})
        EXPECT_TRUE(depends.output.contains(QString::fromLatin1(dependency)))
            << dependency << ": " << depends.output.toStdString();

    QTemporaryDir control;
    ASSERT_TRUE(control.isValid());
    const QString controlDir = control.filePath(QStringLiteral("DEBIAN"));
    ASSERT_EQ(RunProcess(QStringLiteral("dpkg-deb"), {"--control", package, controlDir}).exitCode,
              0);
    QFile postinst(controlDir + QStringLiteral("/postinst"));
    ASSERT_TRUE(postinst.open(QIODevice::ReadOnly));
    EXPECT_TRUE(postinst.readAll().contains("udevadm control --reload-rules"));
    EXPECT_TRUE(QFileInfo(postinst).isExecutable());
}

} // namespace
} // namespace qzr::test
