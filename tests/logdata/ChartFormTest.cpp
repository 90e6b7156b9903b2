// The chart window: its series, its value axis and Y scale lists, and its
// buttons, clicked as a user does.
#include "ChartFormFixture.h"
#include "LogImages.h"

#include <logdata/LogDataFile.h>
#include <logdata/LogTime.h>

#include <QApplication>
#include <QChart>
#include <QChartView>
#include <QClipboard>
#include <QComboBox>
#include <QDateTimeAxis>
#include <QFile>
#include <QFileDialog>
#include <QLabel>
#include <QLegend>
#include <QLegendMarker>
#include <QLineSeries>
#include <QPrintPreviewDialog>
#include <QPrinter>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <QValueAxis>

namespace qzr {
namespace {

using test::FullLogImage;
using test::LogImage;

class ChartForm : public test::ChartFormFixture {
protected:
    QList<QAbstractSeries*> Shown() const { return Form->Chart->chart()->series(); }

    // Chooses an item of a Y scale list with the keyboard, as a user does.
    static void Choose(QComboBox* list, int index)
    {
        list->setFocus();
        if (list->currentIndex() < 0)
            QTest::keyClick(list, Qt::Key_Home);
        while (list->currentIndex() < index)
            QTest::keyClick(list, Qt::Key_Down);
        while (list->currentIndex() > index)
            QTest::keyClick(list, Qt::Key_Up);
    }

    void ShowForm()
    {
        Form->show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(Form));
    }

