#pragma once

#include "SensorRecord.h"

#include <QString>
#include <optional>
#include <vector>

namespace qzr {

// Reads a sensor catalogue file (UTF-8, comma-separated):
//  - an optional preamble: lines whose first field is "@@FILE VERSION@@", and
//    a table definition from "@@TABLEDEF START@@" to "@@TABLEDEF END@@";
//  - a header naming the columns, matched to the record's fields without
//    regard to letter case; unknown columns are skipped, fields without a
//    column stay empty;
//  - one record per line; empty lines are skipped.
// Booleans are true only for exactly "TRUE"; numbers use "." whatever the
// locale; texts are decoded (see DecodeTextEscapes) and cut to their sizes.
// Returns nothing when the file cannot be read or a number field holds
// anything but a number.
std::optional<std::vector<TSensorRecord>> ReadSensorFile(const QString& path);

// The same for the file's contents.
std::optional<std::vector<TSensorRecord>> ParseSensorFile(const QString& contents);

} // namespace qzr
