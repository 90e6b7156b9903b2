#include "cradle/CradleFormControls.h"
#include "cradle/SessionColors.h"
#include "widgets/FormBuilding.h"
#include "widgets/Indicator.h"
#include <widgets/Hint.h>

#include <QFrame>
#include <QHBoxLayout>
#include <QLabel>
#include <QProgressBar>

namespace qzr {

namespace {

QLabel* Counter(QWidget* parent, const char* name, const char* color, const char* hint)
{
    auto* counter = NamedLabel(parent, name, QStringLiteral("0"));
    counter->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    counter->setStyleSheet(QStringLiteral("color: %1;").arg(QLatin1String(color)));
    SetHint(*counter, QString::fromLatin1(hint));
    KeepUntranslated(counter);
    return counter;
}

QWidget* CreateCountersPanel(QWidget* bar, TCradleFormControls& c)
{
    auto* panel = Named(new QFrame(bar), "CountersPanel");
    panel->setFrameStyle(QFrame::Panel | QFrame::Sunken);
    panel->setFixedWidth(84);
    auto* layout = new QHBoxLayout(panel);
    layout->setContentsMargins(2, 0, 2, 0);
    c.OkCounter = Counter(panel, "OkCounter", "#008000", "OK|Messages without errors");
    c.ErrorCounter = Counter(panel, "ErrorCounter", "#FF0000", "Error|Messages with errors");
    layout->addWidget(c.OkCounter, 1);
    layout->addWidget(c.ErrorCounter, 1);
    return panel;
}

} // namespace

QWidget* CreateCradleStatusBar(QWidget* parent, TCradleFormControls& c)
{
    auto* bar = Named(new QFrame(parent), "StatusBar");
    bar->setFixedHeight(20);
    auto* layout = new QHBoxLayout(bar);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(2);

    c.SessionIndicator = Named(new TIndicator(16, SessionIdleColor, bar), "SessionIndicator");
    SetHint(*c.SessionIndicator, QStringLiteral("Working with unit"));
    c.OnCradleIndicator = Named(new TIndicator(18, UnitGoneColor, bar), "OnCradleIndicator");
    SetHint(*c.OnCradleIndicator, QStringLiteral("Unit detected"));

    c.ProgressBar = Named(new QProgressBar(bar), "ProgressBar");
    c.ProgressBar->setFixedWidth(50);
    c.ProgressBar->setRange(0, 100);
    c.ProgressBar->setValue(0);
    c.ProgressBar->setTextVisible(true);
    c.ProgressBar->setAlignment(Qt::AlignCenter);
    c.ProgressBar->setStyleSheet(QStringLiteral(
        "QProgressBar { background-color: palette(button); border: 1px solid palette(mid); }"
        "QProgressBar::chunk { background-color: rgb(240, 240, 255); }"));

    layout->addWidget(c.SessionIndicator);
    layout->addWidget(c.OnCradleIndicator);
    layout->addWidget(CreateCountersPanel(bar, c));
    layout->addWidget(c.ProgressBar);
    layout->addStretch(1);
    return bar;
}

} // namespace qzr
