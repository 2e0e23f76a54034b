// SPDX-License-Identifier: MIT
#include "engine/places/place_catalog.h"

#include <algorithm>
#include <array>
#include <cstdint>
#include <optional>
#include <string>

#include "engine/places/embedded_resources.h"
#include "engine/places/place_names.h"

namespace cf {
namespace {

constexpr std::size_t kCodeSlots = 26 * 1000;

// The slot of a cadastral code (a letter and three digits: the letter's
// thousand, then the number); nothing for any other text.
std::optional<std::size_t> CodeSlot(std::string_view code)
{
    if (code.size() != 4 || code[0] < 'A' || code[0] > 'Z')
        return std::nullopt;
    std::size_t slot = static_cast<std::size_t>(code[0] - 'A');
    for (char c : code.substr(1)) {
        if (c < '0' || c > '9')
            return std::nullopt;
        slot = slot * 10 + static_cast<std::size_t>(c - '0');
    }
    return slot;
}

std::string_view ResourceText(int id)
{
    const auto bytes = ResourceBytes(id);
    return {reinterpret_cast<const char*>(bytes.data()), bytes.size()};
}

bool ByCodeThenFirstDay(const PlacePeriod& a, const PlacePeriod& b)
{
    return a.code != b.code ? a.code < b.code : a.firstDay < b.firstDay;
}

}  // namespace

struct PlaceCatalog::CodeEntry {
    int firstRow = -1;
    int firstPeriod = 0;
    int periodCount = 0;
};

// Folded name -> the rows bearing it, as a stretch of rowsByName. An
// open-addressing hash table: one allocation for all names, and a lookup
// touches one or two slots.
struct PlaceCatalog::NameIndex {
    struct Name {
        std::string_view key;
        std::uint32_t hash = 0;
        int begin = 0;
        int count = 0;
    };

    static std::uint32_t Hash(std::string_view key)
    {
        std::uint32_t hash = 2166136261u;  // FNV-1a
        for (char c : key)
            hash = (hash ^ static_cast<unsigned char>(c)) * 16777619u;
        return hash;
    }

    void Reserve(std::size_t count)
    {
        std::size_t capacity = 16;
        while (capacity < 2 * count)
            capacity *= 2;
        slots.assign(capacity, -1);
        names.reserve(count);
    }

    // The name's entry; nullptr when absent.
    const Name* Find(std::string_view key) const
    {
        const std::uint32_t hash = Hash(key);
        for (std::size_t slot = hash & (slots.size() - 1);; slot = (slot + 1) & (slots.size() - 1)) {
            const int entry = slots[slot];
            if (entry < 0)
                return nullptr;
            const Name& name = names[static_cast<std::size_t>(entry)];
            if (name.hash == hash && name.key == key)
                return &name;
        }
    }

    // The name's entry, added when absent; the key must outlive the index.
    int Add(std::string_view key, bool& added)
    {
        const std::uint32_t hash = Hash(key);
        std::size_t slot = hash & (slots.size() - 1);
        for (; slots[slot] >= 0; slot = (slot + 1) & (slots.size() - 1)) {
            const Name& name = names[static_cast<std::size_t>(slots[slot])];
            if (name.hash == hash && name.key == key) {
                added = false;
                return slots[slot];
            }
        }
        added = true;
        slots[slot] = static_cast<int>(names.size());
        names.push_back({key, hash, 0, 0});
        return slots[slot];
    }

