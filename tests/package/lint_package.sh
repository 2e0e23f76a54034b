#!/bin/sh
# SPDX-License-Identifier: MIT
# Checks the built package and its debug symbols package with Debian's own
# tools and against the sources: lintian --pedantic (nothing but remarks for
# information, hardened), no font compiled into the program, the debug
# symbols of this very program, the AppStream description and the desktop
# entry (appstreamcli, desktop-file-validate), the scalable icon
# (rsvg-convert), the English and Italian manual pages (no warning, every
# option of --help, every exit status), and that the version, contacts and
# data licences agree wherever they are written.
# Usage: lint_package.sh SOURCE DEB_FOLDER
# Exit status: 0 passed, 1 failed, 77 skipped (a tool is missing).
set -u
source=$1
deb=$(ls "$2"/codicefiscale_*.deb)
dbgsym=$(ls "$2"/codicefiscale-dbgsym_*.deb)

for tool in lintian appstreamcli desktop-file-validate rsvg-convert man strings readelf; do
    if ! command -v "$tool" >/dev/null 2>&1; then
        echo "SKIP: $tool is not installed (scripts/debian-packages.txt lists it)"
        exit 77
    fi
done

failed=0
fail() {
    echo "FAIL: $*"
    failed=1
}

echo "== lintian $(lintian --version | sed 's/^Lintian v//')"
found=$(lintian --pedantic --display-info --fail-on error,warning,pedantic "$deb" "$dbgsym" 2>&1)
lintian_status=$?
found=$(echo "$found" | grep -v 'running with root privileges')
[ -z "$found" ] || echo "$found"
[ "$lintian_status" -eq 0 ] || fail "lintian --pedantic finds errors, warnings or pedantic remarks"
echo "$found" | grep -q 'hardening-no-' && fail "the program is not fully hardened"
echo "lintian: $(echo "$found" | grep -c . ) tags (information only)"

unpacked=$(mktemp -d)
trap 'rm -rf "$unpacked"' EXIT
dpkg-deb -x "$deb" "$unpacked"
program="$unpacked/usr/bin/codicefiscale"

echo "== the program"
# A font compiled in shows its name table: copyright, trademark and
# PostScript names. The windows use the system's Liberation Sans.
font=$(strings -n 12 "$program" | grep -E 'Digitized data copyright|is a trademark of|LiberationSans-(Regular|Bold)')
[ -z "$font" ] || fail "a font is compiled into the program: $font"
dpkg-deb -f "$deb" Depends | grep -q 'fonts-liberation2' || fail "the package does not depend on fonts-liberation2"
build_id=$(readelf -n "$program" | sed -n 's/.*Build ID: \([0-9a-f]*\)/\1/p')
debug_file=usr/lib/debug/.build-id/$(echo "$build_id" | cut -c1-2)/$(echo "$build_id" | cut -c3-).debug
dpkg-deb -c "$dbgsym" | grep " \./$debug_file\$" >/dev/null || fail "$(basename "$dbgsym") has no /$debug_file"
echo "no font inside; debug symbols in $(basename "$dbgsym") (build id $build_id)"

echo "== appstreamcli validate"
appstreamcli validate-tree --no-net --pedantic "$unpacked" ||
    fail "the AppStream description or the desktop entry does not validate"

echo "== desktop-file-validate"
entry="$unpacked/usr/share/applications/$(sed -n 's:.*<id>\(.*\)</id>.*:\1:p' "$unpacked"/usr/share/metainfo/*.metainfo.xml).desktop"
desktop-file-validate "$entry" || fail "the desktop entry does not validate (or is not named after the AppStream id)"
main=$(sed -n 's/^Categories=//p' "$entry" |
    tr ';' '\n' | grep -cxE 'AudioVideo|Audio|Video|Development|Education|Game|Graphics|Network|Office|Science|Settings|System|Utility')
[ "$main" -eq 1 ] || fail "the desktop entry has $main main categories, not one"
echo "one main category"

echo "== icons"
for size in 16 22 24 32 48 64 128 256; do
    icon="$unpacked/usr/share/icons/hicolor/${size}x${size}/apps/codicefiscale.png"
    [ "$(file -b "$icon" | sed -n 's/.*, \([0-9]*\) x \([0-9]*\),.*/\1x\2/p')" = "${size}x${size}" ] ||
        fail "no ${size}x${size} icon"
done
rsvg-convert -w 64 -h 64 "$unpacked/usr/share/icons/hicolor/scalable/apps/codicefiscale.svg" -o "$unpacked/svg.png" ||
    fail "the scalable icon does not render"
echo "16 to 256 pixels and scalable"

echo "== manual pages"
# check_manual_page PAGE EXIT_STATUS_HEADING: rendered without a warning,
# it tells every option of --help and every exit status.
check_manual_page() {
    page="$unpacked/usr/share/man/$1"
    warnings=$(LC_ALL=C.UTF-8 MANWIDTH=80 man --warnings -E UTF-8 -l -Tutf8 -Z "$page" 2>&1 >/dev/null)
    [ -z "$warnings" ] || fail "$1 gives warnings: $warnings"
    text=$(LC_ALL=C.UTF-8 MANWIDTH=200 man -l "$page" 2>/dev/null)
    for option in $("$program" --help | grep -oE -- '--[a-z][a-z-]*' | sort -u); do
        echo "$text" | grep -q -- "$option" || fail "$1 does not tell $option"
    done
    for status in 0 1 2; do
        echo "$text" | sed -n "/^$2/,/^[A-Z]/p" | grep -qE "^ +$status( |$)" ||
            fail "$1 does not tell exit status $status"
    done
    echo "$1: $(echo "$text" | wc -l) lines, every option of --help and every exit status"
}
check_manual_page man1/codicefiscale.1.gz "EXIT STATUS"
check_manual_page it/man1/codicefiscale.1.gz "STATO DI USCITA"

echo "== the same facts everywhere"
version=$(dpkg-deb -f "$deb" Version)
[ "$(dpkg-parsechangelog -l "$source/packaging/changelog" -S Version)" = "$version" ] ||
    fail "packaging/changelog does not begin with version $version"
grep -q "<release version=\"$version\"" "$unpacked"/usr/share/metainfo/*.metainfo.xml ||
    fail "the AppStream description has no release $version"
email=$(sed -n 's/.*kContactEmail\[\] = "\([^"]*\)".*/\1/p' "$source/windows/frame/about.h")
website=$(sed -n 's/.*kContactWebsite\[\] = "\([^"]*\)".*/\1/p' "$source/windows/frame/about.h")
dpkg-deb -f "$deb" Maintainer | grep -qF "<$email>" || fail "the maintainer is not $email"
[ "$(dpkg-deb -f "$deb" Homepage)" = "$website" ] || fail "the homepage is not $website"
for written in "$source/packaging/copyright" "$unpacked"/usr/share/metainfo/*.metainfo.xml; do
    grep -qF "$website" "$written" || fail "$written does not give $website"
done
# Each licence of the place data, as NOTICE-DATA.md names it, in the copyright file.
for licence in $(grep -oE 'CC BY(-SA)? [0-9.]+( IT)?' "$source/NOTICE-DATA.md" | sort -u | tr ' ' '-'); do
    grep -q "^License: .*$licence" "$source/packaging/copyright" ||
        fail "packaging/copyright does not give the data licence $licence"
done
echo "version $version, $email, $website, data licences"

[ "$failed" -eq 0 ] || exit 1
echo "PASS: lintian --pedantic, appstreamcli and desktop-file-validate find nothing; no font inside; both manual pages render; the package agrees with its sources"
