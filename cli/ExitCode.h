#pragma once

namespace qzr::cli {

// The exit codes of qzr-cli; scripts and test benches are written against them.
enum class TExitCode : int {
    Success = 0,
    // The operation failed: a differing echo, a range error, a file error, an
    // existing file without --force, a rejected session.
    Failed = 1,
    // The command line is wrong, or several cradles and no -d.
    Usage = 2,
    // No cradle, no unit on it, or no session within the time allowed.
    NoCradle = 3,
};

} // namespace qzr::cli
