// SPDX-License-Identifier: MIT
#include "engine/archive_file.h"

#include "engine/cp1252.h"
#include "engine/posix_system.h"
#include "engine/safe_file.h"
#include "engine/system_error.h"
#include "engine/text_fields.h"
#include "engine/work_files.h"

#include <algorithm>
#include <cerrno>
#include <cstdint>
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

std::array<std::string*, kArchiveFieldCount> LineFields(Person& person)
{
    return {&person.surname,   &person.firstName, &person.code,    &person.sex,
            &person.birthDate, &person.place,     &person.province};
}

constexpr char kUnrepresentable[] = "caratteri non rappresentabili nella codifica Windows-1252";

// Sort weight of each Windows-1252 byte: letters fold to lower case (ASCII,
// Latin-1 and the code page's Š Œ Ž Ÿ), and the comma weighs less than any
// other byte, so a field sorts before the longer ones it begins
// ("DE" before "DE ROSSI", "ROSSI" before "ROSSINI").
constexpr std::array<unsigned char, 256> kSortWeight = [] {
    std::array<unsigned char, 256> weight{};
    for (std::size_t byte = 0; byte < weight.size(); ++byte) {
        std::size_t folded = byte;
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
    if (posix::LinkStatusOf(path).type != posix::FileType::SymbolicLink)
        return path;
    std::string file = posix::ResolvedPath(path);
    if (!file.empty()) {
        const posix::FileStatus target = posix::StatusOf(file);
        if (target.type != posix::FileType::Regular || target.owner != posix::EffectiveUserId())
            file.clear();
    }
    if (file.empty())
        problem = "L'archivio " + path
                  + " è un collegamento simbolico che non porta a un file normale dell'utente: "
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

// Reads a regular file whole and stamps it; a missing file reads as empty.
// Returns why the file could not be read whole, or the empty text.
std::string ReadWholeFile(const std::string& path, std::string& contents, ArchiveStamp& stamp)
{
    posix::File file = posix::File::OpenForReading(path);
    if (!file.isOpen())
        return file.error() == ENOENT ? std::string() : Reason(file.error());
    const posix::FileStatus status = file.status();
    if (status.error != 0)
        return Reason(status.error);
    if (status.type != posix::FileType::Regular)
        return "non è un file normale";
    stamp = StampOf(status);
    const int error = file.ReadToEnd(contents, static_cast<std::size_t>(status.size));
    return error == 0 ? std::string() : Reason(error);
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

ArchiveResult AppendToArchive(const std::string& path, const Person& person)
{
    const auto fields = LineFields(person);
    for (std::size_t k = 0; k < fields.size(); ++k) {
        if (const char* problem = SeparatorProblem(*fields[k]))
            return {false, std::string("Il campo ") + kFieldNames[k]
                               + " contiene caratteri non ammessi nell'archivio: " + problem + "."};
    }
    std::string line;
    if (const char* field = AppendLine(person, line))
        return {false, std::string("Il campo ") + field
                           + " contiene caratteri non ammessi nell'archivio: " + kUnrepresentable + "."};

    std::string problem;
    const std::string file = FileBehind(path, problem);
    if (!problem.empty())
        return {false, problem};
    // Opened without following a link swapped in meanwhile.
    posix::File archive;
    for (int attempt = 0; !archive.isOpen(); ++attempt) {
        archive = posix::File::OpenForAppending(file);
        if (!archive.isOpen())
            return WriteFailure(path, Reason(archive.error()));
        archive.Lock(posix::LockKind::Exclusive);
        // Replaced by another instance's rewrite while we waited: append to the new file.
        if (attempt < 10 && !StillAtPath(archive, file))
            archive = posix::File();
    }
    const posix::FileStatus status = archive.status();
    if (status.error != 0)
        return WriteFailure(path, Reason(status.error));
    if (status.type != posix::FileType::Regular)
        return WriteFailure(path, "non è un file normale");
    if (!posix::ModeLetsUserWrite(status))
        return WriteFailure(path, Reason(EACCES));
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

ArchiveResult RewriteArchive(const std::string& path, std::span<const Person> persons, ArchiveStamp* loaded)
{
    std::string contents;
    contents.reserve(persons.size() * 80);
    for (std::size_t row = 0; row < persons.size(); ++row) {
        if (const char* field = AppendLine(persons[row], contents)) {
            return WriteFailure(path, std::string("il campo ") + field + " della riga "
                                          + std::to_string(row + 1) + " contiene " + kUnrepresentable);
        }
    }
    std::string problem;
    const std::string file = FileBehind(path, problem);
    if (!problem.empty())
        return {false, problem};
    if (loaded && !loaded->whole)
        return {false, "L'archivio " + path + " non è stato letto per intero: nessun dato è stato eliminato. "
                           + loaded->problem};
    if (loaded && persons.size() + 1 < loaded->persons)
        return {false, "L'archivio " + path + " ha " + std::to_string(loaded->persons)
                           + " persone, ma ne sarebbero state scritte solo " + std::to_string(persons.size())
                           + ": nessun dato è stato eliminato."};

    // Lock the file being replaced, so no append lands in it unseen. Opened
    // for writing: a file the user may not write is not replaced either
    // (its mode is checked too, since root may open any file). The lock goes
    // when the file is closed, at return.
    posix::File archive = posix::File::OpenForWriting(file);
    if (!archive.isOpen() && archive.error() != ENOENT)
        return WriteFailure(path, Reason(archive.error()));
    ArchiveStamp current;
    if (archive.isOpen()) {
        archive.Lock(posix::LockKind::Exclusive);
        const posix::FileStatus status = archive.status();
        if (status.type == posix::FileType::Regular && !posix::ModeLetsUserWrite(status))
            return WriteFailure(path, Reason(EACCES));
        if (status.type == posix::FileType::Regular)
            current = StampOf(status);
    }
    if (loaded && !SameFile(current, *loaded))
        return {false,
                "L'archivio " + path
                    + " è stato modificato da un altro programma dopo la sua apertura: nessun dato è stato "
                      "eliminato. Riaprire l'archivio e ripetere l'operazione."};
    std::string error;
    if (!ReplaceFileContents(file, contents, &error))
        return WriteFailure(path, error);
    if (loaded) {
        if (const posix::FileStatus status = posix::LinkStatusOf(file); status.error == 0) {
            *loaded = StampOf(status);
            loaded->persons = persons.size();
        }
    }
    return {};
}

}  // namespace cf
