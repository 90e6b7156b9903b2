#include "cli/Confirmation.h"

#include "cli/CliError.h"
#include "cli/Terminal.h"

namespace qzr::cli {

void RequireConfirmation(const TCliContext& context, const QString& action)
{
    if (!context.Line.Has(QStringLiteral("--yes")) && !StandardInputIsTerminal())
        throw UsageError(
            QStringLiteral("refusing to %1 without --yes: standard input is not a terminal")
                .arg(action));
}

void AskConfirmation(const TCliContext& context, const QString& question)
{
    if (context.Line.Has(QStringLiteral("--yes")))
        return;
    if (!AskYesNo(question))
        throw OperationFailed(QStringLiteral("not confirmed: nothing was sent"));
}

} // namespace qzr::cli
