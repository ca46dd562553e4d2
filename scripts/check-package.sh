#!/bin/sh
# SPDX-License-Identifier: Apache-2.0
# Builds the Debian package, unpacks it into a scratch root with dpkg -x and checks that every
# file is where the desktop entry and the manual pages say, that the desktop entry and the
# AppStream metadata are valid, that the manual pages render without warnings and carry the
# version, that the unpacked aduplan-cli writes the demo home, and that lintian finds no error
# and no warning. Run after ./scripts/test.sh (it reuses build/).
set -e
cd "$(dirname "$0")/.."
cmake -S . -B build
cmake --build build -j2 --target aduplan aduplan-cli aduplan_package_files
rm -f build/aduplan_*.deb
(cd build && cpack -G DEB)
version=$(sed -n 's/^project(Aduplan VERSION \([0-9.]*\).*/\1/p' CMakeLists.txt)
deb=$(echo "build/aduplan_${version}-"*_amd64.deb)
[ -f "$deb" ] || { echo "no package $deb" >&2; exit 1; }

root=$(mktemp -d)
trap 'rm -rf "$root"' EXIT
dpkg -x "$deb" "$root"
fail() { echo "check-package: $*" >&2; exit 1; }

desktop="$root/usr/share/applications/aduplan.desktop"
metainfo="$root/usr/share/metainfo/org.aduplan.Aduplan.metainfo.xml"
for file in usr/bin/aduplan usr/bin/aduplan-cli "${desktop#"$root"/}" "${metainfo#"$root"/}" \
    usr/share/icons/hicolor/scalable/apps/aduplan.svg usr/share/man/man1/aduplan.1.gz \
    usr/share/man/man1/aduplan-cli.1.gz usr/share/doc/aduplan/copyright \
    usr/share/doc/aduplan/changelog.Debian.gz usr/lib/x86_64-linux-gnu/aduplan/libaduplan-pdf.so; do
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

# The manual pages render without warnings and carry the version.
for page in "$root"/usr/share/man/man1/*.1.gz; do
    warnings=$(LC_ALL=C.UTF-8 man --warnings -l "$page" 2>&1 >/dev/null)
    [ -z "$warnings" ] || fail "manual page ${page##*/}: $warnings"
    zcat "$page" | grep -q "^\.TH .* \"Aduplan $version\"" || fail "${page##*/} lacks $version"
done
# The metadata software centres read is valid (its links, to the project's site, not fetched).
appstreamcli validate --no-net "$metainfo" || fail "AppStream metadata"
grep -q "<release version=\"$version\"" "$metainfo" || fail "the metadata lacks release $version"

# Dependencies were taken from the shared libraries, the PDF module's included, and the document
# libraries the programs open at run time are named.
depends=$(dpkg-deb -f "$deb" Depends)
for library in libqt6core6 libqt6widgets6 libgsf-1-114 libxlsxwriter4 libpoppler-cpp0v5; do
    echo "$depends" | grep -q "$library" || fail "Depends lacks $library: $depends"
done

# The unpacked command line runs and writes the demo home, whatever its folder.
home="$root/home"
"$root/usr/bin/aduplan-cli" --help | grep -q '^uso: aduplan-cli' || fail "no usage"
"$root/usr/bin/aduplan-cli" --home "$home" init --demo
[ -f "$home/invoices/factura-brightwater-7802.doc" ] || fail "init --demo wrote no invoices"
"$root/usr/bin/aduplan-cli" --home "$home" process 1004 "$home/invoices/factura-brightwater-7802.doc" |
    grep -q '^total: 16$' || fail "process on the demo home"
# It finds its PDF module where the package puts it.
"$root/usr/bin/aduplan-cli" parse tests/fixtures/word/converted/brightwater-7802.doc.pdf |
    grep -q '^{"n":16,' || fail "parse of a PDF"
# The package as Debian's own checks see it.
lintian --fail-on error,warning "$deb" || fail "lintian"
echo "check-package: $deb is good"
