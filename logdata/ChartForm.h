#pragma once

#include "logdata/ChartFormEnvironment.h"
#include "logdata/LogRecordWalk.h"

#include <protocol/LogData.h>

#include <QDateTime>
#include <QImage>
#include <QString>
#include <QWidget>

#include <vector>

class QComboBox;
class QLabel;
class QPrinter;
class QPushButton;
class QChartView;
class QDateTimeAxis;
class QLineSeries;
class QValueAxis;

namespace qzr {

// A chart window: one logger image as three line series over time (the
// minimum, maximum and average of every logging interval), with a value axis
// that the user can fix, a zoom on the time axis, and Print, Copy, Save and
// Export. It holds its own copy of the image, is owned by no other window and
// frees itself when it closes.
//
// Callers create it, translate it, call SetData once and show it.
class TChartForm : public QWidget {
    Q_OBJECT

public:
    static constexpr int ClientWidth = 731;
    static constexpr int ClientHeight = 442;
    static constexpr int BottomPanelHeight = 67;

    explicit TChartForm(TChartFormEnvironment environment = {});
    ~TChartForm() override;

    // The chart windows that exist now.
    static QList<TChartForm*> Windows();

    // Copies the image and builds the chart from the copy.
    void SetData(const TLogData& data);

    const TLogData& ChartData() const { return FChartData; }
    quint16 LogInterval() const { return FWalk.LogInterval; }
    QDateTime StartDT() const { return FWalk.StartDT; }
    int DecDot() const { return FWalk.DecDot; }
    int SensorType() const { return FWalk.SensorType; }
    QString SensorUnits() const { return FSensorUnits; }
    double Lowest() const { return FWalk.Lowest; }
    double Highest() const { return FWalk.Highest; }

    // The handlers of the window's controls.
    void YScaleMaxComboBoxClick();
    void YScaleMinComboBoxClick();
    void BitBtn2Click();
    void BitBtn3Click();
    void CloseBtnClick();
    void SaveBtnClick();
    void ExportBtnClick();
    void ZoomResetBtnClick();

    // Draws the chart on the printer's page, as large as the page allows
    // (the print preview's paint request).
    void PrintChart(QPrinter& printer);
    // The chart as drawn on the screen.
    QImage ChartImage() const;
    // The time and values of the record nearest to a point of the chart's
    // viewport, shown below the chart; empty outside the plot.
    QString PointText(const QPoint& viewportPosition) const;

    QChartView* Chart = nullptr;
    QLineSeries* MinimumSeries = nullptr;
    QLineSeries* MaximumSeries = nullptr;
    QLineSeries* AverageSeries = nullptr;
    QDateTimeAxis* TimeAxis = nullptr;
    QValueAxis* ValueAxis = nullptr;
    QWidget* BottomPanel = nullptr;
    QLabel* YScaleMaxLabel = nullptr;
    QComboBox* YScaleMaxComboBox = nullptr;
    QLabel* YScaleMinLabel = nullptr;
    QComboBox* YScaleMinComboBox = nullptr;
    QPushButton* ZoomResetBtn = nullptr;
    QLabel* PointLabel = nullptr;
    QPushButton* SaveBtn = nullptr;
    QPushButton* ExportBtn = nullptr;
    QPushButton* BitBtn2 = nullptr;
    QPushButton* BitBtn3 = nullptr;
    QPushButton* CloseBtn = nullptr;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    void showEvent(QShowEvent* event) override;

private:
    void BuildChart();
    void BuildBottomPanel();
    void ConnectControls();
    void DetachSeries();
    void FillSeries();
    void LookUpSensorUnits();
    // Widens a new range of the time axis to round times of the local clock,
    // so that its ticks are labelled 04:00, 08:00, ... rather than 04:08:59.
    void RoundTimeAxis(const QDateTime& min, const QDateTime& max);
    // The range of the shown points' values: the automatic end of the value
    // axis.
    std::pair<double, double> ShownValueRange() const;
    QString Translated(const QString& key, const QString& text) const;
    QString AskSaveFile(const char* dialogName, const QString& title, const QString& filter,
                        const QString& suffix);
    void ShowError(const QString& message);

    TChartFormEnvironment FEnvironment;
    TLogData FChartData;
    TLogWalk FWalk;
    QString FSensorUnits;
    // Where each point of FWalk lies on the time axis.
    std::vector<qint64> FPointMSecs;
    // The whole time span of the data, where the zoom returns to.
    QDateTime FTimeStart;
    QDateTime FTimeEnd;
    bool FPlaced = false;
    bool FRoundingTimeAxis = false;
};

} // namespace qzr
