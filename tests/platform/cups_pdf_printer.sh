#!/bin/sh
# SPDX-License-Identifier: MIT
# Runs a command against a private CUPS server with these queues, whose
# backend keeps job N as OUT/job-N.pdf and its options as OUT/job-N.options:
#   CF_PDF        the default printer: a raw queue, which passes each job on
#                 exactly as the program sent it (PDF)
#   CF_WIDE       the Generic PDF driver file of cups-filters: the printable
#                 area of common office printers (18 36 577 806 pt on A4),
#                 jobs filtered to PDF behind a few PJL lines
#   CF_REJECTING  refuses jobs (cupsreject), with a reason
#   CF_STOPPED    stopped (cupsdisable), with a reason
# The command sees
#   CUPS_SERVER  the private server's socket
#   CF_CUPS_OUT  the directory OUT of the printed jobs
#   CF_CUPSD_PID the server's process, for tests that stop it (SIGSTOP) and
#                let it go on (SIGCONT)
# The server runs from a fresh directory and stops when the command ends.
# Exit status: the command's; 77 (skipped) when no CUPS server can start here.

set -u
if [ $# -eq 0 ]; then
    echo "usage: $0 COMMAND [ARGUMENT...]" >&2
    exit 2
fi

skip() {
    echo "SKIP: $*"
    exit 77
}

for tool in cupsd lpadmin lpstat; do
    command -v "$tool" >/dev/null 2>&1 || PATH="$PATH:/usr/sbin"
    command -v "$tool" >/dev/null 2>&1 || skip "$tool is not installed (Debian packages cups, cups-client)"
done
[ -d /usr/lib/cups/filter ] || skip "the CUPS filters are not installed"
wide_ppd=/usr/share/ppd/cupsfilters/Generic-PDF_Printer-PDF.ppd
[ -f "$wide_ppd" ] || skip "the Generic PDF driver file is not installed (Debian package cups-filters)"

dir=$(mktemp -d "${TMPDIR:-/tmp}/cf-cups.XXXXXX") || skip "no temporary directory"
chmod 755 "$dir"
mkdir -p "$dir/spool/tmp" "$dir/cache" "$dir/state" "$dir/log" "$dir/ppd" "$dir/out" \
         "$dir/bin/backend"
chmod 777 "$dir/out"

# The server's programs are the system's, plus the backend of the PDF queue.
for part in /usr/lib/cups/*; do
    [ "$(basename "$part")" = backend ] || ln -s "$part" "$dir/bin/"
done
cat >"$dir/bin/backend/cfpdf" <<'BACKEND'
#!/bin/sh
# cfpdf:DIRECTORY - writes job N to DIRECTORY/job-N.pdf, its options to
# DIRECTORY/job-N.options.
umask 022
[ $# -eq 0 ] && { echo 'file cfpdf "Unknown" "PDF files"'; exit 0; }
out="${DEVICE_URI#cfpdf:}/job-$1"
printf '%s\n' "$5" >"$out.options"
if [ $# -ge 6 ]; then cat "$6"; else cat; fi >"$out.part" && mv "$out.part" "$out.pdf"
BACKEND
chmod 755 "$dir/bin/backend/cfpdf"
socket="$dir/cups.sock"
pid=""

cleanup() {
    if [ -n "$pid" ]; then
        kill -CONT "$pid" 2>/dev/null
        kill "$pid" 2>/dev/null
        wait "$pid" 2>/dev/null
    fi
    rm -rf "$dir"
}
trap cleanup EXIT
trap 'exit 1' INT TERM

user=$(id -un)
group=$(id -gn)
if [ "$(id -u)" -eq 0 ]; then
    # Filters must not run as root; lp is the usual CUPS user.
    id lp >/dev/null 2>&1 && user=lp group=lp
fi

cat >"$dir/cups-files.conf" <<CONF
ServerRoot $dir
RequestRoot $dir/spool
TempDir $dir/spool/tmp
CacheDir $dir/cache
StateDir $dir/state
ErrorLog $dir/log/error_log
AccessLog $dir/log/access_log
PageLog $dir/log/page_log
ServerBin $dir/bin
DataDir /usr/share/cups
User $user
Group $group
SystemGroup $(id -gn)
CONF

cat >"$dir/cupsd.conf" <<CONF
Listen $socket
LogLevel warn
Browsing No
WebInterface No
DefaultAuthType None
<Location />
  Order allow,deny
  Allow all
</Location>
<Policy default>
  <Limit All>
    Order allow,deny
    Allow all
  </Limit>
</Policy>
CONF

cupsd -f -c "$dir/cupsd.conf" -s "$dir/cups-files.conf" >"$dir/log/cupsd.out" 2>&1 &
pid=$!

export CUPS_SERVER="$socket"
unset PRINTER LPDEST
started=no
for _ in $(seq 1 100); do
    if ! kill -0 "$pid" 2>/dev/null; then
        break
    fi
    if [ -S "$socket" ] && timeout 10 lpstat -r >/dev/null 2>&1; then
        started=yes
        break
    fi
    sleep 0.1
done
if [ "$started" != yes ]; then
    cat "$dir/log/cupsd.out" "$dir/log/error_log" 2>/dev/null | tail -5
    skip "cupsd cannot start here"
fi

export CF_CUPS_OUT="$dir/out"
export CF_CUPSD_PID="$pid"
admin() {
    timeout 20 "$@" >>"$dir/log/lpadmin.out" 2>&1
}
if ! admin lpadmin -p CF_PDF -E -v "cfpdf:$CF_CUPS_OUT" ||
   ! admin lpadmin -d CF_PDF ||
   ! admin lpadmin -p CF_WIDE -E -v "cfpdf:$CF_CUPS_OUT" -P "$wide_ppd" ||
   ! admin lpadmin -p CF_REJECTING -E -v "cfpdf:$CF_CUPS_OUT" ||
   ! admin cupsreject -r "Carta esaurita" CF_REJECTING ||
   ! admin lpadmin -p CF_STOPPED -E -v "cfpdf:$CF_CUPS_OUT" ||
   ! admin cupsdisable -r "Sportello aperto" CF_STOPPED; then
    cat "$dir/log/lpadmin.out"
    skip "cannot add the test queues to the private CUPS server"
fi

# The command gets a time limit, so that the server is always stopped and
# its directory removed, even when the command hangs.
timeout "${CF_CUPS_COMMAND_TIMEOUT:-240}" "$@"
