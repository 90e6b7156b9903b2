#include "SensorFileReader.h"

#include "CsvLine.h"

#include <QFile>
#include <QFileInfo>
#include <array>
#include <cmath>
#include <functional>
#include <limits>

namespace qzr {
namespace {

// Stores the text of one field into a record; false when the text cannot be
// converted.
using TFieldSetter = std::function<bool(TSensorRecord&, const QString&)>;

struct TFieldDefinition {
    const char16_t* Name;
    TFieldSetter Store;
};

QString CutToSize(QString text, qsizetype size)
{
    if (text.size() <= size)
        return text;
    if (text[size - 1].isHighSurrogate())
        --size;
    text.truncate(size);
    return text;
}

TFieldSetter TextField(QString TSensorRecord::*field, qsizetype size)
{
    return [field, size](TSensorRecord& record, const QString& text) {
        record.*field = CutToSize(DecodeTextEscapes(text), size);
        return true;
    };
}

TFieldSetter RealField(double TSensorRecord::*field)
{
    return [field](TSensorRecord& record, const QString& text) {
        const QString trimmed = text.trimmed();
        if (trimmed.isEmpty())
            return true;
        bool ok = false;
        const double value = trimmed.toDouble(&ok);
        if (!ok || !std::isfinite(value))
            return false;
        record.*field = value;
        return true;
    };
}

template <typename Integer> TFieldSetter IntegerField(Integer TSensorRecord::*field)
{
    return [field](TSensorRecord& record, const QString& text) {
        const QString trimmed = text.trimmed();
        if (trimmed.isEmpty())
            return true;
        bool ok = false;
        const qlonglong value = trimmed.toLongLong(&ok, 10);
        if (!ok || value < std::numeric_limits<Integer>::min() ||
            value > std::numeric_limits<Integer>::max())
            return false;
        record.*field = static_cast<Integer>(value);
        return true;
    };
}

TFieldSetter BooleanField(bool TSensorRecord::*field)
{
    return [field](TSensorRecord& record, const QString& text) {
        record.*field = text == u"TRUE";
        return true;
    };
}

const std::array<TFieldDefinition, 11>& FieldDefinitions()
{
    static const std::array<TFieldDefinition, 11> definitions{{
        {u"sensor_ID", IntegerField(&TSensorRecord::sensor_ID)},
        {u"sensor_name", TextField(&TSensorRecord::sensor_name, SensorNameSize)},
        {u"sensor_caption", TextField(&TSensorRecord::sensor_caption, SensorCaptionSize)},
        {u"sensor_min", RealField(&TSensorRecord::sensor_min)},
        {u"sensor_max", RealField(&TSensorRecord::sensor_max)},
        {u"sensor_FS", RealField(&TSensorRecord::sensor_FS)},
        {u"sensor_DP", IntegerField(&TSensorRecord::sensor_DP)},
        {u"sensor_notnegative", BooleanField(&TSensorRecord::sensor_notnegative)},
        {u"sensor_currentoutput", BooleanField(&TSensorRecord::sensor_currentoutput)},
        {u"sensor_resistor", IntegerField(&TSensorRecord::sensor_resistor)},
        {u"sensor_units", TextField(&TSensorRecord::sensor_units, SensorUnitsSize)},
    }};
    return definitions;
}

// For each column of the header, the field it fills (nullptr: skipped).
// A field named twice is filled from its first column only. The work grows
// with the number of columns alone, however wide a hostile header is.
std::vector<const TFieldDefinition*> MatchColumns(const QStringList& header)
{
    const auto& definitions = FieldDefinitions();
    std::vector<bool> taken(definitions.size());
    std::vector<const TFieldDefinition*> columns;
    columns.reserve(header.size());
    for (const QString& name : header) {
        const TFieldDefinition* match = nullptr;
        const QString trimmed = name.trimmed();
        for (std::size_t i = 0; i < definitions.size(); ++i) {
            if (trimmed.compare(QStringView(definitions[i].Name), Qt::CaseInsensitive) == 0) {
                if (!taken[i])
                    match = &definitions[i];
                taken[i] = true;
                break;
            }
        }
        columns.push_back(match);
    }
    return columns;
}

// Skips the optional preamble; tells whether a line is part of it.
class TPreambleFilter {
public:
    bool Skips(const QStringList& fields)
    {
        const QString& first = fields.front();
        if (FInTableDefinition) {
            FInTableDefinition = first != u"@@TABLEDEF END@@";
            return true;
        }
        if (first == u"@@TABLEDEF START@@") {
            FInTableDefinition = true;
            return true;
        }
        return first == u"@@FILE VERSION@@";
    }

private:
    bool FInTableDefinition = false;
};

} // namespace

std::optional<std::vector<TSensorRecord>> ParseSensorFile(const QString& contents)
{
    std::vector<TSensorRecord> records;
    std::optional<std::vector<const TFieldDefinition*>> columns;
    TPreambleFilter preamble;
    for (QStringView line : QStringView(contents).split(u'\n')) {
        if (line.endsWith(u'\r'))
            line.chop(1);
        if (line.trimmed().isEmpty())
            continue;
        const QStringList fields = SplitCsvLine(line);
        if (!columns) {
            if (!preamble.Skips(fields))
                columns = MatchColumns(fields);
            continue;
        }
        TSensorRecord record;
        const qsizetype count = std::min<qsizetype>(fields.size(), columns->size());
        for (qsizetype i = 0; i < count; ++i) {
            const TFieldDefinition* field = (*columns)[i];
            if (field && !field->Store(record, fields[i]))
                return std::nullopt;
        }
        records.push_back(std::move(record));
    }
    return records;
}

std::optional<std::vector<TSensorRecord>> ReadSensorFile(const QString& path)
{
    if (!QFileInfo(path).isFile())
        return std::nullopt;
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return std::nullopt;
    QString contents = QString::fromUtf8(file.readAll());
    if (contents.startsWith(QChar(0xFEFF)))
        contents.remove(0, 1);
    return ParseSensorFile(contents);
}

} // namespace qzr
