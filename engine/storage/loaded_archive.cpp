// SPDX-License-Identifier: MIT
#include "engine/storage/loaded_archive.h"

#include <algorithm>
#include <array>

#include "engine/text/cp1252.h"

namespace cf {
namespace {

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

unsigned Weight(char byte)
{
    return kSortWeight[static_cast<unsigned char>(byte)];
}

// The order of two lines: their weights, double quotes skipped, compared
// byte by byte; a line that ends first comes first.
bool KeyLess(std::string_view a, std::string_view b)
{
    std::size_t i = 0;
    std::size_t j = 0;
    for (;; ++i, ++j) {
        while (i < a.size() && a[i] == '"')
            ++i;
        while (j < b.size() && b[j] == '"')
            ++j;
        if (i == a.size() || j == b.size())
            return i == a.size() && j != b.size();
        if (Weight(a[i]) != Weight(b[j]))
            return Weight(a[i]) < Weight(b[j]);
    }
}

// The first eight weights of a line, most significant first, zero-padded:
// most comparisons end there.
std::uint64_t KeyPrefix(std::string_view line)
{
    std::uint64_t prefix = 0;
    std::size_t i = 0;
    for (int taken = 0; taken < 8; ++taken) {
        while (i < line.size() && line[i] == '"')
            ++i;
        prefix = prefix << 8 | (i < line.size() ? Weight(line[i++]) : 0u);
    }
    return prefix;
}

// Calls visit(start, length) for each line of `bytes`.
template <typename Visit>
void ForEachLine(std::string_view bytes, Visit&& visit)
{
    for (std::size_t start = 0; start < bytes.size();) {
        // A plain loop: find_first_of would take several times as long.
        std::size_t end = start;
        while (end < bytes.size() && bytes[end] != '\r' && bytes[end] != '\n')
            ++end;
        visit(start, end - start);
        start = end == bytes.size() ? end : end + 1;
        if (start < bytes.size() && bytes[end] == '\r' && bytes[start] == '\n')
            ++start;
    }
}

// The seven fields of a line stripped of its double quotes, cut at its
// commas as the archive always has.
std::array<std::string_view, kArchiveFieldCount> CutFields(std::string_view text)
{
    std::array<std::string_view, kArchiveFieldCount> fields;
    if (text.find(',') == std::string_view::npos) {
        fields.fill(text);
        return fields;
    }
    for (std::string_view& field : fields) {
        const std::size_t comma = text.find(',');
        field = text.substr(0, comma);
        text = comma == std::string_view::npos ? std::string_view() : text.substr(comma + 1);
    }
    return fields;
}

std::string WithoutQuotes(std::string_view line)
{
    std::string text;
    text.reserve(line.size());
    for (const char byte : line)
        if (byte != '"')
            text += byte;
    return text;
}

}  // namespace

std::size_t CountArchiveLines(std::string_view bytes)
{
    std::size_t lines = 0;
    ForEachLine(bytes, [&lines](std::size_t, std::size_t) { ++lines; });
    return lines;
}

LoadedArchive::LoadedArchive(std::string bytes, ArchiveStamp stamp)
    : bytes_(std::move(bytes)), stamp_(std::move(stamp))
{
    struct Entry {
        std::uint64_t prefix;
        Span span;
    };
    std::vector<Entry> entries;
    entries.reserve(CountArchiveLines(bytes_));
    const std::string_view all(bytes_);
    ForEachLine(all, [&](std::size_t start, std::size_t length) {
        entries.push_back({KeyPrefix(all.substr(start, length)),
                           {static_cast<std::uint32_t>(start), static_cast<std::uint32_t>(length)}});
    });
    std::stable_sort(entries.begin(), entries.end(), [all](const Entry& a, const Entry& b) {
        if (a.prefix != b.prefix)
            return a.prefix < b.prefix;
        return KeyLess(all.substr(a.span.start, a.span.length), all.substr(b.span.start, b.span.length));
    });
    lines_.reserve(entries.size());
    for (const Entry& entry : entries)
        lines_.push_back(entry.span);
    stamp_.persons = lines_.size();
}

std::string LoadedArchive::field(std::size_t row, int column) const
{
    const std::string text = WithoutQuotes(line(row));
    return Cp1252ToUtf8(CutFields(text)[static_cast<std::size_t>(column)]);
}

Person LoadedArchive::person(std::size_t row) const
{
    const std::string text = WithoutQuotes(line(row));
    const auto fields = CutFields(text);
    return {.surname = Cp1252ToUtf8(fields[0]),
            .firstName = Cp1252ToUtf8(fields[1]),
            .sex = Cp1252ToUtf8(fields[3]),
            .birthDate = Cp1252ToUtf8(fields[4]),
            .place = Cp1252ToUtf8(fields[5]),
            .province = Cp1252ToUtf8(fields[6]),
            .code = Cp1252ToUtf8(fields[2])};
}

std::size_t LoadedArchive::FindCode(std::string_view code) const
{
    constexpr int kCodeColumn = 2;
    for (std::size_t row = 0; row < size(); ++row)
        if (field(row, kCodeColumn) == code)
            return row;
    return size();
}

void LoadedArchive::Remove(std::size_t row)
{
    lines_.erase(lines_.begin() + static_cast<std::ptrdiff_t>(row));
}

std::size_t LoadedArchive::PlaceOf(std::string_view line) const
{
    const auto place =
        std::upper_bound(lines_.begin(), lines_.end(), line, [this](std::string_view text, Span span) {
            return KeyLess(text, std::string_view(bytes_).substr(span.start, span.length));
        });
    return static_cast<std::size_t>(place - lines_.begin());
}

std::size_t LoadedArchive::Insert(std::string_view line)
{
    const std::size_t row = PlaceOf(line);
    const Span span{static_cast<std::uint32_t>(bytes_.size()), static_cast<std::uint32_t>(line.size())};
    bytes_.append(line);
    lines_.insert(lines_.begin() + static_cast<std::ptrdiff_t>(row), span);
    return row;
}

}  // namespace cf
