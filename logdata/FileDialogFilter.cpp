#include "logdata/FileDialogFilter.h"

#include <QStringList>

namespace qzr {

QString QtFileFilter(const QString& filter)
{
    const QStringList parts = filter.split(u'|');
    QStringList filters;
    for (qsizetype i = 0; i + 1 < parts.size(); i += 2) {
        QStringList patterns = parts[i + 1].split(u';', Qt::SkipEmptyParts);
        for (QString& pattern : patterns)
            if (pattern.trimmed() == QStringLiteral("*.*"))
                pattern = QStringLiteral("*");
        QString description = parts[i];
        // Qt reads the patterns from the description's parentheses.
        const qsizetype open = description.lastIndexOf(u'(');
        if (open >= 0)
            description.truncate(open);
        filters.append(description.trimmed() + QStringLiteral(" (") + patterns.join(u' ') + u')');
    }
    return filters.join(QStringLiteral(";;"));
}

} // namespace qzr
