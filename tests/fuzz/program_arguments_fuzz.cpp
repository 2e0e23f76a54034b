// SPDX-License-Identifier: MIT
// The argument reader over arbitrary argument vectors (the input cut at NUL
// bytes, as the system hands them over): every request is one the program
// can carry out or a usage error that says what is wrong, and person data
// are the arguments that are no options (or follow "--"), joined by blanks.
#include <cstdint>
#include <cstdlib>
#include <string>
#include <vector>

#include "command_line/program_arguments.h"
#include "fuzz_target.h"
#include "parse_back.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const auto pieces = cf::fuzz::SplitAt({reinterpret_cast<const char*>(data), size}, '\0');
    if (pieces.size() > 64)
        return 0;
    std::vector<std::string> arguments(pieces.begin(), pieces.end());
    std::vector<const char*> argv;
    std::string operands;
    bool anyOperand = false;
    bool optionsEnded = false;  // by "--": what follows is data, dashes and all
    for (const std::string& argument : arguments) {
        argv.push_back(argument.c_str());
        if (!optionsEnded && argument == "--") {
            optionsEnded = true;
            continue;
        }
        if (!optionsEnded && argument.starts_with('-') && argument != "-")
            continue;
        operands += anyOperand ? " " + argument : argument;
        anyOperand = true;
    }

    const cf::ProgramRequest request = cf::ReadProgramArguments(argv);
    using cf::ProgramMode;
    switch (request.mode) {
    case ProgramMode::UsageError:
        if (request.text.empty())
            std::abort();
        break;
    case ProgramMode::Windowed:
        if (!operands.empty() || request.noGui)
            std::abort();
        break;
    case ProgramMode::PersonData:
        if (request.text.empty() || request.text != operands)
            std::abort();
        break;
    case ProgramMode::Check:
        if (request.codes.empty())
            std::abort();
        break;
    case ProgramMode::Homocodes:
    case ProgramMode::Places:
        if (request.text.empty())
            std::abort();
        break;
    default:
        break;
    }
    if (request.json && request.mode != ProgramMode::Check && request.mode != ProgramMode::Batch)
        std::abort();
    // A person to check one code against, and nothing else.
    if (!request.person.empty()
        && (request.mode != ProgramMode::Check || request.codes.size() != 1 || request.codes.front() == "-"
            || request.json))
        std::abort();
    return 0;
}
