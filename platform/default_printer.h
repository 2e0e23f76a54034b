// SPDX-License-Identifier: MIT
#pragma once
// The default printer, through the CUPS print system. Every wait for the
// print server is bounded: a server that takes the connection and never
// answers costs a few seconds, then a failure that says so. Failures carry
// an Italian description of the reason the print system gave.

#include <QMarginsF>
#include <QString>

#include <optional>

namespace cf::platform {

// What stopped a printout: an error number and its description in Italian.
struct PrintFailure {
    int number = 0;
    QString description;
};

// Error number of every printer failure.
inline constexpr int kPrinterErrorNumber = 482;

// The longest wait for one answer of the print server.
inline constexpr int kPrintServerWaitSeconds = 5;

// A printer queue ready to take a job.
struct PrinterQueue {
    QString name;
    // The unprintable edges of an A4 sheet, in points, as the printer states
    // them; none for a queue that states none (a raw queue).
    std::optional<QMarginsF> margins;
};

// What a look-up of the default printer found.
struct PrinterLookup {
    enum class Status {
        Ready,     // `queue` takes jobs
        Missing,   // there is no default printer, or no print system to ask
        Unusable,  // there is one, but it cannot print now (`failure` says why)
    };
    Status status = Status::Missing;
    PrinterQueue queue;
    PrintFailure failure;  // for Missing and Unusable
};

// Asks the print system for the default printer and its state: whether it
// takes jobs, whether it is stopped, and its margins on A4.
PrinterLookup LookUpDefaultPrinter();

// Sends a PDF document to the queue as one job named `title`. `colour` asks
// the printer for colour rather than its default. False, with `failure`,
// when the print system does not take the job.
bool SendToPrinter(const PrinterQueue& queue, const QString& pdfFile, const QString& title, bool colour,
                   PrintFailure* failure);

}  // namespace cf::platform
