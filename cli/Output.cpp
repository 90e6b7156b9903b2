#include "cli/Output.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>

namespace qzr::cli {

namespace {

QByteArray ToJson(const QJsonValue& value, QJsonDocument::JsonFormat format)
{
    // Every report is an array or an object.
    if (value.isArray())
        return QJsonDocument(value.toArray()).toJson(format);
    return QJsonDocument(value.toObject()).toJson(format);
}

} // namespace

void TOutput::Line(const QString& text)
{
    if (!FJson && !FQuiet)
        Write(FOut, text.toUtf8() + '\n');
}

void TOutput::Document(const QJsonValue& value)
{
    if (FJson && !FQuiet)
        Write(FOut, ToJson(value, QJsonDocument::Indented));
}

void TOutput::JsonLine(const QJsonValue& value)
{
    if (!FJson || FQuiet)
        return;
    QByteArray line = ToJson(value, QJsonDocument::Compact);
    if (!line.endsWith('\n'))
        line += '\n';
    Write(FOut, line);
}

void TOutput::Data(const QByteArray& bytes)
{
    Write(FOut, bytes);
}

void TOutput::Note(const QString& text)
{
    if (!FQuiet)
        Write(FErr, text.toUtf8() + '\n');
}

void TOutput::Error(const QString& text)
{
    Write(FErr, text.toUtf8() + '\n');
}

void TOutput::Write(std::FILE* stream, const QByteArray& bytes)
{
    std::fwrite(bytes.constData(), 1, static_cast<std::size_t>(bytes.size()), stream);
    std::fflush(stream);
}

} // namespace qzr::cli
