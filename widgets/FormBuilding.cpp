#include "widgets/FormBuilding.h"

#include <QLabel>

namespace qzr {

QLabel* NamedLabel(QWidget* parent, const char* name, const QString& caption)
{
    return Named(new QLabel(caption, parent), name);
}

QLabel* BuddyLabel(QWidget* parent, const char* name, const QString& caption, QWidget* field)
{
    QLabel* label = NamedLabel(parent, name, caption);
    label->setBuddy(field);
    return label;
}

void KeepUntranslated(QObject* control)
{
    control->setProperty("tag", 999);
}

QLabel* NamedStaticText(QWidget* parent, const char* name, const QString& text)
{
    auto* label = Named(new QLabel(text, parent), name);
    label->setFrameStyle(QFrame::Panel | QFrame::Sunken);
    label->setMinimumWidth(48);
    label->setTextInteractionFlags(Qt::TextSelectableByMouse);
    KeepUntranslated(label);
    return label;
}

} // namespace qzr
