// QZR: the control utility for the ZT-46 readout unit.

#include "app/IniLocation.h"
#include "app/MainForm.h"
#include "app/ProgramDataLocation.h"
#include "app/QzrApplication.h"
#include "app/SingleInstance.h"
#include "app/version/BuildInfo.h"
#include "cradle/CradleIdentifierSettings.h"
#include "cradle/VexaBridge.h"

#include <catalogue/PersonalityData.h>
#include <catalogue/PersonalityErrorBox.h>
#include <translation/DatabaseLocation.h>
#include <translation/Translator.h>

int main(int argc, char** argv)
{
    qzr::TQzrApplication application(argc, argv);
    QApplication::setOrganizationName(QStringLiteral("Halvern"));
    QApplication::setApplicationName(QStringLiteral("QZR"));
    QApplication::setApplicationVersion(QString::fromUtf8(qzr::build::ProductVersion));
    QGuiApplication::setDesktopFileName(QString::fromUtf8(qzr::build::ApplicationId));
    QApplication::setApplicationDisplayName(QStringLiteral("Tallyscope Control Utilities"));
    // The main window's close ends the program, whatever control windows are open.
    QApplication::setQuitOnLastWindowClosed(false);

    // A second QZR of this user on the same bus shows the first one instead.
    qzr::TSingleInstance instance(qzr::TSingleInstance::NameForThisSession());
    if (instance.HandOver())
        return 0;
    instance.Listen();

    // The catalogue, the language table and the dealer's files: beside the
    // program, or in the installed data directory.
    const qzr::TProgramFiles files = qzr::DefaultProgramFiles();
    qzr::TPersonalityData personalityData(
        qzr::TPersonalityOptions{files.DataDir + '/', qzr::ShowPersonalityError});
    qzr::TTranslator translator(
        qzr::TTranslatorOptions{qzr::LanguageDatabaseIn(files.DataDir, files.Installed), {}, {}});
    qzr::TVexaBridge bridge;
    qzr::TMainForm mainForm(qzr::TMainFormEnvironment{personalityData,
                                                      translator,
                                                      bridge,
                                                      qzr::ReadCradleIdentifiers(),
                                                      qzr::DefaultIniFilePath(files.Installed),
                                                      {},
                                                      {}});
    instance.OnShowRequest = [&mainForm] {
        mainForm.showNormal();
        mainForm.raise();
        mainForm.activateWindow();
    };
    mainForm.show();
    return QApplication::exec();
}
