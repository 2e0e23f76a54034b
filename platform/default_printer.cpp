// SPDX-License-Identifier: MIT
#include "platform/default_printer.h"

#include <cups/cups.h>

#include <algorithm>
#include <iterator>
#include <memory>

namespace cf::platform {
namespace {

constexpr double kPointsPerHundredthMillimetre = 72.0 / 2540.0;
// The document goes to the server in pieces of this size, each one wait.
constexpr qsizetype kChunkBytes = 64 * 1024;

PrintFailure Failure(const QString& description)
{
    return {kPrinterErrorNumber, description};
}

QString Quoted(const QString& name)
{
    return QStringLiteral("«") + name + QStringLiteral("»");
}

QString LastCupsError()
{
    return QString::fromUtf8(cupsLastErrorString());
}

QString WithReason(const QString& text, const QString& reason)
{
    return reason.isEmpty() ? text : text + QStringLiteral(": ") + reason;
}

// One connection to the print server of the user's settings (CUPS_SERVER,
// client.conf, read anew for each connection), on which no wait lasts
// longer than PrintServerWait(): the print library gives up after that
// long without an answer, and the watch cuts the connection when a whole
// request takes longer or the job is stopped.
class PrintServer {
public:
    explicit PrintServer(ServerWatch& watch) : watch_(watch)
    {
        cupsSetServer(nullptr);
        const auto wait = PrintServerWait();
        if (watch_.stopped())
            return;
        http_ = httpConnect2(cupsServer(), ippPort(), nullptr, AF_UNSPEC, cupsEncryption(), 1,
                             static_cast<int>(wait.count()), nullptr);
        if (!http_)
            return;
        httpSetTimeout(http_, static_cast<double>(wait.count()) / 1000.0, &PrintServer::GiveUp, this);
        watch_.SetConnection(httpGetFd(http_));
    }
    ~PrintServer()
    {
        if (!http_)
            return;
        watch_.SetConnection(-1);
        httpClose(http_);
    }
    PrintServer(const PrintServer&) = delete;
    PrintServer& operator=(const PrintServer&) = delete;

    bool connected() const { return http_ != nullptr; }
    http_t* http() const { return http_; }
    ServerWatch& watch() const { return watch_; }
    // True once a wait for an answer has run out or the watch stopped it.
    bool timedOut() const { return timedOut_ || watch_.stopped(); }
    // The failure of a request that got no answer.
    PrintFailure NoAnswer() const { return watch_.stopped() ? StoppedFailure(watch_) : NoAnswerFailure(); }

private:
    static int GiveUp(http_t*, void* server)
    {
        static_cast<PrintServer*>(server)->timedOut_ = true;
        return 0;  // stop waiting
    }

