#!/bin/sh
# SPDX-License-Identifier: MIT
# The whole windowed program, driven like a user under a private Xvfb server:
# types the example person with real key events, generates the code, checks
# it on the clipboard, archives the person, finds them again in the archive
# window, opens the help pages and ends with "Esci", after which no work file
# may be left.
#
# Usage: windowed_program_test.sh PROGRAM SCREENSHOT_DIR
# Exit status: 0 passed, 1 failed, 77 skipped (Xvfb, xdotool or xclip missing).

set -u

program=$1
shots=$2
code=BNCLCU85L43H501J

for tool in Xvfb xdotool xclip; do
    if ! command -v "$tool" >/dev/null 2>&1; then
        echo "SKIP: $tool is not installed (apt-get install xvfb xdotool xclip)"
        exit 77
    fi
done

work=$(mktemp -d)
xvfb=
app=
watchdog=
cleanup() {
    [ -n "$app" ] && kill "$app" 2>/dev/null
    [ -n "$xvfb" ] && kill "$xvfb" 2>/dev/null
    [ -n "$watchdog" ] && kill "$watchdog" 2>/dev/null
    rm -rf "$work"
}
trap cleanup EXIT
trap 'exit 1' INT TERM

fail() {
    echo "FAIL: $*"
    screenshot failure
    [ -f "$work/program.log" ] && sed 's/^/program: /' "$work/program.log"
    exit 1
}

# Never hang: the whole run gets two minutes.
(sleep 120 >/dev/null 2>&1; echo "FAIL: time out"; kill -TERM $$) &
watchdog=$!

# wait_for SECONDS COMMAND...: polls COMMAND every 0.2 s until it succeeds.
wait_for() {
    limit=$(( $1 * 5 ))
    shift
    i=0
    while ! "$@" >/dev/null 2>&1; do
        i=$((i + 1))
        [ "$i" -ge "$limit" ] && return 1
        sleep 0.2
    done
    return 0
}

screenshot() {
    command -v import >/dev/null 2>&1 || return 0
    [ -n "${DISPLAY:-}" ] || return 0
    mkdir -p "$shots"
    import -window root -crop "${frame_width:-1024}x${frame_height:-768}+${frame_x:-0}+${frame_y:-0}" \
        "$shots/$1.png" 2>/dev/null
}

# --- A private X server, and a program copy whose directory takes the archive.
mkdir -p "$work/bin" "$work/runtime" "$work/home" "$work/stubs"
chmod 700 "$work/runtime"
cp "$program" "$work/bin/codicefiscale"
# The help pages open through xdg-open: record instead of starting a browser.
cat > "$work/stubs/xdg-open" <<EOF
#!/bin/sh
echo "\$1" >> "$work/opened"
EOF
chmod +x "$work/stubs/xdg-open"

Xvfb -displayfd 3 -screen 0 1024x768x24 -nolisten tcp 3>"$work/display" 2>"$work/xvfb.log" &
xvfb=$!
wait_for 15 test -s "$work/display" || { echo "SKIP: Xvfb did not start"; exit 77; }
DISPLAY=:$(cat "$work/display")
export DISPLAY

(
    cd "$work/bin" || exit 1
    HOME="$work/home" XDG_RUNTIME_DIR="$work/runtime" XDG_DATA_HOME="$work/home/data" \
        PATH="$work/stubs:$PATH" BROWSER=true QT_QPA_PLATFORM=xcb \
        exec ./codicefiscale >"$work/program.log" 2>&1
) &
app=$!

# The frame appears once the place list is loaded.
wait_for 30 xdotool search --onlyvisible --name '^Codice fiscale - Versione' ||
    fail "the frame window did not appear"
frame=$(xdotool search --onlyvisible --name '^Codice fiscale - Versione' | head -n 1)
eval "$(xdotool getwindowgeometry --shell "$frame" | sed 's/^/frame_/' | tr 'A-Z' 'a-z')"
[ -f "$work/runtime/codicefiscale/varnel.cod" ] || fail "varnel.cod was not written"
screenshot start

