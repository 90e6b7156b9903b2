#pragma once

#include <QDateTime>
#include <QLocale>
#include <QString>
#include <QtGlobal>

namespace qzr {

// The unit counts time in seconds from 2000-01-01 00:00:00 on the local wall
// clock. These times are plain calendar arithmetic: no time zone and no
// daylight-saving shift. They are held as QDateTime values with the UTC time
// spec only to keep them zone-free; read their date() and time().
QDateTime LogWallClock(qint64 secondsFrom2000);

// The instant at which the local clock showed this wall-clock time, in
// milliseconds since the epoch: the position of the time on a time axis that
// labels its values in local time.
qint64 LocalClockMSecs(const QDateTime& wallClock);

// LocalClockMSecs for a run of rising wall-clock times, converting only
// where the local clock's offset from UTC may change: a conversion costs
// tens of microseconds, a time axis needs thousands of them.
class TLocalClockMapper {
public:
    qint64 MSecs(const QDateTime& wallClock);

private:
    qint64 FOffsetMSecs = 0;
    // The instants in which that offset holds.
    qint64 FValidFrom = 0;
    qint64 FValidUntil = 0;
};

// The locale's short date format.
QString LogDateFormat(const QLocale& locale);

// The locale's long time format without its time-zone field: the unit's times
// are wall-clock times of no particular zone.
QString LogTimeFormat(const QLocale& locale);

} // namespace qzr
