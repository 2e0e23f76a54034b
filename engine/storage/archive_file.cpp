// SPDX-License-Identifier: MIT
#include "engine/storage/archive_file.h"

#include "engine/storage/posix_system.h"
#include "engine/storage/safe_file.h"
#include "engine/storage/system_error.h"
#include "engine/storage/work_files.h"
#include "engine/text/cp1252.h"

#include <array>
#include <cerrno>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string_view>

namespace cf {
namespace {

// Field names for the messages, in file order.
constexpr std::array<const char*, kArchiveFieldCount> kFieldNames = {
    "Cognome", "Nome", "Codice fiscale", "Sesso", "Data", "Luogo", "Provincia",
};

// A person's fields in the order of an archive line.
std::array<const std::string*, kArchiveFieldCount> LineFields(const Person& person)
{
    return {&person.surname,   &person.firstName, &person.code,    &person.sex,
            &person.birthDate, &person.place,     &person.province};
}

constexpr char kUnrepresentable[] = "caratteri non rappresentabili nella codifica Windows-1252";
constexpr char kKeepsBeingReplaced[] = "un altro programma lo sta riscrivendo in continuazione";

// Why a call failed. The files are opened without following a symbolic
// link, so ELOOP means a link stands where the file should be.
std::string Reason(int error)
{
    return error == ELOOP ? "al suo posto c'è un collegamento simbolico" : SystemErrorText(error);
}

ArchiveResult WriteFailure(const std::string& path, std::string_view reason)
{
    return {false, "Impossibile scrivere l'archivio " + path + ": " + std::string(reason) + "."};
}

// Whether `file` (a path without links) lies in the home folder that the
// password database gives root, where no other user can reach.
bool InRootsHome(const std::string& file)
{
    const std::string home = posix::ResolvedPath(posix::PasswordHomeDirectory());
    return !home.empty() && home != "/" && file.starts_with(home + '/');
}

// The folder holding `path`.
std::string FolderOf(const std::string& path)
{
    const std::size_t slash = path.rfind('/');
    return slash == std::string::npos ? "." : slash == 0 ? "/" : path.substr(0, slash);
}

// The file the operations work on: the path itself, or the regular file of
// the user's own that a symbolic link at the path leads to, when the link
// and its folder are the user's too (and, for root, the file is in root's
// home folder: a link another user planted never takes root to a system
// file). Empty, with `problem` set, for an empty path (no home folder) and
// for any other link.
std::string FileBehind(const std::string& path, std::string& problem)
{
    if (path.empty()) {
        problem = "Impossibile trovare una cartella per l'archivio: l'utente non ha una cartella personale "
                  "(HOME non impostata e utente sconosciuto al sistema).";
        return {};
    }
    const posix::FileStatus link = posix::LinkStatusOf(path);
    if (link.type != posix::FileType::SymbolicLink)
        return path;
    const unsigned user = posix::EffectiveUserId();
    if (link.owner != user || posix::StatusOf(FolderOf(path)).owner != user) {
        problem = "L'archivio " + path
                  + " è un collegamento simbolico di un altro utente, o in una sua cartella: "
                    "l'archivio non viene né letto né scritto.";
        return {};
    }
    std::string file = posix::ResolvedPath(path);
    if (!file.empty()) {
        const posix::FileStatus target = posix::StatusOf(file);
        if (target.type != posix::FileType::Regular || target.owner != user)
            file.clear();
    }
    if (file.empty()) {
        problem = "L'archivio " + path
                  + " è un collegamento simbolico che non porta a un file normale dell'utente: "
                    "l'archivio non viene né letto né scritto.";
    } else if (user == 0 && !InRootsHome(file)) {
        problem = "L'archivio " + path
                  + " è un collegamento simbolico che porta fuori dalla cartella personale "
                    "dell'amministratore: l'archivio non viene né letto né scritto.";
        file.clear();
    }
    return file;
}

// Why this user may not write into the archive file of `status`: not the
// user's own, or others may write it too (the persons written there would
// be theirs to read and change), or its mode forbids writing. Empty when
// the user may.
std::string WriteRefusal(const posix::FileStatus& status)
{
    if (status.type != posix::FileType::Regular)
        return "non è un file normale";
    if (status.owner != posix::EffectiveUserId())
        return "appartiene a un altro utente";
    if ((status.permissions & 022) != 0) {
        char mode[16];
        std::snprintf(mode, sizeof mode, "%04o", status.permissions & 07777);
        return std::string("anche altri utenti possono modificarlo (permessi ") + mode
               + "); va reso modificabile solo dal proprietario, per esempio con chmod 600";
    }
    if ((status.permissions & 0200) == 0)
        return Reason(EACCES);
    return {};
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

// Appends the record to `out` as one archive line. Returns the name of the
// first field Windows-1252 cannot hold, or nullptr when the line is complete.
const char* AppendLine(const Person& person, std::string& out)
{
    const auto fields = LineFields(person);
    for (std::size_t k = 0; k < fields.size(); ++k) {
        out += k == 0 ? "\"" : ",\"";
        if (!AppendUtf8AsCp1252(*fields[k], out))
            return kFieldNames[k];
        out += '"';
    }
    out += "\r\n";
    return nullptr;
}

ArchiveStamp StampOf(const posix::FileStatus& status)
{
    ArchiveStamp stamp;
    stamp.exists = true;
    stamp.device = status.device;
    stamp.inode = status.inode;
    stamp.size = status.size;
    stamp.modifiedNanoseconds = status.modifiedNanoseconds;
    return stamp;
}

// Whether two stamps are of the same file in the same state.
bool SameFile(const ArchiveStamp& a, const ArchiveStamp& b)
{
    return a.exists == b.exists && a.device == b.device && a.inode == b.inode && a.size == b.size
           && a.modifiedNanoseconds == b.modifiedNanoseconds;
}

// Whether the path still names the open file (a rewrite by another
// instance replaces the file while we wait for its lock).
bool StillAtPath(const posix::File& file, const std::string& path)
{
    const posix::FileStatus open = file.status();
    const posix::FileStatus named = posix::LinkStatusOf(path);
    return open.error == 0 && named.error == 0 && open.device == named.device && open.inode == named.inode;
}

// Opens `file` with `open` and locks it exclusively; when another
// instance's rewrite replaced the file while we waited for the lock, opens
// and locks the new one, so that what is locked is the file now at the
// path. 0, why it cannot be opened, or EAGAIN when it keeps being replaced.
int OpenLockedAtPath(const std::string& file, posix::File (*open)(const std::string&), posix::File& locked)
{
    for (int attempt = 0; attempt < 100; ++attempt) {
        locked = open(file);
        if (!locked.isOpen())
            return locked.error();
        locked.Lock(posix::LockKind::Exclusive);
        if (StillAtPath(locked, file))
            return 0;
    }
    locked = posix::File();
    return EAGAIN;
}

std::string TooLarge()
{
    char limits[160];
    std::snprintf(limits, sizeof limits,
                  "è troppo grande per essere aperto (oltre %lld MB o %zu.%03zu.%03zu righe)",
                  static_cast<long long>(kMaxArchiveBytes / (1024 * 1024)), kMaxArchiveLines / 1000000,
                  kMaxArchiveLines / 1000 % 1000, kMaxArchiveLines % 1000);
    return limits;
}

// Reads a regular file whole under a shared lock (so no append is read half
// written) and stamps it; a missing file reads as empty. Returns why the
// file could not be read whole, or the empty text.
std::string ReadWholeFile(const std::string& path, std::string& contents, ArchiveStamp& stamp)
{
    posix::File file = posix::File::OpenForReading(path);
    if (!file.isOpen())
        return file.error() == ENOENT ? std::string() : Reason(file.error());
    file.Lock(posix::LockKind::Shared);
    const posix::FileStatus status = file.status();
    if (status.error != 0)
        return Reason(status.error);
    if (status.type != posix::FileType::Regular)
        return "non è un file normale";
    if (status.size > kMaxArchiveBytes)
        return TooLarge();
    stamp = StampOf(status);
    // Room for the lines that undoing deletions puts back.
    contents.reserve(static_cast<std::size_t>(status.size) + 4096);
    if (const int error = file.ReadToEnd(contents, static_cast<std::size_t>(status.size)))
        return Reason(error);
    return CountArchiveLines(contents) > kMaxArchiveLines ? TooLarge() : std::string();
}

// Whether the last line of a file of `size` bytes is ended (by a CR or a
// LF), so that a new line can follow it directly.
bool EndsWithLineEnd(posix::File& file, std::int64_t size, int& error)
{
    if (size == 0)
        return true;
    char last = 0;
    error = file.ReadByteAt(size - 1, last);
    return error == 0 && (last == '\r' || last == '\n');
}

// The user's home folder: $HOME, else the password database's; empty when
// there is none.
std::string HomeDirectory()
{
    if (const char* home = std::getenv("HOME"); home && home[0] == '/')
        return home;
    std::string home = posix::PasswordHomeDirectory();
    return home.starts_with('/') ? home : "";
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
        && posix::CanWrite(programDirectory))
        return programDirectory + kArchiveFileName;
    const std::string directory = UserDataDirectory();
    return directory.empty() ? std::string() : directory + kArchiveFileName;
}

std::string ArchiveFieldProblem(const Person& person)
{
    const auto fields = LineFields(person);
    for (std::size_t k = 0; k < fields.size(); ++k) {
        if (const char* problem = SeparatorProblem(*fields[k]))
            return std::string("Il campo ") + kFieldNames[k]
                   + " contiene caratteri non ammessi nell'archivio: " + problem + ".";
    }
    std::string line;
    if (const char* field = AppendLine(person, line))
        return std::string("Il campo ") + field
               + " contiene caratteri non ammessi nell'archivio: " + kUnrepresentable + ".";
    return {};
}

ArchiveResult AppendToArchive(const std::string& path, const Person& person)
{
    return AppendToArchive(path, std::span<const Person>(&person, 1));
}

ArchiveResult AppendToArchive(const std::string& path, std::span<const Person> persons)
{
    std::string line;
    for (const Person& person : persons) {
        if (std::string problem = ArchiveFieldProblem(person); !problem.empty())
            return {false, std::move(problem)};
        AppendLine(person, line);
    }
    if (line.empty())
        return {};

    std::string problem;
    const std::string file = FileBehind(path, problem);
    if (!problem.empty())
        return {false, problem};
    // Opened without following a link swapped in meanwhile.
    posix::File archive;
    if (const int error = OpenLockedAtPath(file, posix::File::OpenForAppending, archive))
        return WriteFailure(path, error == EAGAIN ? kKeepsBeingReplaced : Reason(error));
    const posix::FileStatus status = archive.status();
    if (status.error != 0)
        return WriteFailure(path, Reason(status.error));
    if (const std::string refusal = WriteRefusal(status); !refusal.empty())
        return WriteFailure(path, refusal);
    int error = 0;
    if (!EndsWithLineEnd(archive, status.size, error)) {
        if (error != 0)
            return WriteFailure(path, Reason(error));
        line.insert(0, "\r\n");  // close an unterminated last line instead of joining it
    }

    // One write, so the line goes in whole or is taken back whole; if even
    // taking it back fails, the load still reads the old lines whole.
    std::size_t written = 0;
    error = archive.Write(line, written);
    if (error == 0 && written != line.size()) {
        archive.Truncate(status.size);
        return WriteFailure(path, "scrittura incompleta, spazio su disco esaurito");
    }
    if (error == 0)
        error = archive.Sync();
    if (error != 0) {
        archive.Truncate(status.size);
        return WriteFailure(path, Reason(error));
    }
    if (const int closeError = archive.Close())
        return WriteFailure(path, Reason(closeError));
    return {};
}

LoadedArchive LoadArchive(const std::string& path)
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
        bytes = std::string();
    return LoadedArchive(std::move(bytes), std::move(found));
}

ArchiveResult RewriteArchive(const std::string& path, LoadedArchive& archive)
{
    std::string problem;
    const std::string file = FileBehind(path, problem);
    if (!problem.empty())
        return {false, problem};
    const ArchiveStamp& loaded = archive.stamp();
    if (!loaded.whole)
        return {false, "L'archivio " + path + " non è stato letto per intero: nessun dato è stato eliminato. "
                           + loaded.problem};
    if (archive.size() + 1 < loaded.persons)
        return {false, "L'archivio " + path + " ha " + std::to_string(loaded.persons)
                           + " persone, ma ne sarebbero state scritte solo " + std::to_string(archive.size())
                           + ": nessun dato è stato eliminato."};

    // Lock the file at the path, so that no append lands in it unseen and
    // no other rewrite replaces it meanwhile, and only then compare it with
    // the one loaded. Opened for writing: a file the user may not write is
    // not replaced either. The lock goes when the file is closed, at return,
    // after the new file has taken its place.
    posix::File locked;
    const int error = OpenLockedAtPath(file, posix::File::OpenForWriting, locked);
    if (error != 0 && error != ENOENT && error != EAGAIN)
        return WriteFailure(path, Reason(error));
    ArchiveStamp current;
    if (locked.isOpen()) {
        const posix::FileStatus status = locked.status();
        if (const std::string refusal = WriteRefusal(status); !refusal.empty())
            return WriteFailure(path, refusal);
        current = StampOf(status);
    }
    if (error == EAGAIN || !SameFile(current, loaded))
        return {false,
                "L'archivio " + path
                    + " è stato modificato da un altro programma dopo la sua lettura: non è stato riscritto.",
                true};

    // The lines as read, each ended by CR LF, a buffer at a time.
    std::string buffer;
    std::size_t row = 0;
    const auto nextPiece = [&]() -> std::string_view {
        buffer.clear();
        for (; row < archive.size() && buffer.size() < 65536; ++row)
            buffer.append(archive.line(row)).append("\r\n");
        return buffer;
    };
    std::string reason;
    posix::FileStatus written;
    if (!ReplaceFileContents(file, nextPiece, &reason, &written))
        return WriteFailure(path, reason);
    ArchiveStamp stamp = StampOf(written);
    stamp.persons = archive.size();
    archive.setStamp(std::move(stamp));
    return {};
}

}  // namespace cf
