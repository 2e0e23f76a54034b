// SPDX-License-Identifier: MIT
#pragma once
// The printouts of the person shown in the generation window: the data sheet
// and the colour facsimile of the tax-code card. Each prints one page.

#include <QImage>
#include <QString>

#include "engine/person.h"
#include "platform/line_printer.h"

namespace cf::frame {

// Prints the data sheet under the hourglass. On a failure the printout stops,
// the box "Errore di stampa" titled "Zerez" appears, with the reason on a
// second line, and false is returned.
bool PrintData(const Person& person,
               const platform::PrintTarget& target = platform::PrintTarget::DefaultPrinter());

// Prints `card` (the card window's picture) at its natural size with the
// person's data and the current year over it, asking the printer for colour;
// failures as PrintData. Showing
// the card window and hiding the generation window are the caller's part.
bool PrintCard(const Person& person, const QImage& card,
               const platform::PrintTarget& target = platform::PrintTarget::DefaultPrinter());

}  // namespace cf::frame