    ServerWatch& watch_;
    http_t* http_ = nullptr;
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
using IppResponse = std::unique_ptr<ipp_t, IppDeleter>;

// Sends the request (which it takes) and waits for the answer.
IppResponse Ask(PrintServer& server, ipp_t* request)
{
    const ServerWait wait(server.watch());
    return IppResponse(cupsDoRequest(server.http(), request, "/"));
}

const char* const kStateAttributes[] = {"printer-name", "printer-info", "printer-is-accepting-jobs",
                                        "printer-state", "printer-state-message"};

ipp_t* StateRequest(ipp_op_t operation)
{
    ipp_t* request = ippNewRequest(operation);
    ippAddStrings(request, IPP_TAG_OPERATION, IPP_TAG_KEYWORD, "requested-attributes",
                  std::size(kStateAttributes), nullptr, kStateAttributes);
    return request;
}

// Reads one printer's state attributes, from `attribute` to the end of its
// group; returns the first attribute after the group.
ipp_attribute_t* ReadPrinter(ipp_t* response, ipp_attribute_t* attribute, PrinterInfo* printer)
{
    bool accepting = true;
    bool stopped = false;
    for (; attribute && ippGetGroupTag(attribute) == IPP_TAG_PRINTER;
         attribute = ippNextAttribute(response)) {
        const char* name = ippGetName(attribute);
        const std::string_view key = name ? name : "";
        if (key == "printer-name")
            printer->name = QString::fromUtf8(ippGetString(attribute, 0, nullptr));
        else if (key == "printer-info")
            printer->description = QString::fromUtf8(ippGetString(attribute, 0, nullptr)).trimmed();
        else if (key == "printer-is-accepting-jobs")
            accepting = ippGetBoolean(attribute, 0) != 0;
        else if (key == "printer-state")
            stopped = ippGetInteger(attribute, 0) == IPP_PSTATE_STOPPED;
        else if (key == "printer-state-message")
            printer->reason = QString::fromUtf8(ippGetString(attribute, 0, nullptr)).trimmed();
    }
    printer->state = !accepting ? PrinterInfo::State::Refusing
                     : stopped  ? PrinterInfo::State::Stopped
                                : PrinterInfo::State::Ready;
    return attribute;
}

PrinterInfo Named(const char* name)
{
    PrinterInfo printer;
    printer.name = QString::fromUtf8(name);
    return printer;
}

std::optional<PrinterInfo> AskPrinterState(PrintServer& server, cups_dest_t* dest)
{
    const char* uri = cupsGetOption("printer-uri-supported", dest->num_options, dest->options);
    if (!uri)
        return Named(dest->name);
    ipp_t* request = StateRequest(IPP_OP_GET_PRINTER_ATTRIBUTES);
    ippAddString(request, IPP_TAG_OPERATION, IPP_TAG_URI, "printer-uri", nullptr, uri);
    const IppResponse response = Ask(server, request);
    if (!response || cupsLastError() > IPP_STATUS_OK_CONFLICTING)
        return std::nullopt;
    PrinterInfo printer = Named(dest->name);
    ipp_attribute_t* first = ippFirstAttribute(response.get());
    while (first && ippGetGroupTag(first) != IPP_TAG_PRINTER)
        first = ippNextAttribute(response.get());
    ReadPrinter(response.get(), first, &printer);
    return printer;
}

std::optional<QMarginsF> A4Margins(PrintServer& server, cups_dest_t* dest)
{
    const ServerWait wait(server.watch());
    const std::unique_ptr<cups_dinfo_t, DestInfoDeleter> info(cupsCopyDestInfo(server.http(), dest));
    cups_size_t size;
    if (!info
        || !cupsGetDestMediaByName(server.http(), dest, info.get(), CUPS_MEDIA_A4, CUPS_MEDIA_FLAGS_DEFAULT,
                                   &size))
        return std::nullopt;
    const double k = kPointsPerHundredthMillimetre;
    return QMarginsF(size.left * k, size.top * k, size.right * k, size.bottom * k);
}

// The destination `name`, or the default one of the lp settings when empty.
std::unique_ptr<cups_dest_t, DestDeleter> NamedDest(PrintServer& server, const QString& name)
{
    const ServerWait wait(server.watch());
    const QByteArray utf8 = name.toUtf8();
    return std::unique_ptr<cups_dest_t, DestDeleter>(
        cupsGetNamedDest(server.http(), name.isEmpty() ? nullptr : utf8.constData(), nullptr));
}

PrinterLookup Missing(const QString& description)
{
    return {PrinterLookup::Status::Missing, {}, Failure(description)};
}

PrinterLookup Unusable(const PrintFailure& failure)
{
    return {PrinterLookup::Status::Unusable, {}, failure};
}

const QString kNoServer = QStringLiteral("Il servizio di stampa non è attivo");

PrintFailure JobRefused(const PrintServer& server, const QString& queue)
{
    const QString printer = Quoted(queue);
    if (server.timedOut())
        return server.NoAnswer();
    if (cupsLastError() == IPP_STATUS_ERROR_NOT_ACCEPTING_JOBS)
        return Failure(QStringLiteral("La stampante %1 rifiuta i lavori di stampa").arg(printer));
    if (cupsLastError() == IPP_STATUS_ERROR_NOT_FOUND)
        return Failure(QStringLiteral("La stampante %1 non esiste più").arg(printer));
    return Failure(
        QStringLiteral("La stampante %1 non ha accettato la stampa (%2)").arg(printer, LastCupsError()));
}

// A job begun and then stopped goes from the server's queue, on a
// connection of its own: the job's may be the one that was cut.
void CancelJob(const QString& queue, int job)
{
    ServerWatch watch;
    PrintServer server(watch);
    if (server.connected()) {
        const ServerWait wait(watch);
        cupsCancelJob2(server.http(), queue.toUtf8().constData(), job, 0);
    }
}

}  // namespace

PrintFailure NoAnswerFailure()
{
    return Failure(QStringLiteral("Il servizio di stampa non ha risposto entro %1 secondi")
                       .arg(PrintServerWaitSeconds()));
}

PrintFailure CancelledFailure()
{
    return {kPrinterErrorNumber, QStringLiteral("Stampa annullata"), true};
}

PrintFailure StoppedFailure(const ServerWatch& watch)
{
    return watch.stop() == ServerWatch::Stop::Cancelled ? CancelledFailure() : NoAnswerFailure();
}

PrinterLookup LookUpPrinter(const QString& name, ServerWatch& watch)
{
    PrintServer server(watch);
    if (!server.connected()) {
        if (watch.stopped())
            return Unusable(StoppedFailure(watch));
        return name.isEmpty()
                   ? Missing(QStringLiteral("Nessuna stampante predefinita: ") + kNoServer.toLower())
                   : Unusable(Failure(kNoServer));
    }

    const auto dest = NamedDest(server, name);
    if (server.timedOut())
        return Unusable(server.NoAnswer());
    if (!dest) {
        if (cupsLastError() == IPP_STATUS_ERROR_NOT_FOUND)
            return name.isEmpty()
                       ? Missing(QStringLiteral("Nessuna stampante predefinita"))
                       : Unusable(Failure(QStringLiteral("La stampante %1 non esiste").arg(Quoted(name))));
        return Unusable(Failure(
            QStringLiteral("Il servizio di stampa non indica la stampante (%1)").arg(LastCupsError())));
    }
    const QString queue = QString::fromUtf8(dest->name);

    const std::optional<PrinterInfo> state = AskPrinterState(server, dest.get());
    if (server.timedOut())
        return Unusable(server.NoAnswer());
    if (!state)
        return Unusable(
            Failure(QStringLiteral("La stampante %1 non risponde (%2)").arg(Quoted(queue), LastCupsError())));
    if (state->state == PrinterInfo::State::Refusing)
        return Unusable(Failure(WithReason(
            QStringLiteral("La stampante %1 rifiuta i lavori di stampa").arg(Quoted(queue)), state->reason)));
    if (state->state == PrinterInfo::State::Stopped)
        return Unusable(
            Failure(WithReason(QStringLiteral("La stampante %1 è ferma").arg(Quoted(queue)), state->reason)));

    const std::optional<QMarginsF> margins = A4Margins(server, dest.get());
    if (server.timedOut())
        return Unusable(server.NoAnswer());
    return {PrinterLookup::Status::Ready, {queue, margins}, {}};
}

PrinterList ListPrinters(ServerWatch& watch)
{
    PrinterList list;
    PrintServer server(watch);
    if (!server.connected()) {
        list.failure = watch.stopped() ? StoppedFailure(watch) : Failure(kNoServer);
        return list;
    }
    const IppResponse response = Ask(server, StateRequest(IPP_OP_CUPS_GET_PRINTERS));
    if (server.timedOut()) {
        list.failure = server.NoAnswer();
        return list;
    }
    // A server without printers answers "not found".
    if (!response && cupsLastError() != IPP_STATUS_ERROR_NOT_FOUND) {
        list.failure = Failure(
            QStringLiteral("Il servizio di stampa non elenca le stampanti (%1)").arg(LastCupsError()));
        return list;
    }
    ipp_attribute_t* attribute = response ? ippFirstAttribute(response.get()) : nullptr;
    while (attribute) {
        if (ippGetGroupTag(attribute) != IPP_TAG_PRINTER) {
            attribute = ippNextAttribute(response.get());
            continue;
        }
        PrinterInfo printer;
        attribute = ReadPrinter(response.get(), attribute, &printer);
        if (!printer.name.isEmpty())
            list.printers.push_back(printer);
    }

    const auto dest = NamedDest(server, {});
    if (server.timedOut()) {
        list.failure = server.NoAnswer();
        return list;
    }
    if (dest) {
        list.defaultPrinter = QString::fromUtf8(dest->name);
        // A default that is a class of printers, or another server's
        // printer, is listed too.
        const bool listed = std::any_of(list.printers.begin(), list.printers.end(),
                                        [&](const PrinterInfo& p) { return p.name == list.defaultPrinter; });
        if (!listed)
            list.printers.push_back(Named(dest->name));
    }
    return list;
}

bool SendToPrinter(const PrinterQueue& queue, const QByteArray& pdf, const QString& title, bool colour,
                   PrintFailure* failure, ServerWatch& watch)
{
    PrintServer server(watch);
    if (!server.connected()) {
        *failure = watch.stopped() ? StoppedFailure(watch)
                                   : Failure(QStringLiteral("Il servizio di stampa non è più attivo"));
        return false;
    }
    const QByteArray name = queue.name.toUtf8();
    cups_option_t* options = nullptr;
    int count = cupsAddOption("media", CUPS_MEDIA_A4, 0, &options);
    if (colour)
        count = cupsAddOption("print-color-mode", "color", count, &options);
    int job = 0;
    {
        const ServerWait wait(watch);
        job = cupsCreateJob(server.http(), name.constData(), title.toUtf8().constData(), count, options);
    }
    cupsFreeOptions(count, options);
    if (job <= 0) {
        *failure = JobRefused(server, queue.name);
        return false;
    }

    bool sent = false;
    {
        const ServerWait wait(watch);
        sent = cupsStartDocument(server.http(), name.constData(), job, title.toUtf8().constData(),
                                 CUPS_FORMAT_PDF, 1)
               == HTTP_STATUS_CONTINUE;
    }
    for (qsizetype at = 0; sent && at < pdf.size(); at += kChunkBytes) {
        const ServerWait wait(watch);
        const auto size = static_cast<size_t>(std::min(kChunkBytes, pdf.size() - at));
        sent = !watch.stopped()
               && cupsWriteRequestData(server.http(), pdf.constData() + at, size) == HTTP_STATUS_CONTINUE;
    }
    if (sent) {
        const ServerWait wait(watch);
        sent = cupsFinishDocument(server.http(), name.constData()) <= IPP_STATUS_OK_CONFLICTING;
    }
    if (sent && !watch.stopped())
        return true;
    *failure = JobRefused(server, queue.name);
    CancelJob(queue.name, job);
    return false;
}

}  // namespace cf::platform
