#!/usr/bin/env bash
# Builds the fuzz targets (clang, libFuzzer with AddressSanitizer and
# UndefinedBehaviorSanitizer) and runs each for the given number of seconds
# (default 60), starting from its checked-in seed corpus. New inputs are kept
# in build/fuzz/corpus/TARGET, findings in build/fuzz/findings/TARGET.
#   scripts/fuzz.sh [SECONDS] [TARGET...]
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
build="$root/build/fuzz"
seconds=${1:-60}
shift || true
targets=("$@")
if ((${#targets[@]} == 0)); then
    targets=(fuzz_session_input fuzz_sensor_catalogue fuzz_personality fuzz_language_table
        fuzz_vexalib_responses)
fi

"$root/scripts/install-deps.sh"
CC=clang CXX=clang++ cmake -S "$root/fuzz" -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo
cmake --build "$build" -j"$(nproc)" --target "${targets[@]}"

export ASAN_OPTIONS="detect_leaks=1:allocator_may_return_null=1"
export UBSAN_OPTIONS="print_stacktrace=1:halt_on_error=1"
export QT_QPA_PLATFORM=offscreen
status=0
for target in "${targets[@]}"; do
    seeds="$root/fuzz/corpus/${target#fuzz_}"
    corpus="$build/corpus/$target"
    findings="$build/findings/$target"
    mkdir -p "$corpus" "$findings"
    echo "== $target: $seconds s"
    if ! "$build/bin/$target" -max_total_time="$seconds" -timeout=10 -rss_limit_mb=2048 \
        -max_len=4096 -print_final_stats=1 -artifact_prefix="$findings/" \
        "$corpus" "$seeds" 2>"$build/$target.log"; then
        status=1
        tail -n 40 "$build/$target.log"
    fi
    grep -E '^stat::number_of_executed_units|^Done ' "$build/$target.log" || true
done
exit $status
