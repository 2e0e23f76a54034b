// SPDX-License-Identifier: MIT
#include "engine/archive_file.h"

#include "engine/cp1252.h"
#include "engine/text_fields.h"
#include "engine/work_files.h"
#include "test_files.h"

#include <gtest/gtest.h>

#include <csignal>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <functional>
#include <optional>
#include <pwd.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>
#include <vector>

namespace cf {
namespace {

namespace fs = std::filesystem;

Person SomePerson(const std::string& surname, const std::string& name, const std::string& place = "ROMA",
                  const std::string& province = "RM")
{
    return {.surname = surname,
            .firstName = name,
            .sex = "M",
            .birthDate = "01/01/80",
            .place = place,
            .province = province,
            .code = "XXXXXX80A01H501X"};
}

// The archive line of a person: surname, first name, code, sex, date,
// place, province.
std::string Line(const Person& person)
{
    std::string line;
    for (const std::string* field : {&person.surname, &person.firstName, &person.code, &person.sex,
                                     &person.birthDate, &person.place, &person.province})
        line += (line.empty() ? "\"" : ",\"") + *field + "\"";
    return line + "\r\n";
}

// Sets an environment variable for as long as it lives (unsets it for
// nullptr), then puts back what was there.
class ScopedVariable {
public:
    ScopedVariable(const char* name, const char* value) : name_(name)
    {
        if (const char* old = std::getenv(name))
            old_ = old;
        value ? ::setenv(name, value, 1) : ::unsetenv(name);
    }
    ~ScopedVariable() { old_ ? ::setenv(name_, old_->c_str(), 1) : ::unsetenv(name_); }
    ScopedVariable(const ScopedVariable&) = delete;
    ScopedVariable& operator=(const ScopedVariable&) = delete;

private:
    const char* name_;
    std::optional<std::string> old_;
};

constexpr uid_t kNobody = 65534;

// Runs `check` as a user without privileges, since root ignores file
// permissions: as root, in a child that becomes "nobody" and owns
// `directory`. True when the check held.
bool AsUnprivilegedUser(const fs::path& directory, const std::function<bool()>& check)
{
    if (::geteuid() != 0)
        return check();
    for (const auto& entry : fs::recursive_directory_iterator(directory))
        if (::lchown(entry.path().c_str(), kNobody, kNobody) != 0)
            return false;
    if (::chown(directory.c_str(), kNobody, kNobody) != 0)
        return false;
    const pid_t child = ::fork();
    if (child == 0)
        ::_exit(::setgid(kNobody) == 0 && ::setuid(kNobody) == 0 && check() ? 0 : 1);
    int status = 0;
    ::waitpid(child, &status, 0);
    return WIFEXITED(status) && WEXITSTATUS(status) == 0;
}

mode_t Mode(const fs::path& path)
{
    struct stat info {};
    return ::lstat(path.c_str(), &info) == 0 ? info.st_mode & 07777 : 0xFFFF;
}

class ArchiveFileTest : public ::testing::Test {
protected:
    void SetUp() override { ASSERT_FALSE(temporary_.path().empty()); }

    std::string Contents(const std::string& path) const { return test::ReadFileBytes(path); }
    std::string Contents() const { return Contents(path_); }
    void Write(const std::string& bytes, const std::string& path) const
    {
        std::ofstream(path, std::ios::binary) << bytes;
    }
    void Write(const std::string& bytes) const { Write(bytes, path_); }

