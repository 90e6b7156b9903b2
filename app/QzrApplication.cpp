#include "app/QzrApplication.h"

#include <QMessageBox>

#include <exception>

namespace qzr {

TQzrApplication::TQzrApplication(int& argc, char** argv) : QApplication(argc, argv) {}

bool TQzrApplication::notify(QObject* receiver, QEvent* event)
{
    try {
        return QApplication::notify(receiver, event);
    } catch (const std::exception& error) {
        QMessageBox::critical(nullptr, applicationDisplayName(), QString::fromUtf8(error.what()));
    }
    return false;
}

} // namespace qzr
