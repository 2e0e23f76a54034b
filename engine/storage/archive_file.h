// SPDX-License-Identifier: MIT
#pragma once
// The archive file "codarc.dat": one archived person a line, seven
// double-quoted comma-separated fields, Windows-1252 text, CR LF line ends.

#include <cstddef>
#include <cstdint>
#include <span>
#include <string>

#include "engine/code/person.h"
#include "engine/storage/loaded_archive.h"

namespace cf {

inline constexpr char kArchiveFileName[] = "codarc.dat";

// The largest archive a load takes: beyond either limit (about 1,800,000
// persons of the usual length) it is refused with a message rather than
// filling the memory. Appends go on all the same.
inline constexpr std::int64_t kMaxArchiveBytes = 128 * 1024 * 1024;
inline constexpr std::size_t kMaxArchiveLines = 2'000'000;

// Outcome of a write; when !ok, `message` says in Italian what went wrong,
// ready for a message box, and `changed` whether that was another
// program's change to the file since it was loaded (a load shows it).
struct ArchiveResult {
    bool ok = true;
    std::string message;
    bool changed = false;
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
// writes through to it). The link itself and the folder holding it must be
// the user's too, and for root the file must lie in root's home folder, so
// that a link another user planted (root run with that user's HOME) is
// never followed; any other link is refused with a message that names it.
// A new archive is readable by the user alone. Appends and rewrites take an
// archive only when it is the user's own and no one else may write it.

// Appends one person as a line. A field holding a double quote, a comma or
// a line break, or a character Windows-1252 cannot represent, is refused and
// nothing is written. A failed write leaves the file as it was.
ArchiveResult AppendToArchive(const std::string& path, const Person& person);

// Appends the persons as lines in one write: all of them or, when any field
// is refused or the write fails, none.
ArchiveResult AppendToArchive(const std::string& path, std::span<const Person> persons);

// Why the archive would refuse the person's line (the message of
// AppendToArchive); empty when it takes it.
std::string ArchiveFieldProblem(const Person& person);

// The archive's lines in display order (see LoadedArchive), with the stamp
// of what the load found. Empty when the file is missing; empty, with the
// stamp saying why, when it cannot be read or is larger than the limits.
LoadedArchive LoadArchive(const std::string& path);

// Replaces the archive with the lines of `archive` as they now stand (the
// load less a deleted row, say), each byte for byte as read, in display
// order, ended by CR LF, in one step: on any failure the old archive stays
// whole. No rows leaves an empty file. The archive keeps its permissions.
// Refused when its load could not read the file whole, when the rows are
// fewer than it read less one, or when the file at the path is no longer
// the one loaded (another instance appended a person or rewrote it: then
// `changed` is set): what the file holds is never lost and no row the user
// did not see is ever written. Afterwards the archive's stamp is the new
// file's, ready for the next rewrite.
ArchiveResult RewriteArchive(const std::string& path, LoadedArchive& archive);

}  // namespace cf
