// SPDX-License-Identifier: MIT
#include "engine/storage/archive_search.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "engine/storage/loaded_archive.h"

namespace cf {
namespace {

// Windows-1252 lines, as the file holds them; the load orders them by
// surname.
LoadedArchive Archive()
{
    return LoadedArchive(
        "\"VERDI\",\"GIUSEPPE\",\"VRDGPP13R10B320Y\",\"M\",\"10/10/1913\",\"BUSSETO\",\"PR\"\r\n"
        "\"D'\xC0VILA\",\"N\xCC\x43OL\xD2\",\"DVLNCL80A01F205X\",\"M\",\"01/01/80\",\"MILANO\",\"MI\"\r\n"
        "\"BIANCHI\",\"LUCIA\",\"BNCLCU85L43H501J\",\"F\",\"03/07/85\",\"ROMA\",\"RM\"\r\n"
        "\"ROSSI\",\"MARIA\",\"RSSMRA85L43H501Z\",\"F\",\"non so\",\"ROMA\",\"RM\"\r\n"
        "\"BIANCHI\",\"ANNA\",\"BNCNNA90A41H501X\",\"F\",\"3/7/85\",\"FORL\xCC\",\"FC\"\r\n",
        {});
}

std::vector<std::string> Surnames(const LoadedArchive& archive, const std::vector<std::uint32_t>& rows)
{
    std::vector<std::string> surnames;
    for (const std::uint32_t row : rows)
        surnames.push_back(archive.person(row).surname + ' ' + archive.person(row).firstName);
    return surnames;
}

TEST(ArchiveSearchTest, WordsAreFoldedAndPartedByBlanksAndCommas)
{
    EXPECT_EQ(SearchWords("  rossi  Mário,roma "), (std::vector<std::string>{"ROSSI", "MARIO", "ROMA"}));
    EXPECT_EQ(SearchWords("d'ávila \"x\" 03/07"), (std::vector<std::string>{"D'AVILA", "X", "03/07"}));
    EXPECT_EQ(SearchWords("Łódź ß"), (std::vector<std::string>{"LODZ", "SS"}));
    EXPECT_TRUE(SearchWords(" , ").empty());
}

TEST(ArchiveSearchTest, EveryWordMustBeInAFieldWhateverCaseAndAccents)
{
    const LoadedArchive archive = Archive();
    const ArchiveSearch search(archive);
    const struct {
        const char* typed;
        std::vector<std::string> found;
    } cases[] = {
        {"", {"BIANCHI ANNA", "BIANCHI LUCIA", "D'ÀVILA NÌCOLÒ", "ROSSI MARIA", "VERDI GIUSEPPE"}},
        {"bianchi", {"BIANCHI ANNA", "BIANCHI LUCIA"}},
        {"Bianchi lucia", {"BIANCHI LUCIA"}},
        {"roma", {"BIANCHI LUCIA", "ROSSI MARIA"}},
        {"forli", {"BIANCHI ANNA"}},             // place with an accent
        {"davila", {}},                          // the apostrophe counts
        {"d'avila nicolo", {"D'ÀVILA NÌCOLÒ"}},  // accents do not
        {"h501", {"BIANCHI ANNA", "BIANCHI LUCIA", "ROSSI MARIA"}},
        {"10/10/1913", {"VERDI GIUSEPPE"}},
        {"ROSSI,MARIA", {"ROSSI MARIA"}},
        {"ssimaria", {}},  // never across two fields
        {"RSSMRA85L43H501Z", {"ROSSI MARIA"}},
    };
    for (const auto& test : cases) {
        const std::vector<std::string> words = SearchWords(test.typed);
        std::vector<std::uint32_t> rows;
        for (std::uint32_t row = 0; row < search.size(); ++row)
            if (search.Matches(row, words))
                rows.push_back(row);
        EXPECT_EQ(Surnames(archive, rows), test.found) << test.typed;
        for (std::uint32_t row = 0; row < search.size(); ++row)
            EXPECT_EQ(ArchiveSearch::LineMatches(archive.line(row), words), search.Matches(row, words));
    }
}

TEST(ArchiveSearchTest, ColumnsOrderAsTextsAndDatesAsDates)
{
    const LoadedArchive archive = Archive();
    const ArchiveSearch search(archive);
    const struct {
        int column;
        bool descending;
        std::vector<std::string> order;
    } cases[] = {
        // Rows alike keep the archive's order, either way round.
        {5, false, {"VERDI GIUSEPPE", "BIANCHI ANNA", "D'ÀVILA NÌCOLÒ", "BIANCHI LUCIA", "ROSSI MARIA"}},
        {5, true, {"BIANCHI LUCIA", "ROSSI MARIA", "D'ÀVILA NÌCOLÒ", "BIANCHI ANNA", "VERDI GIUSEPPE"}},
        // Two- and four-digit years, a date that cannot be read first;
        // 3/7/85 is 03/07/85.
        {4, false, {"ROSSI MARIA", "VERDI GIUSEPPE", "D'ÀVILA NÌCOLÒ", "BIANCHI ANNA", "BIANCHI LUCIA"}},
        {4, true, {"BIANCHI ANNA", "BIANCHI LUCIA", "D'ÀVILA NÌCOLÒ", "VERDI GIUSEPPE", "ROSSI MARIA"}},
        {1, false, {"BIANCHI ANNA", "VERDI GIUSEPPE", "BIANCHI LUCIA", "ROSSI MARIA", "D'ÀVILA NÌCOLÒ"}},
    };
    for (const auto& test : cases) {
        const std::vector<std::uint32_t> rows = RowsInColumnOrder(search, test.column, test.descending);
        EXPECT_EQ(Surnames(archive, rows), test.order) << test.column << ' ' << test.descending;
        // Each row, taken out, goes back where it was.
        for (std::size_t at = 0; at < rows.size(); ++at) {
            std::vector<std::uint32_t> others = rows;
            others.erase(others.begin() + static_cast<std::ptrdiff_t>(at));
            EXPECT_EQ(PlaceInColumnOrder(search, others, rows[at], test.column, test.descending), at);
        }
    }
}

TEST(ArchiveSearchTest, FollowsRowsTakenOutAndPutBack)
{
    LoadedArchive archive = Archive();
    ArchiveSearch search(archive);
    const std::string line(archive.line(0));
    archive.Remove(0);
    search.Remove(0);
    EXPECT_EQ(search.size(), 4u);
    EXPECT_EQ(search.Field(0, 0), "BIANCHI");
    EXPECT_EQ(search.Field(0, 1), "LUCIA");
    const std::size_t row = archive.Insert(line);
    search.Insert(row, line);
    EXPECT_EQ(search.Field(row, 1), "ANNA");
    EXPECT_EQ(search.Field(row, 5), "FORLI");
    EXPECT_EQ(search.Field(2, 1), "NICOLO");
    EXPECT_EQ(search.Field(2, 7), "");
}

TEST(ArchiveSearchTest, FindsACodeInTheArchive)
{
    const LoadedArchive archive = Archive();
    EXPECT_EQ(archive.person(archive.FindCode("RSSMRA85L43H501Z")).surname, "ROSSI");
    EXPECT_EQ(archive.FindCode("RSSMRA85L43H501"), archive.size());
    EXPECT_EQ(LoadedArchive().FindCode("RSSMRA85L43H501Z"), 0u);
}

}  // namespace
}  // namespace cf
