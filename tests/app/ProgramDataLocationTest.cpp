#include "app/ProgramDataLocation.h"
#include "app/IniLocation.h"

#include <translation/DatabaseLocation.h>

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QStandardPaths>
#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace qzr::test {
namespace {

// A program directory bin/ and an installed data directory share/qzr/.
class ProgramDataLocationTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(root.isValid());
        ASSERT_TRUE(QDir(root.path()).mkpath(QStringLiteral("bin")));
        ASSERT_TRUE(QDir(root.path()).mkpath(QStringLiteral("share/qzr")));
    }

    QString Path(const QString& relative) const { return root.filePath(relative); }

    static void Touch(const QString& path)
    {
        QFile file(path);
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    }

    QTemporaryDir root;
};

TEST_F(ProgramDataLocationTest, DataBesideTheProgramIsUsedWhereverAnInstalledCopyIs)
{
    for (const char* name : {"language.mdb", "standard.csv"}) {
        QTemporaryDir programDir;
        Touch(programDir.filePath(QString::fromLatin1(name)));
        const TProgramFiles files = FindProgramFiles(programDir.path(), Path("share/qzr"));
        EXPECT_EQ(files.DataDir, programDir.path()) << name;
        EXPECT_FALSE(files.Installed);
    }
}

TEST_F(ProgramDataLocationTest, AnInstalledProgramUsesItsDataDirectory)
{
    const TProgramFiles files = FindProgramFiles(Path("bin"), Path("bin/../share/qzr"));
    EXPECT_EQ(files.DataDir, Path("share/qzr"));
    EXPECT_TRUE(files.Installed);
}

TEST_F(ProgramDataLocationTest, WithoutEitherThePathsBesideTheProgramAreKeptForTheErrorMessages)
{
    const TProgramFiles files = FindProgramFiles(Path("bin"), Path("share/nothing"));
    EXPECT_EQ(files.DataDir, Path("bin"));
    EXPECT_FALSE(files.Installed);
}

// Root may write the installation's directories; the user's additions still
// go to the user's configuration directory.
TEST_F(ProgramDataLocationTest, AnInstallationsWritableDirectoriesAreNeverWritten)
{
    QTemporaryDir user;
    EXPECT_EQ(IniFilePath(Path("bin"), user.path(), true),
              user.filePath(QStringLiteral("QZR.INI")));
    EXPECT_EQ(IniFilePath(Path("bin"), user.path(), false), Path("bin/QZR.INI"));

    QStandardPaths::setTestModeEnabled(true);
    const QString userCopy = QStandardPaths::writableLocation(QStandardPaths::AppConfigLocation) +
                             QStringLiteral("/language.mdb");
    QFile::remove(userCopy);
    const QString installed = Path("share/qzr/language.mdb");
    Touch(installed);
    EXPECT_EQ(LanguageDatabaseIn(Path("share/qzr"), false), installed);
    EXPECT_EQ(LanguageDatabaseIn(Path("share/qzr"), true), userCopy);
    EXPECT_TRUE(QFileInfo::exists(userCopy));
    QFile::remove(userCopy);
    QFile::remove(userCopy + QStringLiteral(".installed"));
    QStandardPaths::setTestModeEnabled(false);
}

} // namespace
} // namespace qzr::test
