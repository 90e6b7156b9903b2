#include "app/MainForm.h"

#include <catalogue/PersonalityData.h>
#include <logdata/ChartForm.h>
#include <logdata/FileDialogFilter.h>
#include <logdata/LogDataFile.h>
#include <translation/Translator.h>

#include <QFileDialog>

#include <exception>
#include <memory>

namespace qzr {

void TMainForm::FileOpenExecute()
{
    TTranslator& translator = FEnvironment.Translator;
    QString title;
    QString filter;
    try {
        title =
            translator.Translate(QStringLiteral("MainForm.OpenDialog.title"),
                                 QStringLiteral("Open a previously stored file with logged data"));
        filter =
            translator.Translate(QStringLiteral("MainForm.OpenDialog.filter"),
                                 QStringLiteral("Logged files (*.qzr)|*.qzr|All files (*.*)|*.*"));
    } catch (const std::exception& error) {
        FEnvironment.ShowError(QString::fromStdString(error.what()));
        return;
    }
    const QString fileName =
        QFileDialog::getOpenFileName(this, title, QString(), QtFileFilter(filter));
    if (!fileName.isEmpty())
        FileOpenAccept(fileName);
}

void TMainForm::FileOpenAccept(const QString& fileName)
{
    try {
        OpenLogDataWindow(LoadLogDataFile(fileName));
    } catch (const std::exception& error) {
        FEnvironment.ShowError(QString::fromStdString(error.what()));
    }
}

void TMainForm::OpenLogDataWindow(const TLogData& data)
{
    // Owned by the application, not by the window that asked for it; it frees
    // itself when it closes.
    auto chart = std::make_unique<TChartForm>(ChartFormEnvironment());
    FEnvironment.Translator.TranslateForm(*chart);
    chart->SetData(data);
    chart->show();
    chart.release();
}

TChartFormEnvironment TMainForm::ChartFormEnvironment() const
{
    TChartFormEnvironment environment;
    TSearchTable& catalogue = FEnvironment.PersonalityData.SearchTable;
    environment.SensorUnits = [&catalogue](int sensorId) -> std::optional<QString> {
        if (!catalogue.Locate(sensorId))
            return std::nullopt;
        return catalogue.SensorUnits();
    };
    TTranslator& translator = FEnvironment.Translator;
    environment.Translate = [&translator](const QString& key, const QString& text) {
        return translator.Translate(key, text);
    };
    environment.TranslateWindow = [&translator](QWidget& window) {
        translator.TranslateForm(window);
    };
    return environment;
}

} // namespace qzr
