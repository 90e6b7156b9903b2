#pragma once

#include <QLoggingCategory>
#include <QString>

#include <string>
#include <utility>
#include <vector>

namespace qzr::test {

// Switches the codec's and the session's diagnostic trace on and collects its
// texts while it exists.
class TTraceCapture {
public:
    TTraceCapture()
    {
        Active() = this;
        QLoggingCategory::setFilterRules(
            QStringLiteral("qzr.link.debug=true\nqzr.session.debug=true"));
        FPrevious = qInstallMessageHandler(&Collect);
    }
    ~TTraceCapture()
    {
        qInstallMessageHandler(FPrevious);
        QLoggingCategory::setFilterRules(QString());
        Active() = nullptr;
    }
    TTraceCapture(const TTraceCapture&) = delete;
    TTraceCapture& operator=(const TTraceCapture&) = delete;

    std::vector<std::string> texts;

    // Returns the texts collected so far and forgets them.
    std::vector<std::string> take() { return std::exchange(texts, {}); }

private:
    static TTraceCapture*& Active()
    {
        static TTraceCapture* active = nullptr;
        return active;
    }
    static void Collect(QtMsgType type, const QMessageLogContext&, const QString& text)
    {
        if (type == QtDebugMsg && Active() != nullptr)
            Active()->texts.push_back(text.toStdString());
    }

    QtMessageHandler FPrevious = nullptr;
};

} // namespace qzr::test
