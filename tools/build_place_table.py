#!/usr/bin/env python3
# SPDX-License-Identifier: MIT
"""Builds the two embedded place files from the public lists in shared/data.

varnel.cod -- ASCII lines NAME,CODE,PROV ended by CR LF, then three NUL
bytes. One row for every distinct (name, code) over all periods and both
languages; municipalities first, then foreign states (province EE), each in
alphabetical order of name. PROV is the province of the code's latest
period. Among rows of one name: first the place that bears the name today,
then those that bore it until most recently, then by code, so that a
first-match lookup finds the likeliest place.

place_periods.txt -- ASCII lines CODE,FIRST,LAST,PROV,NAME[,NAME...] ended
by LF, one for each period of a municipality in which its names and its
province stayed the same; days as YYYYMMDD, 99991231 for a period still open.
The first name is the official one, the others are the second-language name
and the two halves of a bilingual name. Ordered by code, then first day.

Usage: build_place_table.py DATA_DIR TABLE_FILE PERIODS_FILE
"""
import csv
import re
import sys
import unicodedata

VOWELS = "AEIOU"
CODE_PATTERN = re.compile(r"[A-Z][0-9]{3}")
PROVINCE_PATTERN = re.compile(r"[A-Z]{2}")
NAME_PATTERN = re.compile(r"[A-Z' ()\-.]+")
OPEN_END = "99991231"


def base_letter(ch):
    """The unaccented upper-case form of one character."""
    special = {"Æ": "AE", "æ": "AE", "Ø": "O", "ø": "O", "ß": "SS"}
    if ch in special:
        return special[ch]
    decomposed = unicodedata.normalize("NFD", ch)
    return "".join(c for c in decomposed if not unicodedata.combining(c)).upper()


def table_name(name):
    """Upper case; an accented vowel ending a word becomes vowel + apostrophe,
    every other accent is dropped."""
    out = []
    for i, ch in enumerate(name):
        plain = base_letter(ch)
        accented = plain != ch.upper() and len(plain) == 1
        word_ends = i + 1 == len(name) or not name[i + 1].isalpha()
        out.append(plain)
        if accented and plain in VOWELS and word_ends:
            out.append("'")
    text = "".join(out).replace("`", "'")
    return re.sub(" +", " ", text).strip()


def spellings(name):
    """A source name may hold two spellings joined by '=' or '/': each one
    is a name of its own."""
    return [part.strip() for part in re.split(r"[=/]", name) if part.strip()]


def period_names(row):
    """The names of one municipality period, official name first.

    A bilingual official name joins the two languages with a hyphen
    (DOBERDO' DEL LAGO-DOBERDOB, other name DOBERDOB); some second-language
    fields hold the formal title instead (COMUNE DI X-OBCINA Y). Each half
    of such a name is a name too; the formal title is none."""
    official = table_name(row["name_ascii"])
    other = table_name(row["other_name_ascii"])
    names = [official]
    title = re.fullmatch(r"COMUNE DI (.+)-OBCINA (.+)", other)
    if title and official == f"{title[1]}-{title[2]}":
        names += [title[1], title[2]]
    elif other and official.endswith("-" + other):
        names += [official[: -len(other) - 1], other]
    elif other:
        names.append(other)
    return names


def day(iso):
    return iso.replace("-", "")


def check(name, code, province):
    if not (NAME_PATTERN.fullmatch(name) and CODE_PATTERN.fullmatch(code)
            and PROVINCE_PATTERN.fullmatch(province)):
        raise ValueError(f"row out of format: {name!r},{code},{province}")
    if (province == "EE") != code.startswith("Z"):
        raise ValueError(f"foreign state and province disagree: {name},{code},{province}")


def read_periods(data_dir):
    """(code, first, last, province, names) of every municipality period."""
    periods = []
    with open(f"{data_dir}/places-municipalities.tsv", encoding="utf-8", newline="") as f:
        for row in csv.DictReader(f, delimiter="\t"):
            names = period_names(row)
            for name in names:
                check(name, row["code"], row["province"])
            periods.append((row["code"], day(row["valid_from"]), day(row["valid_to"]),
                            row["province"], names))
    periods.sort(key=lambda p: (p[0], p[1]))
    return periods


class Rows:
    """The table rows, keyed by (name, code): the row's province and how
    long the code bore the name (its last day; OPEN_END for today)."""

    def __init__(self):
        self.rows = {}

    def add(self, name, code, province, last_day):
        check(name, code, province)
        key = (name, code)
        old = self.rows.get(key)
        if old is None or last_day > old[1]:
            self.rows[key] = (province, last_day)

    def ordered(self):
        def order(item):
            (name, code), (province, last_day) = item
            return (province == "EE", name, -int(last_day), code)
        return [(name, code, province)
                for (name, code), (province, _) in sorted(self.rows.items(), key=order)]


def build(data_dir):
    periods = read_periods(data_dir)
    latest_province = {}
    for code, _, _, province, _ in periods:  # sorted by first day
        latest_province[code] = province

    rows = Rows()
    for code, _, last, _, names in periods:
        for name in names:
            rows.add(name, code, latest_province[code], last)
    with open(f"{data_dir}/places-states.tsv", encoding="utf-8", newline="") as f:
        for row in csv.DictReader(f, delimiter="\t"):
            for spelling in spellings(row["name"]):
                rows.add(table_name(spelling), row["code"], "EE", day(row["valid_to"]))
    # Codes found in neither list carry no dates: one in use counts as open,
    # one suppressed as ended before every dated period.
    with open(f"{data_dir}/places-extra.tsv", encoding="utf-8", newline="") as f:
        for row in csv.DictReader(f, delimiter="\t"):
            if row["code"] in latest_province:
                raise ValueError(f"extra code also in the municipalities: {row['code']}")
            last = OPEN_END if row["active"] == "1" else "00000000"
            for spelling in spellings(row["name"]):
                rows.add(table_name(spelling), row["code"], row["province"], last)
    return rows.ordered(), periods


def main():
    data_dir, table_file, periods_file = sys.argv[1:4]
    table, periods = build(data_dir)
    text = "".join(f"{n},{c},{p}\r\n" for n, c, p in table)
    with open(table_file, "wb") as f:
        f.write(text.encode("ascii") + b"\0\0\0")
    lines = ["# code,first day,last day,province,official name[,other names]\n"]
    lines += [f"{c},{first},{last},{p},{','.join(names)}\n" for c, first, last, p, names in periods]
    with open(periods_file, "wb") as f:
        f.write("".join(lines).encode("ascii"))

    names = [n for n, _, _ in table]
    codes = [c for _, c, _ in table]
    municipalities = sum(1 for _, _, p in table if p != "EE")
    print(f"{len(table)} rows ({municipalities} municipalities, {len(table) - municipalities} foreign), "
          f"{len(names) - len(set(names))} repeated names, "
          f"{len(codes) - len(set(codes))} repeated codes; {len(periods)} periods")


if __name__ == "__main__":
    main()
