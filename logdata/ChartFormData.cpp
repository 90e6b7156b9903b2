#include "logdata/ChartForm.h"

#include "logdata/LogTime.h"
#include "logdata/LogValueText.h"

#include <QChart>
#include <QChartView>
#include <QComboBox>
#include <QDateTimeAxis>
#include <QEvent>
#include <QLabel>
#include <QLineSeries>
#include <QMouseEvent>
#include <QValueAxis>

#include <algorithm>
#include <array>
#include <limits>

namespace qzr {

namespace {

// The fixed ends of the Y scale lists, after their first item "Auto".
constexpr std::array<double, 6> YScaleMaxima{200, 500, 1000, 2000, 5000, 10000};
constexpr std::array<double, 7> YScaleMinima{0, -20, -50, -100, -200, -500, -1000};

// A time axis needs a span; a single instant gets a minute on each side.
constexpr qint64 MinimumSpanSeconds = 60;

} // namespace

void TChartForm::SetData(const TLogData& data)
{
    FChartData = data;
    DetachSeries();
    FWalk = WalkLogRecords(FChartData);
    FSensorUnits.clear();
    ValueAxis->setTitleVisible(false);
    FTimeStart = FTimeEnd = QDateTime();
    if (!FWalk.HasData) {
        ValueAxis->setRange(FWalk.Lowest, FWalk.Highest);
        return;
    }
    LookUpSensorUnits();
    FillSeries();
    QChart* chart = Chart->chart();
    for (QLineSeries* series : {MinimumSeries, MaximumSeries, AverageSeries}) {
        chart->addSeries(series);
        series->attachAxis(TimeAxis);
        series->attachAxis(ValueAxis);
    }
    ValueAxis->setRange(FWalk.Lowest, FWalk.Highest);
    ZoomResetBtnClick();
}

void TChartForm::DetachSeries()
{
    QChart* chart = Chart->chart();
    for (QLineSeries* series : {MinimumSeries, MaximumSeries, AverageSeries}) {
        if (chart->series().contains(series)) {
            chart->removeSeries(series);
            series->setParent(this);
        }
        series->clear();
    }
}

void TChartForm::FillSeries()
{
    QList<QPointF> minima;
    QList<QPointF> maxima;
    QList<QPointF> averages;
    minima.reserve(qsizetype(FWalk.Points.size()));
    maxima.reserve(qsizetype(FWalk.Points.size()));
    averages.reserve(qsizetype(FWalk.Points.size()));
    for (const TLogPoint& point : FWalk.Points) {
        const auto x = double(LocalClockMSecs(point.Time));
        minima.append({x, point.Minimum});
        maxima.append({x, point.Maximum});
        if (point.Average)
            averages.append({x, *point.Average});
    }
    MinimumSeries->replace(minima);
    MaximumSeries->replace(maxima);
    AverageSeries->replace(averages);

    FTimeStart = QDateTime::fromMSecsSinceEpoch(LocalClockMSecs(FWalk.StartDT));
    FTimeEnd = FWalk.Points.empty()
                   ? FTimeStart
                   : QDateTime::fromMSecsSinceEpoch(LocalClockMSecs(FWalk.Points.back().Time));
    if (FTimeEnd <= FTimeStart) {
        FTimeStart = FTimeStart.addSecs(-MinimumSpanSeconds);
        FTimeEnd = FTimeEnd.addSecs(MinimumSpanSeconds);
    }
}

void TChartForm::LookUpSensorUnits()
{
    std::optional<QString> units;
    try {
        if (FEnvironment.SensorUnits)
            units = FEnvironment.SensorUnits(FWalk.SensorType);
    } catch (...) {
        // A catalogue that cannot be asked knows no sensor.
        units.reset();
    }
    ValueAxis->setTitleVisible(units.has_value());
    if (units) {
        ValueAxis->setTitleText(*units);
        FSensorUnits = *units;
    }
}

void TChartForm::YScaleMaxComboBoxClick()
{
    const int index = YScaleMaxComboBox->currentIndex();
    if (index == 0)
        ValueAxis->setMax(FWalk.Highest);
    else if (index > 0 && index <= int(YScaleMaxima.size()))
        ValueAxis->setMax(YScaleMaxima[std::size_t(index - 1)]);
    else {
        YScaleMaxComboBox->setCurrentIndex(0);
        ValueAxis->setMax(ShownValueRange().second);
    }
}

void TChartForm::YScaleMinComboBoxClick()
{
    const int index = YScaleMinComboBox->currentIndex();
    if (index == 0)
        ValueAxis->setMin(FWalk.Lowest);
    else if (index > 0 && index <= int(YScaleMinima.size()))
        ValueAxis->setMin(YScaleMinima[std::size_t(index - 1)]);
    else {
        YScaleMinComboBox->setCurrentIndex(0);
        ValueAxis->setMin(ShownValueRange().first);
    }
}

std::pair<double, double> TChartForm::ShownValueRange() const
{
    double lowest = std::numeric_limits<double>::infinity();
    double highest = -lowest;
    for (const QLineSeries* series : {MinimumSeries, MaximumSeries, AverageSeries}) {
        if (!Chart->chart()->series().contains(series))
            continue;
        for (const QPointF& point : series->points()) {
            lowest = std::min(lowest, point.y());
            highest = std::max(highest, point.y());
        }
    }
    if (lowest > highest)
        return {FWalk.Lowest, FWalk.Highest};
    return {lowest, highest};
}

void TChartForm::ZoomResetBtnClick()
{
    if (FTimeStart.isValid())
        TimeAxis->setRange(FTimeStart, FTimeEnd);
}

QString TChartForm::PointText(const QPoint& viewportPosition) const
{
    QChart* chart = Chart->chart();
    const QPointF scenePosition = Chart->mapToScene(viewportPosition);
    const QPointF chartPosition = chart->mapFromScene(scenePosition);
    if (FWalk.Points.empty() || !chart->plotArea().contains(chartPosition))
        return {};
    const QPointF value = chart->mapToValue(chartPosition, MinimumSeries);
    // The record whose time is nearest to the mouse.
    const auto later = std::lower_bound(
        FWalk.Points.begin(), FWalk.Points.end(), value.x(),
        [](const TLogPoint& p, double x) { return double(LocalClockMSecs(p.Time)) < x; });
    auto nearest = later == FWalk.Points.end() ? later - 1 : later;
    if (later != FWalk.Points.begin() && later != FWalk.Points.end() &&
        value.x() - double(LocalClockMSecs((later - 1)->Time)) <
            double(LocalClockMSecs(later->Time)) - value.x())
        nearest = later - 1;

    const QLocale locale;
    const QString point = locale.decimalPoint();
    QString text = locale.toString(nearest->Time.time(), LogTimeFormat(locale)) + u' ' +
                   locale.toString(nearest->Time.date(), LogDateFormat(locale));
    text +=
        QStringLiteral("   %1 %2   %3 %4")
            .arg(MinimumSeries->name(), ScaledValueText(nearest->Raw.Minimum, FWalk.DecDot, point),
                 MaximumSeries->name(), ScaledValueText(nearest->Raw.Maximum, FWalk.DecDot, point));
    const QString average =
        AverageText(nearest->Raw.Integral, FWalk.LogInterval, FWalk.DecDot, point);
    if (!average.isEmpty())
        text += QStringLiteral("   %1 %2").arg(AverageSeries->name(), average);
    if (!FSensorUnits.isEmpty())
        text += u' ' + FSensorUnits;
    return text;
}

bool TChartForm::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == Chart->viewport()) {
        if (event->type() == QEvent::MouseMove)
            PointLabel->setText(PointText(static_cast<QMouseEvent*>(event)->position().toPoint()));
        else if (event->type() == QEvent::Leave)
            PointLabel->clear();
    }
    return QWidget::eventFilter(watched, event);
}

} // namespace qzr
