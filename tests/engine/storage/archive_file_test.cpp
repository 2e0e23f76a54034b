// SPDX-License-Identifier: MIT
#include "engine/storage/archive_file.h"

#include "archive_line.h"
#include "engine/storage/posix_system.h"
#include "engine/storage/safe_file.h"
#include "engine/storage/work_files.h"
#include "engine/text/cp1252.h"
#include "test_files.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <functional>
#include <latch>
#include <optional>
#include <pwd.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <thread>
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

// The archive line of a person, ended.
std::string Line(const Person& person)
{
    return test::ArchiveLine(person) + "\r\n";
}

// The persons of a loaded archive, in display order.
std::vector<Person> Persons(const LoadedArchive& archive)
{
    std::vector<Person> persons;
    for (std::size_t row = 0; row < archive.size(); ++row)
        persons.push_back(archive.person(row));
    return persons;
}

std::vector<Person> LoadPersons(const std::string& path)
{
    return Persons(LoadArchive(path));
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
    void SetUp() override
    {
        ASSERT_FALSE(temporary_.path().empty());
        ASSERT_TRUE(fs::is_directory(linkTargets_));
    }
    void TearDown() override
    {
        if (::geteuid() == 0)
            fs::remove_all(linkTargets_);
    }

    // A folder for the files a link at the archive's path leads to: root
    // follows links only into root's own home folder.
    static fs::path MakeLinkTargets(const fs::path& directory)
    {
        if (::geteuid() != 0) {
            fs::create_directory(directory / "altrove");
            return directory / "altrove";
        }
        std::string pattern = std::string(::getpwuid(0)->pw_dir) + "/.cf-test-XXXXXX";
        return ::mkdtemp(pattern.data()) ? pattern : "";
    }

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
    const fs::path linkTargets_ = MakeLinkTargets(directory_);
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
    EXPECT_EQ(LoadPersons(path_), (std::vector{noName, bianchi, bianchi, verdi}));
}

TEST_F(ArchiveFileTest, LoadEndsLinesAtCrLfOrCrOrLf)
{
    Write("\"B\",\"1\"\r"    // CR alone
          "\r\n"             // blank line
          "\"A\",\"x\"\n"    // LF alone, as editors on Linux write
          "\"D\",\"y\"\n\r"  // LF then CR: two line ends around a blank line
          "\"C\",\"2\"");    // last line without a line end
    const std::vector<Person> records = LoadPersons(path_);
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
    LoadedArchive archive = LoadArchive(path_);
    ASSERT_EQ(Persons(archive), people);
    EXPECT_EQ(archive.stamp().persons, 3u);

    archive.Remove(0);
    ASSERT_TRUE(RewriteArchive(path_, archive).ok);
    EXPECT_EQ(LoadPersons(path_), Persons(archive));

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
    LoadedArchive archive = LoadArchive(path_);
    archive.Remove(2);  // a list that lost a row on the way
    archive.Remove(1);
    const ArchiveResult shrunk = RewriteArchive(path_, archive);
    EXPECT_FALSE(shrunk.ok);
    EXPECT_EQ(shrunk.message,
              "L'archivio " + path_
                  + " ha 3 persone, ma ne sarebbero state scritte solo 1: nessun dato è stato eliminato.");
    EXPECT_EQ(Contents(), before);

    // A load that could not read the file whole allows no rewrite.
    const std::string folder = (directory_ / "cartella").string();
    fs::create_directory(folder);
    LoadedArchive unreadable = LoadArchive(folder);
    EXPECT_TRUE(unreadable.empty());
    EXPECT_FALSE(unreadable.stamp().whole);
    EXPECT_EQ(unreadable.stamp().problem,
              "Impossibile leggere l'archivio " + folder + ": non è un file normale.");
    const ArchiveResult unread = RewriteArchive(folder, unreadable);
    EXPECT_FALSE(unread.ok);
    EXPECT_EQ(unread.message, "L'archivio " + folder
                                  + " non è stato letto per intero: nessun dato è stato eliminato. "
                                  + unreadable.stamp().problem);
    EXPECT_TRUE(fs::is_directory(folder));
}

