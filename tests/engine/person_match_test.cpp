// SPDX-License-Identifier: MIT
// A code compared with a person's data: persons whose code is known, each
// part of their data wrong in turn, homocodes, old names, namesakes, two-
// and four-digit years, foreign states; and the verdict's lines.

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "engine/homocodes.h"
#include "engine/person_match.h"
#include "engine/place_catalog.h"

namespace cf {
namespace {

constexpr Date kToday{2026, 12, 8};

// A code of which the first fifteen characters are written out, with its
// check character.
std::string Code(const std::string& first15)
{
    return first15 + CheckCharacter(first15);
}

using Parts = std::vector<PersonPart>;
constexpr PersonPart kSurname = PersonPart::Surname;
constexpr PersonPart kFirstName = PersonPart::FirstName;
constexpr PersonPart kDate = PersonPart::BirthDate;
constexpr PersonPart kSex = PersonPart::Sex;
constexpr PersonPart kPlace = PersonPart::Place;

Parts Differing(const PersonMatch& match)
{
    return {match.differing().begin(), match.differing().end()};
}

// A person whose code is known, the date also written with the other number
// of year digits, and data that differ from theirs in one part each, in the
// code's order.
struct KnownPerson {
    std::string code;
    TypedPerson data;
    std::string_view otherYearDigits;
    std::array<std::string_view, 5> wrong;
};

TypedPerson WithPart(TypedPerson person, PersonPart part, std::string_view value)
{
    switch (part) {
    case PersonPart::Surname:
        person.surname = value;
        break;
    case PersonPart::FirstName:
        person.firstName = value;
        break;
    case PersonPart::BirthDate:
        person.date = value;
        break;
    case PersonPart::Sex:
        person.sex = value;
        break;
    case PersonPart::Place:
        person.place = value;
        break;
    }
    return person;
}

const std::vector<KnownPerson>& KnownPersons()
{
    static const std::vector<KnownPerson> persons = {
        {"BNCLCU85L43H501J",
         {"BIANCHI", "LUCIA", "03/07/85", "F", "ROMA"},
         "03/07/1985",
         {"ROSSI", "LAURA", "03/07/86", "M", "MILANO"}},
        {"VRDGCR70B10F205A",
         {"VERDI", "GIANCARLO", "10/02/70", "M", "MILANO"},
         "10/02/1970",
         {"BIANCHI", "GIANNI", "11/02/70", "F", "ROMA"}},
        // 29 February of 2000, in Sanremo.
        {"DLCNMR00B69I138Z",
         {"DE LUCA", "ANNA MARIA", "29/02/00", "F", "SANREMO"},
         "29/02/2000",
         {"DELLA", "ANNA", "28/02/00", "M", "MILANO"}},
        // Born in France.
        {"FOXIOX01A01Z110U",
         {"FO", "IO", "01/01/01", "M", "FRANCIA"},
         "01/01/2001",
         {"FOX", "IONE", "01/02/01", "F", "GERMANIA"}},
        {"XXXYXX99T12A001O",
         {"X", "Y", "12/12/99", "M", "ABANO TERME"},
         "12/12/1999",
         {"XA", "YU", "12/12/1998", "F", "PADOVA"}},
        // C388 was CAVAZUCCHERINA in 1920: JESOLO names the same place.
        {Code("RSSMRA20C15C388"),
         {"ROSSI", "MARIO", "15/03/1920", "M", "JESOLO"},
         "15/03/20",
         {"ROSI", "MARCO", "15/03/1921", "F", "VENEZIA"}},
        // The German name of Bolzano.
        {Code("HBRNNA90H41A952"),
         {"HUBER", "ANNA", "01/06/1990", "F", "BOZEN"},
         "1/6/90",
         {"UBER", "ANTONIA", "01/06/1991", "M", "MERANO"}},
        // A state that ended in 1992.
        {Code("VNVLGO61D52Z135"),
         {"IVANOV", "OLGA", "12/04/1961", "F", "UNIONE SOVIETICA"},
         "12/04/61",
         {"PETROV", "ANNA", "12/05/1961", "M", "FEDERAZIONE RUSSA"}},
        {Code("SMTJHN76L04Z404"),
         {"Smith", "John", "04/07/1976", "m", "Stati Uniti d'America"},
         "4/7/76",
         {"SMYTH", "JOAN", "04/07/1977", "F", "CANADA"}},
        // Letters beyond ASCII, an apostrophe, a place with an accent.
        {Code("DNGZOE05T71D704"),
         {"D'ANGELO", "ZOË", "31/12/2005", "F", "FORLÌ"},
         "31/12/05",
         {"D'AMICO", "CHLOÉ", "30/12/2005", "M", "FORLI' DEL SANNIO"}},
        // CASTRO names a place in Bergamo's province, listed first, and one
        // in Lecce's since 1975: the code is that of Lecce's.
        {Code("NGRPLA00E60M261"),
         {"NEGRO", "PAOLA", "20/05/2000", "F", "CASTRO"},
         "20/05/00",
         {"NERI", "PIA", "21/05/2000", "M", "CASTRO (BG)"}},
        // SAN TEODORO names places in Messina's and Sassari's provinces.
        {Code("PRSGVN20B02I329"),
         {"PIRAS", "GAVINO", "02/02/2020", "M", "SAN TEODORO"},
         "2/2/20",
         {"PIRA", "BACHISIO", "02/03/2020", "F", "SAN TEODORO (ME)"}},
    };
    return persons;
}

TEST(MatchPerson, KnownPersonsCorrespondAndEachWrongPartIsNamed)
{
    int pairs = 0;
    for (const KnownPerson& person : KnownPersons()) {
        const PersonMatch match = MatchPerson(person.code, person.data, kToday);
        EXPECT_EQ(match.refusal, MatchRefusal::None) << person.code;
        EXPECT_TRUE(match.corresponds()) << person.code;
        EXPECT_FALSE(match.homocode) << person.code;
        EXPECT_EQ(match.dataCode.str(), person.code);
        const TypedPerson otherYear = WithPart(person.data, kDate, person.otherYearDigits);
        EXPECT_TRUE(MatchPerson(person.code, otherYear, kToday).corresponds()) << person.otherYearDigits;

        for (PersonPart part : {kSurname, kFirstName, kDate, kSex, kPlace}) {
            const std::string_view value = person.wrong[static_cast<std::size_t>(part)];
            const PersonMatch wrong = MatchPerson(person.code, WithPart(person.data, part, value), kToday);
            EXPECT_EQ(wrong.refusal, MatchRefusal::None) << person.code << " " << value;
            EXPECT_EQ(Differing(wrong), Parts{part}) << person.code << " " << value;
            EXPECT_FALSE(wrong.corresponds());
        }

        // The tax office's first homocode and the one with all seven digits
        // replaced stand for the person's code.
        const FiscalCode original = *OriginalCode(person.code);
        for (int index : {0, 6}) {
            const std::string homocode = Homocode(original, index).str();
            const PersonMatch byHomocode = MatchPerson(homocode, person.data, kToday);
            EXPECT_TRUE(byHomocode.corresponds()) << homocode;
            EXPECT_TRUE(byHomocode.homocode) << homocode;
            EXPECT_EQ(byHomocode.baseCode.str(), person.code) << homocode;
        }
        pairs += 9;
    }
    EXPECT_GE(pairs, 100);
}

TEST(MatchPerson, OldNamesNamesakesAndSpellingsOfAPlace)
{
    struct Case {
        std::string code;
        TypedPerson data;
        Parts differing;
    };
    const std::string negro = Code("NGRPLA00E60M261");
    const Case cases[] = {
        {"BNCLCU85L43H501J", {"bianchi", "lucia", "3/7/85", "f", "roma"}, {}},
        // Another name the same code bore, or bears in another language.
        {Code("RSSMRA20C15C388"), {"ROSSI", "MARIO", "15/03/1920", "M", "CAVAZUCCHERINA"}, {}},
        {"XXXYXX99T12A001O", {"X", "Y", "12/12/99", "M", "ABANO"}, {}},
        {Code("HBRNNA90H41A952"), {"HUBER", "ANNA", "01/06/1990", "F", "BOLZANO"}, {}},
        {Code("DNGZOE05T71D704"), {"D'ANGELO", "ZOE", "31/12/2005", "F", "FORLI"}, {}},
        {Code("DNGZOE05T71D704"), {"d'angelo", "zoe", "31/12/2005", "F", "forlì"}, {}},
        {Code("DNGZOE05T71D704"), {"DANGELO", "ZOE", "31/12/2005", "F", "FORLI'"}, {}},
        // A namesake: either place the name means on the birth date.
        {negro, {"NEGRO", "PAOLA", "20/05/2000", "F", "CASTRO (LE)"}, {}},
        {negro, {"NEGRO", "PAOLA", "20/05/2000", "F", "castro"}, {}},
        {Code("NGRPLA00E60C337"), {"NEGRO", "PAOLA", "20/05/2000", "F", "CASTRO"}, {}},
        {Code("NGRPLA00E60C337"), {"NEGRO", "PAOLA", "20/05/2000", "F", "CASTRO (LE)"}, {kPlace}},
        {Code("PRSGVN20B02I329"), {"PIRAS", "GAVINO", "02/02/2020", "M", "SAN TEODORO (SS)"}, {}},
        // Before 1975 CASTRO was Bergamo's alone.
        {Code("NGRPLA70E60M261"), {"NEGRO", "PAOLA", "20/05/1970", "F", "CASTRO"}, {kPlace}},
        // Every part wrong at once.
        {"BNCLCU85L43H501J",
         {"ROSSI", "MARIO", "15/03/80", "M", "MILANO"},
         {kSurname, kFirstName, kDate, kSex, kPlace}},
        // Day and month swapped; a year a century earlier, of the same two
        // digits.
        {"BNCLCU85L43H501J", {"BIANCHI", "LUCIA", "07/03/85", "F", "ROMA"}, {kDate}},
        {"BNCLCU85L43H501J", {"BIANCHI", "LUCIA", "03/07/1885", "F", "ROMA"}, {}},
    };
    for (const Case& c : cases) {
        const PersonMatch match = MatchPerson(c.code, c.data, kToday);
        EXPECT_EQ(match.refusal, MatchRefusal::None) << c.code << " " << c.data.place;
        EXPECT_EQ(Differing(match), c.differing) << c.code << " " << c.data.place;
    }
}

TEST(MatchPerson, APickedPlaceMeansItselfAlone)
{
    const PlaceCatalog& places = PlaceCatalog::Embedded();
    const int bergamo = FindTypedPlace(places, "CASTRO (BG)");
    const int lecce = FindTypedPlace(places, "CASTRO (LE)");
    ASSERT_EQ(places.Row(lecce).code, "M261");
    const TypedPerson paola{"NEGRO", "PAOLA", "20/05/2000", "F", "CASTRO"};
    const std::string code = Code("NGRPLA00E60M261");
    EXPECT_EQ(Differing(MatchPerson(code, paola, kToday, bergamo)), Parts{kPlace});
    EXPECT_TRUE(MatchPerson(code, paola, kToday, lecce).corresponds());
    EXPECT_TRUE(MatchPerson(code, paola, kToday).corresponds());
}

TEST(MatchPerson, DataOrCodeThatCannotBeCompared)
{
    struct Case {
        std::string code;
        TypedPerson data;
        MatchRefusal refusal;
    };
    const TypedPerson lucia{"BIANCHI", "LUCIA", "03/07/85", "F", "ROMA"};
    const std::string lucias = "BNCLCU85L43H501J";
    const std::string mario = Code("RSSMRA20A01D005");
    const Case cases[] = {
        {"BNCLCU85L43H501K", lucia, MatchRefusal::CodeNotValid},
        {"bnclcu85l43h501j", lucia, MatchRefusal::CodeNotValid},
        {"12345678903", lucia, MatchRefusal::CodeNotValid},
        {"", lucia, MatchRefusal::CodeNotValid},
        {lucias, WithPart(lucia, kSex, "X"), MatchRefusal::WrongSex},
        {lucias, WithPart(lucia, kSex, " F"), MatchRefusal::WrongSex},
        {lucias, WithPart(lucia, kSex, ""), MatchRefusal::WrongSex},
        {lucias, WithPart(lucia, kDate, "31/02/85"), MatchRefusal::InvalidDate},
        {lucias, WithPart(lucia, kDate, "  /  /  "), MatchRefusal::InvalidDate},
        {lucias, WithPart(lucia, kPlace, "ATLANTIDE"), MatchRefusal::UnknownPlace},
        {lucias, WithPart(lucia, kPlace, ""), MatchRefusal::UnknownPlace},
        {lucias, WithPart(lucia, kSurname, "   "), MatchRefusal::SurnameWithoutLetters},
        {lucias, WithPart(lucia, kFirstName, "Ελένη"), MatchRefusal::FirstNameWithoutLetters},
        // A place not in use on the birth date: a state after its end, a
        // municipality before its beginning, and a two-digit year read as
        // 2020 when the place ended in 2018.
        {Code("VNVLGO95D52Z135"),
         {"IVANOV", "OLGA", "12/04/1995", "F", "UNIONE SOVIETICA"},
         MatchRefusal::PlaceNotInUse},
        {mario, {"ROSSI", "MARIO", "01/01/1920", "M", "CORIGLIANO-ROSSANO"}, MatchRefusal::PlaceNotInUse},
        {mario, {"ROSSI", "MARIO", "1/1/20", "M", "CORIGLIANO CALABRO"}, MatchRefusal::PlaceNotInUse},
        {Code("NGRPLA70E60M261"),
         {"NEGRO", "PAOLA", "20/05/1970", "F", "CASTRO (LE)"},
         MatchRefusal::PlaceNotInUse},
    };
    for (const Case& c : cases) {
        const PersonMatch match = MatchPerson(c.code, c.data, kToday);
        EXPECT_EQ(match.refusal, c.refusal) << c.code << " " << c.data.date << " " << c.data.place;
        EXPECT_FALSE(match.corresponds());
    }
    // Written with its four digits, the year of the code fits the place.
    EXPECT_TRUE(MatchPerson(mario, {"ROSSI", "MARIO", "01/01/1920", "M", "CORIGLIANO CALABRO"}, kToday)
                    .corresponds());
}

TEST(MatchLines, OneLinePerDifferingPartSayingHow)
{
    struct Case {
        std::string code;
        TypedPerson data;
        std::vector<std::string> lines;
    };
    const std::string mario = Code("RSSMRA80C15H501");
    const TypedPerson rossi{"ROSSI", "MARIO", "15/03/1980", "M", "ROMA"};
    const Case cases[] = {
        {mario, rossi, {"Il codice corrisponde ai dati"}},
        {Code("RSSMRA80C15H50M"),
         rossi,
         {"Il codice corrisponde ai dati: è un omocodice del codice " + mario}},
        {Code("RSIMRA80C15H501"), rossi, {"Cognome: lettere RSS attese, trovate RSI"}},
        {mario,
         WithPart(rossi, kDate, "15/03/81"),
         {"Data di nascita: il codice indica 15/03/1980, i dati 15/03/1981"}},
        {mario, WithPart(rossi, kSex, "F"), {"Sesso: il codice indica M, i dati F"}},
        {mario,
         WithPart(rossi, kPlace, "Milano"),
         {"Luogo: il codice indica ROMA (RM, H501), i dati MILANO (MI, F205)"}},
        {mario,
         WithPart(rossi, kPlace, "CASTRO"),
         {"Luogo: il codice indica ROMA (RM, H501), i dati CASTRO (BG, C337) o CASTRO (LE, M261)"}},
        {Code("RSSMRA80C15A000"),
         rossi,
         {"Luogo: il codice indica un codice catastale non censito (A000), i dati ROMA (RM, H501)"}},
        // The code's two digits in the century nearest the data's year; the
        // place by the name its code bore on the code's date.
        {Code("RSSMRA99C15C388"),
         WithPart(WithPart(rossi, kDate, "15/03/1925"), kPlace, "JESOLO"),
         {"Data di nascita: il codice indica 15/03/1899, i dati 15/03/1925"}},
        {Code("RSSMRA00C15C388"),
         WithPart(WithPart(rossi, kDate, "15/03/1999"), kPlace, "ROMA"),
         {"Data di nascita: il codice indica 15/03/2000, i dati 15/03/1999",
          "Luogo: il codice indica JESOLO (VE, C388), i dati ROMA (RM, H501)"}},
        {Code("RSSMRA20C55C388"),
         {"BIANCHI", "LUCIA", "03/07/1920", "F", "ROMA"},
         {"Cognome: lettere BNC attese, trovate RSS", "Nome: lettere LCU attese, trovate MRA",
          "Data di nascita: il codice indica 15/03/1920, i dati 03/07/1920",
          "Luogo: il codice indica CAVAZUCCHERINA (VE, C388), i dati ROMA (RM, H501)"}},
    };
    for (const Case& c : cases) {
        const PersonMatch match = MatchPerson(c.code, c.data, kToday);
        ASSERT_EQ(match.refusal, MatchRefusal::None) << c.code;
        EXPECT_EQ(MatchLines(match, c.data.place), c.lines) << c.code;
    }
}

}  // namespace
}  // namespace cf
