#!/usr/bin/env bash
# Installs the Debian packages that building, testing and running need; does
# nothing when they are all present.
set -euo pipefail

packages=(
    cmake ninja-build g++ pkg-config clang-format clang libclang-rt-14-dev
    qt6-base-dev qt6-charts-dev libqt6opengl6-dev libxkbcommon-dev libqt6sql6-sqlite libqt6svg6
    libudev-dev libsqlite3-dev sqlite3
    libgtest-dev libgmock-dev libbenchmark-dev
    xvfb xauth
    groff-base
    dpkg-dev desktop-file-utils appstream
    qemu-system-x86 linux-image-amd64 busybox-static cpio udev
)

missing=()
for package in "${packages[@]}"; do
    status=$(dpkg-query -W -f='${Status}' "$package" 2>/dev/null || true)
    [[ "$status" == "install ok installed" ]] || missing+=("$package")
done

if ((${#missing[@]} == 0)); then
    exit 0
fi

sudo=()
if ((EUID != 0)); then
    sudo=(sudo)
fi
echo "Installing: ${missing[*]}"
"${sudo[@]}" apt-get update
DEBIAN_FRONTEND=noninteractive "${sudo[@]}" apt-get install -y --no-install-recommends "${missing[@]}"
