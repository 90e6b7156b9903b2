#include "app/ProgramAdapters.h"

#include <app/texts/Texts.h>
#include <catalogue/SensorTable.h>

#include <QLabel>

namespace qzr {

QString TTextsMessageSource::MessageText(const QString& name) const
{
    const auto* label = FTexts.findChild<QLabel*>(name);
    return label != nullptr ? label->text() : QString();
}

bool TSensorTableView::PositionOnSensor(int sensorId)
{
    return FTable.Locate(sensorId);
}

QString TSensorTableView::CurrentSensorName() const
{
    return FTable.CurrentIndex() < 0 ? QString() : FTable.Current().sensor_name;
}

QString TSensorTableView::CurrentSensorCaption() const
{
    return FTable.CurrentIndex() < 0 ? QString() : FTable.Current().sensor_caption;
}

} // namespace qzr
