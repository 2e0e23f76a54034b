// SPDX-License-Identifier: MIT
#include "platform/default_printer.h"

#include <cups/cups.h>

#include <iterator>
#include <memory>

namespace cf::platform {
namespace {

constexpr double kPointsPerHundredthMillimetre = 72.0 / 2540.0;

PrintFailure Failure(const QString& description)
{
    return {kPrinterErrorNumber, description};
}

QString Quoted(const QString& name)
{
    return QStringLiteral("«") + name + QStringLiteral("»");
}

PrintFailure NoAnswer()
{
    return Failure(QStringLiteral("Il servizio di stampa non ha risposto entro %1 secondi")
                       .arg(kPrintServerWaitSeconds));
}

QString LastCupsError()
{
    return QString::fromUtf8(cupsLastErrorString());
}

// One connection to the print server of the user's settings (CUPS_SERVER,
// client.conf), on which no wait lasts longer than kPrintServerWaitSeconds.
class PrintServer {
public:
    PrintServer()
        : http_(httpConnect2(cupsServer(), ippPort(), nullptr, AF_UNSPEC, cupsEncryption(), 1,
                             kPrintServerWaitSeconds * 1000, nullptr))
    {
        if (http_)
            httpSetTimeout(http_, kPrintServerWaitSeconds, &PrintServer::GiveUp, this);
    }
    ~PrintServer()
    {
        if (http_)
            httpClose(http_);
    }
    PrintServer(const PrintServer&) = delete;
    PrintServer& operator=(const PrintServer&) = delete;

    bool connected() const { return http_ != nullptr; }
    http_t* http() const { return http_; }
    // True once a wait for an answer has run out.
    bool timedOut() const { return timedOut_; }

private:
    static int GiveUp(http_t*, void* server)
    {
        static_cast<PrintServer*>(server)->timedOut_ = true;
        return 0;  // stop waiting
    }

