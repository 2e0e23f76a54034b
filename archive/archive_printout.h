// SPDX-License-Identifier: MIT
#pragma once
// The archive printout: every row of the archive window's list, in display
// order, as a plain listing with a header on every page and a total.

#include <QString>

#include <functional>

#include "engine/person.h"
#include "platform/line_printer.h"

namespace cf::archive {

// The rows as the list holds them. `selectRow` selects row i in the list (so
// the list shows the row being printed and ends on the last one) and returns
// its person.
struct ArchiveRows {
    int count = 0;
    std::function<Person(int row)> selectRow;
};

// Prints the rows on the target under the hourglass. On a failure the
// printout stops, the box "Zade: errore" tells why and false is returned.
bool PrintArchive(const ArchiveRows& rows,
                  const platform::PrintTarget& target = platform::PrintTarget::DefaultPrinter());

}  // namespace cf::archive
