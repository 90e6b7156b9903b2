#pragma once

#include <protocol/LogData.h>

#include <QByteArray>
#include <QString>

#include <stdexcept>

namespace qzr {

// A file that could not be read or written; what() is the message for the
// user, naming the file and the system's reason.
class TLogDataFileError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

// Reads a logged-data file (".qzr"): the image is the file's first 28160
// bytes. Any file is accepted; a shorter one is filled up with 0xFF (erased
// memory, so the data end at the first missing record) and bytes beyond
// 28160 are never read. Throws TLogDataFileError.
TLogData LoadLogDataFile(const QString& fileName);

// Writes the image as a logged-data file, replacing any file of that name.
// Throws TLogDataFileError.
void SaveLogDataFile(const QString& fileName, const TLogData& data);

// Replaces the file's content by these bytes: they are written to a
// temporary file beside it, which then takes the file's place, so that a
// failed or interrupted write never leaves a truncated file in place of a
// good one. Throws TLogDataFileError.
void ReplaceFileContent(const QString& fileName, const QByteArray& content);

} // namespace qzr
