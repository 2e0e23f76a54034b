#!/bin/sh
# SPDX-License-Identifier: MIT
# Installs the built package on this machine, runs the installed program as
# root and as a throwaway user made for the test, checks where its work
# files and archive go and with which permissions, ends it with a signal,
# then removes and purges the package and checks what is left.
# Usage: install_package_test.sh DEB_FOLDER
# Exit status: 0 passed, 1 failed, 77 skipped (no right to install
# packages, or the package is already installed here).
set -u
deb=$(ls "$1"/codicefiscale_*.deb)
program=/usr/bin/codicefiscale
code=BNCLCU85L43H501J

if [ "$(id -u)" -eq 0 ]; then
    as_root=
elif sudo -n true 2>/dev/null; then
    as_root="sudo -n"
else
    echo "SKIP: installing a package needs root or passwordless sudo"
    exit 77
fi
if dpkg-query -W -f '${Status}' codicefiscale 2>/dev/null | grep -q 'ok installed'; then
    echo "SKIP: a codicefiscale package is already installed here, and this test would replace it"
    echo "      (dpkg --purge codicefiscale lets it run)"
    exit 77
fi

work=$(mktemp -d)
chmod 755 "$work"
user=cfprova$$
installed=
made_user=
cleanup() {
    [ -n "$installed" ] && $as_root dpkg --purge codicefiscale >/dev/null 2>&1
    [ -n "$made_user" ] && $as_root userdel --remove "$user" 2>/dev/null
    $as_root rm -f /usr/bin/.codarc.dat.cf-tmp-Ab12Cd
    $as_root rm -rf "$work"
}
trap cleanup EXIT
trap 'exit 1' INT TERM

failed=0
fail() {
    echo "FAIL: $*"
    failed=1
}
pass() {
    echo "ok: $*"
}

# mode PATH: the permission bits of PATH, as 700.
mode() {
    $as_root stat -c %a "$1"
}

# run_windowed WHO WORK_FILES_FOLDER ENV...: starts the installed program's
# windows without a screen as WHO (root or the test user), waits for its
# place file, ends it with SIGTERM and checks that its work files went.
run_windowed() {
    who=$1
    folder=$2
    shift 2
    if [ "$who" = root ]; then
        $as_root env -i PATH=/usr/bin:/bin QT_QPA_PLATFORM=offscreen "$@" "$program" >"$work/$who.log" 2>&1 &
    else
        $as_root setpriv --reuid="$user" --regid="$user" --init-groups \
            env -i PATH=/usr/bin:/bin QT_QPA_PLATFORM=offscreen "$@" "$program" >"$work/$who.log" 2>&1 &
    fi
    pid=$!
    i=0
    while ! $as_root test -f "$folder/varnel.cod"; do
        i=$((i + 1))
        if [ "$i" -gt 100 ]; then
            fail "$who: the windows did not start ($(cat "$work/$who.log"))"
            $as_root kill -KILL "$pid" 2>/dev/null
            return
        fi
        sleep 0.1
    done
    pass "$who: work files in $folder ($(mode "$folder"), varnel.cod $(mode "$folder/varnel.cod"))"
    [ "$(mode "$folder")" = 700 ] || fail "$who: the work folder is open to others"
    sleep 0.5
    $as_root kill -TERM "$pid"
    wait "$pid"
    status=$?
    [ "$status" -eq 0 ] || fail "$who: exit status $status after SIGTERM"
    left=$($as_root ls -A "$folder")
    [ -z "$left" ] || fail "$who: work files left after SIGTERM: $left"
    pass "$who: ended by SIGTERM with status $status, no work file left"
}

# run_commands WHO RUNNER...: the command line of the installed program.
run_commands() {
    who=$1
    shift
    version=$("$@" "$program" --version)
    [ "$version" = "codicefiscale $(dpkg-deb -f "$deb" Version)" ] || fail "$who: --version gives '$version'"
    computed=$("$@" "$program" BIANCHI,LUCIA,3/7/85,F,ROMA)
    [ "$computed" = "$code" ] || fail "$who: the code is '$computed'"
    checked=$("$@" "$program" --check "$code" | head -n 1)
    [ "$checked" = "Codice Fiscale formalmente corretto" ] || fail "$who: --check gives '$checked'"
    pass "$who: $version; computes $computed; --check: $checked"
}

echo "== install $(basename "$deb")"
# dpkg alone when the dependencies are there (a built machine has them);
# else apt-get brings them.
if ! $as_root dpkg -i "$deb" >"$work/install.log" 2>&1 &&
    ! $as_root env DEBIAN_FRONTEND=noninteractive apt-get install -f -y -q --no-install-recommends \
        >>"$work/install.log" 2>&1; then
    cat "$work/install.log"
    $as_root dpkg --purge codicefiscale >/dev/null 2>&1
    echo "FAIL: the package does not install"
    exit 1
