#include "FormTranslator.h"

#include "widgets/Hint.h"

#include <QAbstractButton>
#include <QAction>
#include <QChart>
#include <QChartView>
#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QListWidget>
#include <QRadioButton>
#include <QStackedWidget>
#include <QTabWidget>

namespace qzr {
namespace {

constexpr int UntranslatedTag = 999;

bool IsUntranslated(const QObject& object)
{
    bool ok = false;
    return object.property("tag").toInt(&ok) == UntranslatedTag && ok;
}

// Objects without a name, and Qt's own internal ones, are not translated;
// their children are.
bool IsNamed(const QObject& object)
{
    const QString name = object.objectName();
    return !name.isEmpty() && !name.startsWith("qt_") && !name.startsWith("_q_");
}

// A label that shows data (a reading, a counter) keeps its text; its hint is
// translated.
bool ShowsData(const QLabel& label)
{
    return label.property("dataDisplay").toBool();
}

bool IsRadioGroup(const QObject& object)
{
    return qobject_cast<const QGroupBox*>(&object) && object.property("radioGroup").toBool();
}

QList<QRadioButton*> RadioGroupItems(QGroupBox& group)
{
    return group.findChildren<QRadioButton*>(Qt::FindDirectChildrenOnly);
}

bool IsRadioGroupItem(const QObject& object)
{
    return qobject_cast<const QRadioButton*>(&object) && object.parent() &&
           IsRadioGroup(*object.parent());
}

class TWindowTranslation {
public:
    TWindowTranslation(QWidget& window, const TTranslateText& translate)
        : FPrefix(WindowPrefix(window.objectName())), FTranslate(translate)
    {}

    void Run(QWidget& window)
    {
        if (!IsUntranslated(window))
            window.setWindowTitle(FTranslate(FPrefix + ".Caption", window.windowTitle()));
        WalkChildren(window);
    }

private:
    void WalkChildren(QObject& parent)
    {
        const QObjectList children = parent.children();
        for (QObject* child : children)
            Walk(*child);
    }

    void Walk(QObject& object)
    {
        if (auto* window = qobject_cast<QWidget*>(&object); window && window->isWindow()) {
            if (IsNamed(*window) && !IsUntranslated(*window))
                TranslateWindow(*window, FTranslate);
            return;
        }
        if (IsNamed(object) && !IsUntranslated(object) && !IsRadioGroupItem(object))
            Translate(object, FPrefix + '.' + object.objectName());
        WalkChildren(object);
    }

    void Translate(QObject& object, const QString& base)
    {
        if (auto* widget = qobject_cast<QWidget*>(&object); widget && HintDisplayOn(*widget))
            TranslateHint(object, base);
        if (auto* label = qobject_cast<QLabel*>(&object); label && !ShowsData(*label))
            label->setText(FTranslate(base + ".caption", label->text()));
        if (auto* button = qobject_cast<QAbstractButton*>(&object))
            button->setText(FTranslate(base + ".caption", button->text()));
        if (auto* group = qobject_cast<QGroupBox*>(&object)) {
            group->setTitle(FTranslate(base + ".caption", group->title()));
            if (IsRadioGroup(*group))
                TranslateRadioGroupItems(*group, base);
        }
        if (auto* page = qobject_cast<QWidget*>(&object))
            TranslateTabText(*page, base);
        if (auto* action = qobject_cast<QAction*>(&object)) {
            action->setText(FTranslate(base + ".caption", action->text()));
            TranslateHint(object, base);
        }
        if (auto* list = qobject_cast<QListWidget*>(&object)) {
            for (int i = 0; i < list->count(); ++i)
                list->item(i)->setText(
                    FTranslate(base + ".item" + ItemIndexText(i), list->item(i)->text()));
        }
        if (auto* combo = qobject_cast<QComboBox*>(&object)) {
            for (int i = 0; i < combo->count(); ++i)
                combo->setItemText(
                    i, FTranslate(base + ".item" + ItemIndexText(i), combo->itemText(i)));
        }
        if (auto* chartView = qobject_cast<QChartView*>(&object))
            TranslateSeries(*chartView);
        if (auto* label = qobject_cast<QLabel*>(&object); label && label->property("url").isValid())
            label->setProperty("url", FTranslate(base + ".URL", label->property("url").toString()));
    }

    void TranslateHint(QObject& object, const QString& base)
    {
        const QString hint = HintOf(object);
        if (!hint.isEmpty())
            SetHint(object, FTranslate(base + ".hint", hint));
    }

    void TranslateRadioGroupItems(QGroupBox& group, const QString& base)
    {
        const QList<QRadioButton*> items = RadioGroupItems(group);
        for (int i = 0; i < items.size(); ++i)
            items[i]->setText(FTranslate(base + ".button" + ItemIndexText(i), items[i]->text()));
    }

    // A page of a tab widget lies in the tab widget's stack.
    void TranslateTabText(QWidget& page, const QString& base)
    {
        auto* stack = qobject_cast<QStackedWidget*>(page.parent());
        auto* tabs = stack ? qobject_cast<QTabWidget*>(stack->parent()) : nullptr;
        const int index = tabs ? tabs->indexOf(&page) : -1;
        if (index >= 0)
            tabs->setTabText(index, FTranslate(base + ".caption", tabs->tabText(index)));
    }

    void TranslateSeries(QChartView& view)
    {
        if (!view.chart())
            return;
        const QList<QAbstractSeries*> series = view.chart()->series();
        for (QAbstractSeries* one : series) {
            if (IsNamed(*one) && !IsUntranslated(*one))
                one->setName(FTranslate(FPrefix + '.' + one->objectName() + ".title", one->name()));
        }
    }

    QString FPrefix;
    const TTranslateText& FTranslate;
};

} // namespace

bool IsTranslatableWindow(const QWidget& window)
{
    return IsNamed(window);
}

QString WindowPrefix(const QString& objectName)
{
    return objectName.section(u'_', 0, 0);
}

QString ItemIndexText(int index)
{
    return QString::number(index, 16).toUpper().rightJustified(2, u'0');
}

void TranslateWindow(QWidget& window, const TTranslateText& translate)
{
    TWindowTranslation(window, translate).Run(window);
}

} // namespace qzr
