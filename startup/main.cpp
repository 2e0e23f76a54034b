// The program's entry: the command-line mode when there is argument text,
// the windows when there is none.

#include <csignal>
#include <cstdio>
#include <ctime>
#include <span>

#include "engine/embedded_resources.h"
#include "engine/place_table.h"
#include "engine/work_files.h"
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

int CurrentYear()
{
    const std::time_t now = std::time(nullptr);
    std::tm local{};
    localtime_r(&now, &local);
    return local.tm_year + 1900;
}

// The windows are not built yet: until then the program without arguments
// explains its use, and the place file goes as it will when the main window
// closes.
int RunWindowedMode(int&, char**)
{
    PrintUsage();
    cf::DeletePlaceFile();
    return cf::kExitSuccess;
}

}  // namespace

int main(int argc, char** argv)
{
    const std::span<const char* const> arguments =
        argc > 1 ? std::span<const char* const>(argv + 1, static_cast<std::size_t>(argc - 1))
                 : std::span<const char* const>();
    const cf::ProgramRequest request = cf::ReadProgramArguments(arguments);

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
        cf::WriteResourceFile(cf::kPlaceFileName, cf::kPlaceTableResource);
        const cf::CommandLineOutcome outcome = cf::RunCommandLine(request.text);
        const int status = cf::DeliverCommandLineOutcome(outcome, argc, argv);
        cf::DeletePlaceFile();
        return status;
    }
    case cf::ProgramMode::Windowed:
        cf::WriteResourceFile(cf::kPlaceFileName, cf::kPlaceTableResource);
        return RunWindowedMode(argc, argv);
    }
    return cf::kExitUsage;
}
