// SPDX-License-Identifier: MIT
// --check CODE --persona TEXT: the single call's rules on the data, the
// verdict's lines and the exit status.

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "command_line/person_check.h"

namespace cf {
namespace {

constexpr Date kToday{2026, 12, 8};

TEST(PersonCheck, VerdictLinesAndExitStatus)
{
    const std::string corresponds = "Il codice corrisponde ai dati";
    const std::vector<std::pair<const char*, std::string>> lucia = {
        // Blanks around a code and the display flag do not count; SAN REMO
        // is SANREMO, as in the single call.
        {" bnclcu85l43h501j\r", "Bianchi,Lucia,03/07/1985,f,Roma,1"},
        {"BNCLCU85L43H501J", "BIANCHI,LUCIA,3/7/85,F,ROMA"},
        {"DLCNMR00B69I138Z", "DE LUCA,ANNA MARIA,29/02/00,F,SAN REMO"},
    };
    for (const auto& [code, person] : lucia) {
        const CodeCheckOutput output = RunPersonCheck(code, person, kToday);
        EXPECT_EQ(output.lines, std::vector<std::string>{corresponds}) << person;
        EXPECT_EQ(output.exitStatus, kExitSuccess) << person;
    }

    // What is not compared says why, with exit status 1 as a difference.
    const std::pair<const char*, const char*> others[] = {
        {"BIANCHI,LUCIA,3/7/86,F,ROMA", "Data di nascita: il codice indica 03/07/1985, i dati 03/07/1986"},
        {"BIANCHI,LUCIA,3/7/85,X,ROMA", "Il sesso è errato."},
        {"BIANCHI,LUCIA,3/7/85,F, ROMA", "La città non è compresa nell'elenco o non è corretta."},
        {"BIANCHI,,3/7/85,F,ROMA", "Manca almeno un dato fondamentale"},
        {"BIANCHI,LUCIA,3/7/1985,F,CORIGLIANO-ROSSANO",
         "CORIGLIANO-ROSSANO esiste dal 31/03/2018: per chi è nato prima indicare il comune di allora "
         "(CORIGLIANO CALABRO, ROSSANO)"},
    };
    for (const auto& [person, line] : others) {
        const CodeCheckOutput output = RunPersonCheck("BNCLCU85L43H501J", person, kToday);
        EXPECT_EQ(output.lines, std::vector<std::string>{line}) << person;
        EXPECT_EQ(output.exitStatus, kExitRefused) << person;
    }
    for (const char* code : {"12345678903", "BNCLCU85L43H501"})
        EXPECT_EQ(RunPersonCheck(code, "BIANCHI,LUCIA,3/7/85,F,ROMA", kToday).lines,
                  std::vector<std::string>{"Il codice inserito non è un Codice Fiscale"});
    EXPECT_EQ(RunPersonCheck("BNCLCU85L43H501K", "BIANCHI,LUCIA,3/7/85,F,ROMA", kToday).lines,
              std::vector<std::string>{"Codice Fiscale formalmente errato"});
}

}  // namespace
}  // namespace cf