    QTemporaryDir Dir;
};

TEST_F(ChartForm, DrawsThreeSeriesAtOneIntervalPerRecord)
{
    Form->SetData(LogImage(
        86400, 30, 60, 2,
        {{100, 300, 12000}, {110, 310, 12600}, {90, 290, 11400}, {-1, -1, -1}, {5, 5, 5}}));
    const QList<QAbstractSeries*> series = Shown();
    ASSERT_EQ(series.size(), 3);
    const QColor colours[] = {QColor(0, 0, 255), QColor(0, 255, 0), QColor(255, 0, 0)};
    const QStringList titles = {"Minimum", "Maximum", "Average"};
    const qint64 start = LocalClockMSecs(Form->StartDT());
    for (int i = 0; i < 3; ++i) {
        auto* line = qobject_cast<QLineSeries*>(series[i]);
        ASSERT_NE(line, nullptr);
        EXPECT_EQ(line->name(), titles[i]);
        EXPECT_EQ(line->pen().color(), colours[i]);
        EXPECT_EQ(line->pen().width(), 2);
        ASSERT_EQ(line->count(), 3);
        for (int k = 0; k < 3; ++k)
            EXPECT_DOUBLE_EQ(line->at(k).x(), double(start + 60000 * (k + 1)));
    }
    EXPECT_DOUBLE_EQ(Form->MinimumSeries->at(1).y(), 1.10);
    EXPECT_DOUBLE_EQ(Form->MaximumSeries->at(1).y(), 3.10);
    EXPECT_DOUBLE_EQ(Form->AverageSeries->at(1).y(), 2.10);
    EXPECT_EQ(Form->StartDT(), LogWallClock(86430));
    EXPECT_EQ(Form->LogInterval(), 60);
    EXPECT_EQ(Form->DecDot(), 2);
    EXPECT_EQ(Form->SensorType(), 20);
    EXPECT_EQ(Form->TimeAxis->min(), QDateTime::fromMSecsSinceEpoch(start));
    EXPECT_EQ(Form->TimeAxis->max(), QDateTime::fromMSecsSinceEpoch(start + 180000));
    EXPECT_TRUE(Form->TimeAxis->format().contains("<br>"));
}

TEST_F(ChartForm, KeepsItsOwnCopyOfTheImage)
{
    TLogData data = FullLogImage();
    Form->SetData(data);
    data.Erase();
    EXPECT_EQ(Form->ChartData(), FullLogImage());
    EXPECT_EQ(Form->MinimumSeries->count(), int(LogRecordCount));
    // A second image replaces the first.
    Form->SetData(LogImage(0, 0, 60, 0, {{1, 2, 180}}));
    EXPECT_EQ(Shown().size(), 3);
    EXPECT_EQ(Form->MaximumSeries->count(), 1);
}

TEST_F(ChartForm, ValueAxisSpansAtLeastOneAndAHalfEachWay)
{
    struct Case {
        const char* name;
        TLogData data;
        int shownSeries;
        int points;
    };
    TLogData noData;
    noData.Erase();
    const Case cases[] = {
        {"small values", LogImage(0, 0, 60, 1, {{-15, 15, 0}, {0, 9, 60}}), 3, 2},
        {"first record erased", LogImage(0, 0, 60, 1, {}), 3, 0},
        {"no data", noData, 0, 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        Form->SetData(c.data);
        EXPECT_EQ(Shown().size(), c.shownSeries);
        EXPECT_EQ(Form->Chart->chart()->legend()->markers().size(), c.shownSeries);
        EXPECT_EQ(Form->MinimumSeries->count(), c.points);
        EXPECT_DOUBLE_EQ(Form->ValueAxis->min(), -1.5);
        EXPECT_DOUBLE_EQ(Form->ValueAxis->max(), 1.5);
    }
    EXPECT_FALSE(Form->ValueAxis->isTitleVisible());
}

TEST_F(ChartForm, IntervalZeroDrawsNoAverage)
{
    Form->SetData(LogImage(0, 0, 0, 0, {{1, 2, 3}, {2, 3, 4}}));
    EXPECT_EQ(Form->MinimumSeries->count(), 2);
    EXPECT_EQ(Form->AverageSeries->count(), 0);
}

TEST_F(ChartForm, ValueAxisTitleIsTheSensorsUnitsWhenTheCatalogueKnowsIt)
{
    Form->SetData(LogImage(0, 0, 60, 0, {{1, 2, 3}}, 20));
    EXPECT_TRUE(Form->ValueAxis->isTitleVisible());
    EXPECT_EQ(Form->ValueAxis->titleText(), "°C");
    EXPECT_EQ(Form->SensorUnits(), "°C");

    Form->SetData(LogImage(0, 0, 60, 0, {{1, 2, 3}}, 99));
    EXPECT_FALSE(Form->ValueAxis->isTitleVisible());
    EXPECT_EQ(Form->SensorUnits(), "");

    CatalogueFails = true;
    Form->SetData(LogImage(0, 0, 60, 0, {{1, 2, 3}}, 20));
    EXPECT_FALSE(Form->ValueAxis->isTitleVisible());
    EXPECT_EQ(Form->SensorUnits(), "");
    EXPECT_EQ(Form->MinimumSeries->count(), 1);
}

TEST_F(ChartForm, YScaleListsFixTheEndsAndAutoRestoresTheDatasEnds)
{
    // A maximum of 3000.5 and a minimum of -2.5.
    Form->SetData(LogImage(0, 0, 60, 1, {{-25, 30005, 600}}));
    ShowForm();
    EXPECT_EQ(Form->YScaleMaxComboBox->currentIndex(), -1);
    EXPECT_EQ(Form->YScaleMinComboBox->currentIndex(), -1);
    EXPECT_DOUBLE_EQ(Form->ValueAxis->max(), 3000.5);

    Choose(Form->YScaleMaxComboBox, 3);
    EXPECT_EQ(Form->YScaleMaxComboBox->currentText(), "1000");
    EXPECT_DOUBLE_EQ(Form->ValueAxis->max(), 1000);
    Choose(Form->YScaleMaxComboBox, 0);
    EXPECT_DOUBLE_EQ(Form->ValueAxis->max(), 3000.5);

    Choose(Form->YScaleMinComboBox, 7);
    EXPECT_EQ(Form->YScaleMinComboBox->currentText(), "-1000");
    EXPECT_DOUBLE_EQ(Form->ValueAxis->min(), -1000);
    EXPECT_DOUBLE_EQ(Form->ValueAxis->max(), 3000.5);
    Choose(Form->YScaleMinComboBox, 0);
    EXPECT_DOUBLE_EQ(Form->ValueAxis->min(), -2.5);

    // Without a valid selection "Auto" is selected and the end follows the
    // shown points.
    Form->YScaleMaxComboBox->setCurrentIndex(-1);
    Form->YScaleMaxComboBoxClick();
    EXPECT_EQ(Form->YScaleMaxComboBox->currentIndex(), 0);
    EXPECT_DOUBLE_EQ(Form->ValueAxis->max(), 3000.5);
    Form->YScaleMinComboBox->setCurrentIndex(-1);
    Form->YScaleMinComboBoxClick();
    EXPECT_DOUBLE_EQ(Form->ValueAxis->min(), -2.5);
}

TEST_F(ChartForm, SavesAndExportsThroughItsButtons)
{
    const TLogData data = LogImage(0, 0, 60, 2, {{-5, 1234, 6000}});
    Form->SetData(data);
    ShowForm();
    ChosenFile = Dir.filePath("day.qzr");
    QTest::mouseClick(Form->SaveBtn, Qt::LeftButton);
    QFile saved(ChosenFile);
    ASSERT_TRUE(saved.open(QIODevice::ReadOnly));
    EXPECT_EQ(saved.readAll(),
              QByteArray(reinterpret_cast<const char*>(data.data()), qsizetype(data.size())));
    ASSERT_EQ(Requests.size(), 1u);
    EXPECT_EQ(Requests[0].Title, "Save QZR1 logged data to ...");
    EXPECT_EQ(Requests[0].Filter, "Logger files (*.qzr);;All files (*)");
    EXPECT_EQ(Requests[0].DefaultSuffix, "qzr");

    Translations["ChartForm.ExportDialog.title"] = "QZR1-loggegevens exporteren naar ...";
    ChosenFile = Dir.filePath("day.txt");
    QTest::mouseClick(Form->ExportBtn, Qt::LeftButton);
    ASSERT_EQ(Requests.size(), 2u);
    EXPECT_EQ(Requests[1].Title, "QZR1-loggegevens exporteren naar ...");
    EXPECT_EQ(Requests[1].DefaultSuffix, "txt");
    QFile exported(ChosenFile);
    ASSERT_TRUE(exported.open(QIODevice::ReadOnly));
    const QByteArray text = exported.readAll();
    EXPECT_TRUE(text.contains("\tMin.\tMax.\tAverage \xC2\xB0"
                              "C\r\n\r\n"))
        << text.data();
    EXPECT_TRUE(text.endsWith("\t-0.05\t12.34\t1.00\r\n")) << text.data();

    // A cancelled dialog writes nothing; a failure shows the error's message.
    ChosenFile.clear();
    QTest::mouseClick(Form->SaveBtn, Qt::LeftButton);
    ChosenFile = Dir.filePath("missing/day.qzr");
    QTest::mouseClick(Form->SaveBtn, Qt::LeftButton);
    QTest::mouseClick(Form->ExportBtn, Qt::LeftButton);
    ASSERT_EQ(Errors.size(), 2);
    EXPECT_TRUE(Errors[0].startsWith("Cannot create file \"" + ChosenFile + "\". "))
        << Errors[0].toStdString();
    EXPECT_TRUE(Form->isVisible());
}

TEST_F(ChartForm, SaveDialogAddsTheExtensionAndReplacesWithoutAQuestion)
{
    TChartFormEnvironment environment = Environment();
    environment.ChooseSaveFile = nullptr;
    auto* form = new TChartForm(environment);
    const TLogData data = LogImage(0, 0, 60, 0, {{1, 2, 180}});
    form->SetData(data);
    form->show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(form));
    QFile old(Dir.filePath("day.qzr"));
    ASSERT_TRUE(old.open(QIODevice::WriteOnly));
    old.write("old");
    old.close();
    bool asked = false;
    QTimer::singleShot(0, form, [&] {
        auto* dialog = form->findChild<QFileDialog*>();
        ASSERT_NE(dialog, nullptr);
        asked = true;
        EXPECT_EQ(dialog->windowTitle(), "Save QZR1 logged data to ...");
        EXPECT_EQ(dialog->acceptMode(), QFileDialog::AcceptSave);
        EXPECT_EQ(dialog->defaultSuffix(), "qzr");
        EXPECT_TRUE(dialog->testOption(QFileDialog::DontConfirmOverwrite));
        dialog->selectFile(Dir.filePath("day"));
        static_cast<QDialog*>(dialog)->accept();
    });
    QTest::mouseClick(form->SaveBtn, Qt::LeftButton);
    EXPECT_TRUE(asked);
    EXPECT_EQ(LoadLogDataFile(Dir.filePath("day.qzr")), data);
    EXPECT_TRUE(Errors.isEmpty());
    delete form;
}

TEST_F(ChartForm, CopyPutsTheChartAsDrawnOnTheClipboard)
{
    Form->SetData(FullLogImage());
    ShowForm();
    QApplication::clipboard()->clear();
    QTest::mouseClick(Form->BitBtn3, Qt::LeftButton);
    const QImage copied = QApplication::clipboard()->image();
    ASSERT_FALSE(copied.isNull());
    EXPECT_EQ(copied.size(), Form->ChartImage().size());
    EXPECT_EQ(copied.convertToFormat(QImage::Format_RGB32),
              Form->ChartImage().convertToFormat(QImage::Format_RGB32));
}

TEST_F(ChartForm, PrintsThroughATranslatedPreviewOntoAPage)
{
    Form->SetData(FullLogImage());
    ShowForm();
    Translations["PrintPreview.Caption"] = "Afdrukvoorbeeld";
    QString previewTitle;
    QTimer::singleShot(0, Form, [&] {
        auto* preview = Form->findChild<QPrintPreviewDialog*>("PrintPreview");
        ASSERT_NE(preview, nullptr);
        previewTitle = preview->windowTitle();
        preview->reject();
    });
    QTest::mouseClick(Form->BitBtn2, Qt::LeftButton);
    EXPECT_EQ(previewTitle, "Afdrukvoorbeeld");
    EXPECT_EQ(Form->findChild<QPrintPreviewDialog*>(), nullptr);

    QPrinter printer(QPrinter::HighResolution);
    printer.setOutputFormat(QPrinter::PdfFormat);
    printer.setOutputFileName(Dir.filePath("chart.pdf"));
    Form->PrintChart(printer);
    QFile pdf(printer.outputFileName());
    ASSERT_TRUE(pdf.open(QIODevice::ReadOnly));
    const QByteArray bytes = pdf.readAll();
    EXPECT_TRUE(bytes.startsWith("%PDF"));
    EXPECT_EQ(bytes.count("/Type /Page\n") + bytes.count("/Type /Page\r"), 1);
}

TEST_F(ChartForm, ZoomsOnTheTimeAxisAndReturnsToTheWholeRecording)
{
    Form->SetData(FullLogImage());
    ShowForm();
    const QDateTime wholeStart = Form->TimeAxis->min();
    const QDateTime wholeEnd = Form->TimeAxis->max();
    const double valueMax = Form->ValueAxis->max();
    const QRectF plot = Form->Chart->chart()->plotArea();
    QWidget* viewport = Form->Chart->viewport();
    const auto at = [&](double fraction) {
        return Form->Chart->mapFromScene(Form->Chart->chart()->mapToScene(
            QPointF(plot.left() + fraction * plot.width(), plot.center().y())));
    };
    QTest::mousePress(viewport, Qt::LeftButton, {}, at(0.25));
    QTest::mouseMove(viewport, at(0.5));
    QTest::mouseRelease(viewport, Qt::LeftButton, {}, at(0.5));
    EXPECT_GT(Form->TimeAxis->min(), wholeStart);
    EXPECT_LT(Form->TimeAxis->max(), wholeEnd);
    // The zoomed axis ends and ticks on round times: whole hours here.
    EXPECT_EQ(Form->TimeAxis->min().toMSecsSinceEpoch() % 3600000, 0);
    EXPECT_EQ(Form->TimeAxis->max().toMSecsSinceEpoch() % 3600000, 0);
    EXPECT_DOUBLE_EQ(Form->ValueAxis->max(), valueMax);

    // The right mouse button zooms out again, on the time axis only.
    const qint64 zoomedSpan = Form->TimeAxis->min().msecsTo(Form->TimeAxis->max());
    QTest::mouseClick(viewport, Qt::RightButton, {}, at(0.5));
    EXPECT_GT(Form->TimeAxis->min().msecsTo(Form->TimeAxis->max()), zoomedSpan);
    EXPECT_DOUBLE_EQ(Form->ValueAxis->max(), valueMax);

    QTest::mouseClick(Form->ZoomResetBtn, Qt::LeftButton);
    EXPECT_EQ(Form->TimeAxis->min(), wholeStart);
    EXPECT_EQ(Form->TimeAxis->max(), wholeEnd);
}

TEST_F(ChartForm, ShowsTheTimeAndValuesOfTheRecordUnderTheMouse)
{
    Form->SetData(
        LogImage(0, 0, 60, 1, {{100, 300, 12000}, {110, 310, 12600}, {90, 290, 11400}}, 20));
    ShowForm();
    QChart* chart = Form->Chart->chart();
    // Just after the second record.
    const QPointF value(double(LocalClockMSecs(LogWallClock(120))) + 5000, 20);
    const QPoint position = Form->Chart->mapFromScene(
        chart->mapToScene(chart->mapToPosition(value, Form->MinimumSeries)));
    QTest::mouseMove(Form->Chart->viewport(), position);
    const QString text = Form->PointLabel->text();
    EXPECT_TRUE(text.contains("00:02:00")) << text.toStdString();
    EXPECT_TRUE(text.contains("Minimum 11.0   Maximum 31.0   Average 21.0 °C"))
        << text.toStdString();
    EXPECT_EQ(Form->PointText(QPoint(0, 0)), "");
}

TEST_F(ChartForm, ClosesAndFreesItselfWithTheCloseButtonAndEsc)
{
    ShowForm();
    QTest::mouseClick(Form->CloseBtn, Qt::LeftButton);
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_TRUE(Form.isNull());

    Form = new TChartForm(Environment());
    ShowForm();
    QTest::keyClick(Form, Qt::Key_Escape);
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_TRUE(Form.isNull());
}

TEST_F(ChartForm, TranslationGivesTheSeriesTheirTitlesBeforeTheData)
{
    Translations["ChartForm.AverageSeries.title"] = "Gemiddelde";
    Translations["ChartForm.YScaleMaxComboBox.item00"] = "Automatisch";
    TranslateWindow(*Form, Environment().Translate);
    Form->SetData(FullLogImage());
    EXPECT_EQ(Form->AverageSeries->name(), "Gemiddelde");
    EXPECT_EQ(Form->YScaleMaxComboBox->itemText(0), "Automatisch");
    EXPECT_EQ(Form->YScaleMaxComboBox->currentIndex(), -1);
    EXPECT_TRUE(Form->objectName().startsWith("ChartForm"));
    TChartForm second;
    EXPECT_TRUE(second.objectName().startsWith("ChartForm_"));
    EXPECT_EQ(Form->size(), QSize(TChartForm::ClientWidth, TChartForm::ClientHeight));
}

} // namespace
} // namespace qzr