TEST_F(ArchiveFileTest, ArchiveIsTheUsersAloneAndKeepsItsPermissions)
{
    const mode_t oldMask = ::umask(0);  // even the widest umask opens nothing
    ASSERT_TRUE(AppendToArchive(path_, SomePerson("ALFA", "A")).ok);
    EXPECT_EQ(Mode(path_), 0600u);
    fs::remove(path_);
    LoadedArchive missing = LoadArchive(path_);
    ASSERT_TRUE(RewriteArchive(path_, missing).ok);
    EXPECT_EQ(Mode(path_), 0600u);

    // A rewrite neither widens nor narrows what the user chose.
    ::chmod(path_.c_str(), 0640);
    LoadedArchive archive = LoadArchive(path_);
    ASSERT_TRUE(RewriteArchive(path_, archive).ok);
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
    LoadedArchive archive = LoadArchive("");
    EXPECT_TRUE(archive.empty());
    EXPECT_FALSE(archive.stamp().whole);
    EXPECT_EQ(archive.stamp().problem, noHome);
    EXPECT_EQ(AppendToArchive("", SomePerson("ALFA", "A")).message, noHome);
    EXPECT_EQ(RewriteArchive("", archive).message, noHome);

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
        LoadedArchive archive = LoadArchive(path_);
        if (archive.size() != 1)
            return false;
        archive.Remove(0);
        return RewriteArchive(path_, archive).message == refused
               && AppendToArchive(path_, SomePerson("BETA", "B")).message == refused;
    }));
    EXPECT_EQ(Contents(), Line(SomePerson("ALFA", "A")));
    EXPECT_EQ(Mode(path_), 0444u);
}

// Appends and deletes take the archive only when it is the user's own and
// no one else may write it: persons written into a file that another user
// owns or may change would be that user's to read. The rule is the file's
// owner and mode, so it holds for root too, whom the mode alone would not
// stop: another user's 0644 archive in a folder the user can write, the
// user's own 0444 one, also through a link.
TEST_F(ArchiveFileTest, ArchiveOfAnotherUserOrWritableByOthersIsNeitherAppendedToNorReplaced)
{
    const std::string line = Line(SomePerson("ALFA", "A"));
    const fs::path ownFile = linkTargets_ / "mio.dat";
    Write(line, ownFile.string());
    ::chmod(ownFile.c_str(), 0444);
    const uid_t user = ::geteuid();
    const uid_t other = 54321;
    const std::string writable = "anche altri utenti possono modificarlo (permessi 0";
    const std::string onlyOwner = "); va reso modificabile solo dal proprietario, per esempio con chmod 600";
    struct Case {
        mode_t mode;  // 0: a link to the user's own 0444 file
        uid_t owner;
        std::string reason;
    };
    const std::vector<Case> cases = {
        {0666, user, writable + "666" + onlyOwner},
        {0620, user, writable + "620" + onlyOwner},
        // Root's own tests: another user's file, a mode only root could ignore.
        {0646, other, "appartiene a un altro utente"},
        {0644, other, "appartiene a un altro utente"},
        {0444, user, "permesso negato"},
        {0, user, "permesso negato"},
    };
    for (const Case& test : cases) {
        if (::geteuid() != 0 && (test.owner != user || (test.mode & 0222) == 0))
            continue;
        if (test.mode == 0) {
            fs::create_symlink(ownFile, path_);
        } else {
            Write(line);
            ::chmod(path_.c_str(), test.mode);
            ASSERT_EQ(::chown(path_.c_str(), test.owner, test.owner), 0);
        }
        const std::string refused = "Impossibile scrivere l'archivio " + path_ + ": " + test.reason + ".";
        LoadedArchive archive = LoadArchive(path_);
        ASSERT_EQ(archive.size(), 1u) << test.mode;
        archive.Remove(0);
        EXPECT_EQ(RewriteArchive(path_, archive).message, refused) << test.mode;
        EXPECT_EQ(AppendToArchive(path_, SomePerson("BETA", "B")).message, refused) << test.mode;
        EXPECT_EQ(Contents(), line) << test.mode;
        struct stat info {};
        EXPECT_TRUE(::lstat(path_.c_str(), &info) == 0 && info.st_uid == test.owner) << "replaced";
        fs::remove(path_);
    }
    EXPECT_EQ(Contents(ownFile.string()), line);
}

