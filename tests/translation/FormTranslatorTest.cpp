#include <translation/FormTranslator.h>
#include <widgets/Hint.h>

#include <QAction>
#include <QChart>
#include <QChartView>
#include <QCheckBox>
#include <QComboBox>
#include <QDialog>
#include <QGroupBox>
#include <QLabel>
#include <QLineSeries>
#include <QListWidget>
#include <QPushButton>
#include <QRadioButton>
#include <QTabWidget>
#include <gtest/gtest.h>

namespace qzr {
namespace {

template <typename T, typename Parent>
T* Named(Parent* parent, const char* name, const QString& text = {})
{
    auto* object = new T(parent);
    object->setObjectName(name);
    if constexpr (std::is_base_of_v<QAbstractButton, T> || std::is_base_of_v<QLabel, T> ||
                  std::is_base_of_v<QAction, T>)
        object->setText(text);
    return object;
}

void Untranslated(QObject* object)
{
    object->setProperty("tag", 999);
}

// Every text becomes its key, so the test sees which key each text got; an
// empty text stays empty, as the translator leaves it.
struct TKeyRecorder {
    QStringList Keys;
    TTranslateText Function()
    {
        return [this](const QString& key, const QString& text) {
            if (text.isEmpty())
                return text;
            Keys.append(key);
            return key;
        };
    }
};

TEST(FormTranslator, PrefixAndItemIndexTexts)
{
    EXPECT_EQ(WindowPrefix("CradleForm_2"), "CradleForm");
    EXPECT_EQ(WindowPrefix("MainForm"), "MainForm");
    EXPECT_EQ(WindowPrefix("Chart_Form_1"), "Chart");
    for (auto [index, text] : {std::pair{0, "00"}, {10, "0A"}, {255, "FF"}, {256, "100"}})
        EXPECT_EQ(ItemIndexText(index), text);
}

TEST(FormTranslator, EachKindOfControlGetsItsKey)
{
    QWidget window;
    window.setObjectName("CradleForm_2");
    window.setWindowTitle("Control Interface");
    auto* label = Named<QLabel>(&window, "SensitivityLabel", "Sensitivity");
    SetHint(*label, "Sens|The sensitivity");
    auto* button = Named<QPushButton>(&window, "WizardBtn", "&Select sensor");
    auto* checkBox = Named<QCheckBox>(&window, "ReadLoggerValuesCheckbox", "View");
    auto* group = Named<QGroupBox>(&window, "NegativeValuesGroup");
    group->setTitle("Negative values");
    auto* inGroup = Named<QCheckBox>(group, "NegativesAllowedCheckBox", "Allowed");
    auto* radioGroup = Named<QGroupBox>(&window, "DecDotSelectBox");
    radioGroup->setProperty("radioGroup", true);
    radioGroup->setTitle("Decimal dot position");
    auto* first = Named<QRadioButton>(radioGroup, "Unused0", "8888");
    auto* second = Named<QRadioButton>(radioGroup, "Unused1", "888.8");
    auto* tabs = Named<QTabWidget>(&window, "PageControl");
    auto* page = Named<QWidget, QWidget>(nullptr, "DataloggerSheet");
    tabs->addTab(page, "Datalogger");
    auto* onPage = Named<QPushButton>(page, "StartLoggerBtn", "Erase");
    auto* action = Named<QAction>(&window, "FileOpen", "&Open...");
    SetHint(*action, "Open|Opens an existing file");
    auto* list = Named<QListWidget>(&window, "Checklist");
    list->addItems({"one", "two"});
    auto* link = Named<QLabel>(&window, "OvcURL", "Visit us");
    link->setProperty("url", "https://example.org");
    auto* chartView = Named<QChartView>(&window, "Chart");
    auto* series = new QLineSeries;
    series->setObjectName("AverageSeries");
    series->setName("Average");
    chartView->chart()->addSeries(series);
    auto* unnamedSeries = new QLineSeries;
    unnamedSeries->setName("Placeholder");
    chartView->chart()->addSeries(unnamedSeries);

    TKeyRecorder recorder;
    TranslateWindow(window, recorder.Function());

    EXPECT_EQ(window.windowTitle(), "CradleForm.Caption");
    EXPECT_EQ(label->text(), "CradleForm.SensitivityLabel.caption");
    EXPECT_EQ(HintOf(*label), "CradleForm.SensitivityLabel.hint");
    EXPECT_EQ(label->toolTip(), "CradleForm.SensitivityLabel.hint");
    EXPECT_EQ(button->text(), "CradleForm.WizardBtn.caption");
    EXPECT_EQ(checkBox->text(), "CradleForm.ReadLoggerValuesCheckbox.caption");
    EXPECT_EQ(group->title(), "CradleForm.NegativeValuesGroup.caption");
    EXPECT_EQ(inGroup->text(), "CradleForm.NegativesAllowedCheckBox.caption");
    EXPECT_EQ(radioGroup->title(), "CradleForm.DecDotSelectBox.caption");
    EXPECT_EQ(first->text(), "CradleForm.DecDotSelectBox.button00");
    EXPECT_EQ(second->text(), "CradleForm.DecDotSelectBox.button01");
    EXPECT_EQ(tabs->tabText(0), "CradleForm.DataloggerSheet.caption");
    EXPECT_EQ(onPage->text(), "CradleForm.StartLoggerBtn.caption");
    EXPECT_EQ(action->text(), "CradleForm.FileOpen.caption");
    EXPECT_EQ(HintOf(*action), "CradleForm.FileOpen.hint");
    EXPECT_EQ(list->item(1)->text(), "CradleForm.Checklist.item01");
    EXPECT_EQ(link->text(), "CradleForm.OvcURL.caption");
    EXPECT_EQ(link->property("url").toString(), "CradleForm.OvcURL.URL");
    EXPECT_EQ(series->name(), "CradleForm.AverageSeries.title");
    EXPECT_EQ(unnamedSeries->name(), "Placeholder");
    EXPECT_FALSE(recorder.Keys.contains("CradleForm.Unused0.caption"));
    EXPECT_EQ(recorder.Keys.filter(".hint").size(), 2) << "only the controls with a hint";
}

TEST(FormTranslator, ComboItemsUseHexIndexesAndKeepTheSelection)
{
    QWidget window;
    window.setObjectName("ChartForm");
    auto* combo = Named<QComboBox>(&window, "YScaleMaxComboBox");
    for (int i = 0; i < 257; ++i)
        combo->addItem(QString::number(i));
    combo->setCurrentIndex(10);
    auto* empty = Named<QComboBox>(&window, "YScaleMinComboBox");
    empty->addItems({"Auto", "0"});
    empty->setCurrentIndex(-1);

    TKeyRecorder recorder;
    TranslateWindow(window, recorder.Function());

    EXPECT_EQ(combo->itemText(10), "ChartForm.YScaleMaxComboBox.item0A");
    EXPECT_EQ(combo->itemText(255), "ChartForm.YScaleMaxComboBox.itemFF");
    EXPECT_EQ(combo->itemText(256), "ChartForm.YScaleMaxComboBox.item100");
    EXPECT_EQ(combo->currentIndex(), 10);
    EXPECT_EQ(empty->currentIndex(), -1);
}

TEST(FormTranslator, TagAndHintDisplayLeaveTextsAlone)
{
    QWidget window;
    window.setObjectName("CradleForm");
    window.setWindowTitle("Control Interface");
    Untranslated(&window);
    auto* value = Named<QLabel>(&window, "DBText", "Load cell");
    Untranslated(value);
    auto* radioGroup = Named<QGroupBox>(&window, "AdAmpSelectBox");
    radioGroup->setProperty("radioGroup", true);
    radioGroup->setTitle("Input amplifier");
    auto* item = Named<QRadioButton>(radioGroup, "Item", "1x");
    Untranslated(radioGroup);
    auto* panel = Named<QWidget>(&window, "LivePanel");
    Untranslated(panel);
    auto* inPanel = Named<QLabel>(panel, "Note", "Calibrate the offset first");
    auto* counter = Named<QLabel>(&window, "OkCounter", "12");
    counter->setProperty("dataDisplay", true);
    SetHint(*counter, "OK|Messages without errors");
    auto* quiet = Named<QPushButton>(&window, "Quiet", "Quiet");
    SetHint(*quiet, "Q|Quiet button");
    quiet->setProperty("showHint", false);
    auto* quietParent = Named<QWidget>(&window, "QuietPanel");
    quietParent->setProperty("showHint", false);
    auto* inherits = Named<QPushButton>(quietParent, "Inherits", "Inherits");
    SetHint(*inherits, "I|Inherits");
    auto* overrides = Named<QPushButton>(quietParent, "Overrides", "Overrides");
    SetHint(*overrides, "O|Overrides");
    overrides->setProperty("showHint", true);
    auto* tabs = Named<QTabWidget>(&window, "PageControl");
    auto* page = Named<QWidget, QWidget>(nullptr, "CalibrationsSheet");
    tabs->addTab(page, "Calibrations");
    Untranslated(page);

    TKeyRecorder recorder;
    TranslateWindow(window, recorder.Function());

    EXPECT_EQ(window.windowTitle(), "Control Interface");
    EXPECT_EQ(value->text(), "Load cell");
    EXPECT_EQ(radioGroup->title(), "Input amplifier");
    EXPECT_EQ(item->text(), "1x");
    EXPECT_EQ(tabs->tabText(0), "Calibrations");
    EXPECT_EQ(inPanel->text(), "CradleForm.Note.caption") << "children of a tagged control";
    EXPECT_EQ(quiet->text(), "CradleForm.Quiet.caption");
    EXPECT_EQ(HintOf(*quiet), "Q|Quiet button");
    EXPECT_EQ(HintOf(*inherits), "I|Inherits");
    EXPECT_EQ(HintOf(*overrides), "CradleForm.Overrides.hint");
    EXPECT_EQ(counter->text(), "12");
    EXPECT_EQ(HintOf(*counter), "CradleForm.OkCounter.hint");
    EXPECT_EQ(recorder.Keys.filter(".hint"),
              (QStringList{"CradleForm.OkCounter.hint", "CradleForm.Overrides.hint"}));
}

TEST(FormTranslator, OwnedWindowsAreTranslatedWithTheirOwnPrefixUnlessTagged)
{
    QWidget window;
    window.setObjectName("ChartForm_1");
    auto* preview = Named<QDialog>(&window, "PrintPreview");
    preview->setWindowTitle("Print Preview");
    auto* previewButton = Named<QPushButton>(preview, "PrintBtn", "Print");
    auto* hidden = Named<QDialog>(&window, "Hidden");
    hidden->setWindowTitle("Hidden");
    Untranslated(hidden);
    auto* hiddenButton = Named<QPushButton>(hidden, "Button", "Button");
    auto* unnamed = new QDialog(&window);
    unnamed->setWindowTitle("Popup");

    TKeyRecorder recorder;
    TranslateWindow(window, recorder.Function());

    EXPECT_EQ(preview->windowTitle(), "PrintPreview.Caption");
    EXPECT_EQ(previewButton->text(), "PrintPreview.PrintBtn.caption");
    EXPECT_EQ(hidden->windowTitle(), "Hidden");
    EXPECT_EQ(hiddenButton->text(), "Button");
    EXPECT_EQ(unnamed->windowTitle(), "Popup");
}

} // namespace
} // namespace qzr