    std::string texts;       // the folded names and keys that are no row's own text
    std::vector<int> slots;  // index into names, -1 for a free slot
    std::vector<Name> names;
    std::vector<int> rowsByName;
};

PlaceCatalog::PlaceCatalog(std::string_view tableText, std::string_view periodsText)
    : rows_(ParsePlaceTable(tableText)),
      periods_(ParsePlacePeriods(periodsText)),
      codes_(kCodeSlots),
      names_(std::make_unique<NameIndex>())
{
    for (std::size_t i = 0; i < rows_.size(); ++i) {
        const std::optional<std::size_t> slot = CodeSlot(rows_[i].code);
        if (slot && codes_[*slot].firstRow < 0)
            codes_[*slot].firstRow = static_cast<int>(i);
    }

    if (!std::is_sorted(periods_.begin(), periods_.end(), ByCodeThenFirstDay))
        std::stable_sort(periods_.begin(), periods_.end(), ByCodeThenFirstDay);
    for (std::size_t i = 0; i < periods_.size(); ++i) {
        const std::optional<std::size_t> slot = CodeSlot(periods_[i].code);
        if (!slot)
            continue;
        if (codes_[*slot].periodCount == 0)
            codes_[*slot].firstPeriod = static_cast<int>(i);
        ++codes_[*slot].periodCount;
    }

    // Folded names and keys that are not the row's own text go into one
    // buffer reserved up front, so that the views into it stay valid.
    // Folding never lengthens a table name (it holds no accents), nor does
    // taking its key.
    NameIndex& index = *names_;
    std::size_t nameBytes = 0;
    for (const PlaceRow& row : rows_)
        nameBytes += row.name.size();
    index.texts.reserve(2 * nameBytes);
    index.Reserve(rows_.size());
    foldedNames_.resize(rows_.size());
    std::vector<int> nameOfRow(rows_.size(), -1);
    std::array<char, kMaxPlaceNameLength> buffer;
    auto kept = [&index, &buffer](std::string_view text) {
        if (text.data() != buffer.data())
            return text;
        const std::size_t start = index.texts.size();
        index.texts.append(text);
        return std::string_view(index.texts.data() + start, text.size());
    };
    for (std::size_t i = 0; i < rows_.size(); ++i) {
        const std::string_view folded = FoldPlaceName(rows_[i].name, buffer);
        if (folded.empty() || folded.size() > rows_[i].name.size())
            continue;
        foldedNames_[i] = kept(folded);
        const std::size_t start = index.texts.size();
        const std::string_view key = kept(PlaceNameKey(foldedNames_[i], buffer));
        bool added = false;
        nameOfRow[i] = index.Add(key, added);
        if (!added)
            index.texts.resize(start);  // a key kept already
        ++index.names[static_cast<std::size_t>(nameOfRow[i])].count;
    }
    int begin = 0;
    for (NameIndex::Name& name : index.names) {
        name.begin = begin;
        begin += name.count;
        name.count = 0;
    }
    index.rowsByName.resize(static_cast<std::size_t>(begin));
    for (std::size_t i = 0; i < rows_.size(); ++i) {
        if (nameOfRow[i] < 0)
            continue;
        NameIndex::Name& name = index.names[static_cast<std::size_t>(nameOfRow[i])];
        index.rowsByName[static_cast<std::size_t>(name.begin + name.count++)] = static_cast<int>(i);
    }
}

PlaceCatalog::~PlaceCatalog() = default;

const PlaceCatalog& PlaceCatalog::Embedded()
{
    static const PlaceCatalog catalog(ResourceText(kPlaceTableResource), ResourceText(kPlacePeriodsResource));
    return catalog;
}

std::span<const int> PlaceCatalog::RowsNamed(std::string_view foldedName) const
{
    std::array<char, kMaxPlaceNameLength> buffer;
    const NameIndex::Name* name = names_->Find(PlaceNameKey(foldedName, buffer));
    if (!name)
        return {};
    return std::span<const int>(names_->rowsByName)
        .subspan(static_cast<std::size_t>(name->begin), static_cast<std::size_t>(name->count));
}

int PlaceCatalog::FirstRowNamed(std::string_view typedName) const
{
    std::array<char, kMaxPlaceNameLength> buffer;
    const std::string_view folded = FoldPlaceName(typedName, buffer);
    const std::span<const int> rows = RowsNamed(folded);
    const auto exact =
        std::find_if(rows.begin(), rows.end(), [&](int row) { return FoldedName(row) == folded; });
    return rows.empty() ? -1 : exact != rows.end() ? *exact : rows.front();
}

const PlaceCatalog::CodeEntry* PlaceCatalog::EntryOf(std::string_view code) const
{
    const std::optional<std::size_t> slot = CodeSlot(code);
    return slot ? &codes_[*slot] : nullptr;
}

int PlaceCatalog::FirstRowWithCode(std::string_view code) const
{
    const CodeEntry* entry = EntryOf(code);
    return entry ? entry->firstRow : -1;
}

std::span<const PlacePeriod> PlaceCatalog::PeriodsOf(std::string_view code) const
{
    const CodeEntry* entry = EntryOf(code);
    if (!entry || entry->periodCount == 0)
        return {};
    return std::span<const PlacePeriod>(periods_).subspan(static_cast<std::size_t>(entry->firstPeriod),
                                                          static_cast<std::size_t>(entry->periodCount));
}

const PlacePeriod* PlaceCatalog::PeriodOn(std::string_view code, int day) const
{
    for (const PlacePeriod& period : PeriodsOf(code))
        if (period.Holds(day))
            return &period;
    return nullptr;
}

bool PlaceCatalog::InUseOn(std::string_view code, int day) const
{
    return PeriodsOf(code).empty() || PeriodOn(code, day) != nullptr;
}

}  // namespace cf
