// Measures, on the offscreen platform, the time from a chart window's
// SetData with 3518 records to its first frame painted, beside a floor: the
// same three Qt Charts series filled directly with ready points, attached and
// drawn. Also the text export of the same image (walk, text, file).
//
//   bench_logdata_chart_export [runs]

#include <logdata/ChartForm.h>
#include <logdata/LogDataFile.h>
#include <logdata/LogTime.h>
#include <logdata/TextExport.h>

#include <QApplication>
#include <QChart>
#include <QChartView>
#include <QDateTimeAxis>
#include <QElapsedTimer>
#include <QLineSeries>
#include <QTemporaryDir>
#include <QValueAxis>

#include <algorithm>
#include <cstdio>
#include <functional>
#include <vector>

#include "FigureLine.h"

namespace {

// Every record slot present: a slow wave with noise-like steps.
qzr::TLogData FullImage()
{
    qzr::TLogData data;
    data.Erase();
    data.SetStartTime(852076800);
    data.SetDelay(0);
    data.SetInterval(60);
    data.SetDecimals(1);
    data.SetSensorId(20);
    for (std::size_t k = 0; k < qzr::LogRecordCount; ++k) {
        const auto v = static_cast<std::int16_t>(200 + (k * 37) % 50 - int(k % 700) / 10);
        data.SetRecord(k, {static_cast<std::int16_t>(v - 3), static_cast<std::int16_t>(v + 3),
                           std::int32_t{v} * 60});
    }
    return data;
}

double MedianMs(int runs, const std::function<double()>& once)
{
    std::vector<double> times;
    for (int i = 0; i < runs; ++i)
        times.push_back(once());
    std::sort(times.begin(), times.end());
    return times[times.size() / 2];
}

// The chart window, shown and empty; the time from SetData to its chart's
// first painted frame.
double ChartFormOnce(const qzr::TLogData& data)
{
    qzr::TChartForm form;
    form.show();
    QApplication::processEvents();
    QElapsedTimer clock;
    clock.start();
    form.SetData(data);
    QApplication::processEvents();
    const QImage frame = form.ChartImage();
    const double ms = clock.nsecsElapsed() / 1e6;
    if (frame.isNull())
        std::puts("no frame");
    return ms;
}

// The floor: a chart view of the same size with the same axes, shown and
// empty; three series filled with points computed beforehand, attached and
// drawn.
double FloorOnce(const qzr::TLogData& data)
{
    const qzr::TLogWalk walk = qzr::WalkLogRecords(data);
    QList<QPointF> points[3];
    for (const qzr::TLogPoint& p : walk.Points) {
        const auto x = double(qzr::LocalClockMSecs(p.Time));
        points[0].append({x, p.Minimum});
        points[1].append({x, p.Maximum});
        points[2].append({x, *p.Average});
    }
    auto* chart = new QChart;
    auto* timeAxis = new QDateTimeAxis;
    auto* valueAxis = new QValueAxis;
    chart->addAxis(timeAxis, Qt::AlignBottom);
    chart->addAxis(valueAxis, Qt::AlignLeft);
    QChartView view(chart);
    view.setRenderHint(QPainter::Antialiasing);
    view.resize(qzr::TChartForm::ClientWidth,
                qzr::TChartForm::ClientHeight - qzr::TChartForm::BottomPanelHeight);
    view.show();
    QApplication::processEvents();

    QElapsedTimer clock;
    clock.start();
    const QColor colours[] = {Qt::blue, Qt::green, Qt::red};
    for (int i = 0; i < 3; ++i) {
        auto* series = new QLineSeries;
        series->replace(points[i]);
        QPen pen(colours[i]);
        pen.setWidth(2);
        series->setPen(pen);
        chart->addSeries(series);
        series->attachAxis(timeAxis);
        series->attachAxis(valueAxis);
    }
    timeAxis->setRange(QDateTime::fromMSecsSinceEpoch(qint64(points[0].first().x())),
                       QDateTime::fromMSecsSinceEpoch(qint64(points[0].last().x())));
    valueAxis->setRange(walk.Lowest, walk.Highest);
    QApplication::processEvents();
    const QImage frame = view.grab().toImage();
    const double ms = clock.nsecsElapsed() / 1e6;
    if (frame.isNull())
        std::puts("no frame");
    return ms;
}

} // namespace

int main(int argc, char** argv)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication application(argc, argv);
    const int runs = argc > 1 ? std::max(1, std::atoi(argv[1])) : 15;
    const qzr::TLogData data = FullImage();

    // One of each first, so that fonts and caches are warm for both.
    ChartFormOnce(data);
    FloorOnce(data);
    std::vector<double> formTimes;
    std::vector<double> floorTimes;
    for (int i = 0; i < runs; ++i) {
        formTimes.push_back(ChartFormOnce(data));
        floorTimes.push_back(FloorOnce(data));
    }
    std::sort(formTimes.begin(), formTimes.end());
    std::sort(floorTimes.begin(), floorTimes.end());
    const double form = formTimes[formTimes.size() / 2];
    const double floorMs = floorTimes[floorTimes.size() / 2];
    std::printf("chart of %zu records, SetData to first frame: %.1f ms (median of %d)\n",
                qzr::LogRecordCount, form, runs);
    std::printf("floor, three series filled and drawn directly: %.1f ms\n", floorMs);
    std::printf("ratio: %.2f (goal: at most 1.5)\n", form / floorMs);
    qzr::bench::PrintFigure("chart of 3518 records, SetData to first frame, beside raw Qt Charts",
                            form, floorMs, "ms", "ratio<=1.5");

    QTemporaryDir dir;
    const QString file = dir.filePath(QStringLiteral("export.txt"));
    const double text = MedianMs(runs * 4, [&] {
        QElapsedTimer clock;
        clock.start();
        const QByteArray bytes =
            qzr::LogDataText(qzr::WalkLogRecords(data), QStringLiteral("°C"), QLocale());
        const double ms = clock.nsecsElapsed() / 1e6;
        if (bytes.isEmpty())
            std::puts("no text");
        return ms;
    });
    const double written = MedianMs(runs * 4, [&] {
        QElapsedTimer clock;
        clock.start();
        qzr::ReplaceFileContent(
            file, qzr::LogDataText(qzr::WalkLogRecords(data), QStringLiteral("°C"), QLocale()));
        return clock.nsecsElapsed() / 1e6;
    });
    std::printf("export of %zu records: %.2f ms for the text, %.2f ms written to a file "
                "(goal: under 20 ms)\n",
                qzr::LogRecordCount, text, written);
    qzr::bench::PrintFigure("text export of 3518 records, written to a file", written, -1, "ms",
                            "figure<=20");
    return 0;
}
