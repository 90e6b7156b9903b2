// Logged-data files: read and written as the bare image, never left
// truncated.
#include "LogImages.h"

#include <logdata/FileDialogFilter.h>
#include <logdata/LogDataFile.h>

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>

#include <sys/wait.h>
#include <unistd.h>

namespace qzr {
namespace {

using test::FullLogImage;

class LogDataFileTest : public testing::Test {
protected:
    QString PathOf(const QString& name) const { return FDir.filePath(name); }

    void WriteBytes(const QString& name, const QByteArray& bytes) const
    {
        QFile file(PathOf(name));
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        ASSERT_EQ(file.write(bytes), bytes.size());
    }

    QByteArray ReadBytes(const QString& name) const
    {
        QFile file(PathOf(name));
        EXPECT_TRUE(file.open(QIODevice::ReadOnly));
        return file.readAll();
    }

    static QByteArray BytesOf(const TLogData& data)
    {
        return QByteArray(reinterpret_cast<const char*>(data.data()), qsizetype(data.size()));
    }

    QTemporaryDir FDir;
};

TEST_F(LogDataFileTest, SavedAndReopenedImageIsTheSameBytes)
{
    TLogData data = FullLogImage();
    data[LogDataSize - 1] = 0x5A;
    SaveLogDataFile(PathOf("day.qzr"), data);
    EXPECT_EQ(ReadBytes("day.qzr"), BytesOf(data));
    EXPECT_EQ(LoadLogDataFile(PathOf("day.qzr")), data);
    // Saving again over the file replaces it without a question.
    data.SetStartTime(12345);
    SaveLogDataFile(PathOf("day.qzr"), data);
    EXPECT_EQ(ReadBytes("day.qzr"), BytesOf(data));
    EXPECT_EQ(QDir(FDir.path()).entryList(QDir::Files), QStringList({"day.qzr"}));
}

TEST_F(LogDataFileTest, ShorterFileIsFilledUpWithErasedBytes)
{
    WriteBytes("short.qzr", QByteArray(22, '\0'));
    const TLogData data = LoadLogDataFile(PathOf("short.qzr"));
    EXPECT_EQ(data.Record(0), (TLogRecord{0, 0, 0}));
    EXPECT_TRUE(data.Record(1).Erased());
    EXPECT_EQ(data[22], 0xFF);
    EXPECT_EQ(data[LogDataSize - 1], 0xFF);

    WriteBytes("empty.qzr", {});
    TLogData erased;
    erased.Erase();
    EXPECT_EQ(LoadLogDataFile(PathOf("empty.qzr")), erased);
}

TEST_F(LogDataFileTest, LongerFileIsReadUpToTheImagesSize)
{
    const TLogData data = FullLogImage();
    WriteBytes("long.qzr", BytesOf(data) + QByteArray(100000, '\x11'));
    EXPECT_EQ(LoadLogDataFile(PathOf("long.qzr")), data);
    // A file of a gibibyte (sparse, so that it takes no room) costs no more.
    QFile huge(PathOf("long.qzr"));
    ASSERT_TRUE(huge.resize(qint64{1} << 30));
    EXPECT_EQ(LoadLogDataFile(PathOf("long.qzr")), data);
}

TEST_F(LogDataFileTest, ErrorsNameTheFileAndTheSystemsReason)
{
    try {
        LoadLogDataFile(PathOf("missing.qzr"));
        FAIL() << "no error";
    } catch (const TLogDataFileError& error) {
        const QString message = QString::fromStdString(error.what());
        EXPECT_TRUE(message.startsWith("Cannot open file \"" + PathOf("missing.qzr") + "\". "))
            << error.what();
        EXPECT_TRUE(message.contains("No such file")) << error.what();
    }
    EXPECT_THROW(LoadLogDataFile(FDir.path()), TLogDataFileError);
    EXPECT_THROW(SaveLogDataFile(PathOf("no/such/dir/x.qzr"), FullLogImage()), TLogDataFileError);
}

// Whether both writes into the file fail. Root may write anywhere, so it
// tries them in a child process as the unprivileged user "nobody".
bool WritesFail(const QString& fileName)
{
    const auto bothFail = [&fileName] {
        TLogData other;
        other.Erase();
        try {
            SaveLogDataFile(fileName, other);
            return false;
        } catch (const TLogDataFileError&) {
        }
        try {
            ReplaceFileContent(fileName, "text");
            return false;
        } catch (const TLogDataFileError&) {
        }
        return true;
    };
    if (geteuid() != 0)
        return bothFail();
    const pid_t child = fork();
    if (child == 0) {
        constexpr uid_t Nobody = 65534;
        const bool failed = setgid(Nobody) == 0 && setuid(Nobody) == 0 && bothFail();
        _exit(failed ? 0 : 1);
    }
    int status = 0;
    return child > 0 && waitpid(child, &status, 0) == child && WIFEXITED(status) &&
           WEXITSTATUS(status) == 0;
}

TEST_F(LogDataFileTest, FailedSaveIntoReadOnlyDirectoryKeepsTheOldFile)
{
    const TLogData old = FullLogImage();
    SaveLogDataFile(PathOf("day.qzr"), old);
    const auto readOnly = QFile::ReadOwner | QFile::ExeOwner | QFile::ReadGroup | QFile::ExeGroup |
                          QFile::ReadOther | QFile::ExeOther;
    ASSERT_TRUE(QFile::setPermissions(FDir.path(), readOnly));
    ASSERT_TRUE(QFile::setPermissions(PathOf("day.qzr"),
                                      QFile::ReadOwner | QFile::WriteOwner | QFile::ReadOther));
    EXPECT_TRUE(WritesFail(PathOf("day.qzr")));
    ASSERT_TRUE(QFile::setPermissions(FDir.path(), readOnly | QFile::WriteOwner));
    EXPECT_EQ(ReadBytes("day.qzr"), BytesOf(old));
    EXPECT_EQ(QDir(FDir.path()).entryList(QDir::Files), QStringList({"day.qzr"}));
}

TEST(QtFileFilter, TurnsDescriptionPatternPairsIntoQtFilters)
{
    EXPECT_EQ(QtFileFilter("Logger files (*.qzr)|*.qzr|All files (*.*)|*.*"),
              "Logger files (*.qzr);;All files (*)");
    EXPECT_EQ(QtFileFilter("Tekstbestanden (*.txt)|*.txt;*.tab"), "Tekstbestanden (*.txt *.tab)");
}

} // namespace
} // namespace qzr
