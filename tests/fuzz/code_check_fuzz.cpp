// SPDX-License-Identifier: MIT
// The --check option over arbitrary text: it always answers with at least a
// verdict line and exit status 0 or 1.
#include <cstdint>
#include <cstdlib>
#include <string_view>

#include "command_line/code_check.h"
#include "fuzz_target.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const cf::CodeCheckOutput output =
        cf::RunCodeCheck({reinterpret_cast<const char*>(data), size}, cf::Date{2026, 12, 8});
    if (output.lines.empty() || (output.exitStatus != 0 && output.exitStatus != 1))
        std::abort();
    return 0;
}
