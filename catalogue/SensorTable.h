#pragma once

#include "SensorRecord.h"

#include <QObject>
#include <vector>

namespace qzr {

// The sensor catalogue with its one current record, shared by the whole
// program: every control bound to it shows the current record and follows
// CurrentChanged. Records keep the order of the file; look-ups search from
// the first record and stop at the first match.
class TSensorTable : public QObject {
    Q_OBJECT

public:
    explicit TSensorTable(QObject* parent = nullptr);

    // Replaces the records; the first becomes current.
    void Load(std::vector<TSensorRecord> records);
    void Clear() { Load({}); }

    int RecordCount() const { return static_cast<int>(FRecords.size()); }
    const TSensorRecord& Record(int index) const { return FRecords.at(index); }

    // Makes the first record with this sensor_ID current and returns true;
    // when there is none, the current record stays and false is returned.
    bool Locate(qint32 sensorId);

    // The current record; an empty record when the table is empty.
    const TSensorRecord& Current() const;
    // Position of the current record, -1 when the table is empty.
    int CurrentIndex() const { return FCurrentIndex; }
    // Makes the record at index current (as the user's pick in a list does);
    // an index outside the table changes nothing.
    void SetCurrentIndex(int index);

signals:
    void CurrentChanged();
    void AboutToReplaceRecords();
    void RecordsReplaced();

private:
    std::vector<TSensorRecord> FRecords;
    int FCurrentIndex = -1;
};

} // namespace qzr
