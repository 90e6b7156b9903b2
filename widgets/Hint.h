#pragma once

#include <QString>

class QObject;
class QWidget;

namespace qzr {

// A hint is one text "Short|Long": the short part shows as a tool tip, the
// long part in the status bar. Without "|" both parts are the whole text.
QString ShortHint(const QString& hint);
QString LongHint(const QString& hint);

// Gives a widget or an action its hint: the whole text in the dynamic
// property "hint", the short part as tool tip, the long part as status tip.
void SetHint(QObject& object, const QString& hint);

// The hint set with SetHint; empty when there is none.
QString HintOf(const QObject& object);

// Whether a widget's hint display is on: the nearest dynamic property
// "showHint" of the widget and its parents up to its window decides; on when
// none has it.
bool HintDisplayOn(const QWidget& widget);

} // namespace qzr
