#include "cli/Catalogue.h"
#include "cli/CliError.h"
#include "cli/Commands.h"

#include <logdata/LogDataFile.h>
#include <logdata/LogRecordWalk.h>
#include <logdata/LogValueText.h>
#include <logdata/TextExport.h>

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QLocale>

namespace qzr::cli {

namespace {

const QString Point = QStringLiteral(".");
// ISO 8601 local time without a zone: the unit's times are wall-clock times.
const QString IsoFormat = QStringLiteral("yyyy-MM-ddTHH:mm:ss");

QString IsoTime(const QDateTime& wallClock)
{
    return wallClock.toString(IsoFormat);
}

// The three numbers of a record as the CSV writes them: a point, exactly the
// image's decimals, the average rounded as the text export rounds it and empty
// when the interval is 0.
struct TRecordTexts {
    QString Minimum;
    QString Maximum;
    QString Average;
};

TRecordTexts RecordTexts(const TLogWalk& walk, const TLogPoint& record)
{
    return {ScaledValueText(record.Raw.Minimum, walk.DecDot, Point),
            ScaledValueText(record.Raw.Maximum, walk.DecDot, Point),
            AverageText(record.Raw.Integral, walk.LogInterval, walk.DecDot, Point)};
}

QByteArray CsvText(const TLogWalk& walk)
{
    QString text = QStringLiteral("time,minimum,maximum,average\n");
    for (const TLogPoint& record : walk.Points) {
        const TRecordTexts numbers = RecordTexts(walk, record);
        text += IsoTime(record.Time) + u',' + numbers.Minimum + u',' + numbers.Maximum + u',' +
                numbers.Average + u'\n';
    }
    return text.toUtf8();
}

QJsonValue Number(const QString& text)
{
    if (text.isEmpty())
        return QJsonValue::Null;
    return QLocale::c().toDouble(text);
}

QByteArray JsonText(const TLogData& image, const TLogWalk& walk, const QString& sensorUnits)
{
    QJsonArray records;
    for (const TLogPoint& record : walk.Points) {
        const TRecordTexts numbers = RecordTexts(walk, record);
        records.append(QJsonObject{{"time", IsoTime(record.Time)},
                                   {"minimum", Number(numbers.Minimum)},
                                   {"maximum", Number(numbers.Maximum)},
                                   {"average", Number(numbers.Average)}});
    }
    const QJsonObject document{
        {"start", walk.HasData ? QJsonValue(IsoTime(walk.StartDT)) : QJsonValue::Null},
        {"interval", image.Interval()},
        {"decimals", image.Decimals()},
        {"sensor_id", image.SensorId()},
        {"sensor_units", sensorUnits},
        {"records", records},
    };
    return QJsonDocument(document).toJson(QJsonDocument::Indented);
}

} // namespace

void RunExport(const TCliContext& context)
{
    const QString format = context.Line.Value("--format").value_or(QStringLiteral("text"));
    if (format != QLatin1String("text") && format != QLatin1String("csv") &&
        format != QLatin1String("json"))
        throw UsageError(QStringLiteral("--format: %1 is not text, csv or json").arg(format));
    const QString input = context.Line.Positionals.front();
    const std::optional<QString> output = context.Line.Value("-o");

    try {
        const TLogData image = LoadLogDataFile(input);
        const TLogWalk walk = WalkLogRecords(image);
        const auto sensor = FindSensor(LoadCatalogue(context), image.SensorId());
        const QString sensorUnits = sensor ? sensor->sensor_units : QString();
        QByteArray text;
        if (format == QLatin1String("csv"))
            text = CsvText(walk);
        else if (format == QLatin1String("json"))
            text = JsonText(image, walk, sensorUnits);
        else
            text = LogDataText(walk, sensorUnits, QLocale());
        if (output)
            ReplaceFileContent(*output, text);
        else
            context.Output.Data(text);
    } catch (const TLogDataFileError& error) {
        throw OperationFailed(QString::fromUtf8(error.what()));
    }
}

} // namespace qzr::cli
