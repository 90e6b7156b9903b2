#pragma once

#include <QString>
#include <functional>

class QWidget;

namespace qzr {

// Gives the text for a key: the translation, or the text as it stands.
using TTranslateText = std::function<QString(const QString& key, const QString& text)>;

// The key prefix of a window: its object name up to its first underscore, so
// that windows of one kind ("CradleForm", "CradleForm_2") share their keys.
QString WindowPrefix(const QString& objectName);

// An item index in a key: upper-case hexadecimal, at least two digits.
QString ItemIndexText(int index);

// Whether a window takes part in translation: it has an object name of its
// own (Qt's internal windows have none or one starting "qt_").
bool IsTranslatableWindow(const QWidget& window);

// Replaces every translatable text of a window, and of the windows it owns,
// by translate(key, text). The keys and the kinds of objects translated are
// described in translation/README.md.
void TranslateWindow(QWidget& window, const TTranslateText& translate);

} // namespace qzr
