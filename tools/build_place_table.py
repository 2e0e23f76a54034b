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
province stayed the same, and one for each foreign state (province EE) with
the days the list gives it; days as YYYYMMDD, 99991231 for a period still
open. The first name is the official one, the others are the
second-language name, the two halves of a bilingual name, the formal title
some second-language fields hold, and the plain spelling of a name whose
ASCII form spells its marks out (LÜSEN: LUESEN, also LUSEN). Ordered by
code, then first day.

Names are compared as the program compares them: an apostrophe after a
vowel at the end of a word does not count (FORLI' is FORLI, MALE' is MALE),
so a spelling is added only where it differs by more than that.

place_names.csv (for the tests) -- UTF-8 lines CODE,DAY,NAME: every name
and second-language name of the lists as written there, in its ASCII form,
with an apostrophe for a final accented vowel and without any accent, each
with a day on which its code bore it (YYYYMMDD; empty for places known
without dates). The program must find every one of them.

Usage: build_place_table.py DATA_DIR TABLE_FILE PERIODS_FILE [NAMES_FILE]
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


def plain_name(name):
    """Upper case, every accent dropped, no apostrophe added: the name as
    typed on a keyboard without accents (LÜSEN: LUSEN, VILLNÖß: VILLNOSS)."""
    text = "".join(base_letter(ch) for ch in name).replace("`", "'")
    return re.sub(" +", " ", text).strip()


def name_key(name):
    """What the program compares: the name without an apostrophe that
    follows a vowel at the end of a word."""
    return re.sub(r"(?<=[AEIOU])'(?![A-Z])", "", name)


def add_spellings(names, written):
    """Adds the plain spelling of each name as written, where the program
    would not find it through the names already there."""
    keys = {name_key(name) for name in names}
    for text in written:
        plain = plain_name(text)
        if plain and name_key(plain) not in keys:
            names.append(plain)
            keys.add(name_key(plain))


def spellings(name):
    """A source name may hold two spellings joined by '=' or '/': each one
    is a name of its own."""
    return [part.strip() for part in re.split(r"[=/]", name) if part.strip()]


def period_names(row):
    """The names of one municipality period, official name first.

    A bilingual official name joins the two languages with a hyphen
    (DOBERDO' DEL LAGO-DOBERDOB, other name DOBERDOB); some second-language
    fields hold the formal title instead (COMUNE DI X-OBCINA Y). Each half
    of such a name is a name too, and so is the formal title."""
    official = table_name(row["name_ascii"])
    other = table_name(row["other_name_ascii"])
    names = [official]
    title = re.fullmatch(r"COMUNE DI (.+)-OBCINA (.+)", other)
    if title and official == f"{title[1]}-{title[2]}":
        names += [title[1], title[2], other]
    elif other and official.endswith("-" + other):
        names += [official[: -len(other) - 1], other]
    elif other:
        names.append(other)
    add_spellings(names, [row["name"], row["other_name"]])
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
    """(code, first, last, province, names) of every period of a
    municipality or a foreign state."""
    periods = []
    with open(f"{data_dir}/places-municipalities.tsv", encoding="utf-8", newline="") as f:
        for row in csv.DictReader(f, delimiter="\t"):
            names = period_names(row)
            for name in names:
                check(name, row["code"], row["province"])
            periods.append((row["code"], day(row["valid_from"]), day(row["valid_to"]),
                            row["province"], names))
    with open(f"{data_dir}/places-states.tsv", encoding="utf-8", newline="") as f:
        for row in csv.DictReader(f, delimiter="\t"):
            written = spellings(row["name"])
            names = [table_name(spelling) for spelling in written]
            add_spellings(names, written)
            for name in names:
                check(name, row["code"], "EE")
            periods.append((row["code"], day(row["valid_from"]), day(row["valid_to"]), "EE", names))
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


def typed_names(data_dir):
    """(name as typed, code, day) for every way of writing every name of the
    lists, a day of its latest period with that name ("" when undated)."""
    found = {}

    def add(written, ascii_form, code, first_day):
        for form in (written, ascii_form, table_name(written), plain_name(written)):
            if form:
                found[(form, code)] = first_day

    with open(f"{data_dir}/places-municipalities.tsv", encoding="utf-8", newline="") as f:
        for row in sorted(csv.DictReader(f, delimiter="\t"), key=lambda r: r["valid_from"]):
            for written, ascii_form in ((row["name"], row["name_ascii"]),
                                        (row["other_name"], row["other_name_ascii"])):
                if written:
                    add(written, ascii_form, row["code"], day(row["valid_from"]))
    with open(f"{data_dir}/places-states.tsv", encoding="utf-8", newline="") as f:
        for row in csv.DictReader(f, delimiter="\t"):
            for spelling in spellings(row["name"]):
                add(spelling, "", row["code"], day(row["valid_from"]))
    with open(f"{data_dir}/places-extra.tsv", encoding="utf-8", newline="") as f:
        for row in csv.DictReader(f, delimiter="\t"):
            for spelling in spellings(row["name"]):
                add(spelling, "", row["code"], "")
    return sorted((code, first_day, name) for (name, code), first_day in found.items())


def build(data_dir):
    periods = read_periods(data_dir)
    latest_province = {}
    for code, _, _, province, _ in periods:  # sorted by first day
        latest_province[code] = province

    rows = Rows()
    for code, _, last, _, names in periods:
        for name in names:
            rows.add(name, code, latest_province[code], last)
    # Codes found in neither list carry no dates: one in use counts as open,
    # one suppressed as ended before every dated period.
    with open(f"{data_dir}/places-extra.tsv", encoding="utf-8", newline="") as f:
        for row in csv.DictReader(f, delimiter="\t"):
            if row["code"] in latest_province:
                raise ValueError(f"extra code also in the dated lists: {row['code']}")
            last = OPEN_END if row["active"] == "1" else "00000000"
            for spelling in spellings(row["name"]):
                rows.add(table_name(spelling), row["code"], row["province"], last)
    return rows.ordered(), periods


def main():
    if len(sys.argv) not in (4, 5):
        sys.exit(__doc__)
    data_dir, table_file, periods_file = sys.argv[1:4]
    table, periods = build(data_dir)
    text = "".join(f"{n},{c},{p}\r\n" for n, c, p in table)
    with open(table_file, "wb") as f:
        f.write(text.encode("ascii") + b"\0\0\0")
    lines = ["# code,first day,last day,province,official name[,other names]\n"]
    lines += [f"{c},{first},{last},{p},{','.join(names)}\n" for c, first, last, p, names in periods]
    with open(periods_file, "wb") as f:
        f.write("".join(lines).encode("ascii"))

    if len(sys.argv) == 5:
        with open(sys.argv[4], "w", encoding="utf-8", newline="\n") as f:
            f.write("".join(f"{code},{first_day},{name}\n" for code, first_day, name in typed_names(data_dir)))

    names = [n for n, _, _ in table]
    codes = [c for _, c, _ in table]
    municipalities = sum(1 for _, _, p in table if p != "EE")
    print(f"{len(table)} rows ({municipalities} municipalities, {len(table) - municipalities} foreign), "
          f"{len(names) - len(set(names))} repeated names, "
          f"{len(codes) - len(set(codes))} repeated codes; {len(periods)} periods")


if __name__ == "__main__":
    main()
