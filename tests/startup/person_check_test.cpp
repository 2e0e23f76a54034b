// SPDX-License-Identifier: MIT
// --check CODE --persona TEXT: the verdict's lines and the exit status, and
// the code the data give beside it.

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "startup/person_check.h"

namespace cf {
namespace {

constexpr Date kToday{2026, 12, 8};

TEST(PersonCheck, VerdictLinesAndExitStatus)
{
    using Lines = std::vector<std::string>;
    const struct {
        const char* code;
        const char* person;
        Lines lines;
    } cases[] = {
        {"BNCLCU85L43H501J", "BIANCHI,LUCIA,3/7/85,F,ROMA", {"Il codice corrisponde ai dati"}},
        {" bnclcu85l43h501j\r", "Bianchi,Lucia,03/07/1985,f,Roma,1", {"Il codice corrisponde ai dati"}},
        {"BNCLCU85L43H50MB",
         "BIANCHI,LUCIA,3/7/85,F,ROMA",
         {"Il codice corrisponde ai dati: è un omocodice del codice BNCLCU85L43H501J"}},
        // As in the single call, SAN REMO is SANREMO.
        {"DLCNMR00B69I138Z", "DE LUCA,ANNA MARIA,29/02/00,F,SAN REMO", {"Il codice corrisponde ai dati"}},
        // The code of CASTRO in Lecce's province, the name's second place.
        {"RSSMRA90A01M261Z", "ROSSI,MARIO,1/1/90,M,castro", {"Il codice corrisponde ai dati"}},
        {"BNCLCU85L43H501J", "ROSSI,LUCIA,3/7/85,F,ROMA", {"Cognome: lettere RSS attese, trovate BNC"}},
        {"BNCLCU85L43H501J",
         "BIANCHI,LUCIA,3/7/86,F,ROMA",
         {"Data di nascita: il codice indica 03/07/1985, i dati 03/07/1986"}},
        {"BNCLCU85L43H501J",
         "BIANCHI,LUCIA,3/7/85,M,MILANO",
         {"Sesso: il codice indica F, i dati M",
          "Luogo: il codice indica ROMA (RM, H501), i dati MILANO (MI, F205)"}},
        // Data the single call refuses, and codes that are no codice fiscale
        // or are formally wrong, are not compared.
        {"BNCLCU85L43H501J", "BIANCHI,LUCIA,3/7/85,X,ROMA", {"Il sesso è errato."}},
        {"BNCLCU85L43H501J", "BIANCHI,LUCIA,31/02/85,F,ROMA", {"La data non è in formato valido."}},
        {"BNCLCU85L43H501J",
         "BIANCHI,LUCIA,3/7/85,F, ROMA",
         {"La città non è compresa nell'elenco o non è corretta."}},
        {"BNCLCU85L43H501J", "BIANCHI,,3/7/85,F,ROMA", {"Manca almeno un dato fondamentale"}},
        {"BNCLCU85L43H501J",
         "BIANCHI,LUCIA,3/7/1985,F,CORIGLIANO-ROSSANO",
         {"CORIGLIANO-ROSSANO esiste dal 31/03/2018: per chi è nato prima indicare il comune di allora "
          "(CORIGLIANO CALABRO, ROSSANO)"}},
        {"12345678903", "BIANCHI,LUCIA,3/7/85,F,ROMA", {"Il codice inserito non è un Codice Fiscale"}},
        {"BNCLCU85L43H501", "BIANCHI,LUCIA,3/7/85,F,ROMA", {"Il codice inserito non è un Codice Fiscale"}},
        {"BNCLCU85L43H501K", "BIANCHI,LUCIA,3/7/85,F,ROMA", {"Codice Fiscale formalmente errato"}},
    };
    for (const auto& c : cases) {
        const CodeCheckOutput output = RunPersonCheck(c.code, c.person, kToday);
        EXPECT_EQ(output.lines, c.lines) << c.code << " " << c.person;
        const bool corresponds = c.lines.front().starts_with("Il codice corrisponde");
        EXPECT_EQ(output.exitStatus, corresponds ? kExitSuccess : kExitRefused) << c.code << " " << c.person;
    }
}

// The code the data give is that of the place the code names, among those
// of the name; the warning about the name's other places comes only with
// the code of the first.
TEST(PersonCheck, CodeOfTheDataAndTheNamesakeWarning)
{
    const PersonFields mario{"ROSSI", "MARIO", "1/1/90", "M", "CASTRO"};
    const PersonCodeVerdict lecce = CheckCodeOfPerson("RSSMRA90A01M261Z", mario, kToday);
    EXPECT_TRUE(lecce.corresponds);
    EXPECT_EQ(lecce.dataCode, "RSSMRA90A01M261Z");
    EXPECT_EQ(lecce.warning, "");
    const PersonCodeVerdict bergamo = CheckCodeOfPerson("RSSMRA90A01C337F", mario, kToday);
    EXPECT_TRUE(bergamo.corresponds);
    EXPECT_EQ(bergamo.dataCode, "RSSMRA90A01C337F");
    EXPECT_EQ(bergamo.warning.rfind("Più luoghi hanno questo nome: il codice è quello di CASTRO (BG)", 0),
              0u);
    const PersonCodeVerdict other = CheckCodeOfPerson("BNCLCU85L43H501J", mario, kToday);
    EXPECT_FALSE(other.corresponds);
    EXPECT_EQ(other.dataCode, "RSSMRA90A01C337F");
    EXPECT_EQ(other.refusal, "");
    const PersonCodeVerdict refused =
        CheckCodeOfPerson("BNCLCU85L43H501J", {"A", "B", "1/1/90", "M", ""}, kToday);
    EXPECT_EQ(refused.dataCode, "");
    EXPECT_EQ(refused.refusal, "La città non è compresa nell'elenco o non è corretta.");
}

}  // namespace
}  // namespace cf
