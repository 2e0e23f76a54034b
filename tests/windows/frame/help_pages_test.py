#!/usr/bin/env python3
# SPDX-License-Identifier: MIT
"""The two help pages: well-formed self-contained HTML that states the facts
the program relies on, with the project's contacts as the about window shows
them.

Usage: help_pages_test.py <source directory>
"""

import re
import sys
import unittest
from html.parser import HTMLParser
from pathlib import Path

SOURCE = Path(sys.argv.pop(1) if len(sys.argv) > 1 else Path(__file__).resolve().parents[2])
VOID = {"area", "base", "br", "col", "embed", "hr", "img", "input", "link", "meta", "source", "track", "wbr"}
# Values of the characters in odd positions, as the engine computes them.
ODD_VALUES = dict(zip("0123456789ABCDEFGHIJKLMNOPQRSTUVWXYZ",
                      [1, 0, 5, 7, 9, 13, 15, 17, 19, 21] +
                      [1, 0, 5, 7, 9, 13, 15, 17, 19, 21, 2, 4, 18, 20, 11, 3, 6, 8, 12, 14, 16,
                       10, 22, 25, 24, 23]))


class Page(HTMLParser):
    """Checks that every element is closed in order and collects text and tables."""

    def __init__(self, text):
        super().__init__(convert_charrefs=True)
        self.errors = []
        self.stack = []
        self.ids = set()
        self.links = []
        self.tables = []
        self.doctype = None
        self.text_parts = []
        self._row = None
        self._cell = None
        self.feed(text)
        self.close()
        if self.stack:
            self.errors.append(f"not closed: {[tag for tag, _ in self.stack]}")
        self.text = re.sub(r"\s+", " ", "".join(self.text_parts))

    def handle_decl(self, decl):
        self.doctype = decl

    def handle_starttag(self, tag, attrs):
        attributes = dict(attrs)
        if "id" in attributes:
            if attributes["id"] in self.ids:
                self.errors.append(f"duplicate id {attributes['id']}")
            self.ids.add(attributes["id"])
        if tag == "a":
            self.links.append(attributes.get("href", ""))
        if tag == "table":
            self.tables.append([])
        elif tag == "tr":
            self._row = []
            self.tables[-1].append(self._row)
        elif tag in ("td", "th"):
            self._cell = []
        if tag not in VOID:
            self.stack.append((tag, self.getpos()))

    def handle_startendtag(self, tag, attrs):
        if tag not in VOID:
            self.errors.append(f"self-closed <{tag}/> at {self.getpos()}")

    def handle_endtag(self, tag):
        if tag in VOID:
            self.errors.append(f"end tag of void <{tag}> at {self.getpos()}")
            return
        if not self.stack or self.stack[-1][0] != tag:
            self.errors.append(f"</{tag}> at {self.getpos()} does not close {self.stack[-1:]}")
            return
        self.stack.pop()
        if tag in ("td", "th") and self._cell is not None:
            self._row.append(re.sub(r"\s+", " ", "".join(self._cell)).strip())
            self._cell = None

    def handle_data(self, data):
        if self._cell is not None:
            self._cell.append(data)
        if not any(tag in ("style", "script") for tag, _ in self.stack):
            self.text_parts.append(data)


def read_page(name):
    """The page as the program carries it, with the style sheet the pages
    share written in at its marker."""
    page = (SOURCE / "resources" / name).read_text(encoding="utf-8")
    sheet = (SOURCE / "resources" / "help.css").read_text(encoding="utf-8")
    assert page.count("/* help.css */\n") == 1
    return page.replace("/* help.css */\n", sheet)


def contacts():
    header = (SOURCE / "windows" / "frame" / "about.h").read_text(encoding="utf-8")
    email = re.search(r'kContactEmail\[\] = "([^"]+)"', header).group(1)
    website = re.search(r'kContactWebsite\[\] = "([^"]+)"', header).group(1)
    return email, website


def check_character(first15, odd, even):
    total = sum(odd[c] if i % 2 == 0 else even[c] for i, c in enumerate(first15))
    return chr(ord("A") + total % 26)


class BothPages(unittest.TestCase):
    def test_well_formed_and_self_contained(self):
        for name in ("varnel.htm", "codicefiscale.htm"):
            with self.subTest(page=name):
                source = read_page(name)
                page = Page(source)
                self.assertEqual(page.errors, [])
                self.assertEqual(page.doctype.lower(), "doctype html")
                self.assertIn('<html lang="it">', source)
                self.assertIn('<meta charset="utf-8">', source)
                self.assertRegex(source, r"<title>[^<]+</title>")
                # Nothing is fetched: no scripts, no external files, no network.
                for forbidden in ("<script", "<link", "<img", "<iframe", "src=", "@import", "url("):
                    self.assertNotIn(forbidden, source.lower())
                # Every in-page link leads to a section.
                for link in page.links:
                    if link.startswith("#"):
                        self.assertIn(link[1:], page.ids)

    def test_footer_gives_the_projects_contacts(self):
        email, website = contacts()
        for name in ("varnel.htm", "codicefiscale.htm"):
            with self.subTest(page=name):
                page = Page(read_page(name))
                self.assertIn("mailto:" + email, page.links)
                self.assertIn(website, page.links)
                self.assertEqual([l for l in page.links if not l.startswith("#")],
                                 ["mailto:" + email, website])


