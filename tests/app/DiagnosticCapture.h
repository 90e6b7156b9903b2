#pragma once

#include <QLoggingCategory>
#include <QString>
#include <QStringList>

namespace qzr::test {

// Switches the program's diagnostic trace on and collects its texts while it
// exists.
class TDiagnosticCapture {
public:
    TDiagnosticCapture()
    {
        Active() = this;
        QLoggingCategory::setFilterRules(QStringLiteral("qzr.*.debug=true"));
        FPrevious = qInstallMessageHandler(&Collect);
    }
    ~TDiagnosticCapture()
    {
        qInstallMessageHandler(FPrevious);
        QLoggingCategory::setFilterRules(QString());
        Active() = nullptr;
    }
    TDiagnosticCapture(const TDiagnosticCapture&) = delete;
    TDiagnosticCapture& operator=(const TDiagnosticCapture&) = delete;

    QStringList texts;

private:
    static TDiagnosticCapture*& Active()
    {
        static TDiagnosticCapture* active = nullptr;
        return active;
    }
    static void Collect(QtMsgType type, const QMessageLogContext& context, const QString& text)
    {
        if (type == QtDebugMsg && Active() != nullptr &&
            QString::fromLatin1(context.category).startsWith(QLatin1String("qzr.")))
            Active()->texts.append(text);
    }

    QtMessageHandler FPrevious = nullptr;
};

} // namespace qzr::test
