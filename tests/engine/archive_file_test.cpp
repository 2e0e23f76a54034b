#include "engine/archive_file.h"

#include "engine/cp1252.h"
#include "engine/text_fields.h"
#include "engine/work_files.h"

#include <gtest/gtest.h>

#include <csignal>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>
#include <vector>

namespace cf {
namespace {

namespace fs = std::filesystem;

ArchiveRecord Person(const std::string& surname, const std::string& name, const std::string& place = "ROMA",
                     const std::string& province = "RM")
{
    return {surname, name, "XXXXXX80A01H501X", "M", "01/01/80", place, province};
}

std::string Line(const ArchiveRecord& record)
{
    std::string line;
    for (int k = 0; k < kArchiveFieldCount; ++k)
        line += (k ? ",\"" : "\"") + record[k] + "\"";
    return line + "\r\n";
}

class ArchiveFileTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        std::string pattern = (fs::temp_directory_path() / "archive_test.XXXXXX").string();
        ASSERT_NE(::mkdtemp(pattern.data()), nullptr);
        directory_ = pattern;
        path_ = (directory_ / kArchiveFileName).string();
    }
    void TearDown() override
    {
        fs::permissions(directory_, fs::perms::owner_all);
        fs::remove_all(directory_);
    }

    std::string Contents(const std::string& path) const
    {
        std::ifstream in(path, std::ios::binary);
        std::ostringstream out;
        out << in.rdbuf();
        return out.str();
    }
    std::string Contents() const { return Contents(path_); }
    void Write(const std::string& bytes, const std::string& path) const
    {
        std::ofstream(path, std::ios::binary) << bytes;
    }
    void Write(const std::string& bytes) const { Write(bytes, path_); }

    fs::path directory_;
    std::string path_;
};

TEST_F(ArchiveFileTest, AppendedRecordsLoadSortedWhileTheFileKeepsAppendOrder)
{
    const ArchiveRecord verdi = Person("VERDI", "MARIO");
    const ArchiveRecord bianchi = Person("BIANCHI", "LUCA");
    const ArchiveRecord noName = Person("BIANCHI", "");
    for (const ArchiveRecord& record : {verdi, bianchi, bianchi, noName})
        ASSERT_TRUE(AppendArchiveRecord(path_, record).ok);

    EXPECT_EQ(Contents(), Line(verdi) + Line(bianchi) + Line(bianchi) + Line(noName));
    EXPECT_EQ(Line(noName).substr(0, 15), "\"BIANCHI\",\"\",\"X");
    // "BIANCHI,," sorts before "BIANCHI,LUCA": the empty first name keeps its column.
    EXPECT_EQ(LoadArchive(path_), (std::vector{noName, bianchi, bianchi, verdi}));
}

TEST_F(ArchiveFileTest, LoadEndsLinesAtCrLfOrCrAloneButNotLfAlone)
{
    Write("\"B\",\"1\"\r"            // CR alone
          "\r\n"                     // blank line
          "\"A\",\"x\ny\"\r\n"       // LF inside a line
          "\"C\",\"2\"");            // last line without a line end
    const std::vector<ArchiveRecord> records = LoadArchive(path_);
    ASSERT_EQ(records.size(), 4u);
    EXPECT_EQ(records[0], ArchiveRecord{});  // the blank line, first
    EXPECT_EQ(records[1][1], "x\ny");
    EXPECT_EQ(records[2][0], "B");
    EXPECT_EQ(records[3][0], "C");
    EXPECT_EQ(records[3][1], "2");
    EXPECT_EQ(records[3][2], "");
}

TEST_F(ArchiveFileTest, LoadSplitsLegacyLinesIntoFields)
{
    Write("\"ROSSI\",\"ANNA\",\"RSSNNA80A41H501X\",\"F\",\"01/01/80\",\"REGGIO, CALABRIA\",\"RC\"\r\n"
          "SENZAVIRGOLE\r\n"
          "\"TRE\",\"DUE\"\r\n"
          "\"VIR\"GO\"LETTE\",\"\"\"\r\n");
    const std::vector<ArchiveRecord> records = LoadArchive(path_);
    ASSERT_EQ(records.size(), 4u);
    // A comma in the place shifts the province out; the rest of the line is dropped.
    EXPECT_EQ(records[0], (ArchiveRecord{"ROSSI", "ANNA", "RSSNNA80A41H501X", "F", "01/01/80", "REGGIO", " CALABRIA"}));
    ArchiveRecord sevenCopies;
    sevenCopies.fill("SENZAVIRGOLE");
    EXPECT_EQ(records[1], sevenCopies);
    EXPECT_EQ(records[2], (ArchiveRecord{"TRE", "DUE", "", "", "", "", ""}));
    EXPECT_EQ(records[3], (ArchiveRecord{"VIRGOLETTE", "", "", "", "", "", ""}));
}

