// SPDX-License-Identifier: MIT
#pragma once
// The archive printout: every row of the archive window's list, in display
// order, as a plain listing with a header on every page and a total.

#include <QDate>

#include <vector>

#include "engine/code/person.h"
#include "platform/print_command.h"

namespace cf::archive {

// The listing of `rows` (the list's rows, in display order); its PDF file
// is "Archivio codici YYYY-MM-DD.pdf" with the date of `today`.
platform::Printout ArchiveListing(std::vector<Person> rows, const QDate& today = QDate::currentDate());

// The message of its failures: "Errore nell'esecuzione della stampa." with
// the error number and the reason, titled "Zade: errore".
platform::FailureMessage ArchivePrintFailure();

}  // namespace cf::archive
