#!/usr/bin/env bash
# Builds the program and the simulator (Release) and runs QZR against two
# simulated cradles, a HID cradle and a bridge cradle, each with a unit, on a
# virtual HID bus in a temporary directory. When the program exits, the
# simulator is stopped and the directory removed.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
build="$root/build/release"

"$root/scripts/install-deps.sh"
if [[ -z "${DISPLAY:-}" && -z "${WAYLAND_DISPLAY:-}" ]]; then
    echo "run.sh: QZR is a desktop program and there is no display (DISPLAY and" >&2
    echo "WAYLAND_DISPLAY are unset). Run it under a virtual X server instead:" >&2
    echo "    xvfb-run -a ./scripts/run.sh" >&2
    exit 2
fi

cmake -S "$root" -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=Release -DQZR_BUILD_TESTS=OFF -DQZR_BUILD_BENCHMARKS=OFF >/dev/null
cmake --build "$build" -j"$(nproc)" --target QZR qzr-sim

bus=$(mktemp -d "${TMPDIR:-/tmp}/qzr-bus.XXXXXX")
simulator=""
stop_simulator() {
    if [[ -n "$simulator" ]]; then
        kill -TERM "$simulator" 2>/dev/null || true
        wait "$simulator" 2>/dev/null || true
    fi
    rm -rf "$bus"
}
trap stop_simulator EXIT
trap 'exit 130' INT TERM

# The demonstration: HID cradle hid1 and bridge cradle bridge1, each with a unit.
"$build/bin/qzr-sim" --bus "$bus" </dev/null &
simulator=$!
for _ in $(seq 100); do
    [[ -S "$bus/hid1.sock" && -S "$bus/bridge1.sock" ]] && break
    kill -0 "$simulator" 2>/dev/null || { echo "run.sh: the simulator did not start" >&2; exit 1; }
    sleep 0.1
done

VHID_BUS="$bus" "$build/bin/QZR"