// Root run with an ordinary user's HOME or XDG_DATA_HOME (sudo -E) finds
// the archive path in that user's folders: a link planted there must not
// take root to a file of root's own (a 0600 system file), neither to list
// its lines nor to write into it.
TEST_F(ArchiveFileTest, RootFollowsNoLinkPlantedByAnotherUser)
{
    if (::geteuid() != 0)
        GTEST_SKIP() << "only root can be led by another user's link to a file that user cannot reach";
    const fs::path secret = directory_ / "segreto";
    Write("root:x:0:0\n", secret.string());
    ::chmod(secret.c_str(), 0600);
    for (const char* folder : {"utente", "amministratore"})
        fs::create_directory(directory_ / folder);
    ASSERT_EQ(::chown((directory_ / "utente").c_str(), kNobody, kNobody), 0);
    const std::string planted = "è un collegamento simbolico di un altro utente, o in una sua cartella";
    const struct {
        const char* folder;
        uid_t linkOwner;
        std::string problem;
    } cases[] = {
        {"utente", kNobody, planted},
        {"utente", 0, planted},
        {"amministratore", 0,
         "è un collegamento simbolico che porta fuori dalla cartella personale dell'amministratore"},
    };
    for (const auto& test : cases) {
        const std::string path = (directory_ / test.folder / kArchiveFileName).string();
        fs::create_symlink(secret, path);
        ASSERT_EQ(::lchown(path.c_str(), test.linkOwner, test.linkOwner), 0);
        const std::string refused =
            "L'archivio " + path + " " + test.problem + ": l'archivio non viene né letto né scritto.";
        LoadedArchive archive = LoadArchive(path);
        EXPECT_TRUE(archive.empty() && archive.stamp().problem == refused) << archive.stamp().problem;
        EXPECT_EQ(AppendToArchive(path, SomePerson("BETA", "B")).message, refused);
        EXPECT_EQ(RewriteArchive(path, archive).message, refused);
        fs::remove(path);
    }
    EXPECT_EQ(Contents(secret.string()), "root:x:0:0\n");
}

// The reason of a failed write is the program's own Italian text.
TEST_F(ArchiveFileTest, FolderInPlaceOfTheArchiveIsReportedInItalian)
{
    Write(Line(SomePerson("ALFA", "A")));
    LoadedArchive archive = LoadArchive(path_);
    fs::remove(path_);
    fs::create_directory(path_);
    const std::string refused = "Impossibile scrivere l'archivio " + path_ + ": è una cartella.";
    EXPECT_EQ(AppendToArchive(path_, SomePerson("BETA", "B")).message, refused);
    EXPECT_EQ(RewriteArchive(path_, archive).message, refused);
    EXPECT_TRUE(fs::is_directory(path_));
}

