#include "cli/Catalogue.h"

#include "cli/CliError.h"

#include <app/ProgramDataLocation.h>
#include <catalogue/PersonalityData.h>
#include <catalogue/SensorFileReader.h>

#include <algorithm>

namespace qzr::cli {

std::vector<TSensorRecord> LoadCatalogue(const TCliContext& context)
{
    const QString& file = context.Line.Global.Catalogue;
    if (!file.isEmpty()) {
        auto records = ReadSensorFile(file);
        if (!records)
            throw OperationFailed(QStringLiteral("%1: not a readable sensor catalogue").arg(file));
        return std::move(*records);
    }
    // Beside the program, or in the installed data directory, as QZR finds it.
    TOutput& output = context.Output;
    const TPersonalityData personality(
        TPersonalityOptions{DefaultProgramFiles().DataDir + '/',
                            [&output](const QString& message) { output.Note(message); }});
    const TSensorTable& table = personality.SensorTable;
    std::vector<TSensorRecord> records;
    for (int i = 0; i < table.RecordCount(); ++i)
        records.push_back(table.Record(i));
    return records;
}

std::optional<TSensorRecord> FindSensor(const std::vector<TSensorRecord>& catalogue,
                                        qint32 sensorId)
{
    const auto found =
        std::find_if(catalogue.begin(), catalogue.end(),
                     [&](const TSensorRecord& record) { return record.sensor_ID == sensorId; });
    if (found == catalogue.end())
        return std::nullopt;
    return *found;
}

} // namespace qzr::cli
