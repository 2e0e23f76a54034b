// SPDX-License-Identifier: MIT
#pragma once
// The archive as a load finds it, kept compact: the file's bytes in one
// buffer, exactly as read, and its lines in display order as spans of that
// buffer. Fields are cut from a line only when they are asked for, so a
// million persons take little more memory than the file itself, and a
// rewrite writes each line back byte for byte.

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "engine/code/person.h"

namespace cf {

// A line holds a person's surname, first name, codice fiscale, sex, date of
// birth, place of birth and province, in that order.
inline constexpr int kArchiveFieldCount = 7;

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

// How many lines `bytes` holds: CR LF, a CR alone or a LF alone ends one,
// and a last line needs no end.
std::size_t CountArchiveLines(std::string_view bytes);

class LoadedArchive {
public:
    LoadedArchive() = default;
    // Cuts the file's `bytes` into lines and sorts them case-insensitively
    // by the whole line without its double quotes, the comma before any
    // other character, so that rows come by surname, then first name (lines
    // that compare equal keep their file order). `stamp.persons` becomes the
    // line count. The bytes may be at most 4 GiB.
    LoadedArchive(std::string bytes, ArchiveStamp stamp);

    std::size_t size() const { return lines_.size(); }
    bool empty() const { return lines_.empty(); }

    // Line `row` as the file holds it, without its line end: Windows-1252,
    // double quotes and all.
    std::string_view line(std::size_t row) const
    {
        return std::string_view(bytes_).substr(lines_[row].start, lines_[row].length);
    }
    // Field `column` (0 to 6, in line order) of row `row`, in UTF-8, as the
    // archive has always shown it: the line without its double quotes, cut
    // at its commas; a line without a comma is every field, missing fields
    // are empty, fields past the seventh are not shown.
    std::string field(std::size_t row, int column) const;
    Person person(std::size_t row) const;
    // The first row whose codice fiscale is `code`; size() when none.
    std::size_t FindCode(std::string_view code) const;

    // Takes row `row` out.
    void Remove(std::size_t row);
    // The row `line` (as line() gave it) takes when inserted: after every
    // line it does not sort before, where a load would put it.
    std::size_t PlaceOf(std::string_view line) const;
    // Puts `line` in at its place (PlaceOf) and returns its row.
    std::size_t Insert(std::string_view line);

    const ArchiveStamp& stamp() const { return stamp_; }
    void setStamp(ArchiveStamp stamp) { stamp_ = std::move(stamp); }

private:
    struct Span {
        std::uint32_t start;
        std::uint32_t length;
    };

    std::string bytes_;
    std::vector<Span> lines_;  // in display order
    ArchiveStamp stamp_;
};

}  // namespace cf
