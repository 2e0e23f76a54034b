// SPDX-License-Identifier: MIT
#include "engine/places/place_labels.h"

#include <algorithm>
#include <array>

#include "engine/places/place_names.h"

namespace cf {
namespace {

std::string_view Trimmed(std::string_view text)
{
    const std::size_t first = text.find_first_not_of(' ');
    if (first == std::string_view::npos)
        return {};
    return text.substr(first, text.find_last_not_of(' ') - first + 1);
}

std::span<const int> RowsOfName(const PlaceCatalog& catalog, std::string_view name)
{
    std::array<char, kMaxPlaceNameLength> buffer;
    return catalog.RowsNamed(FoldPlaceName(name, buffer));
}

// The last day the row's code bore its name; 0 when the code has no dates.
int LastDayBearingName(const PlaceCatalog& catalog, const PlaceRow& row)
{
    int last = 0;
    for (const PlacePeriod& period : catalog.PeriodsOf(row.code))
        if (period.HasName(row.name))
            last = std::max(last, period.lastDay);
    return last;
}

}  // namespace

bool IsNamesake(const PlaceCatalog& catalog, std::string_view name)
{
    const std::span<const int> rows = RowsOfName(catalog, name);
    return std::any_of(rows.begin(), rows.end(), [&](int row) {
        return catalog.Row(row).province != catalog.Row(rows.front()).province;
    });
}

std::string PlaceListLabel(const PlaceCatalog& catalog, int row)
{
    const PlaceRow& place = catalog.Row(row);
    std::string label(place.name);
    const std::span<const int> rows = RowsOfName(catalog, place.name);
    const bool earlierInProvince =
        std::any_of(rows.begin(), std::find(rows.begin(), rows.end(), row),
                    [&](int other) { return catalog.Row(other).province == place.province; });
    std::string qualifier;
    if (IsNamesake(catalog, place.name))
        qualifier = place.province;
    if (earlierInProvince) {
        const int last = LastDayBearingName(catalog, place);
        if (last != kStillOpen) {
            if (!qualifier.empty())
                qualifier += ", ";
            qualifier += last == 0 ? "cessato" : "fino al " + std::to_string(last / 10000);
        }
    }
    if (!qualifier.empty())
        label += " (" + qualifier + ")";
    return label;
}

std::string PlaceBoxText(const PlaceCatalog& catalog, std::string_view name, std::string_view province)
{
    std::string text(name);
    if (!province.empty() && IsNamesake(catalog, name))
        text += " (" + std::string(province) + ")";
    return text;
}

std::string_view PlaceNameOfBoxText(const PlaceCatalog& catalog, std::string_view text)
{
    text = Trimmed(text);
    if (!RowsOfName(catalog, text).empty())
        return text;
    const PlaceQuery query = SplitProvince(text);
    return query.province.empty() ? text : Trimmed(query.name);
}

}  // namespace cf