class CommandLinePage(unittest.TestCase):
    page = Page(read_page("varnel.htm"))

    def test_names_the_call_options_and_outputs(self):
        text = self.page.text
        for fact in ("codicefiscale COGNOME,NOME,GG/MM/AA,SESSO,LUOGO[,1]", "--check", "--help",
                     "--version", "standard output", "standard error", "appunti", "SAN REMO",
                     "SANREMO", "il più recente che non porti la data nel futuro",
                     "l'anno con quattro cifre", "subprocess", "cf=$(codicefiscale",
                     "Cognome: ", "Nome: ", "Data di nascita: ", "Sesso: ", "Luogo: ", "Provincia: "):
            self.assertIn(fact, text)

    def test_refusal_messages_in_their_order(self):
        messages = ["Il sesso è errato.", "La data non è in formato valido.",
                    "La città non è compresa nell'elenco o non è corretta.",
                    "Manca almeno un dato fondamentale"]
        table = next(t for t in self.page.tables if t and t[0][:2] == ["Ordine", "Messaggio"])
        self.assertEqual([row[1] for row in table[1:]], messages)
        self.assertEqual([row[0] for row in table[1:]], ["1", "2", "3", "4"])

    def test_toolbar_shortcuts(self):
        table = next(t for t in self.page.tables if t and t[0] == ["Tasti", "Pulsante", "Comando"])
        self.assertEqual([row[:2] for row in table[1:]],
                         [["Alt+1", "Creazione"], ["Alt+2", "Verifica"], ["Alt+3", "Archivio"],
                          ["Alt+4", "Stampa"], ["Alt+5", "Info"], ["Alt+6", "Esci"]])
        for fact in ("F10", "Tab", "Invio", "Esc"):
            self.assertIn(fact, self.page.text)

    def test_exit_statuses(self):
        table = next(t for t in self.page.tables if t and t[0] == ["Stato", "Significato"])
        self.assertEqual([row[0] for row in table[1:]], ["0", "1", "2", "128+N"])
        self.assertIn("calcolato", table[1][1])
        self.assertIn("rifiutati", table[2][1])
        self.assertIn("uso", table[3][1])
        self.assertIn("segnale", table[4][1])


class CodePage(unittest.TestCase):
    page = Page(read_page("codicefiscale.htm"))

    def table_starting(self, *heading):
        return [t for t in self.page.tables if t and tuple(t[0][:len(heading)]) == heading]

    def test_month_letters(self):
        table = self.table_starting("Mese", "Lettera")[0]
        months = {}
        for row in table[1:]:
            for month, letter in zip(row[0::2], row[1::2]):
                months[month] = letter
        order = ["gennaio", "febbraio", "marzo", "aprile", "maggio", "giugno", "luglio", "agosto",
                 "settembre", "ottobre", "novembre", "dicembre"]
        self.assertEqual("".join(months[m] for m in order), "ABCDEHLMPRST")

    def value_tables(self):
        odd, even = {}, {}
        for table in self.table_starting("Cifra", "Lettera") + self.table_starting("Lettera", "Dispari"):
            heading = table[0]
            for row in table[1:]:
                cells = dict(zip(heading, row))
                for key in ("Cifra", "Lettera"):
                    if cells.get(key):
                        odd[cells[key]] = int(cells["Dispari"])
                        even[cells[key]] = int(cells["Pari"])
        return odd, even

    def test_value_tables_give_the_check_characters_of_known_codes(self):
        odd, even = self.value_tables()
        self.assertEqual(odd, ODD_VALUES)
        self.assertEqual(len(even), 36)
        for code in ("BNCLCU85L43H501J", "VRDGCR70B10F205A", "DLCNMR00B69I138Z", "FOXIOX01A01Z110U",
                     "XXXYXX99T12A001O", "BNCLCU85L43H50MB", "BNCLCU85L43H5LMM"):
            self.assertEqual(check_character(code[:15], odd, even), code[15], code)

    def test_remainder_and_substitution_tables(self):
        remainders = {}
        for table in self.table_starting("Resto"):
            remainders.update(zip(table[0][1:], table[1][1:]))
        self.assertEqual(remainders, {str(n): chr(ord("A") + n) for n in range(26)})
        digits = self.table_starting("Cifra")
        substitution = next(t for t in digits if len(t) == 2)
        self.assertEqual("".join(substitution[1][1:]), "LMNPQRSTUV")

    def test_names_the_rules_and_examples(self):
        text = self.page.text
        for fact in ("BNCLCU85L43H501J", "12345678903", "BNC", "LCU", "NMR", "FOX", "omocodia",
                     "da destra verso sinistra", "40", "Z110", "H501", "Partita IVA"):
            self.assertIn(fact, text)


if __name__ == "__main__":
    unittest.main(verbosity=1)