TEST_F(ArchiveFileTest, LoadSortsCaseInsensitivelyFieldByFieldAndStably)
{
    Write("\"rossini\",\"a\"\r\n"
          "\"ROSSI\",\"Z\"\r\n"
          "\"DE ROSSI\",\"A\"\r\n"
          "\"De\",\"B\"\r\n"
          "\"\xC8LIO\",\"1\"\r\n"     // ÈLIO
          "\"\xE8lio\",\"1\"\r\n"     // èlio: equal key, keeps file order
          "\"ELIO\",\"1\"\r\n"
          "\"rossi\",\"z\"\r\n");     // equal to ROSSI,Z ignoring case
    std::vector<std::string> order;
    for (const ArchiveRecord& record : LoadArchive(path_))
        order.push_back(record[0] + "," + record[1]);
    EXPECT_EQ(order, (std::vector<std::string>{"De,B", "DE ROSSI,A", "ELIO,1", "ROSSI,Z", "rossi,z", "rossini,a",
                                               "\xC3\x88LIO,1", "\xC3\xA8lio,1"}));
}

TEST_F(ArchiveFileTest, MissingEmptyOrOddFilesLoadAsAnEmptyArchive)
{
    EXPECT_TRUE(LoadArchive(path_).empty());
    Write("");
    EXPECT_TRUE(LoadArchive(path_).empty());
    EXPECT_TRUE(LoadArchive(directory_.string()).empty());
    ASSERT_EQ(::mkfifo((directory_ / "fifo").c_str(), 0600), 0);
    EXPECT_TRUE(LoadArchive((directory_ / "fifo").string()).empty());  // and does not hang
}

TEST_F(ArchiveFileTest, RewriteWritesRowsInGivenOrderAndNoRowsAsAnEmptyFile)
{
    ASSERT_TRUE(AppendArchiveRecord(path_, Person("ALFA", "A")).ok);
    const std::vector<ArchiveRecord> rows = {Person("ZETA", "Z"), Person("BETA", "B")};
    ASSERT_TRUE(RewriteArchive(path_, rows).ok);
    EXPECT_EQ(Contents(), Line(rows[0]) + Line(rows[1]));

    ASSERT_TRUE(RewriteArchive(path_, {}).ok);
    EXPECT_TRUE(fs::exists(path_));
    EXPECT_EQ(fs::file_size(path_), 0u);
    EXPECT_TRUE(LoadArchive(path_).empty());
}

TEST_F(ArchiveFileTest, TextIsWindows1252OnDiskAndUtf8InMemory)
{
    Write("\"\xC8\",\"NICOL\xD2\",\"\x80\"\r\n");
    const ArchiveRecord loaded = LoadArchive(path_).at(0);
    EXPECT_EQ(loaded[0], "\xC3\x88");      // È
    EXPECT_EQ(loaded[1], "NICOL\xC3\x92");  // NICOLÒ
    EXPECT_EQ(loaded[2], "\xE2\x82\xAC");   // €
    ASSERT_TRUE(RewriteArchive(path_, std::vector{loaded}).ok);
    EXPECT_EQ(Contents(), "\"\xC8\",\"NICOL\xD2\",\"\x80\",\"\",\"\",\"\",\"\"\r\n");

    // Every byte, the unassigned ones included, comes back as it was.
    std::string allBytes;
    for (int byte = 0; byte < 256; ++byte)
        allBytes.push_back(static_cast<char>(byte));
    std::string back;
    EXPECT_TRUE(AppendUtf8AsCp1252(Cp1252ToUtf8(allBytes), back));
    EXPECT_EQ(back, allBytes);
    EXPECT_EQ(Cp1252ToUtf8("\x81\x9F"), "\xC2\x81\xC5\xB8");
    for (const char* refused : {"\xE6\x97\xA5", "\xC2\x80", "\xC3", "\xC0\xAF", "\xED\xA0\x80", "\xF4\x90\x80\x80"})
        EXPECT_FALSE(AppendUtf8AsCp1252(refused, back)) << refused;
}

