#pragma once

#include "SensorRecord.h"

#include <vector>

namespace qzr {

// A second view of the catalogue with only sensor_ID and sensor_units, for
// look-ups that must not move the shared current record of TSensorTable.
class TSearchTable {
public:
    void Load(const std::vector<TSensorRecord>& records);
    void Clear() { Load({}); }

    int RecordCount() const { return static_cast<int>(FRecords.size()); }

    // Moves this table's own position to the first record with this
    // sensor_ID and returns true; when there is none, the position stays and
    // false is returned.
    bool Locate(qint32 sensorId);

    // The fields at the position (0 and empty when the table is empty).
    qint32 SensorId() const;
    QString SensorUnits() const;

private:
    struct TEntry {
        qint32 SensorId;
        QString SensorUnits;
    };
    std::vector<TEntry> FRecords;
    int FPosition = -1;
};

} // namespace qzr
