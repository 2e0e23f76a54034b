#pragma once
// The archive file "codarc.dat": one archived person a line, seven
// double-quoted comma-separated fields, Windows-1252 text, CR LF line ends.

#include <array>
#include <cstdint>
#include <span>
#include <string>
#include <vector>

namespace cf {

inline constexpr char kArchiveFileName[] = "codarc.dat";
inline constexpr int kArchiveFieldCount = 7;

// Surname, first name, codice fiscale, sex, date of birth, place of birth,
// province, in the order of the file. UTF-8 texts.
using ArchiveRecord = std::array<std::string, kArchiveFieldCount>;

// Outcome of a write; when !ok, `message` says in Italian what went wrong,
// ready for a message box.
struct ArchiveResult {
    bool ok = true;
    std::string message;
};

// The program directory + "codarc.dat" when that directory is writable,
// else the user's data directory ($XDG_DATA_HOME or ~/.local/share, plus
// "/codicefiscale/", created if needed) + "codarc.dat".
std::string ArchivePath();

// Appends one record as a line. A record holding a double quote, a comma or
// a line break, or a character Windows-1252 cannot represent, is refused and
// nothing is written; a failed write leaves the file as it was.
ArchiveResult AppendArchiveRecord(const std::string& path, const ArchiveRecord& record);

// Identifies the archive file as a load found it, so that a later rewrite
// can tell whether another program changed the file in between.
struct ArchiveStamp {
    bool exists = false;
    std::uint64_t device = 0;
    std::uint64_t inode = 0;
    std::int64_t size = 0;
    std::int64_t modifiedNanoseconds = 0;
    bool operator==(const ArchiveStamp&) const = default;
};

// Every line of the archive as a record, sorted case-insensitively by the
// whole line without its quotes (lines that compare equal keep their file
// order). Empty when the file is missing or unreadable. `stamp`, when given,
// receives the stamp of the file as read.
std::vector<ArchiveRecord> LoadArchive(const std::string& path, ArchiveStamp* stamp = nullptr);

// Replaces the archive with `rows`, in the given order, in one step: on any
// failure the old archive stays whole. No rows leaves an empty file. With
// `loaded`, the stamp of the load the rows came from, the rewrite is refused
// when the file has changed since (another instance appended a person, say),
// so that nothing written meanwhile is lost; after a rewrite `loaded` holds
// the stamp of the new file, ready for the next one.
ArchiveResult RewriteArchive(const std::string& path, std::span<const ArchiveRecord> rows,
                             ArchiveStamp* loaded = nullptr);

}  // namespace cf
