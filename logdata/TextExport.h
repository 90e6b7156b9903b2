#pragma once

#include "logdata/LogRecordWalk.h"

#include <QByteArray>
#include <QLocale>
#include <QString>

namespace qzr {

// The text export of a logger image, encoded in UTF-8: a header line (date
// and time of the start of logging, "Min.", "Max.", "Average " followed by
// the sensor's units), an empty line, then one line per present record with
// the date and time of its interval's end, its minimum, maximum and average.
// Fields are separated by tabs, lines end in CR LF; dates and times are
// written in the locale's short date and long time formats, numbers with the
// locale's decimal separator and exactly DecDot decimals. An image without
// data gives the header with empty date and time fields and no data line; an
// image with log interval 0 leaves the average fields empty.
QByteArray LogDataText(const TLogWalk& walk, const QString& sensorUnits, const QLocale& locale);

} // namespace qzr
