#include "cradle/CradleLock.h"

#include <QTemporaryDir>
#include <gtest/gtest.h>

#include <cerrno>
#include <cstdlib>
#include <fcntl.h>
#include <sys/file.h>
#include <sys/wait.h>
#include <unistd.h>

namespace qzr {
namespace {

class CradleLockTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(FRuntime.isValid());
        const char* previous = std::getenv("XDG_RUNTIME_DIR");
        FPrevious = previous ? QByteArray(previous) : QByteArray();
        ::setenv("XDG_RUNTIME_DIR", FRuntime.path().toLocal8Bit().constData(), 1);
    }
    void TearDown() override
    {
        if (FPrevious.isNull())
            ::unsetenv("XDG_RUNTIME_DIR");
        else
            ::setenv("XDG_RUNTIME_DIR", FPrevious.constData(), 1);
    }

    // Whether another process could take the lock of the path right now.
    static bool FreeForAnotherProcess(const QString& devicePath)
    {
        const QByteArray file = TCradleLock::LockFilePath(devicePath).toLocal8Bit();
        const pid_t child = ::fork();
        if (child == 0) {
            const int descriptor = ::open(file.constData(), O_RDWR | O_CREAT, 0600);
            ::_exit(descriptor >= 0 && ::flock(descriptor, LOCK_EX | LOCK_NB) == 0 ? 0 : 1);
        }
        int status = 0;
        ::waitpid(child, &status, 0);
        return WIFEXITED(status) && WEXITSTATUS(status) == 0;
    }

    QTemporaryDir FRuntime;
    QByteArray FPrevious;
};

TEST_F(CradleLockTest, OneHolderPerCradleInThisProcessAndInOthers)
{
    const QString hid = QStringLiteral("/dev/hidraw3");
    const QString other = QStringLiteral("/tmp/bus/cradle-b.sock");
    {
        TCradleLock first(hid);
        ASSERT_TRUE(first.Taken()) << first.Problem().toStdString();
        EXPECT_FALSE(first.HeldElsewhere());
        EXPECT_TRUE(first.Problem().isEmpty());
        EXPECT_TRUE(TCradleLock::LockFilePath(hid).startsWith(FRuntime.path() + '/'));

        TCradleLock second(hid);
        EXPECT_FALSE(second.Taken());
        EXPECT_TRUE(second.HeldElsewhere());
        EXPECT_EQ(second.Problem(), "The cradle /dev/hidraw3 is in use by another program.");
        EXPECT_FALSE(FreeForAnotherProcess(hid));

        TCradleLock another(other);
        EXPECT_TRUE(another.Taken()) << "each cradle has a lock of its own";
    }
    EXPECT_TRUE(FreeForAnotherProcess(hid)) << "the lock goes with its object";
    TCradleLock again(hid);
    EXPECT_TRUE(again.Taken());
}

TEST_F(CradleLockTest, LockFilesNameNoPathAndDifferPerPath)
{
    const QString a = TCradleLock::LockFilePath(QStringLiteral("/dev/hidraw1"));
    const QString b = TCradleLock::LockFilePath(QStringLiteral("/dev/hidraw10"));
    EXPECT_NE(a, b);
    EXPECT_FALSE(a.mid(FRuntime.path().size() + 1).contains('/'));
    EXPECT_TRUE(a.endsWith(".lock"));
}

} // namespace
} // namespace qzr
