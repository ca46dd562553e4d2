#!/bin/sh
# SPDX-License-Identifier: Apache-2.0
# Installs the Debian package on a fresh Debian 12: a minimal root made by debootstrap, where
# "apt-get install ./aduplan_*.deb" must bring every dependency from Debian's mirror. Then, as
# an ordinary user, both programs tell their version, aduplan-cli writes the demo home,
# processes a demo invoice (Word) and reads a PDF invoice, and the desktop program opens that
# home offscreen and runs for a few seconds. Run as root before a release:
#     ./scripts/check-install.sh build/aduplan_*.deb
# Where the root cannot be made (not root, no debootstrap or chroot, no mirror) it says so and
# skips, ending with 0. DEBIAN_MIRROR overrides the mirror.
set -e
if [ $# -ne 1 ] || [ ! -f "$1" ]; then
    echo "usage: $0 PACKAGE.deb" >&2
    exit 2
fi
deb=$(realpath "$1")
mirror=${DEBIAN_MIRROR:-http://deb.debian.org/debian}
skip() { echo "check-install: skipped: $*"; exit 0; }
fail() { echo "check-install: $*" >&2; exit 1; }

[ "$(id -u)" -eq 0 ] || skip "not run as root, which debootstrap and chroot need"
command -v debootstrap >/dev/null || skip "debootstrap is not installed"
chroot / true 2>/dev/null || skip "chroot is not allowed here"
wget -q -O /dev/null "$mirror/dists/bookworm/Release" || skip "$mirror cannot be reached"

start=$(date +%s)
root=$(mktemp -d "${TMPDIR:-/var/tmp}/aduplan-install.XXXXXX")
chmod 755 "$root" # apt downloads as its own user
cleanup() {
    umount "$root/proc" 2>/dev/null || true
    # Never remove through a mount that is still there.
    if ! grep -q " $root/" /proc/mounts; then
        rm -rf --one-file-system "$root"
    fi
}
trap cleanup EXIT
in_root() { chroot "$root" env -i PATH=/usr/sbin:/usr/bin:/sbin:/bin LANG=C.UTF-8 "$@"; }

log="$root.log"
debootstrap --variant=minbase bookworm "$root" "$mirror" >"$log" 2>&1 ||
    { tail -20 "$log" >&2; fail "debootstrap failed (whole log: $log)"; }
rm -f "$log"
# The sources of an installed Debian 12, security updates included.
cat >"$root/etc/apt/sources.list" <<EOF
deb $mirror bookworm main
deb $mirror bookworm-updates main
deb http://deb.debian.org/debian-security bookworm-security main
EOF
mount -t proc proc "$root/proc"
# A PDF invoice of the tests, which the package does not carry.
cp "$deb" "$(dirname "$0")/../tests/fixtures/word/converted/brightwater-7802.doc.pdf" "$root/tmp/"
in_root apt-get update -q >/dev/null
in_root sh -c "cd /tmp && DEBIAN_FRONTEND=noninteractive apt-get install -y -q ./${deb##*/}" \
    >"$root/tmp/apt.log" 2>&1 || { tail -20 "$root/tmp/apt.log" >&2; fail "apt-get install"; }

# An ordinary user, on a home folder of its own.
as_user() {
    chroot --userspec=65534:65534 "$root" env -i PATH=/usr/bin:/bin LANG=C.UTF-8 \
        XDG_RUNTIME_DIR="$home" QT_QPA_PLATFORM=offscreen "$@"
}
home=$(in_root mktemp -d)
in_root chown nobody:nogroup "$home"
version=$(dpkg-deb -f "$deb" Version)
as_user aduplan-cli --version | grep -qx "aduplan-cli ${version%-*}" || fail "aduplan-cli --version"
as_user aduplan --version | grep -qx "Aduplan ${version%-*}" || fail "aduplan --version"
as_user aduplan-cli --home "$home/aduplan" init --demo || fail "init --demo"
as_user aduplan-cli --home "$home/aduplan" process 1004 \
    "$home/aduplan/invoices/factura-brightwater-7802.doc" >"$root/tmp/process.out" ||
    fail "process of the demo invoice"
grep -qx 'total: 16' "$root/tmp/process.out" || fail "process: $(cat "$root/tmp/process.out")"
as_user aduplan-cli parse /tmp/brightwater-7802.doc.pdf >"$root/tmp/parse.out" ||
    fail "parse of a PDF invoice"
grep -q '^{"n":16,' "$root/tmp/parse.out" || fail "parse: $(cat "$root/tmp/parse.out")"
# The desktop program opens the home: it comes to hold its three databases open (a home it
# cannot open shows a message instead), and it is still running when timeout ends it with 124;
# anything else is a failure.
as_user timeout 20 aduplan --home "$home/aduplan" 2>"$root/tmp/aduplan.err" &
app=$!
open_databases() {
    in_root sh -c 'for fd in /proc/[0-9]*/fd/*; do readlink "$fd"; done' 2>/dev/null | sort -u |
        grep -c -x -e "$home/aduplan/db/planimport.db" -e "$home/aduplan/declaration.db" \
            -e "$home/aduplan/nomenclator.db" || true
}
for _ in $(seq 18); do
    [ "$(open_databases)" -eq 3 ] && break
    sleep 1
done
databases=$(open_databases)
status=0
wait $app || status=$?
[ "$databases" -eq 3 ] ||
    fail "aduplan opened $databases of its 3 databases: $(cat "$root/tmp/aduplan.err")"
[ "$status" -eq 124 ] || fail "aduplan ended with $status: $(cat "$root/tmp/aduplan.err")"

echo "check-install: $(basename "$deb") installs and runs on a fresh Debian 12" \
    "($(($(date +%s) - start)) s)"
