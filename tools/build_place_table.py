#!/usr/bin/env python3
"""Builds resources/varnel.cod, the embedded table of places, from the two
public lists in shared/data.

Output: ASCII lines NAME,CODE,PROV ended by CR LF, followed by three NUL
bytes. Municipalities come first, then foreign states (province EE), each in
alphabetical order of name. Where a name occurs more than once, the row that
is still valid today comes first, so a first-match lookup finds the current
place.

Usage: build_place_table.py DATA_DIR OUTPUT_FILE
"""
import csv
import re
import sys
import unicodedata

VOWELS = "AEIOU"
ROW_PATTERN = re.compile(r"[A-Z][0-9]{3}")
PROVINCE_PATTERN = re.compile(r"[A-Z]{2}")
NAME_PATTERN = re.compile(r"[A-Z' ()\-.]+")


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
    becomes a row of its own."""
    return [part.strip() for part in re.split(r"[=/]", name) if part.strip()]


def read_rows(data_dir):
    """Yields (name, code, province, valid_today) for every source row."""
    with open(f"{data_dir}/places-anpr.tsv", encoding="utf-8", newline="") as f:
        for row in csv.DictReader(f, delimiter="\t"):
            valid = row["valid_to"] == "9999-12-31"
            for spelling in spellings(row["name"]):
                yield table_name(spelling), row["code"], row["province"], valid
    with open(f"{data_dir}/places-extra.tsv", encoding="utf-8", newline="") as f:
        for row in csv.DictReader(f, delimiter="\t"):
            valid = row["active"] == "1"
            for spelling in spellings(row["name"]):
                yield table_name(spelling), row["code"], row["province"], valid


def build(data_dir):
    rows = {}
    for name, code, province, valid in read_rows(data_dir):
        if not (NAME_PATTERN.fullmatch(name) and ROW_PATTERN.fullmatch(code)
                and PROVINCE_PATTERN.fullmatch(province)):
            raise ValueError(f"row out of format: {name!r},{code},{province}")
        key = (name, code, province)
        rows[key] = rows.get(key, False) or valid

    def order(item):
        (name, code, province), valid = item
        return (province == "EE", name, not valid, code, province)

    return [key for key, _ in sorted(rows.items(), key=order)]


def main():
    data_dir, output = sys.argv[1], sys.argv[2]
    rows = build(data_dir)
    text = "".join(f"{n},{c},{p}\r\n" for n, c, p in rows)
    with open(output, "wb") as f:
        f.write(text.encode("ascii") + b"\0\0\0")
    names = [n for n, _, _ in rows]
    codes = [c for _, c, _ in rows]
    print(f"{len(rows)} rows, "
          f"{len(names) - len(set(names))} repeated names, "
          f"{len(codes) - len(set(codes))} repeated codes")


if __name__ == "__main__":
    main()
