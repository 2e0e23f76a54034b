// SPDX-License-Identifier: MIT
#pragma once
// Finding and ordering archived persons as a clerk looks for them: every
// line folded once (letters upper case, accented and other Latin letters as
// their base letters, double quotes gone), so that a search or a sort by a
// column compares plain texts, whatever the case and accents.

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "engine/storage/loaded_archive.h"

namespace cf {

// The words of a typed search, folded as the lines are; blanks and commas
// part them. None for a text of blanks.
std::vector<std::string> SearchWords(std::string_view typedText);

class ArchiveSearch {
public:
    ArchiveSearch() = default;
    // Folds every line of `archive`, in its display order.
    explicit ArchiveSearch(const LoadedArchive& archive);

    std::size_t size() const { return lines_.size(); }
    // Whether row `row` holds every word, each inside one of its fields.
    bool Matches(std::size_t row, const std::vector<std::string>& words) const;
    // Whether `line` (as the file holds it) would match.
    static bool LineMatches(std::string_view line, const std::vector<std::string>& words);
    // Field `column` (0 to 6) of row `row`, folded.
    std::string_view Field(std::size_t row, int column) const;

    // Follow the archive when a row is taken out or a line put in at `row`.
    void Remove(std::size_t row);
    void Insert(std::size_t row, std::string_view line);

private:
    struct Span {
        std::uint32_t start;
        std::uint32_t length;
    };

    std::string_view Line(std::size_t row) const
    {
        return std::string_view(folded_).substr(lines_[row].start, lines_[row].length);
    }
    Span Append(std::string_view line);

    std::string folded_;
    std::vector<Span> lines_;
};

// The rows of `search` ordered by column `column`: by the folded texts, the
// date of birth as a date (a date that cannot be read first), rows alike
// keeping the archive's order.
std::vector<std::uint32_t> RowsInColumnOrder(const ArchiveSearch& search, int column, bool descending);

// Where row `row` (already in `search`) goes among `order`, rows ordered as
// RowsInColumnOrder gives them.
std::size_t PlaceInColumnOrder(const ArchiveSearch& search, const std::vector<std::uint32_t>& order,
                               std::uint32_t row, int column, bool descending);

}  // namespace cf
