// qzr-cli: the ZT-46 unit's operations from a command line.

#include "cli/CliApplication.h"

#include <QCoreApplication>

int main(int argc, char** argv)
{
    QCoreApplication application(argc, argv);
    QCoreApplication::setOrganizationName(QStringLiteral("Halvern"));
    QCoreApplication::setApplicationName(QStringLiteral("QZR"));
    QCoreApplication::setApplicationVersion(QStringLiteral(QZR_VERSION));
    return qzr::cli::RunQzrCli(QCoreApplication::arguments().mid(1));
}
