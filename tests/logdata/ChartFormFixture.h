#pragma once

#include <logdata/ChartForm.h>
#include <translation/FormTranslator.h>

#include <QPointer>
#include <QStringList>
#include <gtest/gtest.h>

#include <map>

namespace qzr::test {

// A chart window whose catalogue knows sensor 20 ("°C"), whose save and
// export dialogs answer with ChosenFile and whose errors are collected.
class ChartFormFixture : public testing::Test {
protected:
    ChartFormFixture() : Form(new TChartForm(Environment())) {}
    ~ChartFormFixture() override { delete Form.data(); }

    TChartFormEnvironment Environment()
    {
        TChartFormEnvironment environment;
        environment.SensorUnits = [this](int sensorId) -> std::optional<QString> {
            if (CatalogueFails)
                throw std::runtime_error("catalogue unreadable");
            if (sensorId == 20)
                return QStringLiteral("°C");
            return std::nullopt;
        };
        environment.Translate = [this](const QString& key, const QString& text) {
            const auto found = Translations.find(key);
            return found == Translations.end() ? text : found->second;
        };
        environment.TranslateWindow = [translate = environment.Translate](QWidget& window) {
            TranslateWindow(window, translate);
        };
        environment.ChooseSaveFile = [this](QWidget&, const TFileRequest& request) {
            Requests.push_back(request);
            return ChosenFile;
        };
        environment.ShowError = [this](QWidget&, const QString& message) {
            Errors.append(message);
        };
        return environment;
    }

    bool CatalogueFails = false;
    std::map<QString, QString> Translations;
    QString ChosenFile;
    std::vector<TFileRequest> Requests;
    QStringList Errors;
    QPointer<TChartForm> Form;
};

} // namespace qzr::test
