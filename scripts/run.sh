#!/usr/bin/env bash
# Builds the program and runs its main job: a full session between the
# session core and the simulated ZT-46 unit, printed to the console.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
build="$root/build/release"

"$root/scripts/install-deps.sh"
cmake -S "$root" -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=Release -DQZR_BUILD_TESTS=OFF -DQZR_BUILD_BENCHMARKS=OFF >/dev/null
cmake --build "$build" -j"$(nproc)" --target qzr-session-demo
exec "$build/bin/qzr-session-demo"