TEST_F(ArchiveFileTest, LoadSplitsLegacyLinesIntoFields)
{
    Write("\"ROSSI\",\"ANNA\",\"RSSNNA80A41H501X\",\"F\",\"01/01/80\",\"REGGIO, CALABRIA\",\"RC\"\r\n"
          "SENZAVIRGOLE\r\n"
          "\"TRE\",\"DUE\"\r\n"
          "\"VIR\"GO\"LETTE\",\"\"\"\r\n");
    const std::vector<Person> records = LoadPersons(path_);
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
    // The fields a short line lacks are empty.
    Person short2;
    short2.surname = "TRE";
    short2.firstName = "DUE";
    EXPECT_EQ(records[2], short2);
    Person short1;
    short1.surname = "VIRGOLETTE";
    EXPECT_EQ(records[3], short1);
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
    for (const Person& record : LoadPersons(path_))
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

TEST_F(ArchiveFileTest, RewriteWritesRowsInDisplayOrderAndNoRowsAsAnEmptyFile)
{
    for (const char* surname : {"ZETA", "ALFA", "BETA"})
        ASSERT_TRUE(AppendToArchive(path_, SomePerson(surname, "X")).ok);
    LoadedArchive archive = LoadArchive(path_);
    archive.Remove(0);
    ASSERT_TRUE(RewriteArchive(path_, archive).ok);
    EXPECT_EQ(Contents(), Line(SomePerson("BETA", "X")) + Line(SomePerson("ZETA", "X")));

    archive.Remove(0);
    ASSERT_TRUE(RewriteArchive(path_, archive).ok);
    archive.Remove(0);
    ASSERT_TRUE(RewriteArchive(path_, archive).ok);
    EXPECT_TRUE(fs::exists(path_));
    EXPECT_EQ(fs::file_size(path_), 0u);
    EXPECT_TRUE(LoadArchive(path_).empty());
}

TEST_F(ArchiveFileTest, TextIsWindows1252OnDiskAndUtf8InMemory)
{
    Write("\"\xC8\",\"NICOL\xD2\",\"\x80\"\r\n");
    LoadedArchive archive = LoadArchive(path_);
    const Person loaded = archive.person(0);
    EXPECT_EQ(loaded.surname, "\xC3\x88");         // È
    EXPECT_EQ(loaded.firstName, "NICOL\xC3\x92");  // NICOLÒ
    EXPECT_EQ(loaded.code, "\xE2\x82\xAC");        // €
    ASSERT_TRUE(RewriteArchive(path_, archive).ok);
    EXPECT_EQ(Contents(), "\"\xC8\",\"NICOL\xD2\",\"\x80\"\r\n");

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

// A delete takes one line out; every other line goes back as it was read,
// whatever the load made of it for the screen.
TEST_F(ArchiveFileTest, DeleteWritesEveryOtherLineBackByteForByte)
{
    const std::vector<std::string> kept = {
        "",                                                                                      // blank
        "\"DE \"\"LUCA\"\"\",\"ANNA\"",                                                          // quotes
        "\"ROSSI\",\"ANNA\",\"RSSNNA80A41H501X\",\"F\",\"01/01/80\",\"REGGIO, EMILIA\",\"RE\"",  // comma
        "\"ROSSI\",\"ANNA\",\"RSSNNA80A41H501X\",\"F\",\"01/01/"
        "80\",\"ROMA\",\"RM\",\"OTTAVO\",\"NONO\"",  // 9 fields
        "SENZAVIRGOLE",                              // no comma
        "\"\xC8LIO\",\"NICOL\xD2\",\"\x81\"",        // Windows-1252
        " spazi ,\ttab, \"a\"b\"",
    };
    std::string file;
    for (const std::string& line : kept)
        file += line + "\r\n";
    Write(Line(SomePerson("ZETA", "Z")) + file);
    LoadedArchive archive = LoadArchive(path_);
    ASSERT_EQ(archive.size(), kept.size() + 1);
    std::size_t zeta = 0;
    while (archive.person(zeta).surname != "ZETA")
        ++zeta;
    archive.Remove(zeta);
    ASSERT_TRUE(RewriteArchive(path_, archive).ok);

    std::string expected;
    std::vector<std::string> written;
    for (std::size_t row = 0; row < archive.size(); ++row) {
        expected.append(archive.line(row)).append("\r\n");
        written.emplace_back(archive.line(row));
    }
    EXPECT_EQ(Contents(), expected);
    std::vector<std::string> sortedKept = kept;
    std::sort(sortedKept.begin(), sortedKept.end());
    std::sort(written.begin(), written.end());
    EXPECT_EQ(written, sortedKept);
}

// Beyond about 1,800,000 persons the archive is refused with a message
// instead of filling the memory; appends go on.
TEST_F(ArchiveFileTest, ArchiveBeyondTheLimitsIsRefusedWithAMessage)
{
    const std::string refused = "Impossibile leggere l'archivio " + path_
                                + ": è troppo grande per essere aperto (oltre 128 MB o 2.000.000 righe).";
    const std::vector<std::function<void()>> makeLarge = {
        [&] { fs::resize_file(path_, kMaxArchiveBytes + 1); },  // sparse: no disk taken
        [&] { Write(std::string(kMaxArchiveLines + 1, '\n')); },
    };
    for (const auto& make : makeLarge) {
        Write("");
        make();
        LoadedArchive archive = LoadArchive(path_);
        EXPECT_TRUE(archive.empty());
        EXPECT_EQ(archive.stamp().problem, refused);
        EXPECT_FALSE(RewriteArchive(path_, archive).ok);
        EXPECT_TRUE(AppendToArchive(path_, SomePerson("ALFA", "A")).ok);
        fs::remove(path_);
    }
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
    LoadedArchive missing = LoadArchive(path_);
    const ArchiveResult rewritten = RewriteArchive(path_, missing);
    EXPECT_FALSE(rewritten.ok);
    EXPECT_EQ(rewritten.message.rfind("Impossibile scrivere l'archivio " + path_ + ": ", 0), 0u)
        << rewritten.message;
    EXPECT_FALSE(fs::exists(path_));
}

// One rule for load, append and delete: a link to a plain file of the
// user's own is the archive, written through; any other link is refused.
TEST_F(ArchiveFileTest, LinkToTheUsersOwnFileIsFollowedByEveryOperation)
{
    const std::string target = (linkTargets_ / kArchiveFileName).string();
    Write(Line(SomePerson("ALFA", "A")), target);
    fs::create_symlink(target, path_);

    ASSERT_TRUE(AppendToArchive(path_, SomePerson("BETA", "B")).ok);
    EXPECT_EQ(Contents(target), Line(SomePerson("ALFA", "A")) + Line(SomePerson("BETA", "B")));
    LoadedArchive archive = LoadArchive(path_);
    ASSERT_EQ(Persons(archive), (std::vector{SomePerson("ALFA", "A"), SomePerson("BETA", "B")}));
    archive.Remove(0);
    ASSERT_TRUE(RewriteArchive(path_, archive).ok);

    EXPECT_TRUE(fs::is_symlink(path_));
    EXPECT_EQ(Contents(target), Line(SomePerson("BETA", "B")));
    EXPECT_EQ(std::distance(fs::directory_iterator(linkTargets_), fs::directory_iterator()), 1);
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
        LoadedArchive archive = LoadArchive(path_);
        EXPECT_TRUE(archive.empty()) << target;
        EXPECT_EQ(archive.stamp().problem, refused) << target;
        EXPECT_EQ(AppendToArchive(path_, SomePerson("BETA", "B")).message, refused) << target;
        EXPECT_EQ(RewriteArchive(path_, archive).message, refused) << target;
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
    LoadedArchive archive = LoadArchive(path_);
    archive.Insert(Line(SomePerson("GAMMA", "G")));
    archive.Insert(Line(SomePerson("DELTA", "D")));
    const ArchiveResult appended = AppendToArchive(path_, SomePerson("BETA", "B"));
    const ArchiveResult rewritten = RewriteArchive(path_, archive);
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
    std::string file;
    for (const Person& row : rows)
        file += Line(row);
    Write(file);
    LoadedArchive archive = LoadArchive(path_);
    EXPECT_EQ(Persons(archive), rows);
    ASSERT_TRUE(RewriteArchive(path_, archive).ok);
    EXPECT_EQ(Contents(), file);
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
    LoadedArchive archive = LoadArchive(path_);
    ASSERT_TRUE(archive.stamp().exists);

    ASSERT_TRUE(AppendToArchive(path_, SomePerson("BIANCHI")).ok);  // another instance
    archive.Remove(0);
    const ArchiveResult refused = RewriteArchive(path_, archive);
    EXPECT_FALSE(refused.ok);
    EXPECT_TRUE(refused.changed);
    EXPECT_EQ(refused.message, "L'archivio " + path_
                                   + " è stato modificato da un altro programma dopo la sua lettura: non è "
                                     "stato riscritto.");
    EXPECT_EQ(LoadArchive(path_).size(), 3u);

    // A fresh load may rewrite, and keeps its stamp for the next rewrite.
    archive = LoadArchive(path_);
    archive.Remove(0);
    ASSERT_TRUE(RewriteArchive(path_, archive).ok);
    archive.Remove(0);
    ASSERT_TRUE(RewriteArchive(path_, archive).ok);
    archive = LoadArchive(path_);
    ASSERT_EQ(archive.size(), 1u);
    EXPECT_EQ(archive.person(0).surname, "VERDI");
}

TEST_F(ArchiveSharing, MissingArchiveStampsAsAbsentAndMayBeRewritten)
{
    LoadedArchive archive = LoadArchive(path_);
    EXPECT_TRUE(archive.empty());
    EXPECT_FALSE(archive.stamp().exists);
    EXPECT_TRUE(RewriteArchive(path_, archive).ok);
    EXPECT_TRUE(archive.stamp().exists);
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
    const auto rows = LoadPersons(path_);
    ASSERT_EQ(rows.size(), 600u);
    for (const Person& row : rows)
        ASSERT_EQ(row.province, "RM");
}

// Two archive windows deleting at nearly the same moment while another
// instance archives a person: each rewrite must work on the file now at the
// path, with its load checked under the lock, so that a delete that
// succeeded is never undone by the other window and the person archived
// meanwhile stays. The windows are threads here, each with its own load and
// open files, which lock one another as processes would.
class ArchiveRace : public testing::Test {
protected:
    // Persons A to D, and others (Z...) enough for a rewrite to last as long
    // as the other window takes to reach the file; in memory where the
    // system has such a folder, so that no disk flush is waited for.
    void SetUp() override
    {
        ASSERT_TRUE(::mkdtemp(folder_.data()));
        path_ = folder_ + "/codarc.dat";
        for (const char* surname : {"A", "B", "C", "D"})
            archive_ += Line(SomePerson(surname, "N"));
        for (int i = 0; i < 200; ++i)
            archive_ += Line(SomePerson("Z" + std::to_string(i), "N"));
        ASSERT_TRUE(ReplaceFileContents(path_, archive_));
    }
    void TearDown() override { fs::remove_all(folder_); }

    // A window deleting the person `surname` from its load: 'D' done, 'R'
    // refused as the file changed, '?' failed otherwise.
    char Delete(LoadedArchive& archive, const char* surname) const
    {
        std::size_t row = 0;
        while (row + 1 < archive.size() && archive.person(row).surname != surname)
            ++row;
        archive.Remove(row);
        const ArchiveResult result = RewriteArchive(path_, archive);
        return result.ok ? 'D' : result.changed ? 'R' : '?';
    }
    bool AppendE() const { return AppendToArchive(path_, SomePerson("E", "N")).ok; }
    // The persons the archive holds, but the others, and what it must hold.
    std::string Surnames() const
    {
        const LoadedArchive archive = LoadArchive(path_);
        std::string surnames;
        for (std::size_t row = 0; row < archive.size(); ++row)
            surnames += archive.person(row).surname.substr(0, archive.line(row)[1] == 'Z' ? 0 : 1);
        return surnames;
    }
    static std::string Expected(char a, char b, bool appended)
    {
        return std::string(a == 'D' ? "" : "A") + (b == 'D' ? "" : "B") + "CD" + (appended ? "E" : "");
    }

    std::string folder_ =
        (fs::is_directory("/dev/shm") ? fs::path("/dev/shm") : fs::temp_directory_path()) / "cf-race-XXXXXX";
    std::string path_;
    std::string archive_;
};

TEST_F(ArchiveRace, TwoDeletesAndAnAppendAtOnceLoseNothingAndBringNothingBack)
{
    constexpr int kRounds = 200;
    int done[2] = {0, 0};
    for (int round = 0; round < kRounds; ++round) {
        ASSERT_TRUE(ReplaceFileContents(path_, archive_));
        LoadedArchive loadA = LoadArchive(path_);  // both windows show the same file
        LoadedArchive loadB = LoadArchive(path_);
        char a = '?';
        char b = '?';
        bool appended = false;
        {
            std::latch go(1);
            std::atomic<int> ended = 0;
            const auto window = [&](LoadedArchive& load, const char* surname, char& outcome) {
                go.wait();
                outcome = Delete(load, surname);
                ++ended;
                ended.notify_one();
            };
            std::jthread windowA(window, std::ref(loadA), "A", std::ref(a));
            std::jthread windowB(window, std::ref(loadB), "B", std::ref(b));
            go.count_down();
            // A person archived as soon as one window has rewritten the
            // file, while the other may still be at it.
            ended.wait(0);
            appended = AppendE();
        }
        ASSERT_TRUE(a != '?' && b != '?');
        ASSERT_EQ(Surnames(), Expected(a, b, appended)) << "round " << round << ": A " << a << ", B " << b;
        done[0] += a == 'D';
        done[1] += b == 'D';
    }
    // Both windows loaded the same file: once one has rewritten it, the
    // other finds it changed.
    std::printf(
        "%d rounds: A deleted in %d, B in %d, the other refused as changed; nothing lost, nothing back\n",
        kRounds, done[0], done[1]);
}

// The window whose flush is slowed, and a flag it raises while flushing.
thread_local bool syncsSlowly = false;
std::atomic<bool> syncing = false;
void SyncSlowly()
{
    if (!syncsSlowly)
        return;
    syncing = true;
    syncing.notify_all();
    std::this_thread::sleep_for(std::chrono::milliseconds(50));
}

// The second window's rewrite waits for the lock while the first one's
// slow flush holds it: it then finds a new file at the path, and refuses.
TEST_F(ArchiveRace, DeleteWaitingForASlowRewriteRefusesInsteadOfBringingAPersonBack)
{
    LoadedArchive loadA = LoadArchive(path_);
    LoadedArchive loadB = LoadArchive(path_);
    posix::SetBeforeSyncForTesting(SyncSlowly);
    char a = '?';
    char b = '?';
    bool appended = false;
    {
        std::jthread windowA([&] {
            syncsSlowly = true;
            a = Delete(loadA, "A");
        });
        syncing.wait(false);  // A holds the lock, flushing
        std::jthread windowB([&] { b = Delete(loadB, "B"); });
        appended = AppendE();
    }
    posix::SetBeforeSyncForTesting(nullptr);
    EXPECT_EQ(a, 'D');
    EXPECT_EQ(b, 'R');
    EXPECT_TRUE(appended);
    EXPECT_EQ(Surnames(), "BCDE");
}

}  // namespace
}  // namespace cf
