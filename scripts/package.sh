#!/usr/bin/env bash
# Builds the Debian package qzr_<version>_amd64.deb: a Release build for the
# prefix /usr (in build/package), packed by cpack, then checked: every file
# the installation holds must be in the package, and it must depend on the
# libraries and plugins the program loads. The package is left in
# build/package/.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
build="$root/build/package"

"$root/scripts/install-deps.sh"
cmake -S "$root" -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=Release -DCMAKE_INSTALL_PREFIX=/usr \
    -DQZR_BUILD_TESTS=OFF -DQZR_BUILD_BENCHMARKS=OFF >/dev/null
cmake --build "$build" -j"$(nproc)"
(cd "$build" && cpack --config CPackConfig.cmake)

version=$(sed -n 's/^set(CPACK_PACKAGE_VERSION "\(.*\)")$/\1/p' "$build/CPackConfig.cmake")
package="$build/qzr_${version}_$(dpkg --print-architecture).deb"
[[ -f "$package" ]] || { echo "package.sh: cpack made no $package" >&2; exit 1; }

contents=$(dpkg-deb --contents "$package")
missing=0
while read -r file; do
    if ! grep -Eq " \./usr/$file( -> [^ ]+)?\$" <<<"$contents"; then
        echo "package.sh: $file is missing from the package" >&2
        missing=1
    fi
done <"$build/packaging/installed-files.txt"
# The libraries found by dpkg-shlibdeps and the plugins named by the build.
depends=$(dpkg-deb --field "$package" Depends)
for dependency in libqt6widgets6 libqt6charts6 libudev1 libqt6sql6-sqlite libqt6svg6; do
    if [[ "$depends" != *"$dependency"* ]]; then
        echo "package.sh: the package does not depend on $dependency" >&2
        missing=1
    fi
done
((missing == 0)) || exit 1

dpkg-deb --info "$package"
echo
echo "$package"
