// SPDX-License-Identifier: MIT
#include "platform/print_job.h"

#include <QCoreApplication>
#include <QThreadPool>

namespace cf::platform {
namespace {

// How often the window's thread looks at a running task.
constexpr int kPollMilliseconds = 50;

// The workers of the print tasks. A task given up on may still be on its
// way back, so there are threads enough that it never holds up the next.
// When the program ends, the tasks still running are stopped and waited
// for, while the application object that their drawing needs is there.
QThreadPool& PrintThreads()
{
    static QThreadPool pool;
    static const bool stoppedAtTheEnd = [] {
        pool.setMaxThreadCount(16);
        QObject::connect(QCoreApplication::instance(), &QCoreApplication::aboutToQuit, [] {
            StopEveryServerWatch();
            pool.waitForDone();
        });
        return true;
    }();
    Q_UNUSED(stoppedAtTheEnd);
    return pool;
}

}  // namespace

PrintOutcome RunPrintout(const Printout& printout, const PrintTarget& target, ServerWatch* watch)
{
    LinePrinter printer(target, watch);
    if (printout.print(printer))
        return {{}, printer.printerName()};
    return {printer.failure(), printer.printerName()};
}

struct ServerTask::Shared {
    ServerWatch watch;
    std::atomic<bool> done{false};
};

ServerTask::ServerTask(Work work, QObject* parent) : QObject(parent), shared_(std::make_shared<Shared>())
{
    PrintThreads().start([shared = shared_, work = std::move(work)] {
        work(shared->watch);
        shared->done = true;
    });
    connect(&poll_, &QTimer::timeout, this, &ServerTask::Poll);
    poll_.start(kPollMilliseconds);
}

ServerTask::~ServerTask()
{
    if (running())
        shared_->watch.Interrupt(ServerWatch::Stop::Cancelled);
}

void ServerTask::Cancel()
{
    if (!running())
        return;
    shared_->watch.Interrupt(ServerWatch::Stop::Cancelled);
    Finish(ServerWatch::Stop::Cancelled);
}

void ServerTask::Poll()
{
    if (shared_->done) {
        Finish(ServerWatch::Stop::None);
    } else if (shared_->watch.stop() == ServerWatch::Stop::TimedOut) {
        Finish(ServerWatch::Stop::TimedOut);
    }
}

void ServerTask::Finish(ServerWatch::Stop stop)
{
    poll_.stop();
    emit finished(stop);
}

PrintJob::PrintJob(const Printout& printout, const PrintTarget& target, QObject* parent)
    : QObject(parent), target_(target), outcome_(std::make_shared<PrintOutcome>())
{
    task_ = new ServerTask([printout, target, outcome = outcome_](
                               ServerWatch& watch) { *outcome = RunPrintout(printout, target, &watch); },
                           this);
    connect(task_, &ServerTask::finished, this, [this](ServerWatch::Stop stop) {
        if (stop == ServerWatch::Stop::Cancelled)
            emit finished({CancelledFailure(), target_.name});
        else if (stop == ServerWatch::Stop::TimedOut)
            emit finished({NoAnswerFailure(), target_.name});
        else
            emit finished(*outcome_);
    });
}

}  // namespace cf::platform
