#pragma once

#include "cli/ExitCode.h"

#include <QString>

#include <stdexcept>

namespace qzr::cli {

// A failure that ends the command: its one-line message goes to standard error
// and its code becomes the exit code.
class ECliError : public std::runtime_error {
public:
    ECliError(TExitCode code, const QString& message)
        : std::runtime_error(message.toStdString()), FCode(code)
    {}

    TExitCode Code() const { return FCode; }
    QString Message() const { return QString::fromStdString(what()); }

private:
    TExitCode FCode;
};

inline ECliError UsageError(const QString& message)
{
    return ECliError(TExitCode::Usage, message);
}

inline ECliError OperationFailed(const QString& message)
{
    return ECliError(TExitCode::Failed, message);
}

inline ECliError NoCradleError(const QString& message)
{
    return ECliError(TExitCode::NoCradle, message);
}

} // namespace qzr::cli
