#pragma once

#include <cstdio>

namespace qzr::bench {

// Prints one figure for the table that scripts/bench.sh collects: a line
// "FIGURE", what was measured, the figure, its floor measured in the same run
// (a negative floor: none), the unit of both, and the goal ("ratio<=1.3",
// "ratio>=0.9", "figure<=5" or empty), separated by tabs.
inline void PrintFigure(const char* what, double figure, double floor, const char* unit,
                        const char* goal = "")
{
    if (floor < 0)
        std::printf("FIGURE\t%s\t%.4g\t-\t%s\t%s\n", what, figure, unit, goal);
    else
        std::printf("FIGURE\t%s\t%.4g\t%.4g\t%s\t%s\n", what, figure, floor, unit, goal);
    std::fflush(stdout);
}

} // namespace qzr::bench