TEST_F(ArchiveFileTest, AppendRefusesFieldsThatWouldNotLoadBackAndWritesNothing)
{
    struct Case {
        ArchiveRecord record;
        std::string message;
    };
    const std::vector<Case> cases = {
        {Person("ROSSI", "ANNA", "REGGIO, CALABRIA"),
         "Il campo Luogo contiene caratteri non ammessi nell'archivio: virgola."},
        {Person("D\"ANGELO", "ANNA"), "Il campo Cognome contiene caratteri non ammessi nell'archivio: virgolette."},
        {Person("ROSSI", "AN\nNA"), "Il campo Nome contiene caratteri non ammessi nell'archivio: ritorno a capo."},
        {Person("ROSSI", "ANNA", "ROMA", "R\r"),
         "Il campo Provincia contiene caratteri non ammessi nell'archivio: ritorno a capo."},
        {Person("\xE7\x8E\x8B", "ANNA"),
         "Il campo Cognome contiene caratteri non ammessi nell'archivio: caratteri non rappresentabili nella "
         "codifica Windows-1252."},
        {Person("ROSSI", "\xFF"), "Il campo Nome contiene caratteri non ammessi nell'archivio: caratteri non "
                                  "rappresentabili nella codifica Windows-1252."},
    };
    for (const Case& c : cases) {
        const ArchiveResult result = AppendArchiveRecord(path_, c.record);
        EXPECT_FALSE(result.ok);
        EXPECT_EQ(result.message, c.message);
    }
    EXPECT_FALSE(fs::exists(path_));

    Write("\"A\"\r\n");
    EXPECT_FALSE(AppendArchiveRecord(path_, cases[0].record).ok);
    EXPECT_EQ(Contents(), "\"A\"\r\n");
}

TEST_F(ArchiveFileTest, RewriteRefusesUnrepresentableTextAndKeepsTheOldArchive)
{
    Write("\"A\"\r\n");
    const std::vector<ArchiveRecord> rows = {Person("ROSSI", "ANNA"), Person("ROSSI", "ANNA", "\xE4\xB8\x8A")};
    const ArchiveResult result = RewriteArchive(path_, rows);
    EXPECT_FALSE(result.ok);
    EXPECT_EQ(result.message, "Impossibile scrivere l'archivio " + path_ +
                                  ": il campo Luogo della riga 2 contiene caratteri non rappresentabili nella "
                                  "codifica Windows-1252.");
    EXPECT_EQ(Contents(), "\"A\"\r\n");
}

TEST_F(ArchiveFileTest, AppendEndsAnUnterminatedLastLineFirst)
{
    Write("\"A\",\"1\"");
    ASSERT_TRUE(AppendArchiveRecord(path_, Person("B", "2")).ok);
    EXPECT_EQ(Contents(), "\"A\",\"1\"\r\n" + Line(Person("B", "2")));
    EXPECT_EQ(LoadArchive(path_).size(), 2u);

    Write("\"A\",\"1\"\r");  // a CR alone already ends the line
    ASSERT_TRUE(AppendArchiveRecord(path_, Person("B", "2")).ok);
    EXPECT_EQ(Contents(), "\"A\",\"1\"\r" + Line(Person("B", "2")));
}

TEST_F(ArchiveFileTest, UnwritableDirectoryIsReportedAsAFailure)
{
    if (::geteuid() == 0)
        GTEST_SKIP() << "root ignores directory permissions";
    fs::permissions(directory_, fs::perms::owner_read | fs::perms::owner_exec);

    const ArchiveResult appended = AppendArchiveRecord(path_, Person("ROSSI", "ANNA"));
    EXPECT_FALSE(appended.ok);
    EXPECT_EQ(appended.message.rfind("Impossibile scrivere l'archivio " + path_ + ": ", 0), 0u) << appended.message;
    const ArchiveResult rewritten = RewriteArchive(path_, std::vector{Person("ROSSI", "ANNA")});
    EXPECT_FALSE(rewritten.ok);
    EXPECT_EQ(rewritten.message.rfind("Impossibile scrivere l'archivio " + path_ + ": ", 0), 0u) << rewritten.message;
    EXPECT_FALSE(fs::exists(path_));
}

