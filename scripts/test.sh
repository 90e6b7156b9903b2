#!/usr/bin/env bash
# Builds everything with AddressSanitizer and UndefinedBehaviorSanitizer and
# runs every test; fails too when a tracked .cpp or .h file is not formatted.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
build="$root/build/test"

"$root/scripts/install-deps.sh"
formatted=0
"$root/scripts/check-format.sh" || formatted=$?

cmake -S "$root" -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=Debug -DQZR_SANITIZE=ON
cmake --build "$build" -j"$(nproc)"

export ASAN_OPTIONS="detect_leaks=1:strict_string_checks=1:check_initialization_order=1"
export LSAN_OPTIONS="suppressions=$root/tests/lsan.supp:print_suppressions=0"
export UBSAN_OPTIONS="print_stacktrace=1:halt_on_error=1"
export QT_QPA_PLATFORM=offscreen
ctest --test-dir "$build" --output-on-failure -j"$(nproc)" --timeout 300
if ((formatted != 0)); then
    echo "The tests ran, but some files are not formatted (see the list above)." >&2
    exit 1
fi

# Every fuzz target for a short bounded time from its seed corpus.
"$root/scripts/fuzz.sh" 20

# ThreadSanitizer over the HID layer, the link code and their tests: a build
# of its own holding only those targets.
tsan_build="$root/build/tsan"
tsan_tests=(test_hid_data_port test_hid_device test_hid_virtual_bus test_cradle_links)
cmake -S "$root" -B "$tsan_build" -G Ninja -DCMAKE_BUILD_TYPE=Debug -DQZR_SANITIZE_THREAD=ON \
    -DQZR_BUILD_BENCHMARKS=OFF
cmake --build "$tsan_build" -j"$(nproc)" --target "${tsan_tests[@]}"
TSAN_OPTIONS="halt_on_error=1:second_deadlock_stack=1" \
    ctest --test-dir "$tsan_build" --output-on-failure -j"$(nproc)" --timeout 300 \
    -R "^($(IFS='|'; echo "${tsan_tests[*]}"))\\."
