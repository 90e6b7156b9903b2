#pragma once

#include "cli/CliContext.h"

namespace qzr::cli {

// The commands; each throws ECliError when it fails.
void RunScan(const TCliContext& context);
void RunInfo(const TCliContext& context);
void RunRealtime(const TCliContext& context);
void RunProgram(const TCliContext& context);
void RunLoggerStart(const TCliContext& context);
void RunLoggerStatus(const TCliContext& context);
void RunLoggerRead(const TCliContext& context);
void RunExport(const TCliContext& context);

} // namespace qzr::cli
