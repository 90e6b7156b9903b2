#include "logdata/TextExport.h"

#include "logdata/LogTime.h"
#include "logdata/LogValueText.h"

namespace qzr {

namespace {

const QString Tab = QStringLiteral("\t");
const QString LineEnd = QStringLiteral("\r\n");

} // namespace

QByteArray LogDataText(const TLogWalk& walk, const QString& sensorUnits, const QLocale& locale)
{
    const QString dateFormat = LogDateFormat(locale);
    const QString timeFormat = LogTimeFormat(locale);
    const QString point = locale.decimalPoint();
    // Records of one day share their date text.
    QDate lastDate;
    QString lastDateText;
    const auto dateAndTime = [&](const QDateTime& time) {
        if (!time.isValid())
            return Tab;
        if (time.date() != lastDate) {
            lastDate = time.date();
            lastDateText = locale.toString(lastDate, dateFormat);
        }
        return lastDateText + Tab + locale.toString(time.time(), timeFormat);
    };

    QString text;
    // About 48 characters a line.
    text.reserve(qsizetype(walk.Points.size() + 2) * 48);
    text += dateAndTime(walk.StartDT) + Tab + QStringLiteral("Min.") + Tab +
            QStringLiteral("Max.") + Tab + QStringLiteral("Average ") + sensorUnits + LineEnd;
    text += LineEnd;
    for (const TLogPoint& record : walk.Points) {
        text += dateAndTime(record.Time);
        text += Tab;
        text += ScaledValueText(record.Raw.Minimum, walk.DecDot, point);
        text += Tab;
        text += ScaledValueText(record.Raw.Maximum, walk.DecDot, point);
        text += Tab;
        text += AverageText(record.Raw.Integral, walk.LogInterval, walk.DecDot, point);
        text += LineEnd;
    }
    return text.toUtf8();
}

} // namespace qzr
