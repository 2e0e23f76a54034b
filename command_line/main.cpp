// SPDX-License-Identifier: MIT
// The program's entry: the command-line mode when there is argument text,
// the windows when there is none.

#include <cerrno>
#include <csignal>
#include <cstdio>
#include <cstring>
#include <optional>
#include <string>
#include <vector>

#include <QApplication>
#include <QLibraryInfo>
#include <QLocale>
#include <QTranslator>

#include "cf/version.h"
#include "command_line/archive_files.h"
#include "command_line/batch.h"
#include "command_line/code_check.h"
#include "command_line/command_line.h"
#include "command_line/command_line_output.h"
#include "command_line/homocode_list.h"
#include "command_line/person_check.h"
#include "command_line/place_list.h"
#include "command_line/program_arguments.h"
#include "engine/code/dates.h"
#include "engine/places/embedded_resources.h"
#include "engine/places/place_table.h"
#include "engine/storage/archive_file.h"
#include "engine/storage/safe_file.h"
#include "engine/storage/system_error.h"
#include "engine/storage/work_files.h"
#include "platform/display.h"
#include "platform/end_signals.h"
#include "windows/frame/principale.h"
#include "windows/frame/program_icon.h"

namespace {

void PrintUsage()
{
    const std::string_view usage = cf::UsageText();
    std::fwrite(usage.data(), 1, usage.size(), stdout);
}

// The person's data and codes must not show in the process list (ps,
// /proc/PID/cmdline) while this program, or the clipboard server it leaves
// behind, runs: the arguments are copied and blanked where the system shows
// them from, before anything else is done.
std::vector<std::string> TakeArguments(int argc, char** argv)
{
    std::vector<std::string> arguments;
    for (int i = 1; i < argc; ++i) {
        arguments.emplace_back(argv[i]);
        std::memset(argv[i], 0, arguments.back().size());
    }
    return arguments;
}

// A run ended by SIGTERM, SIGINT or SIGHUP says so in its status, as the
// shell does for a process such a signal kills.
int StatusAfterEndSignal(int status)
{
    const int signal = cf::platform::EndSignalReceived();
    return signal != 0 ? 128 + signal : status;
}

// The windows: the frame around the generation window, whose place list
// loads under the splash window first. Without a desktop to show them on,
// the program says so and explains its use instead.
int RunWindowedMode(int& argc, char** argv)
{
    if (!cf::platform::DisplayAvailable() && qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) {
        // Ended while the display was asked: there is no window to close.
        if (cf::platform::EndSignalReceived() != 0)
            return StatusAfterEndSignal(cf::kExitUsage);
        std::fputs("codicefiscale: nessuno schermo disponibile per le finestre.\n\n", stderr);
        PrintUsage();
        return cf::kExitUsage;
    }
    QApplication application(argc, argv);
    // Qt's own texts (context menus of the text boxes) in Italian too.
    QTranslator qtTexts;
    if (qtTexts.load(QLocale(QLocale::Italian), QStringLiteral("qtbase"), QStringLiteral("_"),
                     QLibraryInfo::path(QLibraryInfo::TranslationsPath)))
        QApplication::installTranslator(&qtTexts);
    QApplication::setWindowIcon(cf::frame::ProgramIcon());
    QGuiApplication::setDesktopFileName(QStringLiteral("codicefiscale"));
    // What a killed delete left beside the archive holds personal data.
    cf::RemoveAbandonedTemporaryFiles(cf::ArchivePath());

    // The place file is in use until the place list has been loaded from it:
    // a command-line instance ending meanwhile leaves it alone.
    auto placeFileInUse = std::make_optional<cf::PlaceFileInUse>();
    cf::WriteResourceFile(cf::kPlaceFileName, cf::kPlaceTableResource);
    cf::frame::Principale frame;
    placeFileInUse.reset();
    // The place file was missing: the program has already been ended.
    if (frame.ended())
        return cf::kExitRefused;
    // A logout or an interruption ends the program as "Esci" does.
    cf::platform::OnEndSignal(&frame, [&frame] { frame.close(); });
    frame.start();
    return QApplication::exec();
}

// Flushes standard output: a write that failed there (a full disk, a
// closed pipe) is reported and turns the status into kExitUsage.
int FinishOutput(int status)
{
    errno = 0;
    if (std::fflush(stdout) == 0 && !std::ferror(stdout))
        return status;
    std::fprintf(stderr, "codicefiscale: scrittura dello standard output non riuscita: %s\n",
                 (errno != 0 ? cf::SystemErrorText(errno) : "scrittura incompleta").c_str());
    return cf::kExitUsage;
}

int PrintLinesOrRefusal(const std::vector<std::string>& lines, const std::string& refusal)
{
    if (!refusal.empty()) {
        std::fprintf(stderr, "codicefiscale: %s\n", refusal.c_str());
        return cf::kExitRefused;
    }
    for (const std::string& line : lines)
        std::puts(line.c_str());
    return FinishOutput(cf::kExitSuccess);
}

// Ends a run over many lines: its failure, if any, on standard error.
int ReportListOutcome(int status, const std::string& error)
{
    if (!error.empty())
        std::fprintf(stderr, "codicefiscale: %s\n", error.c_str());
    return status;
}

int RunCheck(const cf::ProgramRequest& request)
{
    if (!request.person.empty()) {
        const cf::CodeCheckOutput output =
            cf::RunPersonCheck(request.codes.front(), request.person, cf::Today());
        for (const std::string& line : output.lines)
            std::puts(line.c_str());
        return FinishOutput(output.exitStatus);
    }
    if (request.codes.size() == 1 && request.codes.front() == "-") {
        const cf::CodeListOutcome outcome = cf::CheckCodeStream(stdin, stdout, request.json, cf::Today());
        return ReportListOutcome(outcome.exitStatus, outcome.error);
    }
    if (request.codes.size() > 1 || request.json) {
        const cf::CodeListOutcome outcome = cf::CheckCodes(request.codes, stdout, request.json, cf::Today());
        return ReportListOutcome(outcome.exitStatus, outcome.error);
    }
    const cf::CodeCheckOutput output = cf::RunCodeCheck(request.codes.front(), cf::Today());
    for (const std::string& line : output.lines)
        std::puts(line.c_str());
    return FinishOutput(output.exitStatus);
}

// --esporta and --importa: the outcome on standard output, each refused row
// on standard error.
int RunTransfer(const cf::TransferOutcome& outcome)
{
    for (const cf::RowRefusal& refusal : outcome.refusals)
        std::fprintf(stderr, "codicefiscale: riga %zu: %s\n", refusal.row, refusal.reason.c_str());
    if (outcome.exitStatus == cf::kExitUsage) {
        std::fprintf(stderr, "codicefiscale: %s\n", outcome.message.c_str());
        return outcome.exitStatus;
    }
    std::puts(outcome.message.c_str());
    return FinishOutput(outcome.exitStatus);
}

int RunBatchMode(const cf::ProgramRequest& request)
{
    const bool fromStandardInput = request.text.empty() || request.text == "-";
    std::FILE* input = fromStandardInput ? stdin : std::fopen(request.text.c_str(), "rb");
    if (input == nullptr) {
        std::fprintf(stderr, "codicefiscale: impossibile aprire %s: %s\n", request.text.c_str(),
                     cf::SystemErrorText(errno).c_str());
        return cf::kExitUsage;
    }
    const cf::BatchOutcome outcome = cf::RunBatch(input, stdout, request.json, cf::Today());
    if (!fromStandardInput)
        std::fclose(input);
    return ReportListOutcome(outcome.exitStatus, outcome.error);
}

}  // namespace

