#pragma once
// The archive file "codarc.dat": one archived person a line, seven
// double-quoted comma-separated fields, Windows-1252 text, CR LF line ends.

#include <array>
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

// Every line of the archive as a record, sorted case-insensitively by the
// whole line without its quotes (lines that compare equal keep their file
// order). Empty when the file is missing or unreadable.
std::vector<ArchiveRecord> LoadArchive(const std::string& path);

// Replaces the archive with `rows`, in the given order, in one step: on any
// failure the old archive stays whole. No rows leaves an empty file.
ArchiveResult RewriteArchive(const std::string& path, std::span<const ArchiveRecord> rows);

}  // namespace cf
