#pragma once

#include <cstdio>

namespace qzr::cli {

// The progress of long work (readout, programming) as a bar on standard error,
// redrawn in place; drawn only when it is enabled (standard error a terminal).
class TProgressBar {
public:
    static constexpr int Width = 40;

    explicit TProgressBar(bool enabled, std::FILE* stream = stderr)
        : FEnabled(enabled), FStream(stream)
    {}
    ~TProgressBar() { Finish(); }
    TProgressBar(const TProgressBar&) = delete;
    TProgressBar& operator=(const TProgressBar&) = delete;

    // Shows `percent` (0 to 100); the same value again draws nothing.
    void Show(int percent);
    // Ends the bar's line, once something was drawn.
    void Finish();

private:
    bool FEnabled;
    std::FILE* FStream;
    int FShown = -1;
};

} // namespace qzr::cli
