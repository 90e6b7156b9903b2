#include "cli/ProgressBar.h"

#include <algorithm>
#include <string>

namespace qzr::cli {

void TProgressBar::Show(int percent)
{
    percent = std::clamp(percent, 0, 100);
    if (!FEnabled || percent == FShown)
        return;
    FShown = percent;
    const int filled = percent * Width / 100;
    const std::string bar = std::string(static_cast<std::size_t>(filled), '#') +
                            std::string(static_cast<std::size_t>(Width - filled), '-');
    std::fprintf(FStream, "\r[%s] %3d %%", bar.c_str(), percent);
    std::fflush(FStream);
}

void TProgressBar::Finish()
{
    if (FShown < 0)
        return;
    std::fputc('\n', FStream);
    std::fflush(FStream);
    FShown = -1;
}

} // namespace qzr::cli
