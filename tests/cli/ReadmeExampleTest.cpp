#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace qzr::cli::test {
namespace {

const QString Marker = QStringLiteral("<!-- qzr-cli worked example");

// The shell block that follows the worked example's marker in the README.
QString WorkedExample()
{
    QFile readme(QStringLiteral(QZR_SOURCE_DIR "/README.md"));
    if (!readme.open(QIODevice::ReadOnly))
        return {};
    const QString text = QString::fromUtf8(readme.readAll());
    const qsizetype marker = text.indexOf(Marker);
    if (marker < 0)
        return {};
    const qsizetype start = text.indexOf(QStringLiteral("```sh\n"), marker);
    const qsizetype end = text.indexOf(QStringLiteral("\n```"), start);
    if (start < 0 || end < 0)
        return {};
    return text.mid(start + 6, end - start - 6) + QLatin1Char('\n');
}

TEST(ReadmeExampleTest, TheWorkedExampleRunsAsWrittenAgainstTheSimulator)
{
    const QString example = WorkedExample();
    ASSERT_FALSE(example.isEmpty()) << "no worked example in the README";
    QTemporaryDir scratch;
    ASSERT_TRUE(scratch.isValid());
    QFile script(scratch.filePath(QStringLiteral("example.sh")));
    ASSERT_TRUE(script.open(QIODevice::WriteOnly));
    // Whatever happens, the simulator that the example starts goes with it.
    script.write("trap 'status=$?; kill $(jobs -p) 2>/dev/null || true; exit $status' EXIT\n");
    script.write(example.toUtf8());
    script.close();

    QProcess shell;
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.remove(QStringLiteral("VHID_BUS"));
    environment.insert(QStringLiteral("PATH"),
                       QStringLiteral(QZR_BIN_DIR ":") + environment.value(QStringLiteral("PATH")));
    environment.insert(QStringLiteral("XDG_CONFIG_DIRS"),
                       scratch.filePath(QStringLiteral("system")));
    shell.setProcessEnvironment(environment);
    shell.setWorkingDirectory(scratch.path());
    shell.start(QStringLiteral("bash"), {QStringLiteral("-e"), script.fileName()});
    ASSERT_TRUE(shell.waitForFinished(60000)) << "the example did not finish in time";
    EXPECT_EQ(shell.exitCode(), 0) << shell.readAllStandardError().toStdString();

    QFile csv(scratch.filePath(QStringLiteral("day.csv")));
    ASSERT_TRUE(csv.open(QIODevice::ReadOnly));
    const QList<QByteArray> lines = csv.readAll().trimmed().split('\n');
    EXPECT_EQ(lines.front(), "time,minimum,maximum,average");
    EXPECT_GE(lines.size(), 2) << "at least one record";
}

} // namespace
} // namespace qzr::cli::test
