#include "cli/CradleSelection.h"

#include "cli/CliError.h"

#include <QStringList>

namespace qzr::cli {

namespace {

QString WithRemark(const QString& message, const QString& remark)
{
    return remark.isEmpty() ? message : QStringLiteral("%1 (%2)").arg(message, remark);
}

} // namespace

TCradleEntry SelectCradle(const QList<TCradleEntry>& cradles, const QString& wanted,
                          const QString& remark)
{
    if (!wanted.isEmpty()) {
        for (const TCradleEntry& cradle : cradles)
            if (cradle.Device == wanted)
                return cradle;
        throw NoCradleError(WithRemark(QStringLiteral("no cradle %1").arg(wanted), remark));
    }
    if (cradles.isEmpty())
        throw NoCradleError(WithRemark(QStringLiteral("no cradle"), remark));
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
