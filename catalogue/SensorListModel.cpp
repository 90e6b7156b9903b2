#include "SensorListModel.h"

#include "SensorTable.h"

#include <QComboBox>

namespace qzr {

TSensorListModel::TSensorListModel(TSensorTable& table, QObject* parent)
    : QAbstractListModel(parent), FTable(table)
{
    connect(&table, &TSensorTable::AboutToReplaceRecords, this, &TSensorListModel::beginResetModel);
    connect(&table, &TSensorTable::RecordsReplaced, this, &TSensorListModel::endResetModel);
}

int TSensorListModel::rowCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : FTable.RecordCount();
}

QVariant TSensorListModel::data(const QModelIndex& index, int role) const
{
    if (!checkIndex(index, CheckIndexOption::IndexIsValid | CheckIndexOption::ParentIsInvalid))
        return {};
    const TSensorRecord& record = FTable.Record(index.row());
    switch (role) {
    case Qt::DisplayRole:
        return record.sensor_name;
    case SensorIdRole:
        return record.sensor_ID;
    default:
        return {};
    }
}

QHash<int, QByteArray> TSensorListModel::roleNames() const
{
    return {{Qt::DisplayRole, "sensor_name"}, {SensorIdRole, "sensor_ID"}};
}

void BindSensorComboBox(QComboBox& comboBox, TSensorTable& table)
{
    comboBox.setModel(new TSensorListModel(table, &comboBox));
    comboBox.setCurrentIndex(table.CurrentIndex());
    QObject::connect(&comboBox, &QComboBox::activated, &table, &TSensorTable::SetCurrentIndex);
    QObject::connect(&table, &TSensorTable::CurrentChanged, &comboBox,
                     [&comboBox, &table] { comboBox.setCurrentIndex(table.CurrentIndex()); });
}

} // namespace qzr
