#include "app/ProgramDataLocation.h"

#include <QDir>
#include <QFile>
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
        EXPECT_EQ(ProgramDataDir(programDir.path(), Path("share/qzr")), programDir.path()) << name;
    }
}

TEST_F(ProgramDataLocationTest, AnInstalledProgramUsesItsDataDirectory)
{
    EXPECT_EQ(ProgramDataDir(Path("bin"), Path("bin/../share/qzr")), Path("share/qzr"));
}

TEST_F(ProgramDataLocationTest, WithoutEitherThePathsBesideTheProgramAreKeptForTheErrorMessages)
{
    EXPECT_EQ(ProgramDataDir(Path("bin"), Path("share/nothing")), Path("bin"));
}

} // namespace
} // namespace qzr::test
