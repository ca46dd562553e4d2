#!/bin/sh
# Builds the Debian package, unpacks it into a scratch root with dpkg -x and checks that every
# file is where the desktop entry and the manual page say, that the desktop entry is valid,
# that the manual page renders without warnings and that the unpacked aduplan-cli writes the
# demo home. Run after ./scripts/test.sh (it reuses build/).
set -e
cd "$(dirname "$0")/.."
cmake -S . -B build
cmake --build build -j2 --target aduplan aduplan-cli aduplan_man_page
rm -f build/aduplan_*.deb
(cd build && cpack -G DEB)
version=$(sed -n 's/^project(Aduplan VERSION \([0-9.]*\).*/\1/p' CMakeLists.txt)
deb="build/aduplan_${version}_amd64.deb"
[ -f "$deb" ] || { echo "no package $deb" >&2; exit 1; }

root=$(mktemp -d)
trap 'rm -rf "$root"' EXIT
dpkg -x "$deb" "$root"
fail() { echo "check-package: $*" >&2; exit 1; }

desktop="$root/usr/share/applications/aduplan.desktop"
for file in usr/bin/aduplan usr/bin/aduplan-cli "${desktop#"$root"/}" \
    usr/share/icons/hicolor/scalable/apps/aduplan.svg usr/share/man/man1/aduplan-cli.1.gz; do
    [ -f "$root/$file" ] || fail "missing /$file"
done
desktop-file-validate "$desktop"
# The entry starts a program of the package, by the icon of the package.
exec_name=$(sed -n 's/^Exec=\([^ ]*\).*/\1/p' "$desktop")
icon_name=$(sed -n 's/^Icon=//p' "$desktop")
[ -x "$root/usr/bin/$exec_name" ] || fail "Exec=$exec_name is not in /usr/bin"
[ -f "$root/usr/share/icons/hicolor/scalable/apps/$icon_name.svg" ] || fail "no icon $icon_name"
grep -q '^Categories=.*Office;' "$desktop" || fail "the entry is not in the Office menu"
# The program the entry starts loads its libraries and answers.
QT_QPA_PLATFORM=offscreen "$root/usr/bin/$exec_name" --help >/dev/null || fail "$exec_name does not start"

# The manual page renders without warnings and tells the command the package installs.
warnings=$(LC_ALL=C.UTF-8 man --warnings -l "$root/usr/share/man/man1/aduplan-cli.1.gz" 2>&1 >/dev/null)
[ -z "$warnings" ] || fail "manual page: $warnings"

# Dependencies were taken from the shared libraries.
depends=$(dpkg-deb -f "$deb" Depends)
for library in libqt6core6 libqt6widgets6 libgsf-1-114; do
    echo "$depends" | grep -q "$library" || fail "Depends lacks $library: $depends"
done

# The unpacked command line runs and writes the demo home, whatever its folder.
home="$root/home"
"$root/usr/bin/aduplan-cli" --help | grep -q '^uso: aduplan-cli' || fail "no usage"
"$root/usr/bin/aduplan-cli" --home "$home" init --demo
[ -f "$home/invoices/factura-brightwater-7802.doc" ] || fail "init --demo wrote no invoices"
"$root/usr/bin/aduplan-cli" --home "$home" process 1004 "$home/invoices/factura-brightwater-7802.doc" |
    grep -q '^total: 16$' || fail "process on the demo home"
echo "check-package: $deb is good"