fi
installed=yes
dpkg-deb -c "$deb" | awk '$1 !~ /^d/ { sub(/^\./, "", $6); print $6 }' >"$work/files"
pass "installed $(wc -l <"$work/files") files; manual page $(man -w codicefiscale 2>/dev/null)"
[ "$(man -w codicefiscale 2>/dev/null)" = /usr/share/man/man1/codicefiscale.1.gz ] || fail "man finds no page"
# Under an Italian locale (-L, as man-db takes it from LC_MESSAGES or LANG)
# man shows the Italian page.
italian=$(LC_ALL=C.UTF-8 man -L it_IT.UTF-8 -w codicefiscale 2>/dev/null)
[ "$italian" = /usr/share/man/it/man1/codicefiscale.1.gz ] || fail "under an Italian locale man finds '$italian'"
LC_ALL=C.UTF-8 MANWIDTH=80 man -L it_IT.UTF-8 codicefiscale 2>/dev/null | grep -q '^STATO DI USCITA' ||
    fail "man does not show the Italian page under an Italian locale"
pass "Italian manual page $italian"

echo "== root"
run_commands root $as_root env -i PATH=/usr/bin:/bin
# Root may write /usr/bin, yet the archive goes to its data folder: the
# start clears what a killed delete left beside the archive, there only.
home="$work/root-home"
$as_root mkdir -p "$work/tmp"
$as_root mkdir -p -m 700 "$home/.local/share/codicefiscale"
$as_root touch "$home/.local/share/codicefiscale/.codarc.dat.cf-tmp-Ab12Cd" /usr/bin/.codarc.dat.cf-tmp-Ab12Cd
run_windowed root "$work/tmp/codicefiscale-0" HOME="$home" TMPDIR="$work/tmp"
$as_root test -e "$home/.local/share/codicefiscale/.codarc.dat.cf-tmp-Ab12Cd" &&
    fail "root: the archive is not kept in $home/.local/share/codicefiscale"
$as_root test -e /usr/bin/.codarc.dat.cf-tmp-Ab12Cd || fail "root: the program cleared /usr/bin as its archive folder"
$as_root test -e /usr/bin/codarc.dat && fail "root: an archive was written to /usr/bin"
pass "root: archive folder $home/.local/share/codicefiscale, nothing written to /usr/bin"

echo "== a normal user"
if ! $as_root useradd --home-dir "$work/$user" --create-home --shell /usr/sbin/nologin --user-group "$user"; then
    echo "FAIL: cannot make a user for the test"
    exit 1
fi
made_user=yes
home="$work/$user"
runtime="$work/runtime-$user"
$as_root mkdir -m 700 "$runtime"
$as_root chown "$user:$user" "$runtime"
run_commands "$user" $as_root setpriv --reuid="$user" --regid="$user" --init-groups env -i PATH=/usr/bin:/bin HOME="$home"
run_windowed "$user" "$runtime/codicefiscale" HOME="$home" XDG_RUNTIME_DIR="$runtime"
for folder in "$home/.local" "$home/.local/share" "$home/.local/share/codicefiscale"; do
    [ "$(mode "$folder")" = 700 ] || fail "$user: $folder is $(mode "$folder"), not 700"
done
pass "$user: archive folder $home/.local/share/codicefiscale, made 700 with the folders above it"

echo "== remove and purge"
$as_root dpkg --remove codicefiscale >"$work/remove.log" 2>&1 ||
    { cat "$work/remove.log"; fail "the package does not remove"; }
[ -e "$program" ] && fail "$program is still there after removal"
$as_root dpkg --purge codicefiscale >"$work/remove.log" 2>&1 ||
    { cat "$work/remove.log"; fail "the package does not purge"; }
installed=
dpkg-query -W -f '${Status}' codicefiscale 2>/dev/null | grep -q 'ok installed' && fail "still installed"
while read -r file; do
    [ -e "$file" ] && fail "left after purge: $file"
done <"$work/files"
[ -d /usr/share/doc/codicefiscale ] && fail "left after purge: /usr/share/doc/codicefiscale"
pass "removed and purged: none of the package's files is left; only the users' own data folders stay" \
    "($($as_root find "$home/.local/share/codicefiscale" -maxdepth 0 2>/dev/null))"

[ "$failed" -eq 0 ] || exit 1
echo "PASS: installed, run as root and as $user, ended by SIGTERM, removed and purged"
