#include <translation/DatabaseLocation.h>

#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace qzr {
namespace {

class DatabaseLocationTest : public testing::Test {
protected:
    void SetUp() override { ASSERT_TRUE(FDirectory.isValid()); }

    QString Installed() const { return FDirectory.filePath("program/language.mdb"); }
    QString UserCopy() const { return FDirectory.filePath("config/QZR/language.mdb"); }

    void Write(const QString& path, const QByteArray& contents, const QDateTime& modified)
    {
        QDir().mkpath(QFileInfo(path).absolutePath());
        QFile file(path);
        ASSERT_TRUE(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
        file.write(contents);
        ASSERT_TRUE(file.flush());
        ASSERT_TRUE(file.setFileTime(modified, QFileDevice::FileModificationTime));
    }

    static QByteArray Read(const QString& path)
    {
        QFile file(path);
        return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
    }

    const QDateTime Day1 = QDateTime(QDate(2024, 3, 1), QTime(12, 0));
    const QDateTime Day2 = Day1.addDays(1);

private:
    QTemporaryDir FDirectory;
};

TEST_F(DatabaseLocationTest, AWritableOrMissingInstalledFileIsUsedAsItIs)
{
    EXPECT_EQ(ChooseLanguageDatabase(Installed(), UserCopy(), false), Installed());
    Write(Installed(), "installed", Day1);
    EXPECT_EQ(ChooseLanguageDatabase(Installed(), UserCopy(), true), Installed());
    EXPECT_FALSE(QFile::exists(UserCopy()));
}

TEST_F(DatabaseLocationTest, AReadOnlyInstallationWorksOnAUserCopyThatKeepsItsAppends)
{
    Write(Installed(), "installed", Day1);
    ASSERT_EQ(ChooseLanguageDatabase(Installed(), UserCopy(), false), UserCopy());
    EXPECT_EQ(Read(UserCopy()), "installed");

    Write(UserCopy(), "installed plus appended rows", Day2);
    EXPECT_EQ(ChooseLanguageDatabase(Installed(), UserCopy(), false), UserCopy());
    EXPECT_EQ(Read(UserCopy()), "installed plus appended rows");

    Write(Installed(), "updated installation, packaged before the appends", Day1.addDays(-9));
    EXPECT_EQ(ChooseLanguageDatabase(Installed(), UserCopy(), false), UserCopy());
    EXPECT_EQ(Read(UserCopy()), "updated installation, packaged before the appends");
}

} // namespace
} // namespace qzr
