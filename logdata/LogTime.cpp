#include "logdata/LogTime.h"

namespace qzr {

QDateTime LogWallClock(qint64 secondsFrom2000)
{
    static const QDateTime origin(QDate(2000, 1, 1), QTime(0, 0), Qt::UTC);
    return origin.addSecs(secondsFrom2000);
}

qint64 LocalClockMSecs(const QDateTime& wallClock)
{
    return QDateTime(wallClock.date(), wallClock.time(), Qt::LocalTime).toMSecsSinceEpoch();
}

QString LogDateFormat(const QLocale& locale)
{
    return locale.dateFormat(QLocale::ShortFormat);
}

QString LogTimeFormat(const QLocale& locale)
{
    const QString format = locale.timeFormat(QLocale::LongFormat);
    QString withoutZone;
    bool quoted = false;
    for (const QChar c : format) {
        if (c == u'\'')
            quoted = !quoted;
        if (!quoted && c == u't')
            continue;
        withoutZone.append(c);
    }
    return withoutZone.trimmed();
}

} // namespace qzr
