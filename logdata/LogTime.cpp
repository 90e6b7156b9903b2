#include "logdata/LogTime.h"

#include <QTimeZone>

#include <limits>

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

qint64 TLocalClockMapper::MSecs(const QDateTime& wallClock)
{
    const qint64 zoneFree = wallClock.toMSecsSinceEpoch();
    const qint64 guess = zoneFree - FOffsetMSecs;
    if (guess >= FValidFrom && guess < FValidUntil)
        return guess;
    const qint64 exact = LocalClockMSecs(wallClock);
    const QTimeZone zone = QTimeZone::systemTimeZone();
    const QDateTime instant = QDateTime::fromMSecsSinceEpoch(exact, Qt::UTC);
    // Not zoneFree - exact: a time that the clock skips maps to an instant
    // of the offset after the change.
    FOffsetMSecs = qint64{zone.offsetFromUtc(instant)} * 1000;
    const QTimeZone::OffsetData previous = zone.previousTransition(instant.addMSecs(1));
    const QTimeZone::OffsetData next = zone.nextTransition(instant);
    FValidFrom = previous.atUtc.isValid() ? previous.atUtc.toMSecsSinceEpoch()
                                          : std::numeric_limits<qint64>::min();
    FValidUntil =
        next.atUtc.isValid() ? next.atUtc.toMSecsSinceEpoch() : std::numeric_limits<qint64>::max();
    return exact;
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
