// SPDX-License-Identifier: MIT
#pragma once
// Export of the archive to a file and import of persons from one, as the
// command line (--esporta, --importa) and the archive window do them. The
// file's extension chooses its format: ".csv" a CSV file (UTF-8, a header,
// RFC 4180), ".ods" an OpenDocument spreadsheet; any case.

#include <cstddef>
#include <string>
#include <vector>

#include "command_line/archive_transfer.h"
#include "engine/code/dates.h"

namespace cf {

struct TransferOutcome {
    int exitStatus = 0;                // as the command line ends: 0 done, 1 rows refused, 2 failed
    std::string message;               // in Italian: what was done, or why nothing was
    std::size_t persons = 0;           // exported, or imported
    std::vector<RowRefusal> refusals;  // import: the rows left out
};

// Writes the archive at `archivePath` (header, then the persons in display
// order) to `file`, replacing it only once complete.
TransferOutcome ExportArchive(const std::string& archivePath, const std::string& file);

// Appends to the archive the persons of `file` that pass every check, in one
// write; the refused rows are listed and nothing of them is written. When
// the append fails, nothing is written at all.
TransferOutcome ImportIntoArchive(const std::string& archivePath, const std::string& file, const Date& today);

}  // namespace cf
