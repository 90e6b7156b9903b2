#pragma once

#include <protocol/LogData.h>

#include <QWidget>

class QLabel;

namespace qzr {

// A small window on logged data read from a unit: how many interval records
// the image holds. It keeps its own copy of the image, is owned by no other
// window and frees itself when it closes.
class TReadoutSummaryForm : public QWidget {
    Q_OBJECT
public:
    TReadoutSummaryForm();

    // Copies the image and shows its record count.
    void SetData(const TLogData& data);

    const TLogData& ChartData() const { return FData; }
    QLabel* RecordsLabel = nullptr;

private:
    TLogData FData{};
};

// The records an image holds: those before the first erased one.
std::size_t RecordCount(const TLogData& data);

} // namespace qzr
