// SPDX-License-Identifier: MIT
#pragma once
// The printers of the CUPS print system: the list of destinations with their
// state, one printer (the default one or a named one) looked up before a
// job, and a job sent to it. The server is the one of the user's settings
// (CUPS_SERVER, client.conf), the default printer the one of the lp
// settings (LPDEST, PRINTER, lpoptions). Every call waits under a
// ServerWatch: no single wait for the server lasts longer than
// PrintServerWait(), and the window's thread can cut it short. Failures
// carry an Italian description of the reason the print system gave.

#include <QByteArray>
#include <QMarginsF>
#include <QString>

#include <optional>
#include <vector>

#include "platform/server_watch.h"

namespace cf::platform {

// What stopped a printout: an error number and its description in Italian.
struct PrintFailure {
    int number = 0;
    QString description;
    bool cancelled = false;  // the user stopped it
};

// Error number of every printer failure.
inline constexpr int kPrinterErrorNumber = 482;

// "Il servizio di stampa non ha risposto entro N secondi".
PrintFailure NoAnswerFailure();
// "Stampa annullata".
PrintFailure CancelledFailure();
// The failure of a job that the watch stopped.
PrintFailure StoppedFailure(const ServerWatch& watch);

// A printer queue ready to take a job.
struct PrinterQueue {
    QString name;
    // The unprintable edges of an A4 sheet, in points, as the printer states
    // them; none for a queue that states none (a raw queue).
    std::optional<QMarginsF> margins;
};

// What a look-up of a printer found.
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

// Asks the print system for the printer `name` (the default printer when
// empty) and its state: whether it takes jobs, whether it is stopped, and
// its margins on A4.
PrinterLookup LookUpPrinter(const QString& name, ServerWatch& watch);

// A destination of the print system and what it can do now.
struct PrinterInfo {
    enum class State { Ready, Stopped, Refusing };
    QString name;
    QString description;  // what the administrator wrote about it, often empty
    State state = State::Ready;
    QString reason;  // the reason given for the state, often empty
};

struct PrinterList {
    std::vector<PrinterInfo> printers;  // in the order of their names
    QString defaultPrinter;             // empty when there is none
    PrintFailure failure;               // number 0 when the server answered
};

// The destinations of the print server.
PrinterList ListPrinters(ServerWatch& watch);

// Sends a PDF document to the queue as one job named `title`. `colour` asks
// the printer for colour rather than its default. False, with `failure`,
// when the print system does not take the job; a job begun and then
// stopped is cancelled on the server.
bool SendToPrinter(const PrinterQueue& queue, const QByteArray& pdf, const QString& title, bool colour,
                   PrintFailure* failure, ServerWatch& watch);

}  // namespace cf::platform
