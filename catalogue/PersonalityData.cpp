#include "PersonalityData.h"

#include "PersonalityStores.h"
#include "SensorFileReader.h"

#include <QCoreApplication>
#include <QLoggingCategory>
#include <QSettings>

namespace qzr {
namespace {

QString DefaultProgramDir()
{
    return QCoreApplication::applicationDirPath() + '/';
}

Q_LOGGING_CATEGORY(lcPersonality, "qzr.personality", QtWarningMsg)

void LogError(const QString& message)
{
    qCCritical(lcPersonality, "%s", qUtf8Printable(message));
}

// A value as text; a value that the store split at its commas is joined again.
QString ReadText(QSettings& store, const QString& name)
{
    const QVariant value = store.value(name);
    if (value.typeId() == QMetaType::QStringList)
        return value.toStringList().join(", ");
    return value.toString();
}

// Opens the group in the first store that has it; nullptr when none has.
QSettings* FindGroup(const std::vector<std::unique_ptr<QSettings>>& stores, const QString& group)
{
    for (const auto& store : stores) {
        if (store->childGroups().contains(group)) {
            store->beginGroup(group);
            return store.get();
        }
    }
    return nullptr;
}

} // namespace

TPersonalityData::TPersonalityData(TPersonalityOptions options, QObject* parent)
    : QObject(parent),
      FProgramDir(options.ProgramDir.isEmpty() ? DefaultProgramDir() : options.ProgramDir),
      FReportError(options.ReportError ? std::move(options.ReportError) : LogError)
{
    AboutformImage = FProgramDir;
    Sensorfile = FProgramDir + "standard.csv";
    Iconfile = FProgramDir + "ZT-46.ico";

    const auto stores = OpenPersonalityStores();
    if (QSettings* dealer = FindGroup(stores, "DEALER")) {
        ReadDealerGroup(*dealer);
        dealer->endGroup();
    }
    if (QSettings* factory = FindGroup(stores, "FACTORY")) {
        ReadFactoryGroup(*factory);
        factory->endGroup();
    }
    LoadCatalogue();
}

void TPersonalityData::ReadDealerGroup(QSettings& store)
{
    ProductName = ReadText(store, "PRODUCTNAME");
    AppTitle = ReadText(store, "APPTITLE");
    MainformCaption = ReadText(store, "MAINCAPTION");
    AboutformImage = FProgramDir + ReadText(store, "LOGO");
    AboutformLink = ReadText(store, "LINK");
    Sensorfile = FProgramDir + ReadText(store, "SENSORS");
    Iconfile = FProgramDir + ReadText(store, "ICON");
    HasTranslations = ReadFlag(store, "TRANSLATIONS");
}

void TPersonalityData::ReadFactoryGroup(QSettings& store)
{
    HasSensorSheet = ReadFlag(store, "SENSORSHEET");
    HasCalibrationsSheet = ReadFlag(store, "CALIBRATIONSHEET");
    HasDataloggerSheet = ReadFlag(store, "DATALOGGERSHEET");
    HasDetailedSensorSettings = ReadFlag(store, "DETAILEDSENSORSETTINGS");
}

// A flag is set when its value, a decimal integer, is not 0. A value that is
// not an integer (an absent one included) is reported and counts as 0, so that
// the rest of the personality and the catalogue still load.
bool TPersonalityData::ReadFlag(QSettings& store, const QString& name)
{
    const QString text = ReadText(store, name);
    bool ok = false;
    const int value = text.trimmed().toInt(&ok, 10);
    if (!ok) {
        FReportError(QString("'%1' is not a valid integer value for %2 type").arg(text, "Integer"));
        return false;
    }
    return value != 0;
}

void TPersonalityData::LoadCatalogue()
{
    auto records = ReadSensorFile(Sensorfile);
    if (!records)
        records.emplace();
    SearchTable.Load(*records);
    SensorTable.Load(std::move(*records));
}

} // namespace qzr
