#pragma once

#include <QAbstractListModel>

class QComboBox;

namespace qzr {

class TSensorTable;

// The catalogue as a list for Qt views: one row per record, in the table's
// order; the display role is sensor_name, SensorIdRole gives sensor_ID.
// Read-only; follows the table when its records are replaced.
class TSensorListModel : public QAbstractListModel {
    Q_OBJECT

public:
    enum TRole { SensorIdRole = Qt::UserRole + 1 };

    explicit TSensorListModel(TSensorTable& table, QObject* parent = nullptr);

    int rowCount(const QModelIndex& parent = QModelIndex()) const override;
    QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;
    QHash<int, QByteArray> roleNames() const override;

private:
    TSensorTable& FTable;
};

// Binds a drop-down list to the catalogue: it lists the sensor names, shows
// the current record, and the user's choice of an entry makes that sensor the
// current record. The list then follows every move of the current record.
void BindSensorComboBox(QComboBox& comboBox, TSensorTable& table);

} // namespace qzr
