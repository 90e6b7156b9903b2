#pragma once

namespace qzr::cli {

// From now on an interrupt (SIGINT, SIGTERM) does not end the program at once
// but is noted, so that a command that runs until interrupted ends cleanly.
void CatchInterruption();
bool Interrupted();

} // namespace qzr::cli
