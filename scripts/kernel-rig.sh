#!/usr/bin/env bash
# Boots Debian's own kernel under QEMU (TCG) with a small busybox initramfs,
# shares this machine's root file system read-only into the guest (9p) and
# runs tests/kernel/guest-run.sh there with the given command: simulated
# cradles become real kernel HID devices (uhid), so the program's and the
# library's hidraw back ends meet /dev/hidrawN, sysfs and udev as they are.
#
#   scripts/kernel-rig.sh [--timeout SECONDS] COMMAND [ARGUMENT...]
#
# COMMAND runs as root inside the guest with QZR_KERNEL_GUEST=1 and the
# sanitizer and Qt settings of this environment; its output and exit code are
# this script's. A machine that cannot boot the guest fails loudly: nothing is
# ever reported as passed without having run.
set -euo pipefail

timeout=420
if [[ "${1:-}" == "--timeout" ]]; then
    timeout=$2
    shift 2
fi
if (($# == 0)); then
    echo "usage: $0 [--timeout SECONDS] COMMAND [ARGUMENT...]" >&2
    exit 2
fi

root=$(cd "$(dirname "$0")/.." && pwd)

fail() {
    echo "kernel rig: CANNOT RUN: $*" >&2
    echo "kernel rig: the kernel tests did not run (install qemu-system-x86, linux-image-amd64," \
        "busybox-static, cpio and udev with scripts/install-deps.sh)" >&2
    exit 1
}

qemu=$(command -v qemu-system-x86_64 || true)
[[ -n "$qemu" ]] || fail "qemu-system-x86_64 not found"
busybox=/bin/busybox
[[ -x "$busybox" ]] && ! ldd "$busybox" >/dev/null 2>&1 || fail "no static busybox at $busybox"
command -v cpio >/dev/null || fail "cpio not found"
[[ -x /lib/systemd/systemd-udevd ]] || fail "systemd-udevd not found"

# The newest Debian kernel whose modules are installed.
kernel_version=""
for image in $(ls -1 /boot/vmlinuz-* 2>/dev/null | sort -V -r); do
    version=${image#/boot/vmlinuz-}
    if [[ -f "/lib/modules/$version/modules.dep" ]]; then
        kernel_version=$version
        break
    fi
done
[[ -n "$kernel_version" ]] || fail "no kernel in /boot with its modules in /lib/modules"
kernel=/boot/vmlinuz-$kernel_version

work=$(mktemp -d "${TMPDIR:-/tmp}/qzr-kernel-rig.XXXXXX")
trap 'rm -rf "$work"' EXIT
trap 'exit 130' INT TERM HUP

# The initramfs: busybox, the modules that 9p over virtio and uhid need (in
# load order), and an init that mounts the shared root and switches to it.
initramfs=$work/initramfs
mkdir -p "$initramfs"/{bin,dev,proc,sys,newroot,modules}
cp "$busybox" "$initramfs/bin/busybox"
modules=$(modprobe -S "$kernel_version" --show-depends -a virtio_pci 9pnet_virtio 9p uhid hid-generic |
    awk '$1 == "insmod" { print $2 }' | awk '!seen[$0]++')
[[ -n "$modules" ]] || fail "modprobe cannot resolve the modules of $kernel_version"
load_order=""
for module in $modules; do
    name=$(basename "$module")
    case "$name" in
    *.ko) cp "$module" "$initramfs/modules/$name" ;;
    *.ko.xz) xz -dc "$module" >"$initramfs/modules/${name%.xz}" && name=${name%.xz} ;;
    *.ko.zst) zstd -qdc "$module" >"$initramfs/modules/${name%.zst}" && name=${name%.zst} ;;
    *) fail "unknown module format: $module" ;;
    esac
    load_order+="$name "
done

results=$work/results
mkdir -p "$results"
{
    printf 'export QZR_KERNEL_GUEST=1\n'
    for variable in ASAN_OPTIONS LSAN_OPTIONS UBSAN_OPTIONS QT_QPA_PLATFORM QT_LOGGING_RULES; do
        if [[ -n "${!variable:-}" ]]; then
            printf 'export %s=%q\n' "$variable" "${!variable}"
        fi
    done
    printf 'cd %q\n' "$PWD"
    printf 'command=('
    printf '%q ' "$@"
    printf ')\n'
} >"$results/guest-env"

cat >"$initramfs/init" <<EOF
#!/bin/busybox sh
/bin/busybox mount -t proc proc /proc
/bin/busybox mount -t sysfs sysfs /sys
/bin/busybox mount -t devtmpfs devtmpfs /dev
for module in $load_order; do
    /bin/busybox insmod /modules/\$module || echo "kernel rig: cannot load \$module"
done
if ! /bin/busybox mount -t 9p -o trans=virtio,version=9p2000.L,ro,cache=loose,msize=512000 \
        hostroot /newroot; then
    echo "kernel rig: cannot mount the shared root"
    /bin/busybox poweroff -f
fi
/bin/busybox umount /proc /sys /dev
exec /bin/busybox switch_root /newroot /bin/bash $(printf '%q' "$root/tests/kernel/guest-run.sh") \
    $(printf '%q' "$results")
EOF
chmod +x "$initramfs/init"
(cd "$initramfs" && find . | cpio -o -H newc --quiet | gzip -1) >"$work/initramfs.cpio.gz"

echo "kernel rig: booting $kernel under QEMU (TCG) to run: $*"
start=$(date +%s)
status=0
timeout --kill-after=10 "$timeout" "$qemu" -machine q35 -accel tcg -cpu max -m 2048 -smp 2 \
    -display none -monitor none -no-reboot \
    -chardev file,id=console,path="$results/console.log" -serial chardev:console \
    -kernel "$kernel" -initrd "$work/initramfs.cpio.gz" \
    -append "console=ttyS0 quiet loglevel=4 panic=-1 rdinit=/init" \
    -fsdev local,id=hostroot,path=/,security_model=none,readonly=on,multidevs=remap \
    -device virtio-9p-pci,fsdev=hostroot,mount_tag=hostroot \
    -fsdev local,id=results,path="$results",security_model=none,multidevs=remap \
    -device virtio-9p-pci,fsdev=results,mount_tag=results \
    </dev/null || status=$?
if ((status == 124 || status == 137)); then
    echo "kernel rig: the guest did not finish within $timeout s and was stopped" >&2
elif ((status != 0)); then
    echo "kernel rig: QEMU failed with exit code $status" >&2
fi

[[ -f "$results/guest.log" ]] && cat "$results/guest.log"
if [[ ! -f "$results/exit-code" ]]; then
    echo "kernel rig: CANNOT RUN: the guest gave no result, the kernel tests did not run;" \
        "its console:" >&2
    tail -n 200 "$results/console.log" >&2 || true
    exit 1
fi
code=$(cat "$results/exit-code")
echo "kernel rig: guest finished in $(($(date +%s) - start)) s with exit code $code"
exit "$code"
