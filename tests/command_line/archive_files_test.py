#!/usr/bin/env python3
# SPDX-License-Identifier: MIT
# --esporta and --importa run as a script runs them: the program copied into
# a folder of its own keeps its archive beside itself; the exported CSV file
# is read back by Python's own csv reader, the sheet by its zip and XML
# readers, and a CSV file written by Python is imported.
import csv
import os
import shutil
import subprocess
import sys
import tempfile
import unittest
import xml.etree.ElementTree as ET
import zipfile

EXECUTABLE = sys.argv.pop(1)
TABLE_NS = "urn:oasis:names:tc:opendocument:xmlns:table:1.0"
TEXT_NS = "urn:oasis:names:tc:opendocument:xmlns:text:1.0"
HEADER = ["Cognome", "Nome", "Codice fiscale", "Sesso", "Data di nascita", "Luogo di nascita", "Provincia"]


class ArchiveFiles(unittest.TestCase):
    def setUp(self):
        self.folder = tempfile.mkdtemp()
        self.program = shutil.copy(EXECUTABLE, self.folder)
        self.archive = os.path.join(self.folder, "codarc.dat")
        with open(self.archive, "wb") as archive:
            archive.write('"VERDI","GIANCARLO","VRDGCR70B10F205A","M","10/02/70","MILANO","MI"\r\n'
                          '"D\'ARCO","NICOLÒ","DRCNCL90A01H501U","M","01/01/90","ROMA","RM"\r\n'.encode("cp1252"))

    def tearDown(self):
        shutil.rmtree(self.folder)

    def run_program(self, *arguments):
        env = dict(os.environ, QT_QPA_PLATFORM="offscreen", XDG_RUNTIME_DIR=self.folder)
        return subprocess.run([self.program, *arguments], capture_output=True, text=True, env=env, timeout=60)

    def test_export_read_back_by_independent_readers(self):
        persons = [["D'ARCO", "NICOLÒ", "DRCNCL90A01H501U", "M", "01/01/90", "ROMA", "RM"],
                   ["VERDI", "GIANCARLO", "VRDGCR70B10F205A", "M", "10/02/70", "MILANO", "MI"]]
        csv_file = os.path.join(self.folder, "archivio.csv")
        done = self.run_program("--esporta", csv_file)
        self.assertEqual((done.returncode, done.stdout, done.stderr),
                         (0, f"Esportate 2 persone in {csv_file}.\n", ""))
        with open(csv_file, newline="", encoding="utf-8") as exported:
            self.assertEqual(list(csv.reader(exported, strict=True)), [HEADER] + persons)

        sheet = os.path.join(self.folder, "archivio.ods")
        self.assertEqual(self.run_program("--esporta", sheet).returncode, 0)
        with zipfile.ZipFile(sheet) as zipped:
            self.assertEqual(zipped.namelist()[0], "mimetype")
            self.assertEqual(zipped.read("mimetype"), b"application/vnd.oasis.opendocument.spreadsheet")
            self.assertEqual(zipped.getinfo("mimetype").compress_type, zipfile.ZIP_STORED)
            content = ET.fromstring(zipped.read("content.xml"))
        rows = [["".join(p.itertext()) for p in row.iter(f"{{{TEXT_NS}}}p")]
                for row in content.iter(f"{{{TABLE_NS}}}table-row")]
        self.assertEqual(rows, [HEADER] + persons)

        # LibreOffice, where it is installed (not on CI), opens the sheet.
        soffice = shutil.which("soffice")
        if soffice:
            out = os.path.join(self.folder, "lo")
            subprocess.run([soffice, "--headless", f"-env:UserInstallation=file://{self.folder}/profile",
                            "--convert-to", "csv:Text - txt - csv (StarCalc):44,34,76", "--outdir", out, sheet],
                           capture_output=True, timeout=120, check=True)
            with open(os.path.join(out, "archivio.csv"), newline="", encoding="utf-8") as converted:
                self.assertEqual(list(csv.reader(converted)), [HEADER] + persons)

    def test_import_appends_the_good_rows_and_lists_the_others(self):
        source = os.path.join(self.folder, "nuovi.csv")
        with open(source, "w", newline="", encoding="utf-8") as table:
            writer = csv.writer(table)
            writer.writerow(HEADER)
            writer.writerow(["Bianchi", "Lucia", "", "F", "3/7/85", "Roma", ""])
            writer.writerow(["Rossi", "Mario", "", "M", "31/02/85", "Roma", ""])
            writer.writerow(["Bianchi", "Lucia", "BNCLCU85L43H501K", "F", "3/7/85", "Roma", ""])
        before = open(self.archive, "rb").read()
        done = self.run_program("--importa", source)
        self.assertEqual(done.returncode, 1)
        self.assertEqual(done.stdout, "Importate 1 persone nell'archivio; 2 righe scartate.\n")
        self.assertEqual(done.stderr.splitlines(),
                         ["codicefiscale: riga 3: La data non è in formato valido.",
                          "codicefiscale: riga 4: Codice Fiscale formalmente errato"])
        self.assertEqual(open(self.archive, "rb").read(),
                         before + b'"BIANCHI","LUCIA","BNCLCU85L43H501J","F","03/07/85","ROMA","RM"\r\n')

    def test_usage_and_unreadable_files(self):
        for arguments, status, message in (
                (["--importa"], 2, "codicefiscale: --importa vuole un argomento\n"),
                (["--importa", "persone.txt"], 2, "codicefiscale: Formato del file persone.txt non riconosciuto"),
                (["--importa", "manca.ods"], 2, "codicefiscale: Impossibile leggere manca.ods: file o cartella inesistente."),
                (["--esporta", "/nessuna/cartella.csv"], 2, "codicefiscale: Impossibile scrivere ")):
            with self.subTest(arguments=arguments):
                done = self.run_program(*arguments)
                self.assertEqual(done.returncode, status)
                self.assertTrue(done.stderr.startswith(message), done.stderr)
                self.assertEqual(done.stdout, "")


if __name__ == "__main__":
    unittest.main()
