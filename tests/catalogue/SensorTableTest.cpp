#include <catalogue/SearchTable.h>
#include <catalogue/SensorListModel.h>
#include <catalogue/SensorTable.h>

#include <QComboBox>
#include <gtest/gtest.h>

namespace qzr {
namespace {

std::vector<TSensorRecord> Catalogue()
{
    std::vector<TSensorRecord> records;
    for (auto [id, name, units] : {std::tuple{10, "Load cell", "kg"},
                                   {20, "Pressure", "bar"},
                                   {30, "Shunt", "A"},
                                   {20, "Pressure (second)", "psi"}}) {
        TSensorRecord record;
        record.sensor_ID = id;
        record.sensor_name = name;
        record.sensor_units = units;
        records.push_back(record);
    }
    return records;
}

TEST(SensorTable, LocateMovesToTheFirstMatchOrStaysWhereItIs)
{
    TSensorTable table;
    int changes = 0;
    QObject::connect(&table, &TSensorTable::CurrentChanged, [&changes] { ++changes; });
    table.Load(Catalogue());
    EXPECT_EQ(table.CurrentIndex(), 0);

    EXPECT_TRUE(table.Locate(30));
    EXPECT_EQ(table.Current().sensor_name, "Shunt");
    EXPECT_TRUE(table.Locate(20));
    EXPECT_EQ(table.Current().sensor_name, "Pressure");

    const int changesBefore = changes;
    EXPECT_FALSE(table.Locate(99));
    EXPECT_EQ(table.Current().sensor_name, "Pressure");
    EXPECT_EQ(changes, changesBefore);
}

TEST(SensorTable, AnEmptyTableHasAnEmptyCurrentRecordAndFindsNothing)
{
    TSensorTable table;
    table.Load(Catalogue());
    table.Clear();
    EXPECT_EQ(table.CurrentIndex(), -1);
    EXPECT_EQ(table.Current(), TSensorRecord());
    EXPECT_FALSE(table.Locate(10));
    table.SetCurrentIndex(0);
    EXPECT_EQ(table.CurrentIndex(), -1);
}

TEST(SearchTable, LooksUpUnitsWithoutMovingTheSharedCurrentRecord)
{
    TSensorTable table;
    table.Load(Catalogue());
    TSearchTable search;
    search.Load(Catalogue());
    table.Locate(30);

    EXPECT_TRUE(search.Locate(20));
    EXPECT_EQ(search.SensorUnits(), "bar");
    EXPECT_FALSE(search.Locate(99));
    EXPECT_EQ(search.SensorId(), 20);
    EXPECT_EQ(table.Current().sensor_name, "Shunt");
}

TEST(SensorListModel, ListsNamesWithTheirIdsAndFollowsReloads)
{
    TSensorTable table;
    table.Load(Catalogue());
    TSensorListModel model(table);
    ASSERT_EQ(model.rowCount(), 4);
    EXPECT_EQ(model.data(model.index(1)).toString(), "Pressure");
    EXPECT_EQ(model.data(model.index(2), TSensorListModel::SensorIdRole).toInt(), 30);

    int resets = 0;
    QObject::connect(&model, &QAbstractItemModel::modelReset, [&resets] { ++resets; });
    table.Clear();
    EXPECT_EQ(resets, 1);
    EXPECT_EQ(model.rowCount(), 0);
}

TEST(SensorListModel, ABoundComboBoxFollowsAndMovesTheCurrentRecord)
{
    TSensorTable table;
    table.Load(Catalogue());
    table.Locate(20);
    QComboBox comboBox;
    BindSensorComboBox(comboBox, table);
    EXPECT_EQ(comboBox.count(), 4);
    EXPECT_EQ(comboBox.currentText(), "Pressure");

    table.Locate(30);
    EXPECT_EQ(comboBox.currentIndex(), 2);

    comboBox.setCurrentIndex(0);
    emit comboBox.activated(0);
    EXPECT_EQ(table.Current().sensor_ID, 10);
}

} // namespace
} // namespace qzr