    test::TemporaryDirectory temporary_;
    const fs::path directory_ = temporary_.path();
    const std::string path_ = (directory_ / kArchiveFileName).string();
};

TEST_F(ArchiveFileTest, AppendedRecordsLoadSortedWhileTheFileKeepsAppendOrder)
{
    const Person verdi = SomePerson("VERDI", "MARIO");
    const Person bianchi = SomePerson("BIANCHI", "LUCA");
    const Person noName = SomePerson("BIANCHI", "");
    for (const Person& record : {verdi, bianchi, bianchi, noName})
        ASSERT_TRUE(AppendToArchive(path_, record).ok);

    EXPECT_EQ(Contents(), Line(verdi) + Line(bianchi) + Line(bianchi) + Line(noName));
    EXPECT_EQ(Line(noName).substr(0, 15), "\"BIANCHI\",\"\",\"X");
    // "BIANCHI,," sorts before "BIANCHI,LUCA": the empty first name keeps its column.
    EXPECT_EQ(LoadArchive(path_), (std::vector{noName, bianchi, bianchi, verdi}));
}

TEST_F(ArchiveFileTest, LoadEndsLinesAtCrLfOrCrOrLf)
{
    Write("\"B\",\"1\"\r"    // CR alone
          "\r\n"             // blank line
          "\"A\",\"x\"\n"    // LF alone, as editors on Linux write
          "\"D\",\"y\"\n\r"  // LF then CR: two line ends around a blank line
          "\"C\",\"2\"");    // last line without a line end
    const std::vector<Person> records = LoadArchive(path_);
    ASSERT_EQ(records.size(), 6u);
    EXPECT_EQ(records[0], Person{});  // the blank lines, first
    EXPECT_EQ(records[1], Person{});
    EXPECT_EQ(records[2].firstName, "x");
    EXPECT_EQ(records[3].surname, "B");
    EXPECT_EQ(records[4].surname, "C");
    EXPECT_EQ(records[4].firstName, "2");
    EXPECT_EQ(records[4].code, "");
    EXPECT_EQ(records[5].firstName, "y");
}

// An archive edited on Linux once loaded as one row, and the next delete
// wrote that row alone: every other person was lost.
TEST_F(ArchiveFileTest, ArchiveWithLfLineEndsKeepsEveryPersonThroughADeleteAndAnAppend)
{
    const std::vector<Person> people = {SomePerson("ALFA", "A"), SomePerson("BETA", "B"),
                                        SomePerson("GAMMA", "G")};
    std::string lfFile;
    for (const Person& person : people) {
        std::string line = Line(person);
        lfFile += line.replace(line.size() - 2, 2, "\n");
    }
    Write(lfFile);
    ArchiveStamp stamp;
    std::vector<Person> rows = LoadArchive(path_, &stamp);
    ASSERT_EQ(rows, people);
    EXPECT_EQ(stamp.persons, 3u);

    rows.erase(rows.begin());
    ASSERT_TRUE(RewriteArchive(path_, rows, &stamp).ok);
    EXPECT_EQ(LoadArchive(path_), rows);

    Write(lfFile);
    ASSERT_TRUE(AppendToArchive(path_, SomePerson("DELTA", "D")).ok);
    EXPECT_EQ(Contents(), lfFile + Line(SomePerson("DELTA", "D")));
    EXPECT_EQ(LoadArchive(path_).size(), 4u);
}

TEST_F(ArchiveFileTest, RewriteNeverWritesFewerPersonsThanTheLoadSawLessTheDeletedOne)
{
    for (const char* surname : {"ALFA", "BETA", "GAMMA"})
        ASSERT_TRUE(AppendToArchive(path_, SomePerson(surname, "X")).ok);
    const std::string before = Contents();
    ArchiveStamp stamp;
    std::vector<Person> rows = LoadArchive(path_, &stamp);
    rows.resize(1);  // a list that lost a row on the way
    const ArchiveResult shrunk = RewriteArchive(path_, rows, &stamp);
    EXPECT_FALSE(shrunk.ok);
    EXPECT_EQ(shrunk.message,
              "L'archivio " + path_
                  + " ha 3 persone, ma ne sarebbero state scritte solo 1: nessun dato è stato eliminato.");
    EXPECT_EQ(Contents(), before);

    // A load that could not read the file whole allows no rewrite.
    const std::string folder = (directory_ / "cartella").string();
    fs::create_directory(folder);
    EXPECT_TRUE(LoadArchive(folder, &stamp).empty());
    EXPECT_FALSE(stamp.whole);
    EXPECT_EQ(stamp.problem, "Impossibile leggere l'archivio " + folder + ": non è un file normale.");
    const ArchiveResult unread = RewriteArchive(folder, {}, &stamp);
    EXPECT_FALSE(unread.ok);
    EXPECT_EQ(unread.message, "L'archivio " + folder
                                  + " non è stato letto per intero: nessun dato è stato eliminato. "
                                  + stamp.problem);
    EXPECT_TRUE(fs::is_directory(folder));
}

TEST_F(ArchiveFileTest, ArchiveIsTheUsersAloneAndKeepsItsPermissions)
{
    const mode_t oldMask = ::umask(0);  // even the widest umask opens nothing
    ASSERT_TRUE(AppendToArchive(path_, SomePerson("ALFA", "A")).ok);
    EXPECT_EQ(Mode(path_), 0600u);
    fs::remove(path_);
    ASSERT_TRUE(RewriteArchive(path_, std::vector{SomePerson("ALFA", "A")}).ok);
    EXPECT_EQ(Mode(path_), 0600u);

    // A rewrite neither widens nor narrows what the user chose.
    ::chmod(path_.c_str(), 0640);
    ASSERT_TRUE(RewriteArchive(path_, std::vector{SomePerson("BETA", "B")}).ok);
    EXPECT_EQ(Mode(path_), 0640u);

    // The folders the program makes for the archive are closed to others.
    const fs::path dataHome = directory_ / "data" / "share";
    const ScopedVariable variable("XDG_DATA_HOME", dataHome.c_str());
    EXPECT_EQ(ArchivePathFor("/usr/bin/"), (dataHome / "codicefiscale" / kArchiveFileName).string());
    ::umask(oldMask);
    for (const fs::path& folder : {directory_ / "data", dataHome, dataHome / "codicefiscale"})
        EXPECT_EQ(Mode(folder), 0700u) << folder;
}

// Root may write /usr/bin: an installed program must still leave it alone.
TEST_F(ArchiveFileTest, InstalledProgramsKeepTheArchiveInTheUserDataDirectory)
{
    const ScopedVariable variable("XDG_DATA_HOME", directory_.c_str());
    const std::string userArchive = (directory_ / "codicefiscale" / kArchiveFileName).string();
    for (const char* installed :
         {"/usr/bin/", "/usr/local/bin/", "/opt/codicefiscale/bin/", "/bin/", "/sbin/"})
        EXPECT_EQ(ArchivePathFor(installed), userArchive) << installed;

    const std::string portable = (directory_ / "portable").string() + "/";
    fs::create_directory(portable);
    EXPECT_EQ(ArchivePathFor(portable), portable + kArchiveFileName);
}

TEST_F(ArchiveFileTest, WithoutAHomeFolderTheArchiveIsRefusedWithAMessage)
{
    const std::string noHome =
        "Impossibile trovare una cartella per l'archivio: l'utente non ha una cartella "
        "personale (HOME non impostata e utente sconosciuto al sistema).";
    ArchiveStamp stamp;
    EXPECT_TRUE(LoadArchive("", &stamp).empty());
    EXPECT_FALSE(stamp.whole);
    EXPECT_EQ(stamp.problem, noHome);
    EXPECT_EQ(AppendToArchive("", SomePerson("ALFA", "A")).message, noHome);
    EXPECT_EQ(RewriteArchive("", {}).message, noHome);

    if (::geteuid() != 0)
        GTEST_SKIP() << "only root can become a user the password database does not know";
    // Such a user, without HOME or with a relative one: no path, rather
    // than "/.local/share/codicefiscale/codarc.dat".
    uid_t stranger = 60000;
    while (::getpwuid(stranger))
        ++stranger;
    const pid_t child = ::fork();
    ASSERT_GE(child, 0);
    if (child == 0) {
        ::unsetenv("XDG_DATA_HOME");
        ::unsetenv("HOME");
        const bool unset = ::setuid(stranger) == 0 && ArchivePathFor("/usr/bin/").empty();
        ::setenv("HOME", "relativa", 1);
        ::_exit(unset && ArchivePathFor("/usr/bin/").empty() ? 0 : 1);
    }
    int status = 0;
    ::waitpid(child, &status, 0);
    EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0);
}

// A file the user made read-only is not replaced by a delete, just as it
// takes no append.
TEST_F(ArchiveFileTest, ReadOnlyArchiveIsNeitherReplacedNorAppendedTo)
{
    Write(Line(SomePerson("ALFA", "A")));
    ::chmod(path_.c_str(), 0444);
    const std::string refused = "Impossibile scrivere l'archivio " + path_ + ": permesso negato.";
    EXPECT_TRUE(AsUnprivilegedUser(directory_, [&] {
        ArchiveStamp stamp;
        const std::vector<Person> rows = LoadArchive(path_, &stamp);
        return rows.size() == 1 && RewriteArchive(path_, {}, &stamp).message == refused
               && AppendToArchive(path_, SomePerson("BETA", "B")).message == refused;
    }));
    EXPECT_EQ(Contents(), Line(SomePerson("ALFA", "A")));
    EXPECT_EQ(Mode(path_), 0444u);
}

// Root may write any file, but a delete does not replace, and an append
// does not extend, an archive whose owner and mode would not let the user
// write it: another user's 0644 archive in a folder the user can write, or
// the user's own 0444 one, also through a link.
TEST_F(ArchiveFileTest, ArchiveTheModeForbidsIsNeitherReplacedNorAppendedToEvenByRoot)
{
    if (::geteuid() != 0)
        GTEST_SKIP() << "only root can give a file to another user (the unprivileged case is the test above)";
    const std::string line = Line(SomePerson("ALFA", "A"));
    const fs::path ownFile = directory_ / "mio.dat";
    Write(line, ownFile.string());
    ::chmod(ownFile.c_str(), 0444);
    const uid_t other = 54321;
    struct Case {
        std::string what;
        std::function<void()> plant;
    };
    const std::vector<Case> cases = {
        {"another user's 0644 archive",
         [&] {
             Write(line);
             ::chmod(path_.c_str(), 0644);
             ASSERT_EQ(::chown(path_.c_str(), other, other), 0);
         }},
        {"the user's own 0444 archive",
         [&] {
             Write(line);
             ::chmod(path_.c_str(), 0444);
         }},
        {"a link to the user's own 0444 file", [&] { fs::create_symlink(ownFile, path_); }},
    };
    for (const Case& test : cases) {
        test.plant();
        const std::string refused = "Impossibile scrivere l'archivio " + path_ + ": permesso negato.";
        ArchiveStamp stamp;
        ASSERT_EQ(LoadArchive(path_, &stamp).size(), 1u) << test.what;
        EXPECT_EQ(RewriteArchive(path_, {}, &stamp).message, refused) << test.what;
        EXPECT_EQ(AppendToArchive(path_, SomePerson("BETA", "B")).message, refused) << test.what;
        EXPECT_EQ(Contents(), line) << test.what;
        struct stat info {};
        ASSERT_EQ(::lstat(path_.c_str(), &info), 0);
        if (test.what.starts_with("another")) {
            EXPECT_EQ(info.st_uid, other) << "replaced by the user's own file";
        }
        fs::remove(path_);
    }
    EXPECT_EQ(Contents(ownFile.string()), line);

    // A file of another user that its mode lets everyone write is the user's to change.
    Write(line);
    ::chmod(path_.c_str(), 0646);
    ASSERT_EQ(::chown(path_.c_str(), other, other), 0);
    EXPECT_TRUE(AppendToArchive(path_, SomePerson("BETA", "B")).ok);
    EXPECT_EQ(LoadArchive(path_).size(), 2u);
}

// The reason of a failed write is the program's own Italian text.
TEST_F(ArchiveFileTest, FolderInPlaceOfTheArchiveIsReportedInItalian)
{
    fs::create_directory(path_);
    const std::string refused = "Impossibile scrivere l'archivio " + path_ + ": è una cartella.";
    EXPECT_EQ(AppendToArchive(path_, SomePerson("BETA", "B")).message, refused);
    EXPECT_EQ(RewriteArchive(path_, {}).message, refused);
    EXPECT_TRUE(fs::is_directory(path_));
}

TEST_F(ArchiveFileTest, LoadSplitsLegacyLinesIntoFields)
{
    Write("\"ROSSI\",\"ANNA\",\"RSSNNA80A41H501X\",\"F\",\"01/01/80\",\"REGGIO, CALABRIA\",\"RC\"\r\n"
          "SENZAVIRGOLE\r\n"
          "\"TRE\",\"DUE\"\r\n"
          "\"VIR\"GO\"LETTE\",\"\"\"\r\n");
    const std::vector<Person> records = LoadArchive(path_);
    ASSERT_EQ(records.size(), 4u);
    // A comma in the place shifts the province out; the rest of the line is dropped.
    EXPECT_EQ(records[0], (Person{.surname = "ROSSI",
                                  .firstName = "ANNA",
                                  .sex = "F",
                                  .birthDate = "01/01/80",
                                  .place = "REGGIO",
                                  .province = " CALABRIA",
                                  .code = "RSSNNA80A41H501X"}));
    const std::string all = "SENZAVIRGOLE";
    EXPECT_EQ(records[1], (Person{all, all, all, all, all, all, all}));
    EXPECT_EQ(records[2], (Person{.surname = "TRE", .firstName = "DUE"}));
    EXPECT_EQ(records[3], (Person{.surname = "VIRGOLETTE"}));
}

TEST_F(ArchiveFileTest, LoadSortsCaseInsensitivelyFieldByFieldAndStably)
{
    Write("\"rossini\",\"a\"\r\n"
          "\"ROSSI\",\"Z\"\r\n"
          "\"DE ROSSI\",\"A\"\r\n"
          "\"De\",\"B\"\r\n"
          "\"\xC8LIO\",\"1\"\r\n"  // ÈLIO
          "\"\xE8lio\",\"1\"\r\n"  // èlio: equal key, keeps file order
          "\"ELIO\",\"1\"\r\n"
          "\"rossi\",\"z\"\r\n");  // equal to ROSSI,Z ignoring case
    std::vector<std::string> order;
    for (const Person& record : LoadArchive(path_))
        order.push_back(record.surname + "," + record.firstName);
    EXPECT_EQ(order, (std::vector<std::string>{"De,B", "DE ROSSI,A", "ELIO,1", "ROSSI,Z", "rossi,z",
                                               "rossini,a", "\xC3\x88LIO,1", "\xC3\xA8lio,1"}));
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
    ASSERT_TRUE(AppendToArchive(path_, SomePerson("ALFA", "A")).ok);
    const std::vector<Person> rows = {SomePerson("ZETA", "Z"), SomePerson("BETA", "B")};
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
    const Person loaded = LoadArchive(path_).at(0);
    EXPECT_EQ(loaded.surname, "\xC3\x88");         // È
    EXPECT_EQ(loaded.firstName, "NICOL\xC3\x92");  // NICOLÒ
    EXPECT_EQ(loaded.code, "\xE2\x82\xAC");        // €
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
    for (const char* refused :
         {"\xE6\x97\xA5", "\xC2\x80", "\xC3", "\xC0\xAF", "\xED\xA0\x80", "\xF4\x90\x80\x80"})
        EXPECT_FALSE(AppendUtf8AsCp1252(refused, back)) << refused;
}

TEST_F(ArchiveFileTest, AppendRefusesFieldsThatWouldNotLoadBackAndWritesNothing)
{
    struct Case {
        Person record;
        std::string message;
    };
    const std::vector<Case> cases = {
        {SomePerson("ROSSI", "ANNA", "REGGIO, CALABRIA"),
         "Il campo Luogo contiene caratteri non ammessi nell'archivio: virgola."},
        {SomePerson("D\"ANGELO", "ANNA"),
         "Il campo Cognome contiene caratteri non ammessi nell'archivio: virgolette."},
        {SomePerson("ROSSI", "AN\nNA"),
         "Il campo Nome contiene caratteri non ammessi nell'archivio: ritorno a capo."},
        {SomePerson("ROSSI", "ANNA", "ROMA", "R\r"),
         "Il campo Provincia contiene caratteri non ammessi nell'archivio: ritorno a capo."},
        {SomePerson("\xE7\x8E\x8B", "ANNA"),
         "Il campo Cognome contiene caratteri non ammessi nell'archivio: caratteri non rappresentabili nella "
         "codifica Windows-1252."},
        {SomePerson("ROSSI", "\xFF"),
         "Il campo Nome contiene caratteri non ammessi nell'archivio: caratteri non "
         "rappresentabili nella codifica Windows-1252."},
    };
    for (const Case& c : cases) {
        const ArchiveResult result = AppendToArchive(path_, c.record);
        EXPECT_FALSE(result.ok);
        EXPECT_EQ(result.message, c.message);
    }
    EXPECT_FALSE(fs::exists(path_));

    Write("\"A\"\r\n");
    EXPECT_FALSE(AppendToArchive(path_, cases[0].record).ok);
    EXPECT_EQ(Contents(), "\"A\"\r\n");
}

TEST_F(ArchiveFileTest, RewriteRefusesUnrepresentableTextAndKeepsTheOldArchive)
{
    Write("\"A\"\r\n");
    const std::vector<Person> rows = {SomePerson("ROSSI", "ANNA"),
                                      SomePerson("ROSSI", "ANNA", "\xE4\xB8\x8A")};
    const ArchiveResult result = RewriteArchive(path_, rows);
    EXPECT_FALSE(result.ok);
    EXPECT_EQ(result.message,
              "Impossibile scrivere l'archivio " + path_
                  + ": il campo Luogo della riga 2 contiene caratteri non rappresentabili nella "
                    "codifica Windows-1252.");
    EXPECT_EQ(Contents(), "\"A\"\r\n");
}

TEST_F(ArchiveFileTest, AppendEndsAnUnterminatedLastLineFirst)
{
    Write("\"A\",\"1\"");
    ASSERT_TRUE(AppendToArchive(path_, SomePerson("B", "2")).ok);
    EXPECT_EQ(Contents(), "\"A\",\"1\"\r\n" + Line(SomePerson("B", "2")));
    EXPECT_EQ(LoadArchive(path_).size(), 2u);

    Write("\"A\",\"1\"\r");  // a CR alone already ends the line
    ASSERT_TRUE(AppendToArchive(path_, SomePerson("B", "2")).ok);
    EXPECT_EQ(Contents(), "\"A\",\"1\"\r" + Line(SomePerson("B", "2")));
    Write("\"A\",\"1\"\n");  // and so does a LF alone
    ASSERT_TRUE(AppendToArchive(path_, SomePerson("B", "2")).ok);
    EXPECT_EQ(Contents(), "\"A\",\"1\"\n" + Line(SomePerson("B", "2")));
}

TEST_F(ArchiveFileTest, UnwritableDirectoryIsReportedAsAFailure)
{
    if (::geteuid() == 0)
        GTEST_SKIP() << "root ignores directory permissions";
    fs::permissions(directory_, fs::perms::owner_read | fs::perms::owner_exec);

    const ArchiveResult appended = AppendToArchive(path_, SomePerson("ROSSI", "ANNA"));
    EXPECT_FALSE(appended.ok);
    EXPECT_EQ(appended.message.rfind("Impossibile scrivere l'archivio " + path_ + ": ", 0), 0u)
        << appended.message;
    const ArchiveResult rewritten = RewriteArchive(path_, std::vector{SomePerson("ROSSI", "ANNA")});
    EXPECT_FALSE(rewritten.ok);
    EXPECT_EQ(rewritten.message.rfind("Impossibile scrivere l'archivio " + path_ + ": ", 0), 0u)
        << rewritten.message;
    EXPECT_FALSE(fs::exists(path_));
}

// One rule for load, append and delete: a link to a plain file of the
// user's own is the archive, written through; any other link is refused.
TEST_F(ArchiveFileTest, LinkToTheUsersOwnFileIsFollowedByEveryOperation)
{
    const fs::path elsewhere = directory_ / "altrove";
    fs::create_directory(elsewhere);
    const std::string target = (elsewhere / kArchiveFileName).string();
    Write(Line(SomePerson("ALFA", "A")), target);
    fs::create_symlink(target, path_);

    ASSERT_TRUE(AppendToArchive(path_, SomePerson("BETA", "B")).ok);
    EXPECT_EQ(Contents(target), Line(SomePerson("ALFA", "A")) + Line(SomePerson("BETA", "B")));
    ArchiveStamp stamp;
    std::vector<Person> rows = LoadArchive(path_, &stamp);
    ASSERT_EQ(rows, (std::vector{SomePerson("ALFA", "A"), SomePerson("BETA", "B")}));
    rows.erase(rows.begin());
    ASSERT_TRUE(RewriteArchive(path_, rows, &stamp).ok);

    EXPECT_TRUE(fs::is_symlink(path_));
    EXPECT_EQ(Contents(target), Line(SomePerson("BETA", "B")));
    EXPECT_EQ(std::distance(fs::directory_iterator(elsewhere), fs::directory_iterator()), 1);
}

TEST_F(ArchiveFileTest, LinkLeadingAnywhereElseIsRefusedByNameEverywhere)
{
    const std::string refused = "L'archivio " + path_
                                + " è un collegamento simbolico che non porta a un file normale dell'utente: "
                                  "l'archivio non viene né letto né scritto.";
    const fs::path folder = directory_ / "cartella";
    fs::create_directory(folder);
    const fs::path othersFile = directory_ / "altrui";
    Write(Line(SomePerson("ALFA", "A")), othersFile.string());
    std::vector<fs::path> targets = {directory_ / "mancante", folder};
    if (::geteuid() == 0 && ::chown(othersFile.c_str(), kNobody, kNobody) == 0)
        targets.push_back(othersFile);

    for (const fs::path& target : targets) {
        fs::create_symlink(target, path_);
        ArchiveStamp stamp;
        EXPECT_TRUE(LoadArchive(path_, &stamp).empty()) << target;
        EXPECT_EQ(stamp.problem, refused) << target;
        EXPECT_EQ(AppendToArchive(path_, SomePerson("BETA", "B")).message, refused) << target;
        EXPECT_EQ(RewriteArchive(path_, {}).message, refused) << target;
        EXPECT_TRUE(fs::is_symlink(path_));
        fs::remove(path_);
    }
    EXPECT_FALSE(fs::exists(directory_ / "mancante"));
    EXPECT_TRUE(fs::is_empty(folder));
    EXPECT_EQ(Contents(othersFile.string()), Line(SomePerson("ALFA", "A")));
}

TEST_F(ArchiveFileTest, WriteCutShortByAFullDiskLeavesTheArchiveAsItWas)
{
    const std::string before = Line(SomePerson("ALFA", "A"));
    Write(before);
    // A file size limit makes the kernel write only part of the line, as a full disk would.
    rlimit old{};
    ASSERT_EQ(::getrlimit(RLIMIT_FSIZE, &old), 0);
    const auto oldHandler = std::signal(SIGXFSZ, SIG_IGN);
    rlimit limited = old;
    limited.rlim_cur = before.size() + 10;
    ASSERT_EQ(::setrlimit(RLIMIT_FSIZE, &limited), 0);
    const ArchiveResult appended = AppendToArchive(path_, SomePerson("BETA", "B"));
    const ArchiveResult rewritten =
        RewriteArchive(path_, std::vector{SomePerson("GAMMA", "G"), SomePerson("DELTA", "D")});
    ::setrlimit(RLIMIT_FSIZE, &old);
    std::signal(SIGXFSZ, oldHandler);

    EXPECT_FALSE(appended.ok);
    EXPECT_EQ(appended.message, "Impossibile scrivere l'archivio " + path_
                                    + ": scrittura incompleta, spazio su disco esaurito.");
    EXPECT_FALSE(rewritten.ok);
    EXPECT_EQ(Contents(), before);
    EXPECT_EQ(std::distance(fs::directory_iterator(directory_), fs::directory_iterator()), 1);
}

TEST_F(ArchiveFileTest, LargeArchivesAndLongLinesHaveNoSixteenBitLimits)
{
    std::vector<Person> rows;
    for (int i = 0; i < 40000; ++i) {
        char surname[16];
        std::snprintf(surname, sizeof surname, "P%05d", i);
        rows.push_back(SomePerson(surname, "ANNA"));
    }
    rows[39999].place = std::string(40000, 'L');
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
    void SetUp() override { ASSERT_FALSE(temporary_.path().empty()); }

    static Person SomePerson(const std::string& surname)
    {
        return {.surname = surname,
                .firstName = "LUCIA",
                .sex = "F",
                .birthDate = "03/07/85",
                .place = "ROMA",
                .province = "RM",
                .code = "BNCLCU85L43H501J"};
    }

    test::TemporaryDirectory temporary_;
    const std::string path_ = temporary_.path() + "/codarc.dat";
};

TEST_F(ArchiveSharing, RewriteRefusesWhenAnotherInstanceAppendedMeanwhile)
{
    ASSERT_TRUE(AppendToArchive(path_, SomePerson("ROSSI")).ok);
    ASSERT_TRUE(AppendToArchive(path_, SomePerson("VERDI")).ok);
    ArchiveStamp stamp;
    auto rows = LoadArchive(path_, &stamp);
    ASSERT_TRUE(stamp.exists);

    ASSERT_TRUE(AppendToArchive(path_, SomePerson("BIANCHI")).ok);  // another instance
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
    EXPECT_EQ(LoadArchive(path_)[0].surname, "VERDI");
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
        AppendToArchive(path_, SomePerson(child == 0 ? "FIGLIO" : "PADRE"));
    if (child == 0)
        ::_exit(0);
    ::waitpid(child, nullptr, 0);
    const auto rows = LoadArchive(path_);
    ASSERT_EQ(rows.size(), 600u);
    for (const Person& row : rows)
        ASSERT_EQ(row.province, "RM");
}

}  // namespace
}  // namespace cf
