#pragma once

#include "cradle/CradleFormEnvironment.h"

namespace qzr {

class TSensorTable;
class TTexts;

// The message texts of the program's hidden text window, by label name.
class TTextsMessageSource : public TMessageTextSource {
public:
    explicit TTextsMessageSource(const TTexts& texts) : FTexts(texts) {}
    QString MessageText(const QString& name) const override;

private:
    const TTexts& FTexts;
};

// The sensor catalogue's shared current record, as the control windows see it.
class TSensorTableView : public TSensorCatalogueView {
public:
    explicit TSensorTableView(TSensorTable& table) : FTable(table) {}
    bool PositionOnSensor(int sensorId) override;
    QString CurrentSensorName() const override;
    QString CurrentSensorCaption() const override;

private:
    TSensorTable& FTable;
};

} // namespace qzr
