#include "logdata/ChartForm.h"

#include "logdata/LogTime.h"
#include "logdata/LogValueText.h"
#include "logdata/TimeAxisScale.h"

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
    FPointMSecs.clear();
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
    const auto count = qsizetype(FWalk.Points.size());
    QList<QPointF> minima;
    QList<QPointF> maxima;
    QList<QPointF> averages;
    minima.reserve(count);
    maxima.reserve(count);
    averages.reserve(count);
    FPointMSecs.reserve(count);
    TLocalClockMapper clock;
    FTimeStart = QDateTime::fromMSecsSinceEpoch(clock.MSecs(FWalk.StartDT));
    for (const TLogPoint& point : FWalk.Points) {
        FPointMSecs.push_back(clock.MSecs(point.Time));
        const auto x = double(FPointMSecs.back());
        minima.append({x, point.Minimum});
        maxima.append({x, point.Maximum});
        if (point.Average)
            averages.append({x, *point.Average});
    }
    MinimumSeries->replace(minima);
    MaximumSeries->replace(maxima);
    AverageSeries->replace(averages);

    FTimeEnd =
        FPointMSecs.empty() ? FTimeStart : QDateTime::fromMSecsSinceEpoch(FPointMSecs.back());
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

void TChartForm::RoundTimeAxis(const QDateTime& min, const QDateTime& max)
{
    if (FRoundingTimeAxis)
        return;
    const TTimeAxisScale scale =
        RoundTimeAxisScale(min.toMSecsSinceEpoch(), max.toMSecsSinceEpoch(), min.offsetFromUtc());
    FRoundingTimeAxis = true;
    TimeAxis->setTickCount(scale.TickCount);
    TimeAxis->setRange(QDateTime::fromMSecsSinceEpoch(scale.FirstMSecs),
                       QDateTime::fromMSecsSinceEpoch(scale.LastMSecs));
    FRoundingTimeAxis = false;
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
    const auto later = std::lower_bound(FPointMSecs.begin(), FPointMSecs.end(), value.x(),
                                        [](qint64 msecs, double x) { return double(msecs) < x; });
    auto index = std::size_t(later - FPointMSecs.begin());
    if (index == FPointMSecs.size() ||
        (index > 0 && value.x() - double(*(later - 1)) < double(*later) - value.x()))
        --index;
    const TLogPoint* nearest = &FWalk.Points[index];

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
