// SPDX-License-Identifier: MIT
#pragma once
// What every print command does once it knows what to print: asks where
// (ChoosePrinter: a printer of the print system or a PDF file), prints off
// the window's thread while the status bar tells how it goes, and after a
// failure offers, in the failure's own message, to save the same printout
// as a PDF file. One printout runs at a time; a print command given while
// one runs offers to cancel it instead.

#include <QObject>
#include <QString>

#include <functional>

#include "engine/code/message_icon.h"
#include "platform/print_job.h"

namespace cf::platform {

// The message of a print command's failures; the offer of a PDF file
// follows its text.
struct FailureMessage {
    MessageIcon icon;
    QString title;
    std::function<QString(const PrintFailure& failure)> text;
};

// Starts `printout` where the user chooses and returns while it prints;
// false when the user cancelled the choice.
bool StartPrintout(const Printout& printout, const FailureMessage& failureMessage);

// When a printout is running, asks whether to cancel it, cancels it on Yes,
// and returns true: the print command then does nothing else.
bool OfferToCancelPrintout();

// Whether a printout is running.
bool PrintoutRunning();

// The texts of the printouts for the status bar: "Stampa in corso su
// «NAME»…" while one runs (`lasting`: until the next text), then
// "Stampato su «NAME»", "Salvato in FILE" or what went wrong.
class PrintStatus : public QObject {
    Q_OBJECT

public:
    static PrintStatus& instance();

signals:
    void changed(const QString& text, bool lasting);
};

}  // namespace cf::platform
