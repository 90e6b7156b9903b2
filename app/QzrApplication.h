#pragma once

#include <QApplication>

namespace qzr {

// The application object. A failure that no handler caught is shown in a
// message box with its text (the program's general error report) instead of
// ending the program.
class TQzrApplication : public QApplication {
    Q_OBJECT
public:
    TQzrApplication(int& argc, char** argv);

    bool notify(QObject* receiver, QEvent* event) override;
};

} // namespace qzr
