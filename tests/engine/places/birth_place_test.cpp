// SPDX-License-Identifier: MIT
#include <gtest/gtest.h>

#include <algorithm>
#include <fstream>
#include <string>

#include "engine/places/birth_place.h"
#include "engine/places/place_names.h"
#include "engine/places/place_periods.h"

namespace cf {
namespace {

constexpr Date kToday{2026, 12, 8};

const PlaceCatalog& Places()
{
    return PlaceCatalog::Embedded();
}

std::string Folded(std::string_view text)
{
    std::array<char, kMaxPlaceNameLength> buffer;
    return std::string(FoldPlaceName(text, buffer));
}

BirthDay Born(std::string_view date)
{
    return *BirthDayOfTypedDate(date, kToday);
}

// The code a typed place gives for a birth on `date`, or the refusal.
std::string CodeFor(std::string_view place, std::string_view date, int pickedRow = -1)
{
    const BirthPlace found = ResolveBirthPlace(Places(), place, Born(date), pickedRow);
    if (found.verdict == PlaceVerdict::Found)
        return std::string(Places().Row(found.row).code);
    if (found.verdict == PlaceVerdict::Unknown)
        return "unknown";
    return BirthPlaceRefusal(Places(), found);
}

int RowOf(std::string_view name, std::string_view code)
{
    for (int row : Places().RowsNamed(name))
        if (Places().Row(row).code == code)
            return row;
    return -1;
}

TEST(BirthDay, TwoDigitYearsAreTheLatestNotInTheFuture)
{
    EXPECT_EQ(Born("03/07/85").day, 19850703);
    EXPECT_TRUE(Born("03/07/85").centuryOpen);
    EXPECT_EQ(Born("01/01/26").day, 20260101);
    EXPECT_EQ(Born("01/01/27").day, 19270101);
    EXPECT_EQ(Born("29/02/00").day, 20000229);
    EXPECT_EQ(Born("3/7/1885").day, 18850703);
    EXPECT_FALSE(Born("3/7/1885").centuryOpen);
    EXPECT_FALSE(BirthDayOfTypedDate("31/02/85", kToday));
    EXPECT_FALSE(BirthDayOfTypedDate("  /  /  ", kToday));
}

TEST(BirthPlace, AroundAMerger)
{
    EXPECT_EQ(CodeFor("CORIGLIANO-ROSSANO", "31/03/2018"), "M403");
    EXPECT_EQ(CodeFor("CORIGLIANO-ROSSANO", "30/03/2018"),
              "CORIGLIANO-ROSSANO esiste dal 31/03/2018: per chi è nato prima indicare il comune di allora "
              "(CORIGLIANO CALABRO, ROSSANO)");
    EXPECT_EQ(CodeFor("CORIGLIANO-ROSSANO", "01/01/1950").substr(0, 42),
              "CORIGLIANO-ROSSANO esiste dal 31/03/2018: ");
    EXPECT_EQ(CodeFor("CORIGLIANO CALABRO", "30/03/2018"), "D005");
    EXPECT_EQ(
        CodeFor("CORIGLIANO CALABRO", "31/03/2018"),
        "CORIGLIANO CALABRO è esistito fino al 30/03/2018: per chi è nato dopo indicare il comune di allora "
        "(CORIGLIANO-ROSSANO)");
    EXPECT_EQ(CodeFor("MIRABELLO", "01/01/2017"),
              "MIRABELLO è esistito fino al 31/12/2016: per chi è nato dopo indicare il comune di allora "
              "(TERRE DEL RENO)");
}

TEST(BirthPlace, OldAndNewCodesOfOnePlace)
{
    EXPECT_EQ(CodeFor("BELLAGIO", "03/02/2014"), "A744");
    EXPECT_EQ(CodeFor("BELLAGIO", "04/02/2014"), "M335");
    EXPECT_EQ(CodeFor("BELLAGIO", "15/05/90"), "A744");
    // A row picked from the list wins only when its code was in use.
    EXPECT_EQ(CodeFor("BELLAGIO", "15/05/2020", RowOf("BELLAGIO", "A744")), "M335");
    EXPECT_EQ(CodeFor("BELLAGIO", "15/05/1990", RowOf("BELLAGIO", "M335")), "A744");
    EXPECT_EQ(CodeFor("ARMENIA", "15/05/1990", RowOf("ARMENIA", "Z137")), "Z137");
}

TEST(BirthPlace, OldNamesOfACodeInUse)
{
    EXPECT_EQ(CodeFor("CAVAZUCCHERINA", "01/01/1990"), "C388");
    EXPECT_EQ(CodeFor("JESOLO", "01/01/1920"), "C388");
    EXPECT_EQ(CodeFor("CASERTA", "01/01/1935"), "B963");
}

TEST(BirthPlace, NamesakesPickedByDateOrProvince)
{
    EXPECT_EQ(CodeFor("SAN TEODORO", "01/01/1970"), "I328");
    EXPECT_EQ(CodeFor("SAN TEODORO (SS)", "01/01/1970"), "I329");
    EXPECT_EQ(CodeFor("san teodoro (ss)", "01/01/1970"), "I329");
    EXPECT_EQ(CodeFor("SAN TEODORO (NU)", "01/01/1970"), "I329");  // its province then
    EXPECT_EQ(CodeFor("SAN TEODORO (SS)", "01/01/1950"),
              "SAN TEODORO esiste dal 03/05/1959: per chi è nato prima indicare il comune di allora");
    EXPECT_EQ(CodeFor("SAN TEODORO (RM)", "01/01/1970"), "unknown");
    EXPECT_EQ(CodeFor("CASTRO (LE)", "01/01/1980"), "M261");
    EXPECT_EQ(CodeFor("CASTRO", "01/01/1980"), "C337");
    EXPECT_EQ(CodeFor("LIVO (TN)", "01/01/1980"), "E624");
    EXPECT_EQ(CodeFor("ISOLE COOK (NZ)", "01/01/1980"), "Z703");
    // Suppressed for a while: neither namesake was in use in 1935.
    EXPECT_EQ(CodeFor("SAN TEODORO", "01/01/1935").substr(0, 61),
              "SAN TEODORO non è esistito dal 24/01/1929 al 28/08/1940: per");
}

// A bare name that means more than one place on the birth date gives the
// first, and names the others.
TEST(BirthPlace, OtherPlacesOfABareName)
{
    // Place, date, code, the others; CASTRO (LE) began in 1975, LIVO (CO) was
    // suppressed from 1928 to 1950, BELLAGIO is one place under two codes,
    // MIRABELLO's namesakes have no dates; names alike but for a final accent
    // give the one written so first.
    const struct {
        const char *place, *date, *code, *others;
    } cases[] = {{"CASTRO", "1/1/1980", "C337", "CASTRO (LE)"},
                 {"castro", "1/1/1970", "C337", ""},
                 {"CASTRO (LE)", "1/1/1980", "M261", ""},
                 {"LIVO", "1/1/1935", "E624", ""},
                 {"BELLAGIO", "1/1/2020", "M335", ""},
                 {"MIRABELLO", "1/1/1990", "F235", ""},
                 {"CAGNÒ", "1/1/2000", "B360", "CAGNO (CO)"},
                 {"CAGNO", "1/1/2000", "B359", "CAGNO' (TN)"},
                 {"Paternò", "1/1/2000", "G371", "PATERNO (PZ)"},
                 {"MALÉ", "1/1/2000", "E850", ""}};
    for (const auto& row : cases) {
        const BirthPlace place = ResolveBirthPlace(Places(), row.place, Born(row.date));
        ASSERT_EQ(place.verdict, PlaceVerdict::Found) << row.place;
        EXPECT_EQ(Places().Row(place.row).code, row.code) << row.place << " " << row.date;
        EXPECT_EQ(PlacesWithProvince(Places(), OtherPlacesNamed(Places(), row.place, place)), row.others)
            << row.place << " " << row.date;
    }
    const std::string_view typed = "SAN TEODORO";
    EXPECT_EQ(
        NamesakeWarning(Places(), typed, ResolveBirthPlace(Places(), typed, Born("1/1/1970"))),
        "Più luoghi hanno questo nome: il codice è quello di SAN TEODORO (ME); per un altro indicarlo con "
        "la sigla della provincia tra parentesi: SAN TEODORO (SS)");
    EXPECT_EQ(NamesakeWarning(Places(), "ROMA", ResolveBirthPlace(Places(), "ROMA", Born("1/1/1970"))), "");
    // A refused place has no others.
    const BirthPlace refused = ResolveBirthPlace(Places(), "SAN TEODORO", Born("01/01/1935"));
    EXPECT_TRUE(OtherPlacesNamed(Places(), "SAN TEODORO", refused).empty());
}

// Every municipality of today is reached, for a birth today, by its name
// with its province in brackets, as the place box writes a namesake.
TEST(BirthPlace, EveryMunicipalityOfTodayIsReached)
{
    int reached = 0;
    for (const PlacePeriod& period : Places().Periods()) {
        if (period.lastDay != kStillOpen || period.province == "EE")
            continue;
        const std::string typed =
            std::string(period.OfficialName()) + " (" + std::string(period.province) + ")";
        const BirthPlace place = ResolveBirthPlace(Places(), typed, BirthDay{20261201, false});
        ASSERT_EQ(place.verdict, PlaceVerdict::Found) << typed;
        ASSERT_EQ(Places().Row(place.row).code, period.code) << typed;
        ++reached;
    }
    EXPECT_EQ(reached, 7896);
}

// Every name and second-language name of the public lists is found as the
// lists write it, in its ASCII form, with an apostrophe for a final accented
// vowel and without any accent, on a day its code bore it: its code is the
// one given, or one of the others the name means that day. A place known
// without dates whose name dated places bear is theirs: it is found with
// its province in brackets, unless a dated place has its name in the same
// province (CALIMERA B412, the old ARMENIA Z137): only a pick from the list
// reaches such a suppressed code.
// The lines CODE,DAY,NAME come from tools/build_place_table.py.
TEST(BirthPlace, EveryNameOfTheListsInEveryWritingIsFound)
{
    std::ifstream file(CF_SOURCE_DIR "/tests/engine/places/data/place_names.csv");
    std::string line;
    int names = 0;
    while (std::getline(file, line)) {
        const std::size_t comma = line.find(',');
        const std::size_t second = line.find(',', comma + 1);
        const std::string code = line.substr(0, comma);
        const std::string day = line.substr(comma + 1, second - comma - 1);
        const std::string name = line.substr(second + 1);
        const BirthDay birth{day.empty() ? 20000101 : std::stoi(day), false};
        const auto finds = [&](const std::string& typed) {
            const BirthPlace place = ResolveBirthPlace(Places(), typed, birth);
            if (place.verdict != PlaceVerdict::Found)
                return false;
            std::vector<int> found = OtherPlacesNamed(Places(), typed, place);
            found.push_back(place.row);
            return std::any_of(found.begin(), found.end(),
                               [&](int row) { return Places().Row(row).code == code; });
        };
        const std::string province(Places().Row(Places().FirstRowWithCode(code)).province);
        const bool undated = Places().PeriodsOf(code).empty();
        const auto rows = Places().RowsNamed(Folded(name));
        const bool onlyPicked = undated && std::any_of(rows.begin(), rows.end(), [&](int row) {
                                    return Places().Row(row).province == province
                                           && !Places().PeriodsOf(Places().Row(row).code).empty();
                                });
        EXPECT_TRUE(finds(name) || (undated && finds(name + " (" + province + ")")) || onlyPicked) << line;
        ++names;
    }
    EXPECT_GT(names, 12000);
}

// Foreign states are in use in the days the list gives them, as
// municipalities are: those that ended are refused after their end.
TEST(BirthPlace, ForeignStatesThatEnded)
{
    EXPECT_EQ(CodeFor("UNIONE SOVIETICA", "01/01/1992"), "Z135");
    EXPECT_EQ(
        CodeFor("Unione Sovietica", "15/06/2015"),
        "UNIONE SOVIETICA è esistito fino al 01/01/1992: per chi è nato dopo indicare lo stato di allora");
    EXPECT_EQ(CodeFor("REPUBBLICA DEMOCRATICA TEDESCA", "01/01/1990"), "Z111");
    for (const char* code : {"Z105", "Z111", "Z118", "Z157", "Z135", "Z250"})
        EXPECT_NE(Places().PeriodsOf(code).back().lastDay, kStillOpen) << code;
    // A two-digit year: the century is never moved, the message says how.
    EXPECT_TRUE(CodeFor("UNIONE SOVIETICA", "1/1/15")
                    .ends_with("per una nascita del 1915 scrivere l'anno "
                               "con quattro cifre (01/01/1915)"));
}

TEST(BirthPlace, UndatedPlacesOnEveryDate)
{
    EXPECT_EQ(CodeFor("ARMENIA", "01/01/2020"), "Z252");
    // Named by its province, an undated place is taken on any date; by its
    // name alone, the dated namesake decides.
    EXPECT_EQ(CodeFor("MIRABELLO (CR)", "01/01/2020"), "F234");
    EXPECT_EQ(CodeFor("MIRABELLO", "01/01/1990"), "F235");
    EXPECT_EQ(CodeFor("ATLANTIDE", "01/01/2020"), "unknown");
}

// Generation never moves the century of a two-digit year: a place not in
// use in the latest such year is refused, asking for the four-digit year
// when the place was in use a century earlier.
TEST(BirthPlace, CenturyOfATwoDigitYear)
{
    const BirthPlace place = ResolveBirthPlace(Places(), "CORIGLIANO CALABRO", Born("01/01/20"));
    EXPECT_EQ(place.verdict, PlaceVerdict::NoLongerInUse);
    EXPECT_EQ(place.day, 20200101);
    EXPECT_EQ(
        CodeFor("CORIGLIANO CALABRO", "1/1/20"),
        "CORIGLIANO CALABRO è esistito fino al 30/03/2018: per chi è nato dopo indicare il comune di allora "
        "(CORIGLIANO-ROSSANO); la data è letta come 01/01/2020: per una nascita del 1920 scrivere l'anno "
        "con quattro cifre (01/01/1920)");
    EXPECT_EQ(CodeFor("CORIGLIANO CALABRO", "1/1/1920"), "D005");
    EXPECT_EQ(CodeFor("CORIGLIANO-ROSSANO", "1/1/20"), "M403");
    // Four digits, or no earlier century that fits: no word about the year.
    EXPECT_EQ(CodeFor("CORIGLIANO CALABRO", "01/01/2020").find("la data è letta"), std::string::npos);
    EXPECT_EQ(CodeFor("CORIGLIANO-ROSSANO", "01/01/50").find("la data è letta"), std::string::npos);
}

TEST(CodePlace, NameOnTheBirthDateAndProvinceOfToday)
{
    const auto on = [](std::string_view code, int day) {
        return PlaceOfCode(Places(), code, BirthDay{day, true});
    };
    EXPECT_EQ(on("C388", 19200101).name, "CAVAZUCCHERINA");
    EXPECT_EQ(on("C388", 19900101).name, "JESOLO");
    EXPECT_EQ(on("B963", 19300101).name, "CASERTA");
    EXPECT_EQ(on("B963", 19300101).province, "CE");
    EXPECT_EQ(on("M261", 19800101).province, "LE");
    EXPECT_EQ(on("I329", 19800101).province, "SS");
    EXPECT_EQ(on("Z404", 19800101).name, "STATI UNITI D'AMERICA");
    EXPECT_TRUE(on("H501", 19850703).warning.empty());

    const CodePlace early = on("M403", 19500101);
    EXPECT_EQ(early.name, "CORIGLIANO-ROSSANO");
    EXPECT_EQ(early.warning,
              "CORIGLIANO-ROSSANO (M403) non esisteva alla data di nascita: esiste dal 31/03/2018");
    EXPECT_EQ(on("D005", 20200101).day, 19200101);  // only 1920 fits
    EXPECT_EQ(on("A000", 19800101).row, -1);
    EXPECT_EQ(PlaceOfCode(Places(), "C388", std::nullopt).name, "JESOLO");
    // Not in use on the day: the name the code bore last, not its
    // alphabetically first.
    EXPECT_EQ(on("F617", 20000101).name, "MONTE SAN CANDIDO");
    EXPECT_EQ(on("F617", 20000101).warning.substr(0, 25), "MONTE SAN CANDIDO (F617) ");
    EXPECT_EQ(on("M024", 20000101).name, "VILLA SLAVINA");
    EXPECT_EQ(on("M024", 19220101).name, "SLAVINA");
}

}  // namespace
}  // namespace cf
