// The program's entry: the command-line mode when there is argument text,
// the windows when there is none.

#include <csignal>
#include <cstdio>
#include <cstring>
#include <ctime>
#include <optional>
#include <span>

#include <QApplication>
#include <QLibraryInfo>
#include <QLocale>
#include <QTranslator>

#include "engine/archive_file.h"
#include "engine/embedded_resources.h"
#include "engine/place_table.h"
#include "engine/safe_file.h"
#include "engine/work_files.h"
#include "frame/principale.h"
#include "frame/program_icon.h"
#include "platform/display.h"
#include "platform/end_signals.h"
#include "startup/code_check.h"
#include "startup/command_line.h"
#include "startup/command_line_output.h"
#include "startup/program_arguments.h"

namespace {

void PrintUsage()
{
    const std::string_view usage = cf::UsageText();
    std::fwrite(usage.data(), 1, usage.size(), stdout);
}

// The person's data and codes must not show in the process list (ps) while
// this program, or the clipboard server it leaves behind, runs: once read,
// the arguments are blanked where the system shows them from.
void HideArguments(int argc, char** argv)
{
    for (int i = 1; i < argc; ++i)
        std::memset(argv[i], 0, std::strlen(argv[i]));
}

int CurrentYear()
{
    const std::time_t now = std::time(nullptr);
    std::tm local{};
    localtime_r(&now, &local);
    return local.tm_year + 1900;
}

// The windows: the frame around the generation window, whose place list
// loads under the splash window first. Without a desktop to show them on,
// the program says so and explains its use instead.
int RunWindowedMode(int& argc, char** argv)
{
    if (!cf::platform::DisplayAvailable() && qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) {
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
    frame.Start();
    return QApplication::exec();
}

}  // namespace

int main(int argc, char** argv)
{
    const std::span<const char* const> arguments =
        argc > 1 ? std::span<const char* const>(argv + 1, static_cast<std::size_t>(argc - 1))
                 : std::span<const char* const>();
    const cf::ProgramRequest request = cf::ReadProgramArguments(arguments);
    if (request.mode == cf::ProgramMode::PersonData || request.mode == cf::ProgramMode::Check)
        HideArguments(argc, argv);

    // The options are additions of our own that never read the place file,
    // so they do not write it.
    switch (request.mode) {
    case cf::ProgramMode::Help:
        PrintUsage();
        return cf::kExitSuccess;
    case cf::ProgramMode::Version:
        std::puts("codicefiscale " CF_VERSION);
        return cf::kExitSuccess;
    case cf::ProgramMode::UsageError:
        std::fprintf(stderr, "codicefiscale: %s\nPer l'aiuto: codicefiscale --help\n",
                     request.text.c_str());
        return cf::kExitUsage;
    case cf::ProgramMode::Check: {
        const cf::CodeCheckOutput output = cf::RunCodeCheck(request.text, CurrentYear());
        for (const std::string& line : output.lines)
            std::puts(line.c_str());
        return output.exitStatus;
    }
    case cf::ProgramMode::PersonData: {
        // A caller that stops reading our output must not keep the code
        // from the clipboard or leave the place file behind.
        std::signal(SIGPIPE, SIG_IGN);
        cf::platform::CatchEndSignals();
        int status;
        {
            const cf::PlaceFileInUse placeFileInUse;
            cf::WriteResourceFile(cf::kPlaceFileName, cf::kPlaceTableResource);
            const cf::CommandLineOutcome outcome = cf::RunCommandLine(request.text, CurrentYear());
            status = cf::DeliverCommandLineOutcome(outcome, argc, argv);
        }
        cf::DeletePlaceFile();
        return status;
    }
    case cf::ProgramMode::Windowed:
        cf::platform::CatchEndSignals();
        return RunWindowedMode(argc, argv);
    }
    return cf::kExitUsage;
}