    http_t* http_;
    bool timedOut_ = false;
};

struct DestDeleter {
    void operator()(cups_dest_t* dest) const { cupsFreeDests(1, dest); }
};
struct DestInfoDeleter {
    void operator()(cups_dinfo_t* info) const { cupsFreeDestInfo(info); }
};
struct IppDeleter {
    void operator()(ipp_t* ipp) const { ippDelete(ipp); }
};

// What the printer says about itself, as far as printing now depends on it.
struct PrinterState {
    bool acceptingJobs = true;
    bool stopped = false;
    QString message;  // the reason given for the state, often empty
};

std::optional<PrinterState> AskPrinterState(PrintServer& server, cups_dest_t* dest)
{
    const char* uri = cupsGetOption("printer-uri-supported", dest->num_options, dest->options);
    if (!uri)
        return PrinterState{};
    ipp_t* request = ippNewRequest(IPP_OP_GET_PRINTER_ATTRIBUTES);
    ippAddString(request, IPP_TAG_OPERATION, IPP_TAG_URI, "printer-uri", nullptr, uri);
    static const char* const kAttributes[] = {"printer-is-accepting-jobs", "printer-state",
                                              "printer-state-message"};
    ippAddStrings(request, IPP_TAG_OPERATION, IPP_TAG_KEYWORD, "requested-attributes", std::size(kAttributes),
                  nullptr, kAttributes);
    const std::unique_ptr<ipp_t, IppDeleter> response(
        cupsDoRequest(server.http(), request, "/"));  // takes the request
    if (!response || cupsLastError() > IPP_STATUS_OK_CONFLICTING)
        return std::nullopt;

    PrinterState state;
    if (ipp_attribute_t* accepting =
            ippFindAttribute(response.get(), "printer-is-accepting-jobs", IPP_TAG_BOOLEAN))
        state.acceptingJobs = ippGetBoolean(accepting, 0) != 0;
    if (ipp_attribute_t* printerState = ippFindAttribute(response.get(), "printer-state", IPP_TAG_ENUM))
        state.stopped = ippGetInteger(printerState, 0) == IPP_PSTATE_STOPPED;
    if (ipp_attribute_t* message = ippFindAttribute(response.get(), "printer-state-message", IPP_TAG_TEXT))
        state.message = QString::fromUtf8(ippGetString(message, 0, nullptr)).trimmed();
    return state;
}

std::optional<QMarginsF> A4Margins(PrintServer& server, cups_dest_t* dest)
{
    const std::unique_ptr<cups_dinfo_t, DestInfoDeleter> info(cupsCopyDestInfo(server.http(), dest));
    cups_size_t size;
    if (!info
        || !cupsGetDestMediaByName(server.http(), dest, info.get(), CUPS_MEDIA_A4, CUPS_MEDIA_FLAGS_DEFAULT,
                                   &size))
        return std::nullopt;
    const double k = kPointsPerHundredthMillimetre;
    return QMarginsF(size.left * k, size.top * k, size.right * k, size.bottom * k);
}

PrinterLookup Missing(const QString& description)
{
    return {PrinterLookup::Status::Missing, {}, Failure(description)};
}

PrinterLookup Unusable(const PrintFailure& failure)
{
    return {PrinterLookup::Status::Unusable, {}, failure};
}

QString WithReason(const QString& text, const QString& reason)
{
    return reason.isEmpty() ? text : text + QStringLiteral(": ") + reason;
}

}  // namespace

PrinterLookup LookUpDefaultPrinter()
{
    PrintServer server;
    if (!server.connected())
        return Missing(QStringLiteral("Nessuna stampante predefinita: il servizio di stampa non è attivo"));

    const std::unique_ptr<cups_dest_t, DestDeleter> dest(cupsGetNamedDest(server.http(), nullptr, nullptr));
    if (server.timedOut())
        return Unusable(NoAnswer());
    if (!dest) {
        if (cupsLastError() == IPP_STATUS_ERROR_NOT_FOUND)
            return Missing(QStringLiteral("Nessuna stampante predefinita"));
        return Unusable(
            Failure(QStringLiteral("Il servizio di stampa non indica la stampante predefinita (%1)")
                        .arg(LastCupsError())));
    }
    const QString name = QString::fromUtf8(dest->name);

    const std::optional<PrinterState> state = AskPrinterState(server, dest.get());
    if (server.timedOut())
        return Unusable(NoAnswer());
    if (!state)
        return Unusable(
            Failure(QStringLiteral("La stampante %1 non risponde (%2)").arg(Quoted(name), LastCupsError())));
    if (!state->acceptingJobs)
        return Unusable(Failure(WithReason(
            QStringLiteral("La stampante %1 rifiuta i lavori di stampa").arg(Quoted(name)), state->message)));
    if (state->stopped)
        return Unusable(
            Failure(WithReason(QStringLiteral("La stampante %1 è ferma").arg(Quoted(name)), state->message)));

    const std::optional<QMarginsF> margins = A4Margins(server, dest.get());
    if (server.timedOut())
        return Unusable(NoAnswer());
    return {PrinterLookup::Status::Ready, {name, margins}, {}};
}

bool SendToPrinter(const PrinterQueue& queue, const QString& pdfFile, const QString& title, bool colour,
                   PrintFailure* failure)
{
    PrintServer server;
    if (!server.connected()) {
        *failure = Failure(QStringLiteral("Il servizio di stampa non è più attivo"));
        return false;
    }
    cups_option_t* options = nullptr;
    int count = cupsAddOption("media", CUPS_MEDIA_A4, 0, &options);
    if (colour)
        count = cupsAddOption("print-color-mode", "color", count, &options);
    const int job =
        cupsPrintFile2(server.http(), queue.name.toUtf8().constData(), pdfFile.toLocal8Bit().constData(),
                       title.toUtf8().constData(), count, options);
    cupsFreeOptions(count, options);
    if (job > 0)
        return true;

    const QString printer = Quoted(queue.name);
    if (server.timedOut())
        *failure = NoAnswer();
    else if (cupsLastError() == IPP_STATUS_ERROR_NOT_ACCEPTING_JOBS)
        *failure = Failure(QStringLiteral("La stampante %1 rifiuta i lavori di stampa").arg(printer));
    else if (cupsLastError() == IPP_STATUS_ERROR_NOT_FOUND)
        *failure = Failure(QStringLiteral("La stampante %1 non esiste più").arg(printer));
    else
        *failure = Failure(
            QStringLiteral("La stampante %1 non ha accettato la stampa (%2)").arg(printer, LastCupsError()));
    return false;
}

}  // namespace cf::platform
