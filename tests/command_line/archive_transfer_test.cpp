// SPDX-License-Identifier: MIT
// The archive as a table out (CSV, OpenDocument sheet) and persons in: each
// imported row checked as a typed person, the good ones appended in one
// write, the others listed with their reason.

#include <gtest/gtest.h>

#include <sys/stat.h>

#include <fstream>
#include <string>
#include <vector>

#include "command_line/archive_files.h"
#include "command_line/archive_transfer.h"
#include "command_line/csv_table.h"
#include "command_line/ods_sheet.h"
#include "engine/code/homocodes.h"
#include "engine/storage/archive_file.h"
#include "test_files.h"

namespace cf {
namespace {

constexpr Date kToday{2026, 12, 8};
using Cells = std::vector<std::string>;

TableRow Row(std::size_t number, Cells cells)
{
    return {number, std::move(cells), {}};
}

void WriteText(const std::string& path, std::string_view text)
{
    std::ofstream(path, std::ios::binary) << text;
}

TEST(CsvTable, RecordsOverLinesQuotesAndBrokenRecords)
{
    const std::vector<TableRow> rows = ReadCsvTable("\xEF\xBB\xBF"
                                                    "a,b\r\n"
                                                    "\n"
                                                    "\"De\nLuca\",\"x\"\"y\",\r\n"
                                                    "\"z\"w\n"
                                                    "last,\"open\n");
    ASSERT_EQ(rows.size(), 4u);
    EXPECT_EQ(rows[0].number, 1u);
    EXPECT_EQ(rows[0].cells, (Cells{"a", "b"}));
    EXPECT_EQ(rows[1].number, 3u) << "the empty line counts, and the record starts on line 3";
    EXPECT_EQ(rows[1].cells, (Cells{"De\nLuca", "x\"y", ""}));
    EXPECT_EQ(rows[2].number, 5u);
    EXPECT_FALSE(rows[2].problem.empty());
    EXPECT_EQ(rows[3].number, 6u);
    EXPECT_FALSE(rows[3].problem.empty()) << "a quote still open at the end";

    // Written back and read again, every cell comes back as it was.
    const std::vector<Cells> table = {{"Cognome", "Nome"}, {"D'ARCO, JR", "x\"y"}, {"A\nB", ""}};
    const std::string text = CsvTableText(table);
    EXPECT_EQ(text, "Cognome,Nome\r\n\"D'ARCO, JR\",\"x\"\"y\"\r\n\"A\nB\",\r\n");
    std::vector<Cells> again;
    for (const TableRow& row : ReadCsvTable(text))
        again.push_back(row.cells);
    EXPECT_EQ(again, table);
}

TEST(ImportedRows, EachRowCheckedAsATypedPerson)
{
    const std::string homocode = Homocode(*OriginalCode("BNCLCU85L43H501J"), 0).str();
    struct Case {
        Cells cells;
        std::string code;     // the code archived; empty when refused
        std::string refusal;  // the start of the reason; empty when taken
    };
    const std::vector<Case> cases = {
        {{"Bianchi", "Lucia", "", "f", "3/7/85", "Roma", ""}, "BNCLCU85L43H501J", ""},
        {{"BIANCHI", "LUCIA", "bnclcu85l43h501j", "F", "03/07/1985", "ROMA", "rm"}, "BNCLCU85L43H501J", ""},
        {{"Bianchi", "Lucia", homocode, "F", "3/7/85", "Roma", ""}, homocode, ""},
        {{"Bianchi", "Lucia", "BNCLCU85L43H501K", "F", "3/7/85", "Roma", ""},
         "",
         "Codice Fiscale formalmente errato"},
        {{"Bianchi", "Maria", "BNCLCU85L43H501J", "F", "3/7/85", "Roma", ""},
         "",
         "Il codice fiscale non corrisponde"},
        {{"Bianchi", "Lucia", "", "X", "3/7/85", "Roma", ""}, "", "Il sesso è errato."},
        {{"Bianchi", "Lucia", "", "F", "31/02/85", "Roma", ""}, "", "La data non è in formato valido."},
        {{"Bianchi", "Lucia", "", "F", "3/7/85", "Atlantide", ""}, "", "La città non è compresa"},
        {{"Bianchi", "Lucia", "", "F", "3/7/85", "Roma", "MI"}, "", "La provincia non corrisponde"},
        {{"", "Lucia", "", "F", "3/7/85", "Roma", ""}, "", "Manca almeno un dato fondamentale"},
        {{"Bianchi", "Lucia", "", "F", "3/7/85"}, "", "La città non è compresa"},
        {{"Ștefan", "Lucia", "", "F", "3/7/85", "Roma", ""}, "", "Il campo "},
    };
    for (const Case& c : cases) {
        const CheckedRows checked = CheckImportedRows({Row(7, c.cells)}, kToday);
        if (c.refusal.empty()) {
            ASSERT_EQ(checked.persons.size(), 1u) << c.cells[0] << " " << c.cells[2];
            EXPECT_EQ(checked.persons[0].code, c.code);
            EXPECT_EQ(checked.persons[0],
                      (Person{"BIANCHI", "LUCIA", "F", "03/07/85", "ROMA", "RM", c.code}));
        } else {
            ASSERT_EQ(checked.refusals.size(), 1u) << c.refusal;
            EXPECT_EQ(checked.refusals[0].row, 7u);
            EXPECT_TRUE(checked.refusals[0].reason.starts_with(c.refusal)) << checked.refusals[0].reason;
            EXPECT_TRUE(checked.persons.empty());
        }
    }
}

TEST(ImportedRows, HeaderBlankRowsProvinceAndReadProblems)
{
    const CheckedRows checked =
        CheckImportedRows({Row(1, {"COGNOME", "Nome", "Codice fiscale"}),
                           Row(2, {"", "", ""}),
                           Row(3, {"Rossi", "Mario", "", "M", "1/1/80", "Castro", "LE"}),
                           Row(4, {"Rossi", "Mario", "", "M", "1/1/80", "Castro (LE)", ""}),
                           {5, {}, "Virgolette non corrette nella riga."},
                           Row(6, {"Cognome", "Nome", "", "M", "1/1/80", "Roma", ""}),
                           Row(7, {"Rossi", "Mario", "", "M", "1/1/80", "Castro", ""})},
                          kToday);
    ASSERT_EQ(checked.persons.size(), 4u);
    EXPECT_EQ(checked.persons[0].province, "LE") << "the province picks CASTRO of Lecce, not of Bergamo";
    EXPECT_EQ(checked.persons[0], checked.persons[1]);
    EXPECT_EQ(checked.persons[2].surname, "COGNOME") << "only the first row may be the header";
    EXPECT_EQ(checked.persons[3].province, "BG") << "without a province, the first of the name";
    EXPECT_NE(checked.persons[3].code, checked.persons[0].code);
    EXPECT_EQ(RefusalList(checked.refusals), "Riga 5: Virgolette non corrette nella riga.\n");
}

class ArchiveFiles : public ::testing::Test {
protected:
    std::string Path(const std::string& name) const { return folder_.path() + "/" + name; }
    std::string archive() const { return Path("codarc.dat"); }

