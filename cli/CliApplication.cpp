#include "cli/CliApplication.h"

#include "cli/CliError.h"
#include "cli/Commands.h"

#include <cradle/CradleIdentifierSettings.h>

#include <QCoreApplication>

#include <exception>
#include <functional>
#include <map>

namespace qzr::cli {

namespace {

constexpr auto VirtualBusVariable = "VHID_BUS";

using TCommand = std::function<void(const TCliContext&)>;

const std::map<QString, TCommand>& Commands()
{
    static const std::map<QString, TCommand> commands{
        {QStringLiteral("scan"), RunScan},
        {QStringLiteral("info"), RunInfo},
        {QStringLiteral("realtime"), RunRealtime},
        {QStringLiteral("program"), RunProgram},
        {QStringLiteral("logger start"), RunLoggerStart},
        {QStringLiteral("logger status"), RunLoggerStatus},
        {QStringLiteral("logger read"), RunLoggerRead},
        {QStringLiteral("export"), RunExport},
    };
    return commands;
}

void RunCommand(const TCommandLine& line, TOutput& output)
{
    // The HID layer and the bridge library both find the bus through the
    // environment.
    if (line.Global.Bus)
        qputenv(VirtualBusVariable, line.Global.Bus->toLocal8Bit());
    const auto command = Commands().find(line.Command);
    if (command == Commands().end())
        throw UsageError(QStringLiteral("%1 is not available").arg(line.Command));
    command->second(TCliContext{line, output, ReadCradleIdentifiers()});
}

} // namespace

int RunQzrCli(const QStringList& arguments)
{
    constexpr int Success = static_cast<int>(TExitCode::Success);
    TOutput errors(false, false);
    try {
        const TCommandLine line = ParseCommandLine(arguments);
        TOutput output(line.Global.Json, line.Global.Quiet);
        if (line.Help) {
            output.Data(UsageText().toUtf8());
            return Success;
        }
        if (line.Version) {
            output.Data(QStringLiteral("qzr-cli %1\n")
                            .arg(QCoreApplication::applicationVersion())
                            .toUtf8());
            return Success;
        }
        RunCommand(line, output);
        return Success;
    } catch (const ECliError& error) {
        errors.Error(error.Message());
        return static_cast<int>(error.Code());
    } catch (const std::exception& error) {
        errors.Error(QString::fromUtf8(error.what()));
        return static_cast<int>(TExitCode::Failed);
    }
}

} // namespace qzr::cli
