// SPDX-License-Identifier: MIT
#include "platform/print_command.h"

#include <QDir>
#include <QGuiApplication>
#include <QPointer>

#include "platform/file_dialog.h"
#include "platform/message_box.h"
#include "platform/printer_choice.h"

namespace cf::platform {
namespace {

QPointer<PrintJob> runningJob;

QString Quoted(const QString& name)
{
    return QStringLiteral("«") + name + QStringLiteral("»");
}

QString RunningText(const PrintTarget& target)
{
    switch (target.kind) {
    case PrintTarget::Kind::Printer:
        return QStringLiteral("Stampa in corso su %1…").arg(Quoted(target.name));
    case PrintTarget::Kind::DefaultPrinter:
        return QStringLiteral("Stampa in corso sulla stampante predefinita…");
    case PrintTarget::Kind::PdfFile:
        break;
    }
    return QStringLiteral("Salvataggio in corso in %1…").arg(QDir::toNativeSeparators(target.name));
}

QString DoneText(const PrintTarget& target, const PrintOutcome& outcome)
{
    if (target.isPdf())
        return QStringLiteral("Salvato in ") + QDir::toNativeSeparators(target.name);
    return QStringLiteral("Stampato su ") + Quoted(outcome.printer.isEmpty() ? target.name : outcome.printer);
}

void Run(const Printout& printout, const PrintTarget& target, const FailureMessage& message);

// The failure's message, with the offer of the same printout as a PDF file.
void OfferPdfFile(const Printout& printout, const FailureMessage& message, const PrintFailure& failure)
{
    const QString offer = QStringLiteral("\n\nVuoi salvare la stessa stampa in un file PDF?");
    if (ShowMessage(message.icon, message.title, message.text(failure) + offer, MessageButtons::YesNo)
        != MessageAnswer::Yes)
        return;
    const QString file = AskPdfFileName(printout.pdfFileName);
    if (!file.isEmpty())
        Run(printout, PrintTarget::PdfFile(file), message);
}

void Run(const Printout& printout, const PrintTarget& target, const FailureMessage& message)
{
    auto* job = new PrintJob(printout, target);
    runningJob = job;
    // The window goes on answering: the pointer says that work goes on.
    QGuiApplication::setOverrideCursor(Qt::BusyCursor);
    emit PrintStatus::instance().changed(RunningText(target), true);
    QObject::connect(job, &PrintJob::finished, job, [job, printout, message](const PrintOutcome& outcome) {
        QGuiApplication::restoreOverrideCursor();
        runningJob = nullptr;
        job->deleteLater();
        PrintStatus& status = PrintStatus::instance();
        if (outcome.ok()) {
            emit status.changed(DoneText(job->target(), outcome), false);
            return;
        }
        emit status.changed(outcome.failure.description, false);
        if (!outcome.failure.cancelled)
            OfferPdfFile(printout, message, outcome.failure);
    });
}

}  // namespace

bool StartPrintout(const Printout& printout, const FailureMessage& failureMessage)
{
    std::optional<PrintTarget> target = ChoosePrinter();
    if (!target)
        return false;
    if (target->isPdf()) {
        target->name = AskPdfFileName(printout.pdfFileName);
        if (target->name.isEmpty())
            return false;
    }
    Run(printout, *target, failureMessage);
    return true;
}

bool OfferToCancelPrintout()
{
    if (!runningJob)
        return false;
    const PrintTarget& target = runningJob->target();
    const QString question =
        target.isPdf() ? QStringLiteral("È in corso il salvataggio in un file PDF.\nVuoi annullarlo?")
        : target.kind == PrintTarget::Kind::Printer
            ? QStringLiteral("È in corso una stampa su %1.\nVuoi annullarla?").arg(Quoted(target.name))
            : QStringLiteral("È in corso una stampa.\nVuoi annullarla?");
    if (ShowMessage(MessageIcon::Question, QStringLiteral("Codice fiscale"), question, MessageButtons::YesNo)
            == MessageAnswer::Yes
        && runningJob)
        runningJob->Cancel();
    return true;
}

bool PrintoutRunning()
{
    return !runningJob.isNull();
}

PrintStatus& PrintStatus::instance()
{
    static PrintStatus status;
    return status;
}

}  // namespace cf::platform
