#include "engine/archive_file.h"

#include "engine/cp1252.h"
#include "engine/safe_file.h"
#include "engine/text_fields.h"
#include "engine/work_files.h"

#include <algorithm>
#include <cerrno>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <fcntl.h>
#include <pwd.h>
#include <optional>
#include <string_view>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

namespace cf {
namespace {

// Field names for the messages, in file order.
constexpr std::array<const char*, kArchiveFieldCount> kFieldNames = {
    "Cognome", "Nome", "Codice fiscale", "Sesso", "Data", "Luogo", "Provincia",
};

// A person's fields in the order of an archive line.
std::array<const std::string*, kArchiveFieldCount> LineFields(const Person& person)
{
    return {&person.surname, &person.firstName, &person.code,    &person.sex,
            &person.birthDate, &person.place,   &person.province};
}

std::array<std::string*, kArchiveFieldCount> LineFields(Person& person)
{
    return {&person.surname, &person.firstName, &person.code,    &person.sex,
            &person.birthDate, &person.place,   &person.province};
}

constexpr char kUnrepresentable[] = "caratteri non rappresentabili nella codifica Windows-1252";

// Sort weight of each Windows-1252 byte: letters fold to lower case (ASCII,
// Latin-1 and the code page's Š Œ Ž Ÿ), and the comma weighs less than any
// other byte, so a field sorts before the longer ones it begins
// ("DE" before "DE ROSSI", "ROSSI" before "ROSSINI").
constexpr std::array<unsigned char, 256> kSortWeight = [] {
    std::array<unsigned char, 256> weight{};
    for (int byte = 0; byte < 256; ++byte) {
        int folded = byte;
        if ((byte >= 'A' && byte <= 'Z') || (byte >= 0xC0 && byte <= 0xDE && byte != 0xD7))
            folded = byte + 0x20;
        else if (byte == 0x8A || byte == 0x8C || byte == 0x8E)
            folded = byte + 0x10;
        else if (byte == 0x9F)
            folded = 0xFF;
        weight[byte] = static_cast<unsigned char>(byte == ',' ? 0 : folded < ',' ? folded + 1 : folded);
    }
    return weight;
}();

// The system's reason for a failure, in Italian for the usual ones.
std::string Reason(int error)
{
    switch (error) {
    case EACCES:
    case EPERM:
        return "permesso negato";
    case EROFS:
        return "file system in sola lettura";
    case ENOSPC:
        return "spazio su disco esaurito";
    case ELOOP:
        return "al suo posto c'è un collegamento simbolico";
    default:
        return std::strerror(error);
    }
}

ArchiveResult WriteFailure(const std::string& path, std::string_view reason)
{
    return {false, "Impossibile scrivere l'archivio " + path + ": " + std::string(reason) + "."};
}

// The file the operations work on: the path itself, or the regular file of
// the user's own that a symbolic link at the path leads to. Empty, with
// `problem` set, for an empty path (no home folder) and for a link leading
// anywhere else.
std::string FileBehind(const std::string& path, std::string& problem)
{
    if (path.empty()) {
        problem = "Impossibile trovare una cartella per l'archivio: l'utente non ha una cartella personale "
                  "(HOME non impostata e utente sconosciuto al sistema).";
        return {};
    }
    struct stat info {};
    if (::lstat(path.c_str(), &info) != 0 || !S_ISLNK(info.st_mode))
        return path;
    std::string file;
    if (char* resolved = ::realpath(path.c_str(), nullptr)) {
        struct stat target {};
        if (::stat(resolved, &target) == 0 && S_ISREG(target.st_mode) && target.st_uid == ::geteuid())
            file = resolved;
        std::free(resolved);
    }
    if (file.empty())
        problem = "L'archivio " + path + " è un collegamento simbolico che non porta a un file normale dell'utente: "
                  "l'archivio non viene né letto né scritto.";
    return file;
}

// The character of `field` that would break the line apart on reading, named
// for a message; nullptr when there is none.
const char* SeparatorProblem(std::string_view field)
{
    if (field.find('"') != std::string_view::npos)
        return "virgolette";
    if (field.find(',') != std::string_view::npos)
        return "virgola";
    if (field.find_first_of("\r\n") != std::string_view::npos)
        return "ritorno a capo";
    return nullptr;
}

// Appends the person to `out` as one archive line. Returns the index of the
// first field Windows-1252 cannot hold, or -1 when the line is complete.
int AppendLine(const Person& person, std::string& out)
{
    const auto fields = LineFields(person);
    for (int k = 0; k < kArchiveFieldCount; ++k) {
        out += k == 0 ? "\"" : ",\"";
        if (!AppendUtf8AsCp1252(*fields[static_cast<std::size_t>(k)], out))
            return k;
        out += '"';
    }
    out += "\r\n";
    return -1;
}

ArchiveStamp StampOf(const struct stat& info)
{
    ArchiveStamp stamp;
    stamp.exists = true;
    stamp.device = static_cast<std::uint64_t>(info.st_dev);
    stamp.inode = static_cast<std::uint64_t>(info.st_ino);
    stamp.size = static_cast<std::int64_t>(info.st_size);
    stamp.modifiedNanoseconds = static_cast<std::int64_t>(info.st_mtim.tv_sec) * 1000000000 + info.st_mtim.tv_nsec;
    return stamp;
}

// Whether two stamps are of the same file in the same state.
bool SameFile(const ArchiveStamp& a, const ArchiveStamp& b)
{
    return a.exists == b.exists && a.device == b.device && a.inode == b.inode && a.size == b.size
        && a.modifiedNanoseconds == b.modifiedNanoseconds;
}

// Holds an exclusive advisory lock on the archive file while it lives, so
// that appends and rewrites of several instances take turns.
class ArchiveLock {
public:
    explicit ArchiveLock(int fd) : fd_(fd)
    {
        while (::flock(fd_, LOCK_EX) != 0 && errno == EINTR) {
        }
    }
    ~ArchiveLock() { ::flock(fd_, LOCK_UN); }
    ArchiveLock(const ArchiveLock&) = delete;
    ArchiveLock& operator=(const ArchiveLock&) = delete;

private:
    int fd_;
};

// Whether the path still names the file open as `fd` (a rewrite by another
// instance replaces the file while we wait for its lock).
bool StillAtPath(int fd, const std::string& path)
{
    struct stat open {}, named {};
    return ::fstat(fd, &open) == 0 && ::lstat(path.c_str(), &named) == 0 && open.st_dev == named.st_dev
        && open.st_ino == named.st_ino;
}

// Reads a regular file whole and stamps it; a missing file reads as empty.
// Returns why the file could not be read whole, or the empty text.
std::string ReadWholeFile(const std::string& path, std::string& contents, ArchiveStamp& stamp)
{
    // O_NONBLOCK: a FIFO planted at the path must not hang the program.
    const int fd = ::open(path.c_str(), O_RDONLY | O_NOFOLLOW | O_CLOEXEC | O_NONBLOCK);
    if (fd < 0)
        return errno == ENOENT ? std::string() : Reason(errno);
    std::string reason;
    struct stat info {};
    if (::fstat(fd, &info) != 0)
        reason = Reason(errno);
    else if (!S_ISREG(info.st_mode))
        reason = "non è un file normale";
    if (reason.empty()) {
        stamp = StampOf(info);
        contents.resize(static_cast<std::size_t>(info.st_size));
        std::size_t filled = 0;
        for (;;) {
            if (filled == contents.size())
                contents.resize(filled + 4096);  // the file grew meanwhile
            const ssize_t got = ::read(fd, contents.data() + filled, contents.size() - filled);
            if (got < 0 && errno == EINTR)
                continue;
            if (got < 0)
                reason = Reason(errno);
            if (got <= 0)
                break;
            filled += static_cast<std::size_t>(got);
        }
        contents.resize(filled);
    }
    ::close(fd);
    return reason;
}

// Whether the last line of a file of `size` bytes open as `fd` is ended (by
// a CR or a LF), so that a new line can follow it directly.
bool EndsWithLineEnd(int fd, off_t size, int& error)
{
    if (size == 0)
        return true;
    char last = 0;
    const ssize_t got = ::pread(fd, &last, 1, size - 1);
    if (got != 1) {
        error = got < 0 ? errno : EIO;
        return false;
    }
    return last == '\r' || last == '\n';
}

// Cuts off what a failed append wrote past the file's old `size`. If even
// that fails, the load still reads the old lines whole.
void TakeBack(int fd, off_t size)
{
    if (::ftruncate(fd, size) != 0) {
    }
}

// One line of the file with its sort key: the line without its quotes,
// byte by byte weighted, stored in a buffer shared by all lines. `prefix`
// holds the first eight key bytes, zero-padded, most significant first: most
// comparisons end there.
struct ArchiveLine {
    std::string_view text;
    std::uint64_t prefix;
    std::size_t keyStart;
    std::size_t keyLength;
    bool ascii;
};

// Cuts `bytes` into lines (CR LF, a CR alone or a LF alone ends one, so that
// files written by other systems' editors load whole; a last line needs no
// end) and fills `keys` with their sort keys.
std::vector<ArchiveLine> CutLines(std::string_view bytes, std::string& keys)
{
    std::vector<ArchiveLine> lines;
    // One line end a line, whichever kind the file uses.
    lines.reserve(static_cast<std::size_t>(std::max(std::count(bytes.begin(), bytes.end(), '\r'),
                                                    std::count(bytes.begin(), bytes.end(), '\n')))
                  + 1);
    keys.assign(bytes.size(), '\0');
    std::size_t keyEnd = 0;
    for (std::size_t start = 0; start < bytes.size();) {
        // A plain loop: find_first_of would take several times as long.
        std::size_t end = start;
        while (end < bytes.size() && bytes[end] != '\r' && bytes[end] != '\n')
            ++end;
        std::size_t next = end == bytes.size() ? end : end + 1;
        if (next < bytes.size() && bytes[end] == '\r' && bytes[next] == '\n')
            ++next;
        const std::string_view text = bytes.substr(start, end - start);
        const std::size_t keyStart = keyEnd;
        unsigned char highBits = 0;
        for (const char byte : text) {
            highBits |= static_cast<unsigned char>(byte) & 0x80;
            if (byte != '"')
                keys[keyEnd++] = static_cast<char>(kSortWeight[static_cast<unsigned char>(byte)]);
        }
        std::uint64_t prefix = 0;
        for (std::size_t i = keyStart; i < keyStart + 8; ++i)
            prefix = prefix << 8 | (i < keyEnd ? static_cast<unsigned char>(keys[i]) : 0u);
        lines.push_back({text, prefix, keyStart, keyEnd - keyStart, highBits == 0});
        start = next;
    }
    return lines;
}

// The seven fields of a quote-stripped line, as GetField gives them: a line
// without a comma is every field; missing fields are empty; fields past the
// seventh are dropped.
void SplitFields(std::string_view text, Person& person)
{
    const bool oneField = text.find(',') == std::string_view::npos;
    for (std::string* field : LineFields(person)) {
        if (oneField) {
            field->assign(text);
            continue;
        }
        const std::size_t comma = text.find(',');
        field->assign(text.substr(0, comma));
        text = comma == std::string_view::npos ? std::string_view() : text.substr(comma + 1);
    }
}

// The user's home folder: $HOME, else the password database's; empty when
// there is none.
std::string HomeDirectory()
{
    if (const char* home = std::getenv("HOME"); home && home[0] == '/')
        return home;
    const passwd* user = ::getpwuid(::getuid());
    return user && user->pw_dir && user->pw_dir[0] == '/' ? user->pw_dir : "";
}

// The program's folder in the user's data directory, ending in '/', its
// missing folders made 0700; empty without a home folder.
std::string UserDataDirectory()
{
    std::string base;
    if (const char* dataHome = std::getenv("XDG_DATA_HOME"); dataHome && dataHome[0] == '/')
        base = dataHome;
    else if (const std::string home = HomeDirectory(); !home.empty())
        base = home + "/.local/share";
    else
        return {};
    const std::string directory = base + "/codicefiscale";
    // A folder that cannot be made shows up as a write failure.
    MakePrivateDirectories(directory);
    return directory + '/';
}

// Where installed programs live: their directory is never the archive's,
// even when writable (by root).
bool UnderSystemPrefix(std::string_view directory)
{
    for (const std::string_view prefix : {"/usr/", "/opt/", "/bin/", "/sbin/"})
        if (directory.starts_with(prefix))
            return true;
    return false;
}

}  // namespace

std::string ArchivePath()
{
    return ArchivePathFor(ProgramDirectory());
}

std::string ArchivePathFor(const std::string& programDirectory)
{
    if (!programDirectory.empty() && !UnderSystemPrefix(programDirectory)
        && ::access(programDirectory.c_str(), W_OK) == 0)
        return programDirectory + kArchiveFileName;
    const std::string directory = UserDataDirectory();
    return directory.empty() ? std::string() : directory + kArchiveFileName;
}

ArchiveResult AppendToArchive(const std::string& path, const Person& person)
{
    const auto fields = LineFields(person);
    for (std::size_t k = 0; k < fields.size(); ++k) {
        if (const char* problem = SeparatorProblem(*fields[k]))
            return {false, std::string("Il campo ") + kFieldNames[k] +
                               " contiene caratteri non ammessi nell'archivio: " + problem + "."};
    }
    std::string line;
    if (const int field = AppendLine(person, line); field >= 0)
        return {false, std::string("Il campo ") + kFieldNames[field] +
                           " contiene caratteri non ammessi nell'archivio: " + kUnrepresentable + "."};

    std::string problem;
    const std::string file = FileBehind(path, problem);
    if (!problem.empty())
        return {false, problem};
    // O_NOFOLLOW: no link swapped in meanwhile is written through.
    int fd = -1;
    for (int attempt = 0; fd < 0; ++attempt) {
        fd = ::open(file.c_str(), O_RDWR | O_APPEND | O_CREAT | O_NOFOLLOW | O_CLOEXEC | O_NONBLOCK, 0600);
        if (fd < 0)
            return WriteFailure(path, Reason(errno));
        ::flock(fd, LOCK_EX);
        // Replaced by another instance's rewrite while we waited: append to the new file.
        if (attempt < 10 && !StillAtPath(fd, file)) {
            ::close(fd);
            fd = -1;
        }
    }
    const auto fail = [&](std::string_view reason) {
        ::close(fd);
        return WriteFailure(path, reason);
    };
    struct stat info {};
    if (::fstat(fd, &info) != 0)
        return fail(Reason(errno));
    if (!S_ISREG(info.st_mode))
        return fail("non è un file normale");
    int error = 0;
    if (!EndsWithLineEnd(fd, info.st_size, error)) {
        if (error != 0)
            return fail(Reason(error));
        line.insert(0, "\r\n");  // close an unterminated last line instead of joining it
    }

    // One write, so the line goes in whole or is taken back whole.
    ssize_t written;
    do {
        written = ::write(fd, line.data(), line.size());
    } while (written < 0 && errno == EINTR);
    if (written != static_cast<ssize_t>(line.size())) {
        const std::string reason = written < 0 ? Reason(errno) : "scrittura incompleta, spazio su disco esaurito";
        TakeBack(fd, info.st_size);
        return fail(reason);
    }
    if (::fsync(fd) != 0) {
        const std::string reason = Reason(errno);
        TakeBack(fd, info.st_size);
        return fail(reason);
    }
    if (::close(fd) != 0)
        return WriteFailure(path, Reason(errno));
    return {};
}

std::vector<Person> LoadArchive(const std::string& path, ArchiveStamp* stamp)
{
    std::string bytes;
    ArchiveStamp found;
    const std::string file = FileBehind(path, found.problem);
    if (found.problem.empty()) {
        if (const std::string reason = ReadWholeFile(file, bytes, found); !reason.empty())
            found.problem = "Impossibile leggere l'archivio " + path + ": " + reason + ".";
    }
    found.whole = found.problem.empty();
    if (!found.whole)
        bytes.clear();
    std::string keys;
    std::vector<ArchiveLine> lines = CutLines(bytes, keys);
    const std::string_view keyText(keys);
    std::stable_sort(lines.begin(), lines.end(), [keyText](const ArchiveLine& a, const ArchiveLine& b) {
        if (a.prefix != b.prefix)
            return a.prefix < b.prefix;
        return keyText.substr(a.keyStart, a.keyLength) < keyText.substr(b.keyStart, b.keyLength);
    });

    std::vector<Person> persons(lines.size());
    std::string text;
    for (std::size_t i = 0; i < lines.size(); ++i) {
        // The line without its quotes, cut at its commas.
        text.clear();
        for (const char byte : lines[i].text)
            if (byte != '"')
                text += byte;
        if (!lines[i].ascii)  // ASCII is already UTF-8
            text = Cp1252ToUtf8(text);
        SplitFields(text, persons[i]);
    }
    found.persons = persons.size();
    if (stamp)
        *stamp = std::move(found);
    return persons;
}

ArchiveResult RewriteArchive(const std::string& path, std::span<const Person> persons,
                             ArchiveStamp* loaded)
{
    std::string contents;
    contents.reserve(persons.size() * 80);
    for (std::size_t row = 0; row < persons.size(); ++row) {
        if (const int field = AppendLine(persons[row], contents); field >= 0) {
            return WriteFailure(path, std::string("il campo ") + kFieldNames[field] + " della riga " +
                                          std::to_string(row + 1) + " contiene " + kUnrepresentable);
        }
    }
    std::string problem;
    const std::string file = FileBehind(path, problem);
    if (!problem.empty())
        return {false, problem};
    if (loaded && !loaded->whole)
        return {false, "L'archivio " + path + " non è stato letto per intero: nessun dato è stato eliminato. " +
                           loaded->problem};
    if (loaded && persons.size() + 1 < loaded->persons)
        return {false, "L'archivio " + path + " ha " + std::to_string(loaded->persons) +
                           " persone, ma ne sarebbero state scritte solo " + std::to_string(persons.size()) +
                           ": nessun dato è stato eliminato."};

    // Lock the file being replaced, so no append lands in it unseen. Opened
    // for writing: a file the user may not write is not replaced either.
    const int fd = ::open(file.c_str(), O_WRONLY | O_NOFOLLOW | O_CLOEXEC | O_NONBLOCK);
    if (fd < 0 && errno != ENOENT)
        return WriteFailure(path, Reason(errno));
    std::optional<ArchiveLock> lock;
    ArchiveStamp current;
    struct stat info {};
    if (fd >= 0) {
        lock.emplace(fd);
        if (::fstat(fd, &info) == 0 && S_ISREG(info.st_mode))
            current = StampOf(info);
    }
    if (loaded && !SameFile(current, *loaded)) {
        lock.reset();
        if (fd >= 0)
            ::close(fd);
        return {false, "L'archivio " + path +
                           " è stato modificato da un altro programma dopo la sua apertura: nessun dato è stato "
                           "eliminato. Riaprire l'archivio e ripetere l'operazione."};
    }
    std::string error;
    const bool replaced = ReplaceFileContents(file, contents, &error);
    if (replaced && loaded && ::lstat(file.c_str(), &info) == 0) {
        *loaded = StampOf(info);
        loaded->persons = persons.size();
    }
    lock.reset();
    if (fd >= 0)
        ::close(fd);
    if (!replaced)
        return WriteFailure(path, error);
    return {};
}

}  // namespace cf
