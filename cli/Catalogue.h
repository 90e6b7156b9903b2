#pragma once

#include "cli/CliContext.h"

#include <catalogue/SensorRecord.h>

#include <optional>
#include <vector>

namespace qzr::cli {

// The sensor catalogue of a command: the file of --catalogue (one that cannot
// be read is a file error, exit code 1), or the catalogue QZR itself reads
// (empty when it cannot be read, as in QZR).
std::vector<TSensorRecord> LoadCatalogue(const TCliContext& context);

// The first record with this sensor ID.
std::optional<TSensorRecord> FindSensor(const std::vector<TSensorRecord>& catalogue,
                                        qint32 sensorId);

} // namespace qzr::cli
