// The chart and the export of the day that the simulator's demonstration
// unit recorded. With QZR_SCREENSHOT_DIR set, the test also leaves the
// window's picture with the Y scale lists applied and the printed page in
// that directory, for people to look at.
#include "ChartFormFixture.h"

#include <logdata/LogDataFile.h>
#include <sim/unit/DemoRecording.h>
#include <sim/unit/UnitLogger.h>

#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QLineSeries>
#include <QPrinter>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>
#include <QValueAxis>

namespace qzr {
namespace {

class DemoDayChart : public test::ChartFormFixture {
protected:
    static TLogData DemoDay()
    {
        // 2026-12-10 00:00:00.
        const auto start =
            std::int32_t(QDateTime(QDate(2000, 1, 1), QTime(0, 0), Qt::UTC)
                             .secsTo(QDateTime(QDate(2026, 12, 10), QTime(0, 0), Qt::UTC)));
        sim::UnitLogger logger;
        logger.load(sim::temperatureDayRecording(start));
        return logger.memory();
    }

    static QString ScreenshotDir() { return qEnvironmentVariable("QZR_SCREENSHOT_DIR"); }
};

TEST_F(DemoDayChart, DrawsADayOfMinutesBetweenTheNightsAndAfternoonsTemperatures)
{
    Form->SetData(DemoDay());
    Form->show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(Form));
    EXPECT_EQ(Form->AverageSeries->count(), 24 * 60);
    EXPECT_EQ(Form->ValueAxis->titleText(), "°C");
    EXPECT_DOUBLE_EQ(Form->Lowest(), -1.5);
    EXPECT_GT(Form->Highest(), 21.0);
    EXPECT_LT(Form->Highest(), 24.0);

    // Saved, reopened and exported: the unit's memory byte for byte, one
    // line per present record.
    const QTemporaryDir dir;
    ChosenFile = dir.filePath("day.qzr");
    QTest::mouseClick(Form->SaveBtn, Qt::LeftButton);
    EXPECT_EQ(LoadLogDataFile(ChosenFile), DemoDay());
    TChartForm reopened(Environment());
    reopened.SetData(LoadLogDataFile(ChosenFile));
    ChosenFile = dir.filePath("day.txt");
    QTest::mouseClick(reopened.ExportBtn, Qt::LeftButton);
    QFile text(ChosenFile);
    ASSERT_TRUE(text.open(QIODevice::ReadOnly));
    EXPECT_EQ(text.readAll().count("\r\n"), 2 + 24 * 60);
    EXPECT_TRUE(Errors.isEmpty());

    if (ScreenshotDir().isEmpty())
        return;
    const QDir shots(ScreenshotDir());
    EXPECT_TRUE(Form->grab().save(shots.filePath("chart-demo-day.png")));
    // "50" is not in the list: the day between 0 and the second preset.
    Form->YScaleMinComboBox->setCurrentIndex(1);
    Form->YScaleMinComboBoxClick();
    Form->YScaleMaxComboBox->setCurrentIndex(1);
    Form->YScaleMaxComboBoxClick();
    EXPECT_DOUBLE_EQ(Form->ValueAxis->min(), 0);
    EXPECT_DOUBLE_EQ(Form->ValueAxis->max(), 200);
    QCoreApplication::processEvents();
    EXPECT_TRUE(Form->grab().save(shots.filePath("chart-demo-day-presets.png")));
    QPrinter printer(QPrinter::HighResolution);
    printer.setOutputFormat(QPrinter::PdfFormat);
    printer.setPageOrientation(QPageLayout::Landscape);
    printer.setOutputFileName(shots.filePath("chart-demo-day.pdf"));
    Form->PrintChart(printer);
}

} // namespace
} // namespace qzr
