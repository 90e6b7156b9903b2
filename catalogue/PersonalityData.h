#pragma once

#include "SearchTable.h"
#include "SensorTable.h"

#include <QObject>
#include <QString>
#include <functional>

class QSettings;

namespace qzr {

struct TPersonalityOptions {
    // Directory of the program with a trailing separator; empty: the
    // directory of the running executable.
    QString ProgramDir;
    // Shows a message about a bad setting to the user; empty: a critical
    // message in the log (a program with windows passes ShowPersonalityError).
    std::function<void(const QString&)> ReportError;
};

// The program's personality (texts, file paths and feature flags from the
// system settings groups DEALER and FACTORY) and the sensor catalogue. One
// instance, created after the application object and before the translator
// and the windows; the personality does not change afterwards.
class TPersonalityData : public QObject {
    Q_OBJECT

public:
    explicit TPersonalityData(TPersonalityOptions options = {}, QObject* parent = nullptr);

    QString ProductName = "ZT-46";
    QString AppTitle = "ZT-46 Control Utilities";
    QString MainformCaption = "ZT-46 Tallyscope";
    QString AboutformImage;
    QString AboutformLink = "https://www.halvern.example/zt46";
    QString Sensorfile;
    QString Iconfile;
    bool HasTranslations = false;
    bool HasSensorSheet = true;
    bool HasCalibrationsSheet = false;
    bool HasDataloggerSheet = true;
    bool HasDetailedSensorSettings = false;

    // The catalogue with its shared current record, and the table for
    // look-ups that must not move that record. Both are empty when the
    // catalogue file could not be loaded.
    TSensorTable SensorTable;
    TSearchTable SearchTable;

    QString ProgramDir() const { return FProgramDir; }

private:
    void ReadDealerGroup(QSettings& store);
    void ReadFactoryGroup(QSettings& store);
    bool ReadFlag(QSettings& store, const QString& name);
    void LoadCatalogue();

    QString FProgramDir;
    std::function<void(const QString&)> FReportError;
};

} // namespace qzr
