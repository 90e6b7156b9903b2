#pragma once

#include <QString>

class QLabel;
class QObject;
class QWidget;

namespace qzr {

// Small helpers shared by the builders of the control window's parts.

// Names a control; the translator keys its texts with the name.
template <typename TControl> TControl* Named(TControl* control, const char* name)
{
    control->setObjectName(QString::fromLatin1(name));
    return control;
}

QLabel* NamedLabel(QWidget* parent, const char* name, const QString& caption);

// The label of an entry field: the field is its buddy, so the label's access
// key ("&" in the caption) reaches the field and the label's text is the
// field's accessible name.
QLabel* BuddyLabel(QWidget* parent, const char* name, const QString& caption, QWidget* field);

// Marks a control whose text the translator leaves alone (tag 999), such as
// one that shows data rather than designed text.
void KeepUntranslated(QObject* control);

// A read-only text with a sunken frame, for values the window shows.
QLabel* NamedStaticText(QWidget* parent, const char* name, const QString& text = QString());

} // namespace qzr
