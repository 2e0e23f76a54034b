// SPDX-License-Identifier: MIT
#pragma once
// The place of birth as it was on the birth date: which row a typed place
// means for a person born on a given day, why a place not in use on that day
// is refused, and which place a code's cadastral code names on its date.

#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "engine/code/dates.h"
#include "engine/places/place_catalog.h"

namespace cf {

// The day of birth as far as the date tells. A year written with two digits
// is the latest such year not after today (FullYearOfTwoDigits) and leaves
// the century open: decoding a code takes the same day a hundred years
// earlier when only that fits its place; generation never moves the
// century, and refuses asking for the four-digit year.
struct BirthDay {
    int day = 0;  // yyyymmdd
    bool centuryOpen = false;
};

// The birth day of a date typed day first (as ParseDayFirstDate reads it):
// a four-digit year stands as written; a two-digit year is the latest such
// year not after today, with the century left open. Nothing when the text
// is no date.
std::optional<BirthDay> BirthDayOfTypedDate(std::string_view text, const Date& today);

// The rows a typed place may mean, first match first: those of its name
// (folded as FoldPlaceName does) or, when the whole text is no name and ends
// with a province in brackets ("SAN TEODORO (SS)"), those of the name that
// lie or lay in that province. -1 when none.
int FindTypedPlace(const PlaceCatalog& catalog, std::string_view typedPlace);

enum class PlaceVerdict {
    Found,
    Unknown,        // no row bears the typed name
    NotYetInUse,    // the place began after the birth day
    NoLongerInUse,  // the place ended before the birth day
    NotInUseThen,   // the place was suppressed for a while around the birth day
};

struct BirthPlace {
    PlaceVerdict verdict = PlaceVerdict::Unknown;
    int row = -1;  // the row chosen, or the row a refusal is about
    int day = 0;   // the birth day the verdict is about
    // A refusal of a two-digit year whose place was in use on the same day a
    // hundred years earlier: the message asks for the four-digit year.
    bool earlierCenturyFits = false;
};

// The place a typed name means for a person born on `birth`: among the rows
// of the name (or of the name in the bracketed province), the one whose code
// bore that name on that day, else the first whose code was in use on that
// day; a picked row among them wins when its code was in use. Codes without
// periods (places known without dates) are in use on every
// day, but are taken for a name only when no row of it has dates, or when
// picked or named by province. When no row fits, the first row with dates
// is refused, with the reason.
BirthPlace ResolveBirthPlace(const PlaceCatalog& catalog, std::string_view typedPlace, const BirthDay& birth,
                             int pickedRow = -1);

// The other places a typed name means on the birth day of a place found by
// it: one row for each other code among the rows of the name (in its
// bracketed province, when one is given) that fits that day as well as the
// place found (bore the name then, or was in use then, or is known without
// dates as the place found is), in table order. None for a place refused or
// unknown. The window asks which; the command line warns.
std::vector<int> OtherPlacesNamed(const PlaceCatalog& catalog, std::string_view typedPlace,
                                  const BirthPlace& place);

// Rows as the user tells them apart: "CASTRO (BG), CASTRO (LE)", each name
// with the province of its code's latest period.
std::string PlacesWithProvince(const PlaceCatalog& catalog, std::span<const int> rows);

// The warning for a typed name that means more than one place on the birth
// day: which one the code is for, and the others; empty when there are none.
std::string NamesakeWarning(const PlaceCatalog& catalog, std::string_view typedPlace,
                            const BirthPlace& place);

// Why a resolved place is refused, for the user: since when it exists and
// which places of its province ended the day before, or when it ended and
// what began the next day; for a two-digit year that fits a century
// earlier, how the date was read and the four-digit year to write. Empty
// for a place found or unknown.
std::string BirthPlaceRefusal(const PlaceCatalog& catalog, const BirthPlace& place);

// The place named by a code's cadastral code on the decoded birth day.
struct CodePlace {
    int row = -1;  // -1 when the code is unknown
    // The name it bore on that day; else the name it bore last (for a code
    // with periods) or its first row's.
    std::string_view name;
    std::string_view province;  // the province of the code's latest period
    int day = 0;                // the birth day, a century earlier when only that fits an open century
    std::string warning;        // why the place was not in use on that day; empty when it was
};

// Without a day, the code's name as when it was not in use.
CodePlace PlaceOfCode(const PlaceCatalog& catalog, std::string_view placeCode, std::optional<BirthDay> birth);

}  // namespace cf
