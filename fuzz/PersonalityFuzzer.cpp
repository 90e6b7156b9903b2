// Any system settings file as the personality's groups DEALER and FACTORY,
// with the sensor catalogue it names.

#include "catalogue/PersonalityData.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QSettings>
#include <QTemporaryDir>

#include <cstddef>
#include <cstdint>
#include <memory>

namespace {

QTemporaryDir* Directory = nullptr;

} // namespace

extern "C" int LLVMFuzzerInitialize(int* argc, char*** argv)
{
    static QCoreApplication application(*argc, *argv);
    static QTemporaryDir directory;
    Directory = &directory;
    QDir(directory.path()).mkpath(QStringLiteral("system/Halvern"));
    QDir(directory.path()).mkpath(QStringLiteral("program"));
    QSettings::setPath(QSettings::NativeFormat, QSettings::SystemScope,
                       directory.filePath(QStringLiteral("system")));
    QFile catalogue(directory.filePath(QStringLiteral("program/standard.csv")));
    if (catalogue.open(QIODevice::WriteOnly))
        catalogue.write("sensor_ID,sensor_name,sensor_units\n1,Load cell,kg\n");
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const QByteArray contents(reinterpret_cast<const char*>(data), static_cast<qsizetype>(size));
    // The settings are the administrator's; a catalogue path that leaves the
    // program's directory would only make the fuzzer read the machine's files.
    if (contents.contains(".."))
        return 0;
    {
        QFile file(Directory->filePath(QStringLiteral("system/Halvern/QZR.conf")));
        if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate))
            return 0;
        file.write(contents);
    }
    int reports = 0;
    qzr::TPersonalityData personality(qzr::TPersonalityOptions{
        Directory->filePath(QStringLiteral("program")) + '/', [&](const QString&) { ++reports; }});
    if (reports > 6)
        __builtin_trap();
    return 0;
}
