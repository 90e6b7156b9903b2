#pragma once

#include <QString>

#include <functional>
#include <optional>

class QWidget;

namespace qzr {

// What a file dialog of the chart window asks for.
struct TFileRequest {
    QString Title;
    QString Filter; // Qt's form: "Logger files (*.qzr);;All files (*)"
    QString DefaultSuffix;
};

// What a chart window needs from the program around it. Every member may be
// left empty.
struct TChartFormEnvironment {
    // The unit text of a sensor of the catalogue, by sensor ID; none when the
    // catalogue has no such sensor. A failing look-up may throw: the value
    // axis then has no title. Empty: no sensor is known.
    std::function<std::optional<QString>(int sensorId)> SensorUnits;
    // The current language's text for a key (the file dialogs' titles and
    // filters). Empty: the texts stay as designed.
    std::function<QString(const QString& key, const QString& text)> Translate;
    // Translates a window that the chart window opens (its print preview).
    // Empty: the window keeps its texts.
    std::function<void(QWidget& window)> TranslateWindow;
    // Asks for the file to save or export to; an empty name cancels. Empty:
    // a save dialog that replaces an existing file without a question.
    std::function<QString(QWidget& parent, const TFileRequest& request)> ChooseSaveFile;
    // Shows an error. Empty: an error message box with one OK button.
    std::function<void(QWidget& parent, const QString& message)> ShowError;
};

} // namespace qzr
