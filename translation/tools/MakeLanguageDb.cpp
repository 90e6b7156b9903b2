// Builds the language database from its reviewable source: a UTF-8 file of
// tab-separated rows Key, English, Nederlands (a header line first; empty
// lines and lines starting with "#" are skipped). Checks that every key is
// unique and fits the table, then writes the database in one go.
//
// Usage: qzr_make_language_db SOURCE.tsv OUTPUT.mdb
#include <translation/LanguageTable.h>
#include <translation/TranslatorError.h>

#include <QCoreApplication>
#include <QFile>
#include <QSet>
#include <QStringList>
#include <cstdio>
#include <vector>

namespace {

struct TSourceRow {
    QString Key;
    QString English;
    QString Dutch;
};

constexpr qsizetype KeySize = 50;
constexpr qsizetype TextSize = 255;

[[noreturn]] void Fail(const QString& message)
{
    throw qzr::TTranslatorError(message);
}

std::vector<TSourceRow> ReadSource(const QString& path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        Fail(path + ": " + file.errorString());
    const QStringList lines = QString::fromUtf8(file.readAll()).split(u'\n');
    std::vector<TSourceRow> rows;
    QSet<QString> keys;
    bool headerSeen = false;
    for (qsizetype number = 1; number <= lines.size(); ++number) {
        QString line = lines[number - 1];
        if (line.endsWith(u'\r'))
            line.chop(1);
        if (line.isEmpty() || line.startsWith(u'#'))
            continue;
        const QStringList fields = line.split(u'\t');
        const QString where = QString("%1:%2: ").arg(path).arg(number);
        if (fields.size() != 3)
            Fail(where + "expected Key, English and Nederlands separated by tabs");
        if (!headerSeen) {
            if (fields != QStringList{"Key", "English", "Nederlands"})
                Fail(where + "the first line must be the header Key, English, Nederlands");
            headerSeen = true;
            continue;
        }
        const TSourceRow row{fields[0], fields[1], fields[2]};
        if (row.Key.isEmpty() || row.Key.size() > KeySize || row.Key.contains(u'\''))
            Fail(where + "a key has 1 to 50 characters and no apostrophe");
        if (row.English.isEmpty())
            Fail(where + "the English text is missing");
        if (row.English.size() > TextSize || row.Dutch.size() > TextSize)
            Fail(where + "a text has at most 255 characters");
        if (keys.contains(row.Key))
            Fail(where + "the key " + row.Key + " appears twice");
        keys.insert(row.Key);
        rows.push_back(row);
    }
    return rows;
}

void WriteDatabase(const std::vector<TSourceRow>& rows, const QString& output)
{
    const QString partial = output + ".partial";
    QFile::remove(partial);
    {
        qzr::TLanguageTable::Create(partial);
        qzr::TLanguageTable table;
        table.Open(partial);
        table.BeginTransaction();
        for (const TSourceRow& row : rows)
            table.AppendRow(row.English, row.Dutch, row.Key, row.English);
        table.Commit();
    }
    QFile::remove(output);
    if (!QFile::rename(partial, output))
        Fail("cannot write " + output);
}

} // namespace

int main(int argc, char** argv)
{
    QCoreApplication application(argc, argv);
    const QStringList arguments = application.arguments();
    if (arguments.size() != 3) {
        std::fprintf(stderr, "usage: qzr_make_language_db SOURCE.tsv OUTPUT.mdb\n");
        return 2;
    }
    try {
        WriteDatabase(ReadSource(arguments[1]), arguments[2]);
    } catch (const qzr::TTranslatorError& error) {
        std::fprintf(stderr, "qzr_make_language_db: %s\n", error.what());
        return 1;
    }
    return 0;
}
