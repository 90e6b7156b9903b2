#include "widgets/Hint.h"

#include <QAction>
#include <QWidget>

namespace qzr {
namespace {
constexpr char HintProperty[] = "hint";
constexpr char ShowHintProperty[] = "showHint";
} // namespace

QString ShortHint(const QString& hint)
{
    return hint.section(u'|', 0, 0);
}

QString LongHint(const QString& hint)
{
    const qsizetype bar = hint.indexOf(u'|');
    return bar < 0 ? hint : hint.mid(bar + 1);
}

void SetHint(QObject& object, const QString& hint)
{
    object.setProperty(HintProperty, hint);
    if (auto* widget = qobject_cast<QWidget*>(&object)) {
        widget->setToolTip(ShortHint(hint));
        widget->setStatusTip(LongHint(hint));
    } else if (auto* action = qobject_cast<QAction*>(&object)) {
        action->setToolTip(ShortHint(hint));
        action->setStatusTip(LongHint(hint));
    }
}

QString HintOf(const QObject& object)
{
    return object.property(HintProperty).toString();
}

bool HintDisplayOn(const QWidget& widget)
{
    for (const QWidget* w = &widget; w; w = w->parentWidget()) {
        const QVariant showHint = w->property(ShowHintProperty);
        if (showHint.isValid())
            return showHint.toBool();
        if (w->isWindow())
            break;
    }
    return true;
}

} // namespace qzr