int main(int argc, char** argv)
{
    const std::vector<std::string> arguments = TakeArguments(argc, argv);
    std::vector<const char*> argumentTexts;
    for (const std::string& argument : arguments)
        argumentTexts.push_back(argument.c_str());
    const cf::ProgramRequest request = cf::ReadProgramArguments(argumentTexts);

    // The options are additions of our own that never read the place file,
    // so they do not write it.
    switch (request.mode) {
    case cf::ProgramMode::Help:
        PrintUsage();
        return FinishOutput(cf::kExitSuccess);
    case cf::ProgramMode::Version:
        std::printf("codicefiscale %s\n", cf::kVersion);
        return FinishOutput(cf::kExitSuccess);
    case cf::ProgramMode::UsageError:
        std::fprintf(stderr, "codicefiscale: %s\nPer l'aiuto: codicefiscale --help\n", request.text.c_str());
        return cf::kExitUsage;
    case cf::ProgramMode::Check:
        return RunCheck(request);
    case cf::ProgramMode::Batch:
        return RunBatchMode(request);
    case cf::ProgramMode::Homocodes: {
        const cf::HomocodeList list = cf::ListHomocodes(request.text);
        return PrintLinesOrRefusal(list.codes, list.refusal);
    }
    case cf::ProgramMode::Places: {
        const cf::PlaceList list = cf::ListPlaces(request.text);
        return PrintLinesOrRefusal(list.lines, list.refusal);
    }
    case cf::ProgramMode::Export:
        return RunTransfer(cf::ExportArchive(cf::ArchivePath(), request.text));
    case cf::ProgramMode::Import:
        return RunTransfer(cf::ImportIntoArchive(cf::ArchivePath(), request.text, cf::Today()));
    case cf::ProgramMode::PersonData: {
        // A caller that stops reading our output gets a write error, not a
        // signal: the clipboard and the place file are still looked after.
        // Elsewhere a reader that has gone (`| head`) ends the run quietly
        // by the signal, as with any filter.
        std::signal(SIGPIPE, SIG_IGN);
        cf::platform::CatchEndSignals();
        int status;
        {
            const cf::PlaceFileInUse placeFileInUse;
            cf::WriteResourceFile(cf::kPlaceFileName, cf::kPlaceTableResource);
            const cf::CommandLineOutcome outcome = cf::RunCommandLine(request.text, cf::Today());
            status = cf::DeliverCommandLineOutcome(outcome, request.noGui, argc, argv);
        }
        cf::DeletePlaceFile();
        return StatusAfterEndSignal(status);
    }
    case cf::ProgramMode::Windowed:
        cf::platform::CatchEndSignals();
        return RunWindowedMode(argc, argv);
    }
    return cf::kExitUsage;
}
