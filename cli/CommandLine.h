#pragma once

#include <QHash>
#include <QSet>
#include <QString>
#include <QStringList>

#include <optional>

namespace qzr::cli {

// The options that every command takes, before or after the command's name.
struct TGlobalOptions {
    // The virtual HID bus directory (--bus); unset: VHID_BUS or the system's devices.
    std::optional<QString> Bus;
    // The cradle's name as scan prints it (-d); empty: the only cradle there is.
    QString Device;
    // The sensor catalogue file (--catalogue); empty: the one QZR reads.
    QString Catalogue;
    bool Json = false;
    bool Quiet = false;
};

// A command line taken apart: the global options, the command ("scan",
// "logger start", ...), its positional arguments and its own options. Only
// options that the command knows are accepted; an option's value is its text,
// checked by the command.
struct TCommandLine {
    TGlobalOptions Global;
    QString Command;
    QStringList Positionals;
    QHash<QString, QString> Values;
    QSet<QString> Flags;
    bool Help = false;
    bool Version = false;

    bool Has(const QString& flag) const { return Flags.contains(flag); }
    std::optional<QString> Value(const QString& option) const;
};

// Parses the arguments after the program's name. Throws the usage error (exit
// code 2) for an unknown command or option, a missing value or a positional
// argument that the command does not take.
TCommandLine ParseCommandLine(const QStringList& arguments);

// The usage text of --help.
QString UsageText();

} // namespace qzr::cli
