// QZR: the control utility for the ZT-46 readout unit.

#include "app/CradleIdentifierSettings.h"
#include "app/IniLocation.h"
#include "app/MainForm.h"
#include "app/QzrApplication.h"
#include "cradle/VexaBridge.h"

#include <catalogue/PersonalityData.h>
#include <translation/Translator.h>

int main(int argc, char** argv)
{
    qzr::TQzrApplication application(argc, argv);
    QApplication::setOrganizationName(QStringLiteral("Halvern"));
    QApplication::setApplicationName(QStringLiteral("QZR"));
    QApplication::setApplicationVersion(QStringLiteral(QZR_VERSION));
    QApplication::setApplicationDisplayName(QStringLiteral("Tallyscope Control Utilities"));
    // The main window's close ends the program, whatever control windows are open.
    QApplication::setQuitOnLastWindowClosed(false);

    qzr::TPersonalityData personalityData;
    qzr::TTranslator translator;
    qzr::TVexaBridge bridge;
    qzr::TMainForm mainForm(qzr::TMainFormEnvironment{personalityData,
                                                      translator,
                                                      bridge,
                                                      qzr::ReadCradleIdentifiers(),
                                                      qzr::DefaultIniFilePath(),
                                                      {},
                                                      {}});
    mainForm.show();
    return QApplication::exec();
}
