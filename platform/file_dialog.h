// SPDX-License-Identifier: MIT
#pragma once
// The questions which file to save or open. Every file dialog of the
// program goes through the functions here, so that tests can answer it
// through a SaveDialogRecorder instead of a person.

#include <QString>

#include <deque>
#include <vector>

namespace cf::platform {

struct SaveDialogRequest {
    QString title;
    QString suggestedPath;  // folder and file name offered (a folder alone to open a file)
    QString filter;
};

// Asks, in a modal file dialog over the active window, where to save a PDF
// document, offering `fileName` in the user's documents folder (the home
// folder when there is none), numbered "(2)", "(3)"... when a file there has
// that name already; a name typed without a suffix gets ".pdf", and an
// existing file is replaced only once the user confirms it. Empty when the
// user cancels.
QString AskPdfFileName(const QString& fileName);

// The same for the archive's export: an OpenDocument sheet (".ods" added to
// a name without a suffix) or a CSV file.
QString AskTableFileName(const QString& fileName);

// Asks, in a modal file dialog over the active window, which sheet (.ods) or
// CSV file to import, starting in the documents folder. Empty when the user
// cancels.
QString AskTableToImport();

// While a recorder exists, the dialogs show nothing: each records the
// request and gives the next queued answer or, when none is queued, the
// answer of Esc (empty). One recorder at a time.
class SaveDialogRecorder {
public:
    SaveDialogRecorder();
    ~SaveDialogRecorder();
    SaveDialogRecorder(const SaveDialogRecorder&) = delete;
    SaveDialogRecorder& operator=(const SaveDialogRecorder&) = delete;

    void QueueAnswer(const QString& path) { answers_.push_back(path); }
    const std::vector<SaveDialogRequest>& requests() const { return requests_; }

    QString Answer(const SaveDialogRequest& request);

private:
    std::deque<QString> answers_;
    std::vector<SaveDialogRequest> requests_;
};

}  // namespace cf::platform
