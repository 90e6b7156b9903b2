#!/usr/bin/env bash
# Builds the benchmarks (Release, in build/bench), runs each of them and prints
# one table of their figures, each beside its floor measured in the same run:
# figure / floor / ratio / goal. The table also goes to build/bench/figures.md,
# each program's whole output to build/bench/logs/.
#
#   scripts/bench.sh [-r RUNS] [PATTERN...]
#
# -r RUNS runs every benchmark RUNS times and gives the median run of each
# figure (by its ratio, or by the figure where there is no floor); PATTERNs
# run only the benchmarks whose names contain one of them. Every program in the build's
# bin/ whose name starts with bench_ is a benchmark: it prints its figures as
# lines "FIGURE<TAB>what<TAB>figure<TAB>floor<TAB>unit<TAB>goal" (floor "-"
# when it has none; goal "ratio<=X", "ratio>=X", "figure<=X" or empty).
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
build="$root/build/bench"

runs=1
while getopts "r:" option; do
    case $option in
    r) runs=$OPTARG ;;
    *)
        echo "usage: $0 [-r RUNS] [PATTERN...]" >&2
        exit 2
        ;;
    esac
done
shift $((OPTIND - 1))
patterns=("$@")

"$root/scripts/install-deps.sh"
cmake -S "$root" -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=Release -DQZR_BUILD_TESTS=OFF >/dev/null
cmake --build "$build" -j"$(nproc)"

bin="$build/bin"
logs="$build/logs"
mkdir -p "$logs"
figures="$build/figures.tsv"
: >"$figures"
for program in "$bin"/bench_*; do
    name=$(basename "$program")
    [[ -x $program ]] || continue
    if ((${#patterns[@]} > 0)); then
        wanted=0
        for pattern in "${patterns[@]}"; do
            [[ $name == *"$pattern"* ]] && wanted=1
        done
        ((wanted)) || continue
    fi
    for ((run = 1; run <= runs; run++)); do
        echo
        echo "== $name (run $run of $runs)"
        # A benchmark that fails leaves its figures out; the others still run.
        "$program" 2>&1 | tee "$logs/$name.$run.log" || echo "$name failed (exit status $?)" >&2
        # A figure line may follow a terminal's colour codes on the same line.
        sed -n 's/.*FIGURE	//p' "$logs/$name.$run.log" >>"$figures"
    done
done

table="$build/figures.md"
{
    echo "Measured $(date '+%Y-%m-%d %H:%M') on $(nproc) cores ($(grep -m1 'model name' /proc/cpuinfo | cut -d: -f2 | sed 's/^ //')), load average $(cut -d' ' -f1-3 /proc/loadavg) at the end; median of $runs run(s)."
    echo
    echo "| what | figure | floor | ratio | goal |"
    echo "| --- | --- | --- | --- | --- |"
    awk -F'\t' '
        function ratio(i) { return f[i] == "-" || f[i] == 0 ? "" : v[i] / f[i] }
        function key(i,    r) { r = ratio(i); return r == "" ? v[i] : r }
        # "ratio<=1.3": at most 1.3 times the floor; "figure<=5": at most 5 units.
        function verdict(goal, figure, r, unit,    most, limit, value, text) {
            if (goal == "") return ""
            most = index(goal, "<") > 0
            limit = substr(goal, index(goal, "=") + 1) + 0
            value = goal ~ /^ratio/ ? r : figure
            if (value == "") return "no floor"
            text = (most ? "at most " : "at least ") limit (goal ~ /^ratio/ ? " x" : " " unit)
            return text ((most ? value <= limit : value >= limit) ? ": met" : ": **missed**")
        }
        {
            if (!($1 in count)) order[++names] = $1
            n = ++count[$1]
            values[$1, n] = $2; floors[$1, n] = $3; units[$1] = $4; goals[$1] = $5
        }
        END {
            for (k = 1; k <= names; k++) {
                what = order[k]; n = count[what]
                # The median run: sort the runs by ratio (or figure).
                for (i = 1; i <= n; i++) { idx[i] = i; v[i] = values[what, i]; f[i] = floors[what, i] }
                for (i = 2; i <= n; i++)
                    for (j = i; j > 1 && key(idx[j - 1]) + 0 > key(idx[j]) + 0; j--) {
                        t = idx[j]; idx[j] = idx[j - 1]; idx[j - 1] = t
                    }
                m = idx[int((n + 1) / 2)]
                r = ratio(m)
                printf "| %s | %s %s | %s | %s | %s |\n", what, v[m], units[what],
                    f[m] == "-" ? "" : f[m] " " units[what],
                    r == "" ? "" : sprintf("%.2f", r), verdict(goals[what], v[m] + 0, r, units[what])
            }
        }' "$figures"
} >"$table"
echo
cat "$table"
