// SPDX-License-Identifier: MIT
#include "engine/storage/archive_search.h"

#include <algorithm>
#include <climits>
#include <functional>
#include <optional>

#include "engine/code/dates.h"
#include "engine/text/cp1252.h"
#include "engine/text/latin_letters.h"

namespace cf {
namespace {

constexpr int kBirthDateColumn = 4;

// Field `column` of a folded line: the text between its commas.
std::string_view FieldOf(std::string_view line, int column)
{
    for (int skipped = 0; skipped < column; ++skipped) {
        const std::size_t comma = line.find(',');
        if (comma == std::string_view::npos)
            return {};
        line.remove_prefix(comma + 1);
    }
    return line.substr(0, line.find(','));
}

// A date of birth as yyyymmdd, INT_MIN when it cannot be read.
int DateKey(std::string_view field, const Date& today)
{
    const std::optional<Date> date = ParseDayFirstDate(field, today);
    return date ? DayNumber(*date) : INT_MIN;
}

// Orders rows by one column; rows alike by their place in the archive.
class ColumnOrder {
public:
    ColumnOrder(const ArchiveSearch& search, int column, bool descending)
        : search_(search), column_(column), descending_(descending)
    {
        // Dates are read once, not at each comparison.
        if (column == kBirthDateColumn) {
            const Date today = Today();
            dates_.reserve(search.size());
            for (std::size_t row = 0; row < search.size(); ++row)
                dates_.push_back(DateKey(search.Field(row, column), today));
        }
    }

    bool operator()(std::uint32_t a, std::uint32_t b) const
    {
        const int order = Compare(a, b);
        if (order != 0)
            return descending_ ? order > 0 : order < 0;
        return a < b;
    }

private:
    int Compare(std::uint32_t a, std::uint32_t b) const
    {
        // The same day however written; dates that cannot be read by their
        // texts.
        if (!dates_.empty() && (dates_[a] != dates_[b] || dates_[a] != INT_MIN))
            return dates_[a] < dates_[b] ? -1 : dates_[a] > dates_[b] ? 1 : 0;
        return search_.Field(a, column_).compare(search_.Field(b, column_));
    }

    const ArchiveSearch& search_;
    int column_;
    bool descending_;
    std::vector<int> dates_;
};

}  // namespace

std::vector<std::string> SearchWords(std::string_view typedText)
{
    std::string folded;
    AppendFoldedText(typedText, folded);
    std::vector<std::string> words;
    std::string word;
    for (const char character : folded + ' ') {
        if (character == ' ' || character == ',') {
            if (!word.empty())
                words.push_back(std::move(word));
            word.clear();
        } else if (character != '"') {
            word += character;
        }
    }
    return words;
}

ArchiveSearch::ArchiveSearch(const LoadedArchive& archive)
{
    lines_.reserve(archive.size());
    for (std::size_t row = 0; row < archive.size(); ++row)
        lines_.push_back(Append(archive.line(row)));
}

ArchiveSearch::Span ArchiveSearch::Append(std::string_view line)
{
    const auto start = static_cast<std::uint32_t>(folded_.size());
    AppendFoldedText(Cp1252ToUtf8(line), folded_);
    const auto end = std::remove(folded_.begin() + start, folded_.end(), '"');
    folded_.erase(end, folded_.end());
    return {start, static_cast<std::uint32_t>(folded_.size() - start)};
}

bool ArchiveSearch::Matches(std::size_t row, const std::vector<std::string>& words) const
{
    const std::string_view line = Line(row);
    return std::all_of(words.begin(), words.end(),
                       [line](const std::string& word) { return line.find(word) != std::string_view::npos; });
}

bool ArchiveSearch::LineMatches(std::string_view line, const std::vector<std::string>& words)
{
    ArchiveSearch search;
    search.lines_.push_back(search.Append(line));
    return search.Matches(0, words);
}

std::string_view ArchiveSearch::Field(std::size_t row, int column) const
{
    return FieldOf(Line(row), column);
}

void ArchiveSearch::Remove(std::size_t row)
{
    lines_.erase(lines_.begin() + static_cast<std::ptrdiff_t>(row));
}

void ArchiveSearch::Insert(std::size_t row, std::string_view line)
{
    lines_.insert(lines_.begin() + static_cast<std::ptrdiff_t>(row), Append(line));
}

std::vector<std::uint32_t> RowsInColumnOrder(const ArchiveSearch& search, int column, bool descending)
{
    std::vector<std::uint32_t> rows(search.size());
    for (std::uint32_t row = 0; row < rows.size(); ++row)
        rows[row] = row;
    // By reference: the comparison is copied at each step of the sort.
    const ColumnOrder order(search, column, descending);
    std::sort(rows.begin(), rows.end(), std::cref(order));
    return rows;
}

std::size_t PlaceInColumnOrder(const ArchiveSearch& search, const std::vector<std::uint32_t>& order,
                               std::uint32_t row, int column, bool descending)
{
    return static_cast<std::size_t>(
        std::lower_bound(order.begin(), order.end(), row, ColumnOrder(search, column, descending))
        - order.begin());
}

}  // namespace cf
