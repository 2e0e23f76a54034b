// SPDX-License-Identifier: MIT
// The command-line mode over arbitrary argument text, up to the code (no
// clipboard): a computed code is always 16 letters and digits with a correct
// check character, and a refusal always carries its message.
#include <cstdint>
#include <cstdlib>
#include <string_view>

#include "command_line/command_line.h"
#include "engine/code/verification.h"
#include "fuzz_target.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const cf::CommandLineOutcome outcome =
        cf::RunCommandLine({reinterpret_cast<const char*>(data), size}, cf::Date{2026, 12, 8});
    if (outcome.computed) {
        if (outcome.exitStatus != cf::kExitSuccess || !cf::IsValidCodiceFiscale(outcome.code))
            std::abort();
        for (char c : outcome.code)
            if (!((c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9')))
                std::abort();
    } else if (outcome.exitStatus != cf::kExitRefused || !outcome.box || outcome.box->text.empty()) {
        std::abort();
    }
    return 0;
}