TEST_F(ArchiveFileTest, SymbolicLinkAtTheArchivePathIsNeverWrittenThrough)
{
    const std::string target = (directory_ / "target").string();
    Write("untouched", target);
    fs::create_symlink(target, path_);

    const ArchiveResult appended = AppendArchiveRecord(path_, Person("ROSSI", "ANNA"));
    EXPECT_FALSE(appended.ok);
    EXPECT_EQ(appended.message,
              "Impossibile scrivere l'archivio " + path_ + ": al suo posto c'è un collegamento simbolico.");
    EXPECT_EQ(Contents(target), "untouched");

    ASSERT_TRUE(RewriteArchive(path_, std::vector{Person("ROSSI", "ANNA")}).ok);
    EXPECT_FALSE(fs::is_symlink(path_));
    EXPECT_EQ(Contents(), Line(Person("ROSSI", "ANNA")));
    EXPECT_EQ(Contents(target), "untouched");
}

TEST_F(ArchiveFileTest, WriteCutShortByAFullDiskLeavesTheArchiveAsItWas)
{
    const std::string before = Line(Person("ALFA", "A"));
    Write(before);
    // A file size limit makes the kernel write only part of the line, as a full disk would.
    rlimit old {};
    ASSERT_EQ(::getrlimit(RLIMIT_FSIZE, &old), 0);
    const auto oldHandler = std::signal(SIGXFSZ, SIG_IGN);
    rlimit limited = old;
    limited.rlim_cur = before.size() + 10;
    ASSERT_EQ(::setrlimit(RLIMIT_FSIZE, &limited), 0);
    const ArchiveResult appended = AppendArchiveRecord(path_, Person("BETA", "B"));
    const ArchiveResult rewritten = RewriteArchive(path_, std::vector{Person("GAMMA", "G"), Person("DELTA", "D")});
    ::setrlimit(RLIMIT_FSIZE, &old);
    std::signal(SIGXFSZ, oldHandler);

    EXPECT_FALSE(appended.ok);
    EXPECT_EQ(appended.message, "Impossibile scrivere l'archivio " + path_ +
                                    ": scrittura incompleta, spazio su disco esaurito.");
    EXPECT_FALSE(rewritten.ok);
    EXPECT_EQ(Contents(), before);
    EXPECT_EQ(std::distance(fs::directory_iterator(directory_), fs::directory_iterator()), 1);
}

TEST_F(ArchiveFileTest, LargeArchivesAndLongLinesHaveNoSixteenBitLimits)
{
    std::vector<ArchiveRecord> rows;
    for (int i = 0; i < 40000; ++i) {
        char surname[16];
        std::snprintf(surname, sizeof surname, "P%05d", i);
        rows.push_back(Person(surname, "ANNA"));
    }
    rows[39999][5] = std::string(40000, 'L');
    ASSERT_TRUE(RewriteArchive(path_, rows).ok);
    EXPECT_EQ(LoadArchive(path_), rows);
}

TEST(TextFieldsTest, GetFieldAndReplaceTextFollowTheLegacyRules)
{
    EXPECT_EQ(GetField("A,B,C", ",", 1, 1), "A");
    EXPECT_EQ(GetField("A,B,C", ",", 3, 3), "C");
    EXPECT_EQ(GetField("A,B,C", ",", 0, 0), "A");
    EXPECT_EQ(GetField("A,B,C", ",", 4, 4), "");
    EXPECT_EQ(GetField(",B", ",", 1, 1), "");
    EXPECT_EQ(GetField("ABC", ",", 5, 5), "ABC");
    EXPECT_EQ(GetField("", ",", 1, 1), "");
    EXPECT_EQ(GetField("A,B,C,D", ",", 2, 3), "B,C");
    EXPECT_EQ(GetField(" A , B ", ",", 2, 2), " B ");

    EXPECT_EQ(ReplaceText("\"A\",\"B\"", "\"", ""), "A,B");
    EXPECT_EQ(ReplaceText("aaaa", "aa", "a"), "aa");
    EXPECT_EQ(ReplaceText("abc", "x", "y"), "abc");
    EXPECT_EQ(ReplaceText("Abc", "a", "x"), "Abc");
}

