#pragma once

#include <QString>

#include <functional>

class QWidget;

namespace qzr {

// The two dialogs of a window's operations, both modal to the window and
// neither waiting for the user: the caller goes on at once, and whatever
// runs behind (timers, input reports) keeps running while the dialog shows.

// An error dialog: error icon, the text, one OK button.
void ShowErrorMessage(QWidget& parent, const QString& text);

// A confirmation with Yes and No; `onYes` runs after Yes, nothing after No or
// when the dialog is closed otherwise.
void AskYesNo(QWidget& parent, const QString& question, std::function<void()> onYes);

} // namespace qzr
