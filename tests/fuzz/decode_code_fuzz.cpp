// SPDX-License-Identifier: MIT
// Checking and decoding arbitrary text as a codice fiscale or Partita IVA.
#include <cstdint>
#include <cstdlib>
#include <string_view>

#include "engine/code/code_computation.h"
#include "engine/code/verification.h"
#include "fuzz_target.h"

constexpr cf::Date kToday{2026, 12, 8};

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const std::string_view text(reinterpret_cast<const char*>(data), size);
    const cf::CheckReport report = cf::CheckAndReport(text, kToday);
    if (report.messages.empty()
        || report.correct
               != (text.size() == 11 ? cf::IsValidPartitaIva(text) : cf::IsValidCodiceFiscale(text)))
        std::abort();
    if (report.decoded) {
        // A decoded date, when there is one, reads back as a date.
        const std::string& date = report.decoded->birthDate;
        if (!date.empty() && !cf::ParseDayFirstDate(date, kToday))
            std::abort();
    }
    cf::ClassifyCode(text);
    if (size >= 5)
        cf::DecodeBirthDate(text.substr(0, 5), kToday);
    return 0;
}
