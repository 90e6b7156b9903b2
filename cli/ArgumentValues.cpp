#include "cli/ArgumentValues.h"

#include "cli/CliError.h"

#include <QLocale>

#include <cmath>

namespace qzr::cli {

std::int64_t ParseInteger(const QString& option, const QString& text, std::int64_t minimum,
                          std::int64_t maximum)
{
    bool ok = false;
    const qlonglong value = text.trimmed().toLongLong(&ok, 10);
    if (!ok || value < minimum || value > maximum)
        throw UsageError(QStringLiteral("%1: %2 is not a whole number from %3 to %4")
                             .arg(option, text)
                             .arg(minimum)
                             .arg(maximum));
    return value;
}

double ParseDecimal(const QString& option, const QString& text)
{
    bool ok = false;
    const double value = QLocale::c().toDouble(text.trimmed(), &ok);
    if (!ok || !std::isfinite(value))
        throw UsageError(QStringLiteral("%1: %2 is not a number").arg(option, text));
    return value;
}

} // namespace qzr::cli
