#include "cli/Terminal.h"

#include <unistd.h>

#include <cstdio>
#include <string>

namespace qzr::cli {

bool StandardInputIsTerminal()
{
    return ::isatty(STDIN_FILENO) == 1;
}

bool StandardErrorIsTerminal()
{
    return ::isatty(STDERR_FILENO) == 1;
}

bool AskYesNo(const QString& question)
{
    std::fprintf(stderr, "%s [y/N] ", question.toUtf8().constData());
    std::fflush(stderr);
    std::string answer;
    for (int c = std::getchar(); c != EOF && c != '\n'; c = std::getchar())
        answer.push_back(static_cast<char>(c));
    const QString reply = QString::fromStdString(answer).trimmed().toLower();
    return reply == QLatin1String("y") || reply == QLatin1String("yes");
}

} // namespace qzr::cli
