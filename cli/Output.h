#pragma once

#include <QByteArray>
#include <QJsonValue>
#include <QString>

#include <cstdio>

namespace qzr::cli {

// Where a command's results go: its report as text or as one JSON document on
// standard output (nothing of it with --quiet), data it writes to standard
// output (always), notes and errors on standard error.
class TOutput {
public:
    TOutput(bool json, bool quiet, std::FILE* out = stdout, std::FILE* err = stderr)
        : FJson(json), FQuiet(quiet), FOut(out), FErr(err)
    {}

    bool Quiet() const { return FQuiet; }

    // One line of the text report (not shown with --json or --quiet).
    void Line(const QString& text);
    // The JSON report: one document (not shown without --json or with --quiet).
    void Document(const QJsonValue& value);
    // One object of a JSON Lines report, written at once.
    void JsonLine(const QJsonValue& value);
    // Data the command produces on standard output, written whatever the options.
    void Data(const QByteArray& bytes);
    // A remark on standard error, not shown with --quiet.
    void Note(const QString& text);
    // The one line of a failure, on standard error.
    void Error(const QString& text);

private:
    void Write(std::FILE* stream, const QByteArray& bytes);

    bool FJson;
    bool FQuiet;
    std::FILE* FOut;
    std::FILE* FErr;
};

} // namespace qzr::cli
