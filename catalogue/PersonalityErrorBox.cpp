#include "PersonalityErrorBox.h"

#include <QGuiApplication>
#include <QMessageBox>

namespace qzr {

void ShowPersonalityError(const QString& message)
{
    QMessageBox::critical(nullptr, QGuiApplication::applicationDisplayName(), message);
}

} // namespace qzr
