#!/bin/sh
# SPDX-License-Identifier: MIT
# Checks the built package with Debian's own tools and against the sources:
# lintian (no error, no warning, hardened), the AppStream description
# (appstreamcli), the desktop entry (desktop-file-validate), the scalable icon
# (rsvg-convert), the manual page (every option of --help), and that the
# version, contacts and data licences agree wherever they are written.
# Usage: lint_package.sh SOURCE DEB_FOLDER
# Exit status: 0 passed, 1 failed, 77 skipped (a tool is missing).
set -u
source=$1
deb=$(ls "$2"/*.deb)

for tool in lintian appstreamcli desktop-file-validate rsvg-convert man; do
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
found=$(lintian --display-info --fail-on error,warning "$deb" 2>&1)
lintian_status=$?
found=$(echo "$found" | grep -v 'running with root privileges')
[ -z "$found" ] || echo "$found"
[ "$lintian_status" -eq 0 ] || fail "lintian finds errors or warnings"
echo "$found" | grep -q 'hardening-no-' && fail "the program is not fully hardened"
echo "lintian: $(echo "$found" | grep -c . ) tags (information only)"

unpacked=$(mktemp -d)
trap 'rm -rf "$unpacked"' EXIT
dpkg-deb -x "$deb" "$unpacked"

echo "== appstreamcli validate"
appstreamcli validate --no-net --pedantic "$unpacked"/usr/share/metainfo/*.metainfo.xml ||
    fail "the AppStream description does not validate"

echo "== desktop-file-validate"
desktop-file-validate "$unpacked/usr/share/applications/codicefiscale.desktop" ||
    fail "the desktop entry does not validate"
main=$(sed -n 's/^Categories=//p' "$unpacked/usr/share/applications/codicefiscale.desktop" |
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

echo "== manual page"
page="$unpacked/usr/share/man/man1/codicefiscale.1.gz"
warnings=$(LC_ALL=C.UTF-8 MANWIDTH=80 man --warnings -E UTF-8 -l -Tutf8 -Z "$page" 2>&1 >/dev/null)
[ -z "$warnings" ] || fail "the manual page gives warnings: $warnings"
text=$(MANWIDTH=200 man -l "$page" 2>/dev/null)
for option in $("$unpacked/usr/bin/codicefiscale" --help | grep -oE -- '--[a-z][a-z-]*' | sort -u); do
    echo "$text" | grep -q -- "$option" || fail "the manual page does not tell $option"
done
for status in 0 1 2; do
    echo "$text" | sed -n '/^EXIT STATUS/,/^[A-Z]/p' | grep -qE "^ +$status( |$)" ||
        fail "the manual page does not tell exit status $status"
done
echo "every option of --help and every exit status"

echo "== the same facts everywhere"
version=$(dpkg-deb -f "$deb" Version)
[ "$(dpkg-parsechangelog -l "$source/packaging/changelog" -S Version)" = "$version" ] ||
    fail "packaging/changelog does not begin with version $version"
grep -q "<release version=\"$version\"" "$source"/resources/*.metainfo.xml ||
    fail "the AppStream description has no release $version"
email=$(sed -n 's/.*kContactEmail\[\] = "\([^"]*\)".*/\1/p' "$source/windows/frame/about.h")
website=$(sed -n 's/.*kContactWebsite\[\] = "\([^"]*\)".*/\1/p' "$source/windows/frame/about.h")
dpkg-deb -f "$deb" Maintainer | grep -qF "<$email>" || fail "the maintainer is not $email"
[ "$(dpkg-deb -f "$deb" Homepage)" = "$website" ] || fail "the homepage is not $website"
for written in "$source/packaging/copyright" "$source"/resources/*.metainfo.xml; do
    grep -qF "$website" "$written" || fail "$written does not give $website"
done
# Each licence of the place data, as NOTICE-DATA.md names it, in the copyright file.
for licence in $(grep -oE 'CC BY(-SA)? [0-9.]+( IT)?' "$source/NOTICE-DATA.md" | sort -u | tr ' ' '-'); do
    grep -q "^License: .*$licence" "$source/packaging/copyright" ||
        fail "packaging/copyright does not give the data licence $licence"
done
echo "version $version, $email, $website, data licences"

[ "$failed" -eq 0 ] || exit 1
echo "PASS: lintian, appstreamcli and desktop-file-validate find nothing; the package agrees with its sources"
