#pragma once

#include <QStringList>
#include <QStringView>

namespace qzr {

// Splits one line of a comma-separated file into its fields. A field may be
// enclosed in double quotes; inside them a comma is data and two double quotes
// stand for one. An unterminated quote runs to the end of the line.
QStringList SplitCsvLine(QStringView line);

// Decodes the escapes of a catalogue text: "%c" carriage return, "%n" line
// feed, "%0" a zero character, "%%" a percent sign. Any other "%" stays as it
// is.
QString DecodeTextEscapes(QStringView text);

} // namespace qzr
