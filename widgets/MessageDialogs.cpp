#include "widgets/MessageDialogs.h"

#include <QMessageBox>

#include <utility>

namespace qzr {

namespace {

QMessageBox* NewDialog(QWidget& parent, QMessageBox::Icon icon, const QString& text,
                       QMessageBox::StandardButtons buttons)
{
    auto* dialog = new QMessageBox(icon, QString(), text, buttons, &parent);
    dialog->setAttribute(Qt::WA_DeleteOnClose);
    dialog->setWindowModality(Qt::WindowModal);
    return dialog;
}

} // namespace

void ShowErrorMessage(QWidget& parent, const QString& text)
{
    NewDialog(parent, QMessageBox::Critical, text, QMessageBox::Ok)->open();
}

void AskYesNo(QWidget& parent, const QString& question, std::function<void()> onYes)
{
    QMessageBox* dialog =
        NewDialog(parent, QMessageBox::Question, question, QMessageBox::Yes | QMessageBox::No);
    dialog->setDefaultButton(QMessageBox::No);
    QObject::connect(dialog, &QMessageBox::finished, [onYes = std::move(onYes)](int result) {
        if (result == QMessageBox::Yes)
            onYes();
    });
    dialog->open();
}

} // namespace qzr
