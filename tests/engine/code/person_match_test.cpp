// SPDX-License-Identifier: MIT
// A code compared with a person's data: persons whose code is known, each
// part of their data wrong in turn, homocodes, old names, namesakes, two-
// and four-digit years, foreign states; and the verdict's lines.

#include <gtest/gtest.h>

#include <string>
#include <tuple>
#include <vector>

#include "engine/code/homocodes.h"
#include "engine/code/person_match.h"
#include "engine/text/text_fields.h"

namespace cf {
namespace {

constexpr Date kToday{2026, 12, 8};
constexpr PersonPart kParts[] = {PersonPart::Surname, PersonPart::FirstName, PersonPart::BirthDate,
                                 PersonPart::Sex, PersonPart::Place};
using Parts = std::vector<PersonPart>;

// "SURNAME,NAME,DATE,SEX,PLACE"
TypedPerson Typed(std::string_view fields)
{
    return {NthField(fields, ",", 1), NthField(fields, ",", 2), NthField(fields, ",", 3),
            NthField(fields, ",", 4), NthField(fields, ",", 5)};
}

TypedPerson WithPart(TypedPerson person, PersonPart part, std::string_view value)
{
    std::string_view* fields[] = {&person.surname, &person.firstName, &person.date, &person.sex,
                                  &person.place};
    *fields[static_cast<int>(part)] = value;
    return person;
}

Parts Differing(std::string_view code, const TypedPerson& person)
{
    const PersonMatch match = MatchPerson(code, person, kToday);
    EXPECT_EQ(match.refusal, MatchRefusal::None) << code << " " << person.date << " " << person.place;
    return {match.differing().begin(), match.differing().end()};
}

// A person whose code is known (the check characters computed apart), the
// date also with the other number of year digits, and data that differ in
// one part each, in the code's order.
struct KnownPerson {
    const char* code;
    const char* data;
    const char* otherYearDigits;
    const char* wrong;
};
constexpr KnownPerson kKnownPersons[] = {
    {"BNCLCU85L43H501J", "BIANCHI,LUCIA,03/07/85,F,ROMA", "03/07/1985", "ROSSI,LAURA,03/07/86,M,MILANO"},
    {"VRDGCR70B10F205A", "VERDI,GIANCARLO,10/02/70,M,MILANO", "10/02/1970", "BIANCHI,GIANNI,11/02/70,F,ROMA"},
    // 29 February 2000; the name as the table writes it.
    {"DLCNMR00B69I138Z", "DE LUCA,ANNA MARIA,29/02/00,F,SANREMO", "29/02/2000",
     "DELLA,ANNA,28/02/00,M,MILANO"},
    {"FOXIOX01A01Z110U", "FO,IO,01/01/01,M,FRANCIA", "01/01/2001", "FOX,IONE,01/02/01,F,GERMANIA"},
    {"XXXYXX99T12A001O", "X,Y,12/12/99,M,ABANO TERME", "12/12/1999", "XA,YU,12/12/1998,F,PADOVA"},
    // C388 was CAVAZUCCHERINA in 1920: JESOLO names the same place.
    {"RSSMRA20C15C388O", "ROSSI,MARIO,15/03/1920,M,JESOLO", "15/03/20", "ROSI,MARCO,15/03/1921,F,VENEZIA"},
    // Bolzano by its German name; a state that ended in 1992.
    {"HBRNNA90H41A952C", "HUBER,ANNA,01/06/1990,F,BOZEN", "1/6/90", "UBER,ANTONIA,01/06/1991,M,MERANO"},
    {"VNVLGO61D52Z135R", "IVANOV,OLGA,12/04/1961,F,UNIONE SOVIETICA", "12/04/61",
     "PETROV,ANNA,12/05/1961,M,FEDERAZIONE RUSSA"},
    {"SMTJHN76L04Z404A", "Smith,John,04/07/1976,m,Stati Uniti d'America", "4/7/76",
     "SMYTH,JOAN,04/07/1977,F,CANADA"},
    // Letters beyond ASCII, an apostrophe, a final accent.
    {"DNGZOE05T71D704B", "D'ANGELO,ZOË,31/12/2005,F,FORLÌ", "31/12/05",
     "D'AMICO,CHLOÉ,30/12/2005,M,FORLI' DEL SANNIO"},
    // Namesakes: CASTRO in Bergamo's province, listed first, and in
    // Lecce's since 1975; SAN TEODORO in Messina's and Sassari's.
    {"NGRPLA00E60M261P", "NEGRO,PAOLA,20/05/2000,F,CASTRO", "20/05/00", "NERI,PIA,21/05/2000,M,CASTRO (BG)"},
    {"PRSGVN20B02I329F", "PIRAS,GAVINO,02/02/2020,M,SAN TEODORO", "2/2/20",
     "PIRA,BACHISIO,02/03/2020,F,SAN TEODORO (ME)"},
};

TEST(MatchPerson, KnownPersonsCorrespondAndEachWrongPartIsNamed)
{
    int pairs = 0;
    for (const KnownPerson& person : kKnownPersons) {
        const TypedPerson data = Typed(person.data);
        const PersonMatch match = MatchPerson(person.code, data, kToday);
        EXPECT_TRUE(match.corresponds()) << person.code;
        EXPECT_FALSE(match.homocode) << person.code;
        EXPECT_EQ(match.dataCode.str(), person.code);
        EXPECT_EQ(Differing(person.code, WithPart(data, PersonPart::BirthDate, person.otherYearDigits)),
                  Parts{});
        const TypedPerson wrong = Typed(person.wrong);
        for (int part = 0; part < 5; ++part) {
            const std::string_view value = NthField(person.wrong, ",", part + 1);
            EXPECT_EQ(Differing(person.code, WithPart(data, kParts[part], value)), Parts{kParts[part]})
                << person.code << " " << value;
        }
        EXPECT_EQ(Differing(person.code, wrong), Parts(std::begin(kParts), std::end(kParts))) << person.code;
        // The tax office's first homocode, and the one with all seven digits
        // replaced, stand for the person's code.
        for (int index : {0, 6}) {
            const std::string homocode = Homocode(*OriginalCode(person.code), index).str();
            const PersonMatch byHomocode = MatchPerson(homocode, data, kToday);
            EXPECT_TRUE(byHomocode.corresponds() && byHomocode.homocode) << homocode;
            EXPECT_EQ(byHomocode.baseCode.str(), person.code) << homocode;
        }
        pairs += 10;
    }
    EXPECT_GE(pairs, 100);
}

TEST(MatchPerson, OldNamesNamesakesAndSpellingsOfAPlace)
{
    const PersonPart place = PersonPart::Place;
    const std::pair<const char*, const char*> corresponding[] = {
        {"BNCLCU85L43H501J", "bianchi,lucia,3/7/85,f,roma"},
        {"BNCLCU85L43H501J", "BIANCHI,LUCIA,03/07/1885,F,ROMA"},  // the same two digits a century apart
        {"RSSMRA20C15C388O", "ROSSI,MARIO,15/03/1920,M,CAVAZUCCHERINA"},
        {"XXXYXX99T12A001O", "X,Y,12/12/99,M,ABANO"},
        {"HBRNNA90H41A952C", "HUBER,ANNA,01/06/1990,F,BOLZANO"},
        {"DNGZOE05T71D704B", "DANGELO,ZOE,31/12/2005,F,FORLI"},
        {"NGRPLA00E60M261P", "NEGRO,PAOLA,20/05/2000,F,castro (le)"},
        {"NGRPLA00E60C337V", "NEGRO,PAOLA,20/05/2000,F,CASTRO"},
        {"PRSGVN20B02I329F", "PIRAS,GAVINO,02/02/2020,M,SAN TEODORO (SS)"},
    };
    for (const auto& [code, data] : corresponding)
        EXPECT_EQ(Differing(code, Typed(data)), Parts{}) << code << " " << data;
    // A province in brackets means that place alone; before 1975 CASTRO
    // was Bergamo's alone; day and month swapped.
    EXPECT_EQ(Differing("NGRPLA00E60C337V", Typed("NEGRO,PAOLA,20/05/2000,F,CASTRO (LE)")), Parts{place});
    EXPECT_EQ(Differing("NGRPLA70E60M261F", Typed("NEGRO,PAOLA,20/05/1970,F,CASTRO")), Parts{place});
    EXPECT_EQ(Differing("BNCLCU85L43H501J", Typed("BIANCHI,LUCIA,07/03/85,F,ROMA")),
              Parts{PersonPart::BirthDate});
    // A row picked means itself alone, whatever the name typed.
    const PlaceCatalog& places = PlaceCatalog::Embedded();
    const TypedPerson paola = Typed("NEGRO,PAOLA,20/05/2000,F,CASTRO");
    EXPECT_FALSE(
        MatchPerson("NGRPLA00E60M261P", paola, kToday, FindTypedPlace(places, "CASTRO (BG)")).corresponds());
    EXPECT_TRUE(
        MatchPerson("NGRPLA00E60M261P", paola, kToday, FindTypedPlace(places, "CASTRO (LE)")).corresponds());
}

TEST(MatchPerson, DataOrCodeThatCannotBeCompared)
{
    const std::tuple<const char*, const char*, MatchRefusal> cases[] = {
        {"BNCLCU85L43H501K", "BIANCHI,LUCIA,03/07/85,F,ROMA", MatchRefusal::CodeNotValid},
        {"bnclcu85l43h501j", "BIANCHI,LUCIA,03/07/85,F,ROMA", MatchRefusal::CodeNotValid},
        {"12345678903", "BIANCHI,LUCIA,03/07/85,F,ROMA", MatchRefusal::CodeNotValid},
        {"BNCLCU85L43H501J", "BIANCHI,LUCIA,03/07/85, F,ROMA", MatchRefusal::WrongSex},
        {"BNCLCU85L43H501J", "BIANCHI,LUCIA,03/07/85,,ROMA", MatchRefusal::WrongSex},
        {"BNCLCU85L43H501J", "BIANCHI,LUCIA,31/02/85,F,ROMA", MatchRefusal::InvalidDate},
        {"BNCLCU85L43H501J", "BIANCHI,LUCIA,  /  /  ,F,ROMA", MatchRefusal::InvalidDate},
        {"BNCLCU85L43H501J", "BIANCHI,LUCIA,03/07/85,F,ATLANTIDE", MatchRefusal::UnknownPlace},
        {"BNCLCU85L43H501J", "BIANCHI,LUCIA,03/07/85,F,", MatchRefusal::UnknownPlace},
        {"BNCLCU85L43H501J", "   ,LUCIA,03/07/85,F,ROMA", MatchRefusal::SurnameWithoutLetters},
        {"BNCLCU85L43H501J", "BIANCHI,Ελένη,03/07/85,F,ROMA", MatchRefusal::FirstNameWithoutLetters},
        // Places not in use on the birth date: a state after its end, a
        // merger before its beginning, a two-digit year read as 2020 for a
        // place that ended in 2018.
        {"VNVLGO95D52Z135B", "IVANOV,OLGA,12/04/1995,F,UNIONE SOVIETICA", MatchRefusal::PlaceNotInUse},
        {"RSSMRA20A01D005D", "ROSSI,MARIO,01/01/1920,M,CORIGLIANO-ROSSANO", MatchRefusal::PlaceNotInUse},
        {"RSSMRA20A01D005D", "ROSSI,MARIO,1/1/20,M,CORIGLIANO CALABRO", MatchRefusal::PlaceNotInUse},
        {"NGRPLA70E60M261F", "NEGRO,PAOLA,20/05/1970,F,CASTRO (LE)", MatchRefusal::PlaceNotInUse},
    };
    for (const auto& [code, data, refusal] : cases) {
        const PersonMatch match = MatchPerson(code, Typed(data), kToday);
        EXPECT_EQ(match.refusal, refusal) << code << " " << data;
        EXPECT_FALSE(match.corresponds()) << code << " " << data;
    }
    EXPECT_EQ(Differing("RSSMRA20A01D005D", Typed("ROSSI,MARIO,01/01/1920,M,CORIGLIANO CALABRO")), Parts{});
}

TEST(MatchLines, OneLinePerDifferingPartSayingHow)
{
    using Lines = std::vector<std::string>;
    const std::tuple<const char*, const char*, Lines> cases[] = {
        {"RSSMRA80C15H501M", "ROSSI,MARIO,15/03/1980,M,ROMA", {"Il codice corrisponde ai dati"}},
        {"RSSMRA80C15H50ME",
         "ROSSI,MARIO,15/03/1980,M,ROMA",
         {"Il codice corrisponde ai dati: è un omocodice del codice RSSMRA80C15H501M"}},
        {"RSIMRA80C15H501T", "ROSSI,MARIO,15/03/1980,M,ROMA", {"Cognome: lettere RSS attese, trovate RSI"}},
        {"RSSMRA80C15H501M",
         "ROSSI,MARIO,15/03/81,F,Milano",
         {"Data di nascita: il codice indica 15/03/1980, i dati 15/03/1981",
          "Sesso: il codice indica M, i dati F",
          "Luogo: il codice indica ROMA (RM, H501), i dati MILANO (MI, F205)"}},
        {"RSSMRA80C15H501M",
         "ROSSI,MARIO,15/03/1980,M,CASTRO",
         {"Luogo: il codice indica ROMA (RM, H501), i dati CASTRO (BG, C337) o CASTRO (LE, M261)"}},
        {"RSSMRA80C15A000U",
         "ROSSI,MARIO,15/03/1980,M,ROMA",
         {"Luogo: il codice indica un codice catastale non censito (A000), i dati ROMA (RM, H501)"}},
        // The code's two digits in the century nearest the data's year; its
        // place by the name its code bore on the code's date.
        {"RSSMRA99C15C388N",
         "ROSSI,MARIO,15/03/1925,M,JESOLO",
         {"Data di nascita: il codice indica 15/03/1899, i dati 15/03/1925"}},
        {"RSSMRA00C15C388K",
         "ROSSI,MARIO,15/03/1999,M,ROMA",
         {"Data di nascita: il codice indica 15/03/2000, i dati 15/03/1999",
          "Luogo: il codice indica JESOLO (VE, C388), i dati ROMA (RM, H501)"}},
        {"RSSMRA20C55C388S",
         "BIANCHI,LUCIA,03/07/1920,F,ROMA",
         {"Cognome: lettere BNC attese, trovate RSS", "Nome: lettere LCU attese, trovate MRA",
          "Data di nascita: il codice indica 15/03/1920, i dati 03/07/1920",
          "Luogo: il codice indica CAVAZUCCHERINA (VE, C388), i dati ROMA (RM, H501)"}},
    };
    for (const auto& [code, data, lines] : cases) {
        const TypedPerson person = Typed(data);
        EXPECT_EQ(MatchLines(MatchPerson(code, person, kToday), person.place), lines) << code << " " << data;
    }
}

}  // namespace
}  // namespace cf
