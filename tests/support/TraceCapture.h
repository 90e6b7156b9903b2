#pragma once

#include <QLoggingCategory>
#include <QString>

#include <algorithm>
#include <string>
#include <utility>
#include <vector>

namespace qzr::test {

// Switches the program's diagnostic trace (the logging categories "qzr.*")
// on and collects its texts while it exists.
class TTraceCapture {
public:
    TTraceCapture()
    {
        Active() = this;
        QLoggingCategory::setFilterRules(QStringLiteral("qzr.*.debug=true"));
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

    bool Contains(const std::string& text) const
    {
        return std::find(texts.begin(), texts.end(), text) != texts.end();
    }
    // Returns the texts collected so far and forgets them.
    std::vector<std::string> take() { return std::exchange(texts, {}); }

private:
    static TTraceCapture*& Active()
    {
        static TTraceCapture* active = nullptr;
        return active;
    }
    static void Collect(QtMsgType type, const QMessageLogContext& context, const QString& text)
    {
        if (type == QtDebugMsg && Active() != nullptr && context.category != nullptr &&
            QString::fromLatin1(context.category).startsWith(QLatin1String("qzr.")))
            Active()->texts.push_back(text.toStdString());
    }

    QtMessageHandler FPrevious = nullptr;
};

} // namespace qzr::test
