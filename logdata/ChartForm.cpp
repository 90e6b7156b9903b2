#include "logdata/ChartForm.h"

#include "logdata/LogTime.h"

#include <widgets/Hint.h>

#include <QApplication>
#include <QChart>
#include <QChartView>
#include <QComboBox>
#include <QDateTimeAxis>
#include <QGridLayout>
#include <QLabel>
#include <QLegend>
#include <QLineSeries>
#include <QPushButton>
#include <QScreen>
#include <QShortcut>
#include <QVBoxLayout>
#include <QValueAxis>

#include <cmath>
#include <utility>

namespace qzr {

namespace {

constexpr int SeriesLineWidth = 2;
constexpr int ValueAxisTitlePixels = 13;
constexpr int ValueAxisMinorTicks = 4;
constexpr int ButtonMinimumWidth = 64;

// The first chart window is "ChartForm", the others "ChartForm_1", ...: all
// share the translations of "ChartForm".
QString NextWindowName()
{
    static int created = 0;
    const int number = created++;
    return number == 0 ? QStringLiteral("ChartForm") : QStringLiteral("ChartForm_%1").arg(number);
}

// About five labelled ticks over a span: 1, 2 or 5 times a power of ten.
double RoundTickInterval(double span)
{
    if (!(span > 0))
        return 1;
    const double rough = span / 5;
    const double power = std::pow(10.0, std::floor(std::log10(rough)));
    for (const double step : {1.0, 2.0, 5.0})
        if (rough <= step * power)
            return step * power;
    return 10 * power;
}

QLineSeries* NewSeries(QObject* owner, const char* name, const QString& title, const QColor& colour)
{
    auto* series = new QLineSeries(owner);
    series->setObjectName(QLatin1String(name));
    series->setName(title);
    QPen pen(colour);
    pen.setWidth(SeriesLineWidth);
    series->setPen(pen);
    return series;
}

} // namespace

TChartForm::TChartForm(TChartFormEnvironment environment) : FEnvironment(std::move(environment))
{
    setObjectName(NextWindowName());
    setAttribute(Qt::WA_DeleteOnClose);
    setWindowTitle(QStringLiteral("Chart"));
    FChartData.Erase();

    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    BuildChart();
    layout->addWidget(Chart, 1);
    BuildBottomPanel();
    layout->addWidget(BottomPanel);
    ConnectControls();
    resize(ClientWidth, ClientHeight);
}

TChartForm::~TChartForm() = default;

QList<TChartForm*> TChartForm::Windows()
{
    QList<TChartForm*> windows;
    for (QWidget* window : QApplication::topLevelWidgets())
        if (auto* chartWindow = qobject_cast<TChartForm*>(window))
            windows.append(chartWindow);
    return windows;
}

void TChartForm::BuildChart()
{
    auto* chart = new QChart;
    chart->setBackgroundBrush(Qt::white);
    chart->setBackgroundRoundness(0);
    chart->setAnimationOptions(QChart::NoAnimation);
    chart->legend()->setAlignment(Qt::AlignTop);
    chart->legend()->setBackgroundVisible(false);

    TimeAxis = new QDateTimeAxis;
    TimeAxis->setObjectName(QStringLiteral("TimeAxis"));
    QFont bold = TimeAxis->titleFont();
    bold.setBold(true);
    TimeAxis->setTitleFont(bold);
    // The time above the date: axis labels are rich text.
    const QLocale locale;
    TimeAxis->setFormat(LogTimeFormat(locale) + QStringLiteral("'<br>'") + LogDateFormat(locale));
    connect(TimeAxis, &QDateTimeAxis::rangeChanged, this, &TChartForm::RoundTimeAxis);
    chart->addAxis(TimeAxis, Qt::AlignBottom);

    ValueAxis = new QValueAxis;
    ValueAxis->setObjectName(QStringLiteral("ValueAxis"));
    ValueAxis->setLabelFormat(QStringLiteral("%g"));
    ValueAxis->setMinorTickCount(ValueAxisMinorTicks);
    QFont title = ValueAxis->titleFont();
    title.setBold(true);
    title.setPixelSize(ValueAxisTitlePixels);
    ValueAxis->setTitleFont(title);
    ValueAxis->setTitleVisible(false);
    // Labels at round values whatever the axis's ends.
    ValueAxis->setTickType(QValueAxis::TicksDynamic);
    ValueAxis->setTickAnchor(0);
    connect(ValueAxis, &QValueAxis::rangeChanged, ValueAxis, [this](qreal min, qreal max) {
        ValueAxis->setTickInterval(RoundTickInterval(max - min));
    });
    ValueAxis->setRange(FWalk.Lowest, FWalk.Highest);
    chart->addAxis(ValueAxis, Qt::AlignLeft);

    // The series exist from the start, so that the window's translation gives
    // them their titles; SetData detaches them, fills them and attaches them
    // again.
    MinimumSeries = NewSeries(this, "MinimumSeries", QStringLiteral("Minimum"), QColor(0, 0, 255));
    MaximumSeries = NewSeries(this, "MaximumSeries", QStringLiteral("Maximum"), QColor(0, 255, 0));
    AverageSeries = NewSeries(this, "AverageSeries", QStringLiteral("Average"), QColor(255, 0, 0));
    for (QLineSeries* series : {MinimumSeries, MaximumSeries, AverageSeries}) {
        chart->addSeries(series);
        series->attachAxis(TimeAxis);
        series->attachAxis(ValueAxis);
    }

    Chart = new QChartView(chart, this);
    Chart->setObjectName(QStringLiteral("Chart"));
    Chart->setRenderHint(QPainter::Antialiasing);
    Chart->setBackgroundBrush(Qt::white);
    Chart->setRubberBand(QChartView::HorizontalRubberBand);
    Chart->setMouseTracking(true);
    Chart->viewport()->setMouseTracking(true);
    Chart->viewport()->installEventFilter(this);
}

void TChartForm::BuildBottomPanel()
{
    BottomPanel = new QWidget(this);
    BottomPanel->setObjectName(QStringLiteral("BottomPanel"));
    BottomPanel->setFixedHeight(BottomPanelHeight);
    auto* grid = new QGridLayout(BottomPanel);
    grid->setContentsMargins(8, 4, 8, 6);
    grid->setVerticalSpacing(2);
    grid->setHorizontalSpacing(6);

    const auto addList = [&](QLabel*& label, const char* labelName, const QString& caption,
                             QComboBox*& list, const char* listName, const QStringList& items,
                             int column) {
        label = new QLabel(caption, BottomPanel);
        label->setObjectName(QLatin1String(labelName));
        list = new QComboBox(BottomPanel);
        list->setObjectName(QLatin1String(listName));
        list->addItems(items);
        list->setCurrentIndex(-1);
        list->setMinimumWidth(100);
        SetHint(*list, QStringLiteral("Y Scale|Change the scale of the Y axis"));
        label->setBuddy(list);
        grid->addWidget(label, 0, column);
        grid->addWidget(list, 1, column);
    };
    addList(YScaleMaxLabel, "YScaleMaxLabel", QStringLiteral("Y Scale maximum"), YScaleMaxComboBox,
            "YScaleMaxComboBox",
            {QStringLiteral("Auto"), QStringLiteral("200"), QStringLiteral("500"),
             QStringLiteral("1000"), QStringLiteral("2000"), QStringLiteral("5000"),
             QStringLiteral("10000")},
            0);
    addList(YScaleMinLabel, "YScaleMinLabel", QStringLiteral("Y Scale minimum"), YScaleMinComboBox,
            "YScaleMinComboBox",
            {QStringLiteral("Auto"), QStringLiteral("0"), QStringLiteral("-20"),
             QStringLiteral("-50"), QStringLiteral("-100"), QStringLiteral("-200"),
             QStringLiteral("-500"), QStringLiteral("-1000")},
            1);

    PointLabel = new QLabel(BottomPanel);
    PointLabel->setObjectName(QStringLiteral("PointLabel"));
    PointLabel->setProperty("dataDisplay", true);
    PointLabel->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    grid->addWidget(PointLabel, 0, 2, 1, 7);

    const auto addButton = [&](const char* name, const QString& caption, int column) {
        auto* button = new QPushButton(caption, BottomPanel);
        button->setObjectName(QLatin1String(name));
        button->setAutoDefault(false);
        // Narrower than the style's usual button, so that the row fits the
        // window's width.
        button->setMinimumWidth(ButtonMinimumWidth);
        grid->addWidget(button, 1, column);
        return button;
    };
    ZoomResetBtn = addButton("ZoomResetBtn", QStringLiteral("&Whole day"), 2);
    SetHint(*ZoomResetBtn,
            QStringLiteral("Whole day|Show the whole recording again after zooming in"));
    grid->setColumnStretch(3, 1);
    SaveBtn = addButton("SaveBtn", QStringLiteral("&Save..."), 4);
    ExportBtn = addButton("ExportBtn", QStringLiteral("&Export..."), 5);
    BitBtn2 = addButton("BitBtn2", QStringLiteral("&Print..."), 6);
    BitBtn3 = addButton("BitBtn3", QStringLiteral("C&opy"), 7);
    CloseBtn = addButton("CloseBtn", QStringLiteral("&Close"), 8);
    SetHint(*CloseBtn, QStringLiteral("Close"));
}

void TChartForm::ConnectControls()
{
    connect(YScaleMaxComboBox, &QComboBox::activated, this, &TChartForm::YScaleMaxComboBoxClick);
    connect(YScaleMinComboBox, &QComboBox::activated, this, &TChartForm::YScaleMinComboBoxClick);
    connect(ZoomResetBtn, &QPushButton::clicked, this, &TChartForm::ZoomResetBtnClick);
    connect(SaveBtn, &QPushButton::clicked, this, &TChartForm::SaveBtnClick);
    connect(ExportBtn, &QPushButton::clicked, this, &TChartForm::ExportBtnClick);
    connect(BitBtn2, &QPushButton::clicked, this, &TChartForm::BitBtn2Click);
    connect(BitBtn3, &QPushButton::clicked, this, &TChartForm::BitBtn3Click);
    connect(CloseBtn, &QPushButton::clicked, this, &TChartForm::CloseBtnClick);
    // The close button is the window's cancel button.
    auto* escape = new QShortcut(QKeySequence(Qt::Key_Escape), this);
    connect(escape, &QShortcut::activated, this, &TChartForm::CloseBtnClick);
}

void TChartForm::CloseBtnClick()
{
    close();
}

void TChartForm::showEvent(QShowEvent* event)
{
    QWidget::showEvent(event);
    if (FPlaced)
        return;
    FPlaced = true;
    // Centred on the window it was opened from, else on the screen.
    const QWidget* opener = QApplication::activeWindow();
    QRect area;
    if (opener != nullptr && opener != this)
        area = opener->frameGeometry();
    else if (const QScreen* screen = QGuiApplication::primaryScreen())
        area = screen->availableGeometry();
    if (area.isValid()) {
        QRect frame = frameGeometry();
        frame.moveCenter(area.center());
        move(frame.topLeft());
    }
}

} // namespace qzr
