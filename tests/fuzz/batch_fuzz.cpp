// SPDX-License-Identifier: MIT
// The --batch reader over arbitrary input (the first byte chooses CSV or
// JSON output): the output parses back, as CSV records of the five fields,
// the code and the refusal (with a code to check: the code given, whether it
// belongs to the person, and the verdict), or as one JSON object a line;
// each person has either a correct code or a refusal, a code said to belong
// to its person goes with a correct code of the data, and the exit status
// says whether any was refused or did not belong.
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <string_view>

#include "command_line/batch.h"
#include "command_line/command_line.h"
#include "engine/code/verification.h"
#include "fuzz_target.h"
#include "parse_back.h"

namespace {

constexpr cf::Date kToday{2026, 12, 8};

// Whether a person's code, refusal and warning hold together: a correct code
// or a refusal, a warning only with a code; `refused` is set.
bool PersonHolds(bool hasCode, std::string_view code, bool hasRefusal, bool hasWarning, bool& refused)
{
    refused = hasRefusal;
    return hasCode != hasRefusal && (!hasCode || cf::IsValidCodiceFiscale(code)) && (hasCode || !hasWarning);
}

// A code checked against its person: said to belong only with a code of the
// data, and never without a verdict; `refused` is set when it does not
// belong.
bool CheckHolds(bool hasCode, bool corresponds, std::string_view verdict, bool& refused)
{
    refused = refused || !corresponds;
    return !verdict.empty()
           && (!corresponds || (hasCode && verdict.starts_with("Il codice corrisponde ai dati")));
}

bool CsvHolds(std::string_view output, bool& anyRefused)
{
    const auto records = cf::fuzz::ReadCsvRecords(output);
    if (!records)
        return false;
    for (const cf::fuzz::CsvRecord& record : *records) {
        if (record.size() == 1 && record[0].empty())
            continue;  // an empty line answers an empty line
        bool refused = false;
        const bool hasCode = !record[5].empty();
        if (record.size() == 9) {
            // The code given, whether it belongs, the verdict.
            const bool corresponds = record[7] == "sì";
            if ((!corresponds && record[7] != "no") || (hasCode && !cf::IsValidCodiceFiscale(record[5]))
                || !CheckHolds(hasCode, corresponds, record[8], refused))
                return false;
            anyRefused = anyRefused || refused || !hasCode;
            continue;
        }
        // The last field is the refusal without a code, the warning with one.
        if (record.size() != 7)
            return false;
        const bool hasMessage = !record[6].empty();
        if (!PersonHolds(hasCode, record[5], hasMessage && !hasCode, hasMessage && hasCode, refused))
            return false;
        anyRefused = anyRefused || refused;
    }
    return true;
}

bool JsonHolds(std::string_view output, bool& anyRefused)
{
    if (output.empty())
        return true;
    if (!output.ends_with('\n'))
        return false;
    output.remove_suffix(1);
    for (const std::string_view line : cf::fuzz::SplitAt(output, '\n')) {
        const auto object = cf::fuzz::ReadJsonObject(line);
        if (!object || (object->size() != 9 && object->size() != 12))
            return false;
        const cf::fuzz::JsonValue* number = cf::fuzz::FindField(*object, "riga");
        const cf::fuzz::JsonValue* code = cf::fuzz::FindField(*object, "codice");
        const cf::fuzz::JsonValue* refusal = cf::fuzz::FindField(*object, "errore");
        const cf::fuzz::JsonValue* warning = cf::fuzz::FindField(*object, "avviso");
        if (!number || number->kind != cf::fuzz::JsonKind::Number || !code || !refusal || !warning)
            return false;
        for (const char* name : {"cognome", "nome", "data", "sesso", "luogo"}) {
            const cf::fuzz::JsonValue* field = cf::fuzz::FindField(*object, name);
            if (!field || field->kind != cf::fuzz::JsonKind::Text)
                return false;
        }
        bool refused = false;
        if (!PersonHolds(code->kind == cf::fuzz::JsonKind::Text, code->text,
                         refusal->kind == cf::fuzz::JsonKind::Text, warning->kind == cf::fuzz::JsonKind::Text,
                         refused))
            return false;
        if (object->size() == 12) {
            const cf::fuzz::JsonValue* given = cf::fuzz::FindField(*object, "codice_dato");
            const cf::fuzz::JsonValue* corresponds = cf::fuzz::FindField(*object, "corrisponde");
            const cf::fuzz::JsonValue* verdict = cf::fuzz::FindField(*object, "messaggio");
            if (!given || given->kind != cf::fuzz::JsonKind::Text || !corresponds
                || corresponds->kind != cf::fuzz::JsonKind::Boolean || !verdict
                || verdict->kind != cf::fuzz::JsonKind::Text
                || !CheckHolds(code->kind == cf::fuzz::JsonKind::Text, corresponds->text == "true",
                               verdict->text, refused))
                return false;
        }
        anyRefused = anyRefused || refused;
    }
    return true;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    if (size < 2)
        return 0;
    const bool json = data[0] & 1;
    std::FILE* input = ::fmemopen(const_cast<std::uint8_t*>(data + 1), size - 1, "rb");
    char* written = nullptr;
    std::size_t writtenSize = 0;
    std::FILE* output = ::open_memstream(&written, &writtenSize);
    if (!input || !output)
        std::abort();
    const cf::BatchOutcome outcome = cf::RunBatch(input, output, json, kToday);
    std::fclose(input);
    std::fclose(output);
    const std::string text(written, writtenSize);
    std::free(written);

    bool anyRefused = false;
    if (!(json ? JsonHolds(text, anyRefused) : CsvHolds(text, anyRefused)))
        std::abort();
    if (outcome.exitStatus != (anyRefused ? cf::kExitRefused : cf::kExitSuccess) || !outcome.error.empty())
        std::abort();
    return 0;
}
