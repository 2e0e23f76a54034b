// SPDX-License-Identifier: MIT
#pragma once
// The archive file "codarc.dat": one archived person a line, seven
// double-quoted comma-separated fields, Windows-1252 text, CR LF line ends.

#include <cstddef>
#include <cstdint>
#include <span>
#include <string>
#include <vector>

#include "engine/person.h"

namespace cf {

inline constexpr char kArchiveFileName[] = "codarc.dat";

// A line holds a person's surname, first name, codice fiscale, sex, date of
// birth, place of birth and province, in that order.
inline constexpr int kArchiveFieldCount = 7;

// Outcome of a write; when !ok, `message` says in Italian what went wrong,
// ready for a message box.
struct ArchiveResult {
    bool ok = true;
    std::string message;
};

// Where the archive is kept: the program directory + "codarc.dat" when that
// directory is writable and not under a system prefix (/usr, /opt, /bin,
// /sbin: an installed program writes nothing beside itself), else the
// user's data directory ($XDG_DATA_HOME, or ~/.local/share, plus
// "/codicefiscale/", its missing folders made 0700) + "codarc.dat". The home
// folder is $HOME, else the one the password database gives; with neither
// the result is empty, and the operations below say so.
std::string ArchivePath();

// ArchivePath for a program in `programDirectory` (ending in '/').
std::string ArchivePathFor(const std::string& programDirectory);

// Every operation below works on the file at the path, or on the regular
// file of the user's own that a symbolic link at the path leads to (and
// writes through to it); a link leading anywhere else is refused with a
// message that names it. A new archive is readable by the user alone.

// Appends one person as a line. A field holding a double quote, a comma or
// a line break, or a character Windows-1252 cannot represent, is refused and
// nothing is written; so is a file whose owner and mode do not let the
// user write it (root included). A failed write leaves the file as it was.
ArchiveResult AppendToArchive(const std::string& path, const Person& person);

// What a load found, for a later rewrite: the file as it was, so that the
// rewrite can tell whether another program changed it in between; how many
// persons it gave; whether it read the file whole (a missing file is an
// empty archive read whole) and, when not, why, in Italian.
struct ArchiveStamp {
    bool exists = false;
    std::uint64_t device = 0;
    std::uint64_t inode = 0;
    std::int64_t size = 0;
    std::int64_t modifiedNanoseconds = 0;
    std::size_t persons = 0;
    bool whole = true;
    std::string problem;
};

// Every line of the archive as a person, sorted case-insensitively by the
// whole line without its quotes (lines that compare equal keep their file
// order). A line ends at CR LF, at a CR or at a LF. Empty when the file is
// missing or unreadable. `stamp`, when given, receives what the load found.
std::vector<Person> LoadArchive(const std::string& path, ArchiveStamp* stamp = nullptr);

// Replaces the archive with `persons`, in the given order, in one step: on any
// failure the old archive stays whole. No rows leaves an empty file. The
// archive keeps its permissions, and one whose owner and mode do not let
// the user write it (root included) is not replaced. With `loaded`, the stamp of the load the rows came from,
// less the one person deleted, the rewrite is refused when that load could not read the file whole, when the
// rows are fewer than its persons less one, or when the file has changed since (another instance appended a
// person, say): nothing the file holds is ever lost. After a rewrite `loaded` holds the stamp of the new
// file, ready for the next one.
ArchiveResult RewriteArchive(const std::string& path, std::span<const Person> persons,
                             ArchiveStamp* loaded = nullptr);

}  // namespace cf