TEST_F(ArchiveFileTest, ArchivePathIsBesideTheProgramOrInTheUserDataDirectory)
{
    const char* oldDataHome = std::getenv("XDG_DATA_HOME");
    const std::string savedDataHome = oldDataHome ? oldDataHome : "";
    ::setenv("XDG_DATA_HOME", directory_.c_str(), 1);
    const std::string path = ArchivePath();
    oldDataHome ? ::setenv("XDG_DATA_HOME", savedDataHome.c_str(), 1) : ::unsetenv("XDG_DATA_HOME");

    if (::access(ProgramDirectory().c_str(), W_OK) == 0) {
        EXPECT_EQ(path, ProgramDirectory() + kArchiveFileName);
    } else {
        EXPECT_EQ(path, (directory_ / "codicefiscale" / kArchiveFileName).string());
        EXPECT_TRUE(fs::is_directory(directory_ / "codicefiscale"));
    }
}

}  // namespace
}  // namespace cf

namespace cf {
namespace {

class ArchiveSharing : public testing::Test {
protected:
    void SetUp() override
    {
        std::string pattern = testing::TempDir() + "archive-sharing-XXXXXX";
        ASSERT_NE(::mkdtemp(pattern.data()), nullptr);
        directory_ = pattern;
        path_ = directory_ + "/codarc.dat";
    }
    void TearDown() override { std::filesystem::remove_all(directory_); }

    static ArchiveRecord Person(const std::string& surname)
    {
        return {surname, "LUCIA", "BNCLCU85L43H501J", "F", "03/07/85", "ROMA", "RM"};
    }

    std::string directory_;
    std::string path_;
};

TEST_F(ArchiveSharing, RewriteRefusesWhenAnotherInstanceAppendedMeanwhile)
{
    ASSERT_TRUE(AppendArchiveRecord(path_, Person("ROSSI")).ok);
    ASSERT_TRUE(AppendArchiveRecord(path_, Person("VERDI")).ok);
    ArchiveStamp stamp;
    auto rows = LoadArchive(path_, &stamp);
    ASSERT_TRUE(stamp.exists);

    ASSERT_TRUE(AppendArchiveRecord(path_, Person("BIANCHI")).ok);  // another instance
    rows.erase(rows.begin());
    const ArchiveResult refused = RewriteArchive(path_, rows, &stamp);
    EXPECT_FALSE(refused.ok);
    EXPECT_NE(refused.message.find("modificato da un altro programma"), std::string::npos);
    EXPECT_EQ(LoadArchive(path_).size(), 3u);

    // A fresh load may rewrite, and keeps its stamp for the next rewrite.
    rows = LoadArchive(path_, &stamp);
    rows.erase(rows.begin());
    ASSERT_TRUE(RewriteArchive(path_, rows, &stamp).ok);
    rows.erase(rows.begin());
    ASSERT_TRUE(RewriteArchive(path_, rows, &stamp).ok);
    ASSERT_EQ(LoadArchive(path_).size(), 1u);
    EXPECT_EQ(LoadArchive(path_)[0][0], "VERDI");
}

TEST_F(ArchiveSharing, MissingArchiveStampsAsAbsentAndMayBeRewritten)
{
    ArchiveStamp stamp;
    EXPECT_TRUE(LoadArchive(path_, &stamp).empty());
    EXPECT_FALSE(stamp.exists);
    EXPECT_TRUE(RewriteArchive(path_, {}, &stamp).ok);
    EXPECT_TRUE(stamp.exists);
}

TEST_F(ArchiveSharing, AppendsFromTwoProcessesAreAllKeptWhole)
{
    const pid_t child = ::fork();
    ASSERT_GE(child, 0);
    for (int i = 0; i < 300; ++i)
        AppendArchiveRecord(path_, Person(child == 0 ? "FIGLIO" : "PADRE"));
    if (child == 0)
        ::_exit(0);
    ::waitpid(child, nullptr, 0);
    const auto rows = LoadArchive(path_);
    ASSERT_EQ(rows.size(), 600u);
    for (const ArchiveRecord& row : rows)
        ASSERT_EQ(row[6], "RM");
}

}  // namespace
}  // namespace cf
