#!/bin/bash
# The guest side of scripts/kernel-rig.sh, run as the guest's first process on
# the host's root file system (read-only). Gives the guest its own /proc,
# /sys, /dev, /tmp and /run, loads nothing more (the initramfs loaded the
# modules), starts udevd so that hidraw devices coming and going are
# announced, runs the rig's command with its output and exit code in the
# results directory, and powers the guest off.
results=$1

mount -t proc proc /proc
mount -t sysfs sysfs /sys
mount -t devtmpfs devtmpfs /dev
mount -t tmpfs tmpfs /tmp
mount -t tmpfs tmpfs /run
mkdir -p "$results" /tmp/home /tmp/runtime
mount -t 9p -o trans=virtio,version=9p2000.L,msize=512000 results "$results"
chmod 0700 /tmp/runtime

export HOME=/tmp/home XDG_RUNTIME_DIR=/tmp/runtime TMPDIR=/tmp
export PATH=/usr/local/sbin:/usr/local/bin:/usr/sbin:/usr/bin:/sbin:/bin
source "$results/guest-env"

power_off() {
    sync
    echo o >/proc/sysrq-trigger
    sleep 10
}

{
    echo "guest: kernel $(uname -r), $(nproc) CPU(s)"
    if ! /lib/systemd/systemd-udevd --daemon --resolve-names=never; then
        echo "guest: udevd did not start"
    fi
    [[ -c /dev/uhid ]] || echo "guest: /dev/uhid is missing"
} >"$results/guest.log" 2>&1

"${command[@]}" >>"$results/guest.log" 2>&1
code=$?
if ((code != 0)); then
    echo "guest: the kernel's last messages:" >>"$results/guest.log"
    dmesg | tail -n 30 >>"$results/guest.log"
fi
echo $code >"$results/exit-code"
power_off
