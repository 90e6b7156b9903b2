#include "cli/CommandLine.h"

#include "cli/CliError.h"

#include <algorithm>
#include <array>

namespace qzr::cli {

namespace {

struct TOptionSpec {
    const char* Name;
    bool TakesValue;
};

struct TCommandSpec {
    const char* Name;
    std::initializer_list<TOptionSpec> Options;
    // Positional arguments after the command's name: at least, at most.
    int MinPositionals;
    int MaxPositionals;
};

const std::array<TCommandSpec, 8> CommandSpecs{{
    {"scan", {}, 0, 0},
    {"info", {}, 0, 0},
    {"realtime", {{"--count", true}}, 0, 0},
    {"program",
     {{"--sensor", true}, {"--sensitivity", true}, {"--dry-run", false}, {"--yes", false}},
     0,
     0},
    {"logger start", {{"--interval", true}, {"--at", true}, {"--yes", false}}, 0, 0},
    {"logger status", {}, 0, 0},
    {"logger read", {{"-o", true}, {"--force", false}}, 0, 0},
    {"export", {{"-o", true}, {"--format", true}}, 1, 1},
}};

const TCommandSpec* FindCommand(const QString& name)
{
    const auto found = std::find_if(CommandSpecs.begin(), CommandSpecs.end(),
                                    [&](const TCommandSpec& spec) { return name == spec.Name; });
    return found == CommandSpecs.end() ? nullptr : &*found;
}

const TOptionSpec* FindOption(const TCommandSpec& command, const QString& name)
{
    const auto found = std::find_if(command.Options.begin(), command.Options.end(),
                                    [&](const TOptionSpec& option) { return name == option.Name; });
    return found == command.Options.end() ? nullptr : &*found;
}

bool IsOption(const QString& argument)
{
    return argument.size() > 1 && argument.startsWith(QLatin1Char('-'));
}

// Walks the arguments once: global options wherever they stand, the command's
// name from the first words, then the command's own options and positionals.
class TParser {
public:
    explicit TParser(const QStringList& arguments) : FArguments(arguments) {}

    TCommandLine Parse()
    {
        bool optionsEnded = false;
        while (FNext < FArguments.size()) {
            const QString argument = FArguments[FNext++];
            if (!optionsEnded && argument == QLatin1String("--")) {
                optionsEnded = true;
            } else if (!optionsEnded && IsOption(argument)) {
                TakeOption(argument);
            } else {
                TakeWord(argument);
            }
        }
        if (FResult.Help || FResult.Version)
            return FResult;
        if (FResult.Command.isEmpty())
            throw UsageError(QStringLiteral("no command given; try qzr-cli --help"));
        if (FResult.Command == QLatin1String("logger"))
            throw UsageError(QStringLiteral("logger needs start, status or read"));
        if (FResult.Positionals.size() < FSpec->MinPositionals)
            throw UsageError(QStringLiteral("%1 needs a file name").arg(FResult.Command));
        return FResult;
    }

private:
    void TakeOption(const QString& argument)
    {
        QString name = argument;
        std::optional<QString> inlineValue;
        if (const qsizetype equals = argument.indexOf(QLatin1Char('='));
            argument.startsWith(QLatin1String("--")) && equals > 0) {
            name = argument.left(equals);
            inlineValue = argument.mid(equals + 1);
        }
        if (TakeGlobalOption(name, inlineValue))
            return;
        const TOptionSpec* option = FSpec != nullptr ? FindOption(*FSpec, name) : nullptr;
        if (option == nullptr) {
            if (FResult.Command.isEmpty() || FResult.Command == QLatin1String("logger"))
                throw UsageError(QStringLiteral("unknown option: %1").arg(name));
            throw UsageError(
                QStringLiteral("unknown option for %1: %2").arg(FResult.Command, name));
        }
        if (!option->TakesValue) {
            if (inlineValue)
                throw UsageError(QStringLiteral("%1 takes no value").arg(name));
            FResult.Flags.insert(name);
            return;
        }
        FResult.Values.insert(name, inlineValue ? *inlineValue : NextValue(name));
    }

