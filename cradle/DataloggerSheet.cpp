#include "cradle/CradleFormControls.h"
#include "cradle/LogIntervalPresets.h"
#include "widgets/FormBuilding.h"
#include "widgets/IntegerField.h"
#include <widgets/Hint.h>

#include <QCheckBox>
#include <QComboBox>
#include <QDateEdit>
#include <QDateTime>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QTimeEdit>
#include <QVBoxLayout>

namespace qzr {

namespace {

QWidget* CreateProgrammingGroup(QWidget* sheet, TCradleFormControls& c)
{
    auto* group = Named(new QGroupBox(QStringLiteral("Data logger programming"), sheet),
                        "LoggerProgrammingGroup");
    auto* layout = new QGridLayout(group);
    layout->setContentsMargins(6, 4, 6, 6);
    layout->setVerticalSpacing(4);

    c.LogIntervalEdit = Named(new TIntegerField(1, 65535, group), "LogIntervalEdit");
    c.LogIntervalEdit->SetBlankZero(true);
    c.LogIntervalEdit->setMaxLength(5);
    c.LogIntervalEdit->setFixedWidth(60);
    SetHint(*c.LogIntervalEdit,
            QStringLiteral("Interval|The number of seconds between two successive samples"));

    c.LogIntervalPresetBox = Named(new QComboBox(group), "LogIntervalPresetBox");
    for (const TLogIntervalPreset& preset : LogIntervalPresets)
        c.LogIntervalPresetBox->addItem(QString::fromLatin1(preset.item));
    c.LogIntervalPresetBox->setCurrentIndex(-1);
    SetHint(*c.LogIntervalPresetBox, QStringLiteral("Preset|Click to preset the log interval"));

    const QDateTime now = QDateTime::currentDateTime();
    c.LogDateEdit = Named(new QDateEdit(now.date(), group), "LogDateEdit");
    c.LogDateEdit->setDisplayFormat(QStringLiteral("dd/MMM/yyyy"));
    SetHint(*c.LogDateEdit, QStringLiteral("Date|Delay logging until this date"));
    c.LogTimeEdit = Named(new QTimeEdit(now.time(), group), "LogTimeEdit");
    c.LogTimeEdit->setDisplayFormat(QStringLiteral("hh:mm"));
    SetHint(*c.LogTimeEdit, QStringLiteral("Time|Delay logging until this time"));

    c.StartLoggerBtn = Named(
        new QPushButton(QStringLiteral("Erase and start the datalogger"), group), "StartLoggerBtn");
    SetHint(*c.StartLoggerBtn, QStringLiteral("Start|Erase the old data and start the datalogger"));
    c.ReadLoggerBtn =
        Named(new QPushButton(QStringLiteral("Read the data from the datalogger"), group),
              "ReadLoggerBtn");
    SetHint(*c.ReadLoggerBtn,
            QStringLiteral("Read|Read the data from the logger and show it in a chart"));

    layout->addWidget(BuddyLabel(group, "LogIntervalLabel",
                                 QStringLiteral("&Log interval (seconds)"), c.LogIntervalEdit),
                      0, 0);
    layout->addWidget(c.LogIntervalEdit, 0, 1);
    layout->addWidget(c.LogIntervalPresetBox, 1, 0, 1, 2);
    layout->addWidget(c.LogDateEdit, 2, 0);
    layout->addWidget(c.LogTimeEdit, 2, 1);
    layout->addWidget(c.StartLoggerBtn, 3, 0, 1, 2);
    layout->addWidget(c.ReadLoggerBtn, 4, 0, 1, 2);
    layout->setRowStretch(5, 1);
    return group;
}

QWidget* CreateStatusColumn(QWidget* sheet, TCradleFormControls& c)
{
    auto* column = new QWidget(sheet);
    auto* layout = new QGridLayout(column);
    layout->setContentsMargins(0, 6, 4, 0);
    layout->setVerticalSpacing(4);

    c.ReadLoggerValuesCheckbox =
        Named(new QCheckBox(QStringLiteral("View datalogger status"), column),
              "ReadLoggerValuesCheckbox");
    SetHint(*c.ReadLoggerValuesCheckbox, QStringLiteral("Monitor|Monitor the datalogger status"));
    c.LoggerStatusStaticText =
        NamedStaticText(column, "LoggerStatusStaticText", QStringLiteral("--"));
    c.MinimumStaticText = NamedStaticText(column, "MinimumStaticText");
    c.MaximumStaticText = NamedStaticText(column, "MaximumStaticText");
    c.IntegralStaticText = NamedStaticText(column, "IntegralStaticText");
    c.RemainingIntervalStaticText = NamedStaticText(column, "RemainingIntervalStaticText");

    layout->addWidget(c.ReadLoggerValuesCheckbox, 0, 0, 1, 2);
    const std::pair<const char*, QLabel*> rows[] = {
        {"Status", c.LoggerStatusStaticText},
        {"Minimum", c.MinimumStaticText},
        {"Maximum", c.MaximumStaticText},
        {"Integral", c.IntegralStaticText},
        {"Remaining interval", c.RemainingIntervalStaticText},
    };
    int row = 1;
    for (const auto& [caption, text] : rows) {
        auto* label = new QLabel(QString::fromLatin1(caption), column);
        label->setObjectName(
            text->objectName().replace(QLatin1String("StaticText"), QLatin1String("Label")));
        layout->addWidget(label, row, 0);
        layout->addWidget(text, row, 1);
        ++row;
    }
    layout->setColumnStretch(1, 1);
    layout->setRowStretch(row, 1);
    return column;
}

} // namespace

QWidget* CreateDataloggerSheet(QWidget* parent, TCradleFormControls& c)
{
    auto* sheet = Named(new QWidget(parent), "DataloggerSheet");
    auto* layout = new QHBoxLayout(sheet);
    layout->setContentsMargins(6, 6, 6, 6);
    layout->addWidget(CreateProgrammingGroup(sheet, c));
    layout->addSpacing(8);
    layout->addWidget(CreateStatusColumn(sheet, c), 1);
    c.DataloggerSheet = sheet;
    return sheet;
}

} // namespace qzr
