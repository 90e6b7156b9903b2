#include "LanguageTable.h"

#include "TranslatorError.h"

#include <QAtomicInteger>
#include <QFileInfo>
#include <QSqlDatabase>
#include <QSqlError>
#include <QSqlQuery>
#include <QSqlRecord>
#include <QUrl>
#include <array>

namespace qzr {
namespace {

const std::array<QString, 4> ColumnNames{"English", "Nederlands", "Key", "Default"};

QString NewConnectionName()
{
    static QAtomicInteger<quint64> counter;
    return QString("qzr-language-table-%1").arg(counter.fetchAndAddRelaxed(1));
}

[[noreturn]] void Fail(const QString& what, const QSqlError& error)
{
    throw TTranslatorError(what + ": " + error.text());
}

QSqlQuery Prepare(QSqlDatabase& database, const QString& statement)
{
    QSqlQuery query(database);
    if (!query.prepare(statement))
        Fail("The language table cannot be used", query.lastError());
    return query;
}

void Execute(QSqlQuery& query, const QString& what)
{
    if (!query.exec())
        Fail(what, query.lastError());
}

} // namespace

struct TLanguageTable::TConnection {
    QString Name;
    QString Path;
    std::optional<QSqlQuery> Lookups[LanguageCount];
    std::optional<QSqlQuery> Append;

    explicit TConnection(const QString& path) : Name(NewConnectionName()), Path(path) {}

    QSqlDatabase Database() const { return QSqlDatabase::database(Name, false); }

    ~TConnection()
    {
        for (auto& lookup : Lookups)
            lookup.reset();
        Append.reset();
        {
            QSqlDatabase database = Database();
            database.close();
        }
        QSqlDatabase::removeDatabase(Name);
    }
};

TLanguageTable::TLanguageTable() = default;
TLanguageTable::~TLanguageTable() = default;

void TLanguageTable::Create(const QString& path)
{
    if (QFileInfo::exists(path))
        throw TTranslatorError("The language database " + path + " exists already.");
    TConnection connection(path);
    QSqlDatabase database = QSqlDatabase::addDatabase("QSQLITE", connection.Name);
    database.setDatabaseName(path);
    if (!database.open())
        Fail("The language database " + path + " cannot be created", database.lastError());
    QSqlQuery query(database);
    if (!query.exec(R"(CREATE TABLE "Languages" ("English" VARCHAR(255), )"
                    R"("Nederlands" VARCHAR(255), "Key" VARCHAR(50), "Default" VARCHAR(255)))") ||
        !query.exec(R"(CREATE INDEX "LanguagesByKey" ON "Languages" ("Key"))"))
        Fail("The language table cannot be created", query.lastError());
}

void TLanguageTable::Open(const QString& path)
{
    Close();
    auto connection = std::make_unique<TConnection>(path);
    QSqlDatabase database = QSqlDatabase::addDatabase("QSQLITE", connection->Name);
    database.setConnectOptions("QSQLITE_OPEN_URI;QSQLITE_BUSY_TIMEOUT=2000");
    database.setDatabaseName(
        QUrl::fromLocalFile(QFileInfo(path).absoluteFilePath()).toString(QUrl::FullyEncoded) +
        "?mode=rw");
    if (!database.open())
        Fail("The language database " + path + " cannot be opened", database.lastError());

    QSqlQuery probe(database);
    if (!probe.exec(R"(SELECT * FROM "Languages" LIMIT 0)"))
        Fail("The language database " + path + " has no usable table Languages", probe.lastError());
    const QSqlRecord columns = probe.record();
    for (int i = 0; i < static_cast<int>(ColumnNames.size()); ++i) {
        if (i >= columns.count() ||
            columns.fieldName(i).compare(ColumnNames[i], Qt::CaseInsensitive) != 0)
            throw TTranslatorError("The table Languages in " + path +
                                   " does not have the columns English, Nederlands, Key and "
                                   "Default in this order.");
    }
    for (int language = 0; language < LanguageCount; ++language) {
        connection->Lookups[language] =
            Prepare(database, QString(R"(SELECT "%1" FROM "Languages" WHERE "Key" = ? )"
                                      R"(ORDER BY rowid LIMIT 1)")
                                  .arg(columns.fieldName(language)));
    }
    connection->Append =
        Prepare(database, R"(INSERT INTO "Languages" ("Key", "Default") VALUES (?, ?))");
    FConnection = std::move(connection);
}

void TLanguageTable::Close()
{
    FConnection.reset();
}

bool TLanguageTable::IsOpen() const
{
    return FConnection != nullptr;
}

std::optional<QString> TLanguageTable::Lookup(const QString& key, TLanguage language)
{
    if (!FConnection)
        throw TTranslatorError("The language table is not open.");
    QSqlQuery& query = *FConnection->Lookups[language];
    query.bindValue(0, key);
    Execute(query, "The language table cannot be read");
    std::optional<QString> text;
    if (query.next())
        text = query.value(0).toString();
    query.finish();
    return text;
}

void TLanguageTable::Append(const QString& key, const QString& defaultText)
{
    if (!FConnection)
        throw TTranslatorError("The language table is not open.");
    QSqlQuery& query = *FConnection->Append;
    query.bindValue(0, key);
    query.bindValue(1, defaultText);
    Execute(query, "The key " + key + " cannot be added to the language table");
}

void TLanguageTable::AppendRow(const QString& english, const QString& dutch, const QString& key,
                               const QString& defaultText)
{
    if (!FConnection)
        throw TTranslatorError("The language table is not open.");
    QSqlDatabase database = FConnection->Database();
    QSqlQuery query = Prepare(database, R"(INSERT INTO "Languages" )"
                                        R"(("English", "Nederlands", "Key", "Default") )"
                                        R"(VALUES (?, ?, ?, ?))");
    query.bindValue(0, english);
    query.bindValue(1, dutch);
    query.bindValue(2, key);
    query.bindValue(3, defaultText);
    Execute(query, "The key " + key + " cannot be added to the language table");
}

void TLanguageTable::BeginTransaction()
{
    if (!FConnection || !FConnection->Database().transaction())
        throw TTranslatorError("The language table cannot start a transaction.");
}

void TLanguageTable::Commit()
{
    if (!FConnection)
        throw TTranslatorError("The language table is not open.");
    QSqlDatabase database = FConnection->Database();
    if (!database.commit())
        Fail("The language table cannot store its rows", database.lastError());
}

} // namespace qzr