    bool TakeGlobalOption(const QString& name, const std::optional<QString>& inlineValue)
    {
        const auto value = [&] { return inlineValue ? *inlineValue : NextValue(name); };
        if (name == QLatin1String("--bus")) {
            FResult.Global.Bus = value();
            if (FResult.Global.Bus->isEmpty())
                throw UsageError(QStringLiteral("--bus needs a directory"));
        } else if (name == QLatin1String("-d")) {
            FResult.Global.Device = value();
            if (FResult.Global.Device.isEmpty())
                throw UsageError(QStringLiteral("-d needs a cradle name"));
        } else if (name == QLatin1String("--catalogue")) {
            FResult.Global.Catalogue = value();
            if (FResult.Global.Catalogue.isEmpty())
                throw UsageError(QStringLiteral("--catalogue needs a file"));
        } else if (name == QLatin1String("--json") && !inlineValue) {
            FResult.Global.Json = true;
        } else if (name == QLatin1String("--quiet") && !inlineValue) {
            FResult.Global.Quiet = true;
        } else if ((name == QLatin1String("--help") || name == QLatin1String("-h")) &&
                   !inlineValue) {
            FResult.Help = true;
        } else if (name == QLatin1String("--version") && !inlineValue) {
            FResult.Version = true;
        } else {
            return false;
        }
        return true;
    }

    QString NextValue(const QString& name)
    {
        if (FNext >= FArguments.size())
            throw UsageError(QStringLiteral("%1 needs a value").arg(name));
        return FArguments[FNext++];
    }

    void TakeWord(const QString& word)
    {
        if (FResult.Command.isEmpty()) {
            FResult.Command = word;
            if (word != QLatin1String("logger"))
                FSpec = FindCommand(word);
            if (FSpec == nullptr && word != QLatin1String("logger"))
                throw UsageError(QStringLiteral("unknown command: %1").arg(word));
            return;
        }
        if (FResult.Command == QLatin1String("logger")) {
            FResult.Command = QStringLiteral("logger ") + word;
            FSpec = FindCommand(FResult.Command);
            if (FSpec == nullptr)
                throw UsageError(QStringLiteral("unknown command: %1").arg(FResult.Command));
            return;
        }
        if (FResult.Positionals.size() >= FSpec->MaxPositionals)
            throw UsageError(QStringLiteral("%1 takes no argument %2").arg(FResult.Command, word));
        FResult.Positionals.append(word);
    }

    const QStringList& FArguments;
    qsizetype FNext = 0;
    TCommandLine FResult;
    const TCommandSpec* FSpec = nullptr;
};

} // namespace

std::optional<QString> TCommandLine::Value(const QString& option) const
{
    const auto found = Values.constFind(option);
    if (found == Values.constEnd())
        return std::nullopt;
    return *found;
}

TCommandLine ParseCommandLine(const QStringList& arguments)
{
    return TParser(arguments).Parse();
}

QString UsageText()
{
    return QStringLiteral(
        "Usage: qzr-cli [--bus DIR] [-d DEVICE] [--catalogue FILE] [--json] [--quiet] COMMAND "
        "[ARGUMENTS]\n"
        "\n"
        "Commands:\n"
        "  scan                              list the cradles\n"
        "  info                              the unit's identity and setup image\n"
        "  realtime [--count N]              N sets of live readings, one a second (0: until "
        "interrupted)\n"
        "  program --sensor ID --sensitivity S [--dry-run] [--yes]\n"
        "                                    set the unit up for a sensor (user area)\n"
        "  logger start --interval SECONDS [--at \"YYYY-MM-DD HH:MM\"] [--yes]\n"
        "                                    erase and start the data logger\n"
        "  logger status                     one status reading of the data logger\n"
        "  logger read -o FILE [--force]     read the data logger into a .qzr file\n"
        "  export FILE.qzr [-o OUT] [--format text|csv|json]\n"
        "                                    write a .qzr file's records as text, CSV or JSON\n"
        "\n"
        "Exit codes: 0 success, 1 the operation failed, 2 the command line is wrong or several\n"
        "cradles and no -d, 3 no cradle, no unit or no session.\n"
        "See qzr-cli(1).\n");
}

} // namespace qzr::cli