    test::TemporaryDirectory folder_;
};

TEST_F(ArchiveFiles, ExportedCsvAndSheetImportIntoAnotherArchive)
{
    WriteText(archive(),
              "\"VERDI\",\"GIANCARLO\",\"VRDGCR70B10F205A\",\"M\",\"10/02/70\",\"MILANO\",\"MI\"\r\n"
              "\"BIANCHI\",\"LUCIA\",\"BNCLCU85L43H501J\",\"F\",\"03/07/85\",\"ROMA\",\"RM\"\r\n");
    for (const char* file : {"archivio.csv", "archivio.ODS"}) {
        const TransferOutcome exported = ExportArchive(archive(), Path(file));
        EXPECT_EQ(exported.exitStatus, 0) << exported.message;
        EXPECT_EQ(exported.message, "Esportate 2 persone in " + Path(file) + ".");
        struct stat status {};
        ASSERT_EQ(stat(Path(file).c_str(), &status), 0);
        EXPECT_EQ(status.st_mode & 0777, 0600u) << "persons' data are the user's alone";

        const std::string other = Path(std::string("altro-") + file + ".dat");
        const TransferOutcome imported = ImportIntoArchive(other, Path(file), kToday);
        EXPECT_EQ(imported.exitStatus, 0) << imported.message;
        EXPECT_EQ(imported.persons, 2u);
        EXPECT_EQ(imported.message, "Importate 2 persone nell'archivio.");
        EXPECT_EQ(test::ReadFileBytes(other),
                  "\"BIANCHI\",\"LUCIA\",\"BNCLCU85L43H501J\",\"F\",\"03/07/85\",\"ROMA\",\"RM\"\r\n"
                  "\"VERDI\",\"GIANCARLO\",\"VRDGCR70B10F205A\",\"M\",\"10/02/70\",\"MILANO\",\"MI\"\r\n");
    }
    EXPECT_EQ(test::ReadFileBytes(Path("archivio.csv")),
              "Cognome,Nome,Codice fiscale,Sesso,Data di nascita,Luogo di nascita,Provincia\r\n"
              "BIANCHI,LUCIA,BNCLCU85L43H501J,F,03/07/85,ROMA,RM\r\n"
              "VERDI,GIANCARLO,VRDGCR70B10F205A,M,10/02/70,MILANO,MI\r\n");
}

TEST_F(ArchiveFiles, RefusedRowsAreListedAndTheOthersAppendedInOneWrite)
{
    WriteText(archive(), "\"VERDI\",\"GIANCARLO\",\"VRDGCR70B10F205A\",\"M\",\"10/02/70\",\"MILANO\",\"MI\"");
    WriteText(Path("persone.csv"), "Cognome,Nome,Codice fiscale,Sesso,Data di nascita,Luogo di nascita\n"
                                   "Bianchi,Lucia,,F,3/7/85,Roma\n"
                                   "Rossi,Mario,,M,31/02/85,Roma\n"
                                   "D'Arco,Nicolò,,M,1/1/90,Roma\n");
    const TransferOutcome outcome = ImportIntoArchive(archive(), Path("persone.csv"), kToday);
    EXPECT_EQ(outcome.exitStatus, 1);
    EXPECT_EQ(outcome.message, "Importate 2 persone nell'archivio; 1 righe scartate.");
    ASSERT_EQ(outcome.refusals.size(), 1u);
    EXPECT_EQ(outcome.refusals[0].row, 3u);
    EXPECT_EQ(outcome.refusals[0].reason, "La data non è in formato valido.");
    EXPECT_EQ(test::ReadFileBytes(archive()),
              "\"VERDI\",\"GIANCARLO\",\"VRDGCR70B10F205A\",\"M\",\"10/02/70\",\"MILANO\",\"MI\"\r\n"
              "\"BIANCHI\",\"LUCIA\",\"BNCLCU85L43H501J\",\"F\",\"03/07/85\",\"ROMA\",\"RM\"\r\n"
              "\"D'ARCO\",\"NICOL\xD2\",\""
                  + LoadArchive(archive()).field(1, 2) + "\",\"M\",\"01/01/90\",\"ROMA\",\"RM\"\r\n")
        << "the unterminated last line is closed, not joined; accented capitals in Windows-1252";
}

TEST_F(ArchiveFiles, FailuresWriteNothing)
{
    const std::string before =
        "\"VERDI\",\"GIANCARLO\",\"VRDGCR70B10F205A\",\"M\",\"10/02/70\",\"MILANO\",\"MI\"\r\n";
    WriteText(archive(), before);
    WriteText(Path("persone.csv"), "Bianchi,Lucia,,F,3/7/85,Roma\n");
    WriteText(Path("finto.ods"), "Bianchi,Lucia,,F,3/7/85,Roma\n");
    struct Case {
        std::string archive;
        std::string file;
        std::string message;
    };
    const std::vector<Case> cases = {
        {archive(), Path("persone.txt"), "Formato del file " + Path("persone.txt") + " non riconosciuto"},
        {archive(), Path("manca.csv"),
         "Impossibile leggere " + Path("manca.csv") + ": file o cartella inesistente."},
        {archive(), Path("finto.ods"), "Impossibile leggere " + Path("finto.ods") + ": non è un foglio"},
        // A folder where the archive should be: the append fails whole.
        {folder_.path(), Path("persone.csv"), "Nessuna persona importata: "},
    };
    for (const Case& c : cases) {
        const TransferOutcome outcome = ImportIntoArchive(c.archive, c.file, kToday);
        EXPECT_EQ(outcome.exitStatus, 2) << c.file;
        EXPECT_TRUE(outcome.message.starts_with(c.message)) << outcome.message;
    }
    const TransferOutcome unwritable = ExportArchive(archive(), Path("nessuna/cartella.csv"));
    EXPECT_EQ(unwritable.exitStatus, 2);
    EXPECT_TRUE(unwritable.message.starts_with("Impossibile scrivere ")) << unwritable.message;
    EXPECT_EQ(test::ReadFileBytes(archive()), before);
}

// A sheet LibreOffice Calc made from data/persone_libreoffice.csv (soffice
// --headless --infilter="CSV:44,34,76,1,,1040" --convert-to ods): its dates
// are date cells, which it shows as 07/03/1985 in the American way; the
// date's value counts, not what it shows.
TEST_F(ArchiveFiles, SheetMadeByLibreOffice)
{
    std::vector<TableRow> rows;
    std::string error;
    ASSERT_TRUE(ReadOdsSheet(CF_TEST_DATA_DIR "/persone_libreoffice.ods", rows, error)) << error;
    std::vector<Cells> cells;
    for (const TableRow& row : rows)
        cells.push_back(row.cells);
    ASSERT_GE(cells.size(), 1u);
    EXPECT_EQ(cells[0], (Cells{"Cognome", "Nome", "Codice fiscale", "Sesso", "Data di nascita",
                               "Luogo di nascita", "Provincia"}));
    const CheckedRows checked = CheckImportedRows(rows, kToday);
    EXPECT_EQ(RefusalList(checked.refusals), "Riga 5: La data non è in formato valido.\n"
                                             "Riga 7: Codice Fiscale formalmente errato\n");
    std::vector<std::string> persons;
    for (const Person& person : checked.persons)
        persons.push_back(person.code + " " + person.birthDate + " " + person.place + " " + person.province);
    EXPECT_EQ(persons, (std::vector<std::string>{
                           "BNCLCU85L43H501J 03/07/85 ROMA RM", "VRDGCR70B10F205A 10/02/70 MILANO MI",
                           "VRDGCR70B10F205A 10/02/70 MILANO MI", "DLCNMR00B69I138Z 29/02/00 SANREMO IM"}));
}

}  // namespace
}  // namespace cf
