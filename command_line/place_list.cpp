// SPDX-License-Identifier: MIT
#include "command_line/place_list.h"

#include "command_line/csv_line.h"
#include "engine/code/dates.h"
#include "engine/places/place_search.h"

namespace cf {
namespace {

std::string DayText(int day)
{
    return day == 0 || day == kStillOpen ? std::string() : FormatLongYearDate(DateOfDayNumber(day));
}

}  // namespace

PlaceList ListPlaces(std::string_view text)
{
    const PlaceCatalog& catalog = PlaceCatalog::Embedded();
    PlaceList list;
    for (int row : FindPlacesContaining(catalog, text, kMaxListedPlaces)) {
        const PlaceRow& place = catalog.Row(row);
        const auto periods = catalog.PeriodsOf(place.code);
        std::string line;
        for (std::string_view field : {place.name, place.code, place.province}) {
            AppendCsvField(line, field);
            line += ',';
        }
        if (!periods.empty()) {
            line += DayText(periods.front().firstDay);
            line += ',';
            line += DayText(periods.back().lastDay);
        } else {
            line += ',';
        }
        list.lines.push_back(std::move(line));
    }
    if (list.lines.empty())
        list.refusal = "Nessun luogo contiene il testo indicato.";
    return list;
}

}  // namespace cf