# Without a window manager the focus stays where a closed box left it.
focus_frame() { xdotool windowfocus "$frame" 2>/dev/null; sleep 0.2; }
# click X Y: a left click at a point of the frame's client area.
click() {
    xdotool mousemove --sync $((frame_x + $1)) $((frame_y + $2)) click 1
    sleep 0.3
}
# Toolbar buttons: 60 pixels wide from x 12, a 6-pixel gap before 3 and 5.
toolbar() {
    case $1 in
    Creazione) click 42 27 ;; Verifica) click 102 27 ;; Archivio) click 168 27 ;;
    Stampa) click 228 27 ;; Info) click 294 27 ;; Esci) click 354 27 ;;
    esac
}
box_window() { xdotool search --onlyvisible --name '^Codice fiscale$' | head -n 1; }
box_shown() { [ -n "$(box_window)" ]; }
# The box answered is gone (another may already have taken its place).
box_closed() { ! xdotool search --onlyvisible --name '^Codice fiscale$' | grep -qx "$box"; }
# answer_box KEY WHAT: waits for a message box, answers it with KEY, waits
# for it to close.
answer_box() {
    wait_for 10 box_shown || fail "no message box appeared ($2)"
    box=$(box_window)
    xdotool windowfocus "$box" 2>/dev/null
    sleep 0.2
    xdotool key --clearmodifiers "$1"
    wait_for 10 box_closed || fail "the message box did not close ($2)"
    focus_frame
}
clipboard_is() { [ "$(xclip -o -selection clipboard 2>/dev/null)" = "$1" ]; }
# check_copied_code WHAT: clicks the code label of the generation window and checks the
# clipboard.
check_copied_code() {
    printf 'vuoto' | xclip -selection clipboard >/dev/null 2>&1
    click 320 262
    answer_box Return "code copied"
    wait_for 5 clipboard_is "$code" ||
        fail "$1: clipboard holds '$(xclip -o -selection clipboard 2>/dev/null)', not $code"
}

# --- The Overview's person, typed into the focused boxes.
focus_frame
for field in BIANCHI LUCIA F 030785 ROMA; do
    xdotool type --delay 40 "$field"
    xdotool key Return
done
# Within a second the frame renames the button to "&Visualizza Codice Fiscale".
sleep 1.5
xdotool key --clearmodifiers alt+v
sleep 1
screenshot card

# --- The card's link brings the data back; the code is on the clipboard.
click 226 354
check_copied_code "generated code"
screenshot generated

# --- Archive the person: "Vuoi archiviare questi dati?" Yes, then the OK box.
xdotool key --clearmodifiers alt+a
answer_box Return "archive question"
answer_box Return "archived"
grep -q "\"BIANCHI\",\"LUCIA\",\"$code\",\"F\",\"03/07/85\",\"ROMA\",\"RM\"" "$work/bin/codarc.dat" ||
    fail "the person is not in codarc.dat"

# --- A new code empties the window; the archive window gives the person back.
xdotool key --clearmodifiers alt+n
sleep 0.5
toolbar Archivio
sleep 1
screenshot archive
click 84 151
xdotool key --clearmodifiers alt+c
sleep 1
check_copied_code "person loaded from the archive"

# --- The help pages, written to the work directory and opened.
toolbar Info
sleep 1
screenshot about
click 275 242
click 275 279
wait_for 10 test -f "$work/runtime/codicefiscale/codicefiscale.htm" || fail "the help pages were not written"
[ -f "$work/runtime/codicefiscale/varnel.htm" ] || fail "varnel.htm was not written"
wait_for 10 grep -q codicefiscale.htm "$work/opened" || fail "the help pages were not opened"
grep -q varnel.htm "$work/opened" || fail "varnel.htm was not opened"

# --- "Esci": the program ends and leaves no work file behind.
toolbar Esci
wait_for 10 sh -c "! kill -0 $app 2>/dev/null" || fail "the program did not end after Esci"
wait "$app"
status=$?
app=
[ "$status" -eq 0 ] || fail "exit status $status after Esci"
left=$(ls -A "$work/runtime/codicefiscale")
[ -z "$left" ] || fail "work files left: $left"
[ "$(ls -A "$work/runtime")" = codicefiscale ] || fail "files loose in the runtime directory: $(ls -A "$work/runtime")"

echo "PASS: generated, copied, archived, found in the archive and cleaned up"
exit 0
