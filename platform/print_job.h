// SPDX-License-Identifier: MIT
#pragma once
// Print jobs off the window's thread. A ServerTask runs work that talks to
// the print server on a worker thread while the window goes on. Its waits on
// the server are watched (ServerWatch): one that lasts longer than
// PrintServerWait() is cut short, and so is every wait once the clerk
// cancels; the task then reports at once, whether or not the worker has
// come back yet. A PrintJob is such a task that prints a Printout.

#include <QObject>
#include <QString>
#include <QTimer>

#include <functional>
#include <memory>

#include "platform/default_printer.h"
#include "platform/line_printer.h"
#include "platform/server_watch.h"

namespace cf::platform {

// A printout: the name of its PDF file and how it prints itself.
struct Printout {
    // The file name offered when it is saved as a PDF file.
    QString pdfFileName;
    // Prints every page, from Begin to EndDoc. Runs on a worker thread: it
    // holds its own copy of what it prints and reads no window.
    std::function<bool(LinePrinter&)> print;
};

// How a printout ended.
struct PrintOutcome {
    PrintFailure failure;  // number 0 when printed
    QString printer;       // the printer it went to, when known
    bool ok() const { return failure.number == 0; }
};

// Prints on the calling thread, waiting as long as the watch lets it.
PrintOutcome RunPrintout(const Printout& printout, const PrintTarget& target, ServerWatch* watch = nullptr);

class ServerTask : public QObject {
    Q_OBJECT

public:
    using Work = std::function<void(ServerWatch& watch)>;

    // Starts `work` on a worker thread.
    explicit ServerTask(Work work, QObject* parent = nullptr);
    // A task still running is stopped as if cancelled.
    ~ServerTask() override;

    void Cancel();
    bool running() const { return poll_.isActive(); }

signals:
    // Once, on the window's thread: Stop::None when the work has finished,
    // else why it was stopped (the worker may still be on its way back).
    void finished(cf::platform::ServerWatch::Stop stop);

private:
    struct Shared;
    void Poll();
    void Finish(ServerWatch::Stop stop);

    std::shared_ptr<Shared> shared_;
    QTimer poll_;
};

class PrintJob : public QObject {
    Q_OBJECT

public:
    // Starts printing `printout` on `target`.
    PrintJob(const Printout& printout, const PrintTarget& target, QObject* parent = nullptr);

    const PrintTarget& target() const { return target_; }
    void Cancel() { task_->Cancel(); }

signals:
    // Once, on the window's thread.
    void finished(const cf::platform::PrintOutcome& outcome);

private:
    PrintTarget target_;
    std::shared_ptr<PrintOutcome> outcome_;
    ServerTask* task_;
};

}  // namespace cf::platform
