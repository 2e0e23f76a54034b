// SPDX-License-Identifier: MIT
#pragma once
// The question where a printout goes, asked before each one: the printer
// that will be used, which the clerk can change for another destination of
// the print system (each with its state and the server's reason) or for
// "Salva come PDF". The answer is remembered until the program ends. Every
// such question goes through ChoosePrinter, so that tests can answer it
// through a PrinterChoiceRecorder instead of a person.

#include <QDialog>
#include <QString>

#include <deque>
#include <optional>
#include <vector>

#include "platform/default_printer.h"
#include "platform/line_printer.h"

class QDialogButtonBox;
class QLabel;
class QListWidget;

namespace cf::platform {

class ServerTask;

// Shows the printer dialog, modal, over the active window, proposing the
// printer chosen last (at first the default printer). The printer list
// comes from the print server while the dialog shows; a server that does
// not answer (within PrintServerWait()) leaves "Salva come PDF" alone, with
// the reason. Empty when the user cancels; PrintTarget::PdfFile() without a
// path for "Salva come PDF".
std::optional<PrintTarget> ChoosePrinter();

// The list entry of a printer: its name, "(predefinita)" for the default
// one, its state and the server's reason, e.g. "ufficio (predefinita) —
// ferma: Sportello aperto".
QString PrinterEntry(const PrinterInfo& printer, bool isDefault);

class PrinterDialog : public QDialog {
    Q_OBJECT

public:
    // Proposes `proposed`; the printer list is asked for by Start.
    explicit PrinterDialog(const PrintTarget& proposed, QWidget* parent = nullptr);

    // Asks the print server for its printers.
    void Start();
    // Shows the printers the server gave and "Salva come PDF", proposing the
    // earlier proposal when it is among them, else the default printer,
    // else the PDF file; the note says why, when it is not the proposal.
    void ShowPrinters(const PrinterList& list);

    // The destination selected now.
    PrintTarget selected() const;

    QListWidget* destinations() const { return list_; }
    QLabel* note() const { return note_; }

private:
    void AddEntry(const QString& text, const PrintTarget& target);
    void Select(const PrintTarget& target);
    void OnSelectionChanged();

    PrintTarget proposed_;
    QListWidget* list_;
    QLabel* note_;
    QDialogButtonBox* buttons_;
    ServerTask* task_ = nullptr;
};

// While a recorder exists, ChoosePrinter shows nothing: it records the
// proposal and gives the next queued answer or, when none is queued, the
// answer of Esc (none). The remembered choice is the recorder's own, so
// each test starts from the default printer. One recorder at a time.
class PrinterChoiceRecorder {
public:
    PrinterChoiceRecorder();
    ~PrinterChoiceRecorder();
    PrinterChoiceRecorder(const PrinterChoiceRecorder&) = delete;
    PrinterChoiceRecorder& operator=(const PrinterChoiceRecorder&) = delete;

    void QueueAnswer(const std::optional<PrintTarget>& answer) { answers_.push_back(answer); }
    // The destination proposed each time.
    const std::vector<PrintTarget>& requests() const { return requests_; }

    std::optional<PrintTarget> Answer();

private:
    std::deque<std::optional<PrintTarget>> answers_;
    std::vector<PrintTarget> requests_;
    PrintTarget remembered_;
};

}  // namespace cf::platform
