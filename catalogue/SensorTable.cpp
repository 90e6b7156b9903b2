#include "SensorTable.h"

namespace qzr {

TSensorTable::TSensorTable(QObject* parent) : QObject(parent) {}

void TSensorTable::Load(std::vector<TSensorRecord> records)
{
    emit AboutToReplaceRecords();
    FRecords = std::move(records);
    FCurrentIndex = FRecords.empty() ? -1 : 0;
    emit RecordsReplaced();
    emit CurrentChanged();
}

bool TSensorTable::Locate(qint32 sensorId)
{
    for (int i = 0; i < RecordCount(); ++i) {
        if (FRecords[i].sensor_ID == sensorId) {
            SetCurrentIndex(i);
            return true;
        }
    }
    return false;
}

const TSensorRecord& TSensorTable::Current() const
{
    static const TSensorRecord empty;
    return FCurrentIndex < 0 ? empty : FRecords[FCurrentIndex];
}

void TSensorTable::SetCurrentIndex(int index)
{
    if (index < 0 || index >= RecordCount() || index == FCurrentIndex)
        return;
    FCurrentIndex = index;
    emit CurrentChanged();
}

} // namespace qzr
