// SPDX-License-Identifier: MIT
#include "engine/places/birth_place.h"

#include <algorithm>
#include <array>
#include <vector>

#include "engine/places/place_names.h"

namespace cf {
namespace {

// The rows a typed place may mean: a stretch of rows of one name (its key),
// the name as typed and folded, and the province they must lie in when one
// was given in brackets.
struct Candidates {
    std::span<const int> rows;
    std::string_view name;
    std::string_view province;

    // The first accepted row that passes the test, those named exactly as
    // typed before those only alike (CAGNO' before CAGNO for CAGNÒ); -1 when
    // none.
    template <typename Test>
    int First(const PlaceCatalog& catalog, Test&& test) const
    {
        for (const bool exact : {true, false})
            for (int row : rows)
                if ((catalog.FoldedName(row) == name) == exact && Accepts(catalog, row) && test(row))
                    return row;
        return -1;
    }

    bool Accepts(const PlaceCatalog& catalog, int row) const
    {
        if (province.empty())
            return true;
        const PlaceRow& place = catalog.Row(row);
        if (place.province == province)
            return true;
        const auto periods = catalog.PeriodsOf(place.code);
        return std::any_of(periods.begin(), periods.end(),
                           [this](const PlacePeriod& period) { return period.province == province; });
    }
};

// `buffer` holds the folded text the result points into.
Candidates FindCandidates(const PlaceCatalog& catalog, std::string_view typedPlace,
                          std::array<char, kMaxPlaceNameLength>& buffer)
{
    const std::string_view folded = FoldPlaceName(typedPlace, buffer);
    if (const auto rows = catalog.RowsNamed(folded); !rows.empty())
        return {rows, folded, {}};
    const PlaceQuery query = SplitProvince(folded);
    if (query.province.empty())
        return {};
    return {catalog.RowsNamed(query.name), query.name, query.province};
}

bool BearsNameOn(const PlaceCatalog& catalog, int row, int day)
{
    const PlaceRow& place = catalog.Row(row);
    const PlacePeriod* period = catalog.PeriodOn(place.code, day);
    return period && period->HasName(place.name);
}

bool HasDates(const PlaceCatalog& catalog, int row)
{
    return !catalog.PeriodsOf(catalog.Row(row).code).empty();
}

// The row to take for a birth on `day`; -1 when none fits. A picked row
// wins when its code was in use; then comes the first row whose code bore
// the name on that day, then the first whose code was in use. Rows without
// dates are in use on every day, but a name that also belongs to places
// with dates is theirs: an undated row is taken only when no candidate has
// dates (or when it is picked or its province named).
int ChooseRow(const PlaceCatalog& catalog, const Candidates& candidates, int day, int pickedRow)
{
    const bool picked =
        std::find(candidates.rows.begin(), candidates.rows.end(), pickedRow) != candidates.rows.end();
    if (picked && candidates.Accepts(catalog, pickedRow) && catalog.InUseOn(catalog.Row(pickedRow).code, day))
        return pickedRow;
    const auto dated = [&catalog](int row) { return HasDates(catalog, row); };
    int row = candidates.First(catalog, [&](int r) { return dated(r) && BearsNameOn(catalog, r, day); });
    if (row < 0)
        row = candidates.First(catalog,
                               [&](int r) { return dated(r) && catalog.InUseOn(catalog.Row(r).code, day); });
    if (row >= 0 || candidates.First(catalog, dated) >= 0)
        return row;
    return candidates.First(catalog, [](int) { return true; });
}

// The same day a hundred years earlier; 0 when that year has no such day
// (29 February 2000 and 1900).
int HundredYearsBefore(int day)
{
    const Date earlier = DateOfDayNumber(day - 100 * 10000);
    return IsValidDate(earlier.year, earlier.month, earlier.day) ? DayNumber(earlier) : 0;
}

int DayAfter(int day)
{
    return DayNumber(NextDay(DateOfDayNumber(day)));
}

int DayBefore(int day)
{
    return DayNumber(PreviousDay(DateOfDayNumber(day)));
}

std::string DayText(int day)
{
    return FormatLongYearDate(DateOfDayNumber(day));
}

// Where a code stood around a day it was not in use: the periods just before
// and just after that day (either may be missing).
struct Surroundings {
    const PlacePeriod* before = nullptr;
    const PlacePeriod* after = nullptr;
};

Surroundings SurroundingsOf(const PlaceCatalog& catalog, std::string_view code, int day)
{
    Surroundings around;
    for (const PlacePeriod& period : catalog.PeriodsOf(code)) {
        if (period.lastDay < day)
            around.before = &period;
        else if (!around.after && period.firstDay > day)
            around.after = &period;
    }
    return around;
}

PlaceVerdict VerdictOf(const Surroundings& around)
{
    if (!around.before)
        return PlaceVerdict::NotYetInUse;
    if (!around.after)
        return PlaceVerdict::NoLongerInUse;
    return PlaceVerdict::NotInUseThen;
}

bool CodeInUseOn(const PlaceCatalog& catalog, std::string_view code, int day)
{
    return catalog.PeriodOn(code, day) != nullptr;
}

// The official names of the places of a province that ended on `lastDay`
// (and did not go on the next day under another name or province), or that
// began on `firstDay` (and were not in use the day before).
std::string PlacesOfProvince(const PlaceCatalog& catalog, std::string_view province, int lastDay,
                             int firstDay)
{
    std::vector<std::string_view> names;
    for (const PlacePeriod& period : catalog.Periods()) {
        if (period.province != province)
            continue;
        const bool ended = lastDay != 0 && period.lastDay == lastDay
                           && !CodeInUseOn(catalog, period.code, DayAfter(lastDay));
        const bool began = firstDay != 0 && period.firstDay == firstDay
                           && !CodeInUseOn(catalog, period.code, DayBefore(firstDay));
        if ((ended || began) && std::find(names.begin(), names.end(), period.OfficialName()) == names.end())
            names.push_back(period.OfficialName());
    }
    std::string text;
    for (std::string_view name : names) {
        text += text.empty() ? " (" : ", ";
        text += name;
    }
    if (!text.empty())
        text += ')';
    return text;
}

// When the code was in use around the day: "esiste dal ...", "è esistito
// fino al ...", "non è esistito dal ... al ...".
std::string SpanText(const PlaceCatalog& catalog, std::string_view code, const Surroundings& around)
{
    switch (VerdictOf(around)) {
    case PlaceVerdict::NotYetInUse: {
        const int lastDay = catalog.PeriodsOf(code).back().lastDay;
        if (lastDay == kStillOpen)
            return "esiste dal " + DayText(around.after->firstDay);
        return "è esistito dal " + DayText(around.after->firstDay) + " al " + DayText(lastDay);
    }
    case PlaceVerdict::NoLongerInUse:
        return "è esistito fino al " + DayText(around.before->lastDay);
    default:
        return "non è esistito dal " + DayText(DayAfter(around.before->lastDay)) + " al "
               + DayText(DayBefore(around.after->firstDay));
    }
}

}  // namespace

std::optional<BirthDay> BirthDayOfTypedDate(std::string_view text, const Date& today)
{
    const std::optional<Date> date = ParseDayFirstDate(text, today);
    if (!date)
        return std::nullopt;
    const bool fullYear = text.size() - text.find_last_of("/-.") == 5;
    return BirthDay{DayNumber(*date), !fullYear};
}

int FindTypedPlace(const PlaceCatalog& catalog, std::string_view typedPlace)
{
    std::array<char, kMaxPlaceNameLength> buffer;
    return FindCandidates(catalog, typedPlace, buffer).First(catalog, [](int) { return true; });
}

BirthPlace ResolveBirthPlace(const PlaceCatalog& catalog, std::string_view typedPlace, const BirthDay& birth,
                             int pickedRow)
{
    std::array<char, kMaxPlaceNameLength> buffer;
    const Candidates candidates = FindCandidates(catalog, typedPlace, buffer);
    const int row = ChooseRow(catalog, candidates, birth.day, pickedRow);
    if (row >= 0)
        return {PlaceVerdict::Found, row, birth.day};
    const int refused = candidates.First(catalog, [&catalog](int r) { return HasDates(catalog, r); });
    if (refused < 0)
        return {PlaceVerdict::Unknown, -1, birth.day};
    const Surroundings around = SurroundingsOf(catalog, catalog.Row(refused).code, birth.day);
    const int earlier = birth.centuryOpen ? HundredYearsBefore(birth.day) : 0;
    const bool earlierFits = earlier != 0 && ChooseRow(catalog, candidates, earlier, pickedRow) >= 0;
    return {VerdictOf(around), refused, birth.day, earlierFits};
}

std::vector<int> OtherPlacesNamed(const PlaceCatalog& catalog, std::string_view typedPlace,
                                  const BirthPlace& place)
{
    std::vector<int> others;
    if (place.verdict != PlaceVerdict::Found)
        return others;
    std::array<char, kMaxPlaceNameLength> buffer;
    const Candidates candidates = FindCandidates(catalog, typedPlace, buffer);
    const std::string_view code = catalog.Row(place.row).code;
    // A fit as good as the place found's: the name borne on that day, else
    // a code in use; an undated place has only undated rivals.
    const bool dated = HasDates(catalog, place.row);
    const bool bore = dated && BearsNameOn(catalog, place.row, place.day);
    auto fits = [&](int row) {
        if (!dated)
            return !HasDates(catalog, row);
        return bore ? BearsNameOn(catalog, row, place.day)
                    : HasDates(catalog, row) && catalog.InUseOn(catalog.Row(row).code, place.day);
    };
    for (int row : candidates.rows) {
        const std::string_view rowCode = catalog.Row(row).code;
        const bool seen = rowCode == code || std::any_of(others.begin(), others.end(), [&](int other) {
                              return catalog.Row(other).code == rowCode;
                          });
        if (!seen && candidates.Accepts(catalog, row) && fits(row))
            others.push_back(row);
    }
    return others;
}

std::string PlacesWithProvince(const PlaceCatalog& catalog, std::span<const int> rows)
{
    std::string text;
    for (int row : rows) {
        if (!text.empty())
            text += ", ";
        const PlaceRow& place = catalog.Row(row);
        text += std::string(place.name) + " (" + std::string(place.province) + ")";
    }
    return text;
}

std::string NamesakeWarning(const PlaceCatalog& catalog, std::string_view typedPlace, const BirthPlace& place)
{
    const std::vector<int> others = OtherPlacesNamed(catalog, typedPlace, place);
    if (others.empty())
        return {};
    const int chosen[] = {place.row};
    return "Più luoghi hanno questo nome: il codice è quello di " + PlacesWithProvince(catalog, chosen)
           + "; per un altro indicarlo con la sigla della provincia tra parentesi: "
           + PlacesWithProvince(catalog, others);
}

std::string BirthPlaceRefusal(const PlaceCatalog& catalog, const BirthPlace& place)
{
    if (place.verdict == PlaceVerdict::Found || place.verdict == PlaceVerdict::Unknown)
        return {};
    const PlaceRow& row = catalog.Row(place.row);
    const Surroundings around = SurroundingsOf(catalog, row.code, place.day);
    std::string text = std::string(row.name) + " " + SpanText(catalog, row.code, around);
    const std::string_view then = row.province == "EE" ? " lo stato di allora" : " il comune di allora";
    if (place.verdict == PlaceVerdict::NotYetInUse) {
        const PlacePeriod& first = *around.after;
        text += ": per chi è nato prima indicare";
        text += then;
        text += PlacesOfProvince(catalog, first.province, DayBefore(first.firstDay), 0);
    } else {
        const PlacePeriod& last = *around.before;
        text += place.verdict == PlaceVerdict::NoLongerInUse ? ": per chi è nato dopo indicare"
                                                             : ": per chi è nato in quel periodo indicare";
        text += then;
        text += PlacesOfProvince(catalog, last.province, 0, DayAfter(last.lastDay));
    }
    if (place.earlierCenturyFits) {
        const int earlier = HundredYearsBefore(place.day);
        text += "; la data è letta come " + DayText(place.day) + ": per una nascita del "
                + std::to_string(DateOfDayNumber(earlier).year) + " scrivere l'anno con quattro cifre ("
                + DayText(earlier) + ")";
    }
    return text;
}

CodePlace PlaceOfCode(const PlaceCatalog& catalog, std::string_view placeCode, std::optional<BirthDay> birth)
{
    CodePlace place;
    place.row = catalog.FirstRowWithCode(placeCode);
    if (place.row < 0)
        return place;
    const PlaceRow& first = catalog.Row(place.row);
    const auto periods = catalog.PeriodsOf(placeCode);
    // Outside its periods a code is told by the name it bore last.
    place.name = periods.empty() ? first.name : periods.back().OfficialName();
    place.province = first.province;
    if (!birth)
        return place;
    place.day = birth->day;
    if (periods.empty())
        return place;

    const PlacePeriod* period = catalog.PeriodOn(placeCode, birth->day);
    const int earlier = birth->centuryOpen ? HundredYearsBefore(birth->day) : 0;
    if (!period && earlier != 0) {
        period = catalog.PeriodOn(placeCode, earlier);
        if (period)
            place.day = earlier;
    }
    if (period) {
        place.name = period->OfficialName();
        return place;
    }
    place.warning = std::string(place.name) + " (" + std::string(placeCode)
                    + ") non esisteva alla data di nascita: "
                    + SpanText(catalog, placeCode, SurroundingsOf(catalog, placeCode, birth->day));
    return place;
}

}  // namespace cf
