#include "cli/CradleSelection.h"

#include "cli/CliError.h"

#include <QStringList>

namespace qzr::cli {

TCradleEntry SelectCradle(const QList<TCradleEntry>& cradles, const QString& wanted)
{
    if (!wanted.isEmpty()) {
        for (const TCradleEntry& cradle : cradles)
            if (cradle.Device == wanted)
                return cradle;
        throw NoCradleError(QStringLiteral("no cradle %1").arg(wanted));
    }
    if (cradles.isEmpty())
        throw NoCradleError(QStringLiteral("no cradle"));
    if (cradles.size() > 1) {
        QStringList names;
        for (const TCradleEntry& cradle : cradles)
            names.append(cradle.Device);
        throw UsageError(
            QStringLiteral("several cradles: %1; choose one with -d").arg(names.join(", ")));
    }
    return cradles.front();
}

} // namespace qzr::cli
