#include "CsvLine.h"

namespace qzr {

QStringList SplitCsvLine(QStringView line)
{
    QStringList fields;
    QString field;
    bool inQuotes = false;
    for (qsizetype i = 0; i < line.size(); ++i) {
        const QChar c = line[i];
        if (inQuotes) {
            if (c != u'"') {
                field += c;
            } else if (i + 1 < line.size() && line[i + 1] == u'"') {
                field += c;
                ++i;
            } else {
                inQuotes = false;
            }
        } else if (c == u'"') {
            inQuotes = true;
        } else if (c == u',') {
            fields.append(field);
            field.clear();
        } else {
            field += c;
        }
    }
    fields.append(field);
    return fields;
}

QString DecodeTextEscapes(QStringView text)
{
    QString decoded;
    decoded.reserve(text.size());
    for (qsizetype i = 0; i < text.size(); ++i) {
        const QChar c = text[i];
        if (c != u'%' || i + 1 == text.size()) {
            decoded += c;
            continue;
        }
        switch (text[i + 1].unicode()) {
        case u'c':
            decoded += u'\r';
            break;
        case u'n':
            decoded += u'\n';
            break;
        case u'0':
            decoded += QChar(0);
            break;
        case u'%':
            decoded += u'%';
            break;
        default:
            decoded += c;
            continue;
        }
        ++i;
    }
    return decoded;
}

} // namespace qzr
