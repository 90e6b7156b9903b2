// Starts either QZR's main window as the program does (with the cradles that
// VHID_BUS serves) or an empty Qt Widgets main window, and writes "shown" on
// standard output once the window has been painted; then ends.

#include "app/MainForm.h"
#include "app/QzrApplication.h"
#include "cradle/CradleIdentifierSettings.h"
#include "cradle/VexaBridge.h"

#include <catalogue/PersonalityData.h>
#include <translation/Translator.h>

#include <QMainWindow>
#include <QTemporaryDir>

#include <cstdio>
#include <cstring>
#include <memory>

namespace {

// Notes the window's first paint: what the user sees is the window drawn,
// not only mapped.
class TFirstPaint : public QObject {
public:
    bool Painted = false;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override
    {
        if (event->type() == QEvent::Paint)
            Painted = true;
        return QObject::eventFilter(watched, event);
    }
};

void WaitUntilShown(QWidget& window)
{
    TFirstPaint firstPaint;
    window.installEventFilter(&firstPaint);
    window.show();
    while (!firstPaint.Painted)
        QCoreApplication::processEvents(QEventLoop::AllEvents, 5);
    std::printf("shown\n");
    std::fflush(stdout);
}

} // namespace

int main(int argc, char** argv)
{
    qzr::TQzrApplication application(argc, argv);
    if (argc > 1 && std::strcmp(argv[1], "empty") == 0) {
        QMainWindow window;
        WaitUntilShown(window);
        return 0;
    }
    // The program's own files stay untouched: settings go to a scratch file.
    QTemporaryDir scratch;
    qzr::TPersonalityData personalityData;
    qzr::TTranslator translator;
    qzr::TVexaBridge bridge;
    qzr::TMainForm mainForm(qzr::TMainFormEnvironment{personalityData,
                                                      translator,
                                                      bridge,
                                                      qzr::ReadCradleIdentifiers(),
                                                      scratch.filePath(QStringLiteral("QZR.INI")),
                                                      {},
                                                      {}});
    WaitUntilShown(mainForm);
    return 0;
}
