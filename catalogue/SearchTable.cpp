#include "SearchTable.h"

namespace qzr {

void TSearchTable::Load(const std::vector<TSensorRecord>& records)
{
    FRecords.clear();
    for (const TSensorRecord& record : records)
        FRecords.push_back({record.sensor_ID, record.sensor_units});
    FPosition = FRecords.empty() ? -1 : 0;
}

bool TSearchTable::Locate(qint32 sensorId)
{
    for (int i = 0; i < RecordCount(); ++i) {
        if (FRecords[i].SensorId == sensorId) {
            FPosition = i;
            return true;
        }
    }
    return false;
}

qint32 TSearchTable::SensorId() const
{
    return FPosition < 0 ? 0 : FRecords[FPosition].SensorId;
}

QString TSearchTable::SensorUnits() const
{
    return FPosition < 0 ? QString() : FRecords[FPosition].SensorUnits;
}

} // namespace qzr
