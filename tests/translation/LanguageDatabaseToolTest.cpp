// The build tool that turns the reviewable language source into the
// database refuses sources that would give a table the program cannot use.
#include "LanguageDatabaseFixture.h"

#include <QFile>
#include <QProcess>
#include <gtest/gtest.h>

namespace qzr {
namespace {

class LanguageDatabaseTool : public LanguageDatabaseFixture {
protected:
    int Run(const QByteArray& source)
    {
        QFile file(PathInDirectory("languages.tsv"));
        EXPECT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(source);
        file.close();
        QProcess tool;
        tool.start(QZR_MAKE_LANGUAGE_DB, {file.fileName(), DatabasePath()});
        EXPECT_TRUE(tool.waitForFinished(60000));
        return tool.exitStatus() == QProcess::NormalExit ? tool.exitCode() : -1;
    }
};

TEST_F(LanguageDatabaseTool, WritesEveryRowWithItsEnglishTextAsDefault)
{
    ASSERT_EQ(Run("# comment\nKey\tEnglish\tNederlands\n\nA.B.caption\tYes\tJa\n"
                  "A.C.caption\tOnly English\t\n"),
              0);
    const auto rows = RowsWithKey("A.B.caption");
    ASSERT_EQ(rows.size(), 1u);
    EXPECT_EQ(rows.front(), std::make_tuple(QString("Yes"), QString("Yes"), QString("Ja")));
    EXPECT_EQ(RowsWithKey("A.C.caption").size(), 1u);
}

TEST_F(LanguageDatabaseTool, RefusesSourcesThatBreakTheTable)
{
    const QByteArray header = "Key\tEnglish\tNederlands\n";
    for (const QByteArray& source :
         {QByteArray("A.B.caption\tYes\tJa\n"),
          header + "A.B.caption\tYes\tJa\nA.B.caption\tNo\tNee\n",
          header + QByteArray(51, 'k') + "\tYes\tJa\n", header + "A.B's.caption\tYes\tJa\n",
          header + "A.B.caption\tYes\n", header + "A.B.caption\t\tJa\n",
          header + "A.B.caption\t" + QByteArray(256, 'x') + "\tJa\n"}) {
        SCOPED_TRACE(source.toStdString());
        EXPECT_EQ(Run(source), 1);
        EXPECT_FALSE(QFile::exists(DatabasePath()));
    }
}

} // namespace
} // namespace qzr
