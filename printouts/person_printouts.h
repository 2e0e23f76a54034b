// SPDX-License-Identifier: MIT
#pragma once
// The printouts of the person shown in the generation window: the data sheet
// and the colour facsimile of the tax-code card. Each prints one page.

#include "engine/code/person.h"
#include "platform/print_command.h"

namespace cf::frame {

// The data sheet; its PDF file is "Dati SURNAME FIRSTNAME.pdf".
platform::Printout DataSheet(const Person& person);

// The card, drawn in vectors at its natural size, with the person's data
// and the year of printing over it; the printer is asked for colour. Its PDF
// file is "Tesserino CODE.pdf".
platform::Printout CardPrintout(const Person& person);

// The message of a failure of either: "Errore di stampa", titled "Zerez",
// with the reason on a second line.
platform::FailureMessage PersonPrintFailure();

}  // namespace cf::frame
