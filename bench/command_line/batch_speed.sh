#!/usr/bin/env bash
# SPDX-License-Identifier: MIT
# Speed and peak memory of the command line over many persons and codes:
# --batch over generated persons (from a file and through a pipe), --check -
# over their codes, and, for comparison, one process per person as scripts
# had to do before --batch.
# Each run is repeated and the median is reported. Measure on a quiet
# machine: the load average is printed first.
#
# Usage: bench/command_line/batch_speed.sh [EXECUTABLE] [PERSONS] [RUNS]
#   defaults: build/command_line/codicefiscale, 1000000, 5
set -euo pipefail
cd "$(dirname "$0")/../.."
program=$(realpath "${1:-build/command_line/codicefiscale}")
persons=${2:-1000000}
runs=${3:-5}
single_runs=1000
[ -x "$program" ] || { echo "no program at $program" >&2; exit 2; }

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

echo "load average: $(cut -d' ' -f1-3 /proc/loadavg)"

# Persons of many names, dates and places, with accents, apostrophes, a
# quoted field with a comma and a few that are refused.
python3 - "$persons" "$work/persons.csv" <<'PY'
import random, sys
count, path = int(sys.argv[1]), sys.argv[2]
random.seed(15)
surnames = ["ROSSI", "Bianchi", "DE LUCA", "D'ANGELO", "Esposito", "RUSSO", "FERRARI", "ROMANO",
            "COLOMBO", "Ricci", "MARINO", "GRECO", "BRUNO", "GALLO", "CONTI", "MÜLLER", '"RE, DEL"']
names = ["MARIO", "Lucia", "ANNA MARIA", "GIANCARLO", "NICOLÒ", "GIUSEPPE", "FRANCESCA", "LUCA",
         "CHIARA", "PAOLO"]
places = ["ROMA", "MILANO", "Napoli", "TORINO", "PALERMO", "GENOVA", "BOLOGNA", "FIRENZE", "BARI",
          "CATANIA", "VENEZIA", "VERONA", "Forlì", "SAN REMO", "FRANCIA", "BOLZANO", "PADOVA",
          "TRIESTE", "SAN TEODORO (SS)", "NOWHERE"]
with open(path, "w", encoding="utf-8") as out:
    out.write("COGNOME,NOME,DATA,SESSO,LUOGO\n")
    for _ in range(count):
        date = f"{random.randint(1, 28)}/{random.randint(1, 12)}/{random.randint(1935, 2020)}"
        out.write(f"{random.choice(surnames)},{random.choice(names)},{date},"
                  f"{random.choice('MFmf')},{random.choice(places)}\n")
PY

# Runs a command `runs` times; prints the median wall time, processor time
# (user + system: less hurt by other work on the machine) and peak memory.
measure() {
  local label=$1 input=$2
  shift 2
  local times=() cpus=() peaks=()
  for _ in $(seq "$runs"); do
    /usr/bin/time -o "$work/time" -f "%e %U %S %M" "$@" <"$input" >"$work/out" || true
    read -r seconds user system kilobytes < <(tail -1 "$work/time")
    times+=("$seconds")
    cpus+=("$(awk -v u="$user" -v s="$system" 'BEGIN { print u + s }')")
    peaks+=("$kilobytes")
  done
  median() { printf '%s\n' "$@" | sort -g | sed -n "$((($# + 1) / 2))p"; }
  printf '%-34s %6s s wall %6s s cpu %6d KiB peak  (wall: %s)\n' "$label" "$(median "${times[@]}")" \
    "$(median "${cpus[@]}")" "$(median "${peaks[@]}")" "${times[*]}"
}

measure "--batch, $persons persons" "$work/persons.csv" "$program" --batch
# As many codes as persons: those computed, taken again from the start.
"$program" --batch <"$work/persons.csv" | awk -F, 'length($(NF-1)) == 16 { print $(NF-1) }' >"$work/computed.txt" || true
head -n "$persons" <(cat "$work/computed.txt" "$work/computed.txt") >"$work/codes.txt"
measure "--check -, $(wc -l <"$work/codes.txt") codes" "$work/codes.txt" "$program" --check -
measure "--batch --json, $persons persons" "$work/persons.csv" "$program" --batch --json
# Through a pipe the input may run dry between reads, and the answers so far
# are flushed then: the cost of answering a co-process at once.
measure "--batch through a pipe" "$work/persons.csv" sh -c 'cat | "$0" --batch' "$program"

# A 10 MB line among the persons: refused, memory stays bounded.
{ head -1000 "$work/persons.csv"; head -c 10000000 /dev/zero | tr '\0' A; echo; } >"$work/long.csv"
measure "--batch with a 10 MB line" "$work/long.csv" "$program" --batch

# One process per person, as before --batch (no display: nothing is shown).
head -$((single_runs + 1)) "$work/persons.csv" | tail -n +2 | grep -v '"' >"$work/single.csv"
start=$(date +%s.%N)
while IFS= read -r person; do
  env -u DISPLAY -u WAYLAND_DISPLAY "$program" "$person" >/dev/null 2>&1 || true
done <"$work/single.csv"
end=$(date +%s.%N)
python3 - "$start" "$end" "$(wc -l <"$work/single.csv")" "$persons" <<'PY'
import sys
start, end, count, persons = float(sys.argv[1]), float(sys.argv[2]), int(sys.argv[3]), int(sys.argv[4])
each = (end - start) / count
print(f"one process per person: {each * 1000:.1f} ms each, {each * persons:.0f} s for {persons} persons")
PY
