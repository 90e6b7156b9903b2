#!/usr/bin/env bash
# Builds the benchmarks (Release, in build/bench) and runs each of them once,
# printing its figures. They measure; none of them passes or fails.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
build="$root/build/bench"

"$root/scripts/install-deps.sh"
cmake -S "$root" -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=Release -DQZR_BUILD_TESTS=OFF >/dev/null
cmake --build "$build" -j"$(nproc)"

bin="$build/bin"
run() {
    echo
    echo "== $*"
    "$@"
}
run "$bin/bench_cradle_receive"
run "$bin/bench_cradle_readout"
run "$bin/bench_cradle_programming"
run "$bin/bench_sim_cpu_load"
run "$bin/bench_vexalib_spi_poll"
run "$bin/bench_hid_report_delivery"
run "$bin/bench_app_idle_cpu"
run "$bin/bench_app_startup"
run "$bin/bench_logdata_chart_export"
run "$bin/bench_cli_timing"
run "$bin/bench_cli_readout"
