// SPDX-License-Identifier: MIT
// The CSV and JSON writers of the command line for scripts over arbitrary
// texts (the input cut at NUL bytes): what they write parses back to the
// texts given, with bytes that are not UTF-8 made U+FFFD; the verdicts of
// --check on each text parse back too, naming the code as given.
#include <cstdint>
#include <cstdlib>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "command_line/code_check.h"
#include "command_line/csv_line.h"
#include "command_line/json_line.h"
#include "engine/text/utf8.h"
#include "fuzz_target.h"
#include "parse_back.h"

namespace {

constexpr cf::Date kToday{2026, 12, 8};

std::string Repaired(std::string_view text)
{
    std::string out;
    cf::AppendValidUtf8(text, out);
    return out;
}

// The one JSON object of a line ending with a LF.
std::optional<cf::fuzz::JsonObject> ReadJsonLine(std::string_view line)
{
    if (!line.ends_with('\n'))
        return std::nullopt;
    line.remove_suffix(1);
    return cf::fuzz::ReadJsonObject(line);
}

void CheckFields(const std::vector<std::string_view>& texts)
{
    std::string csv;
    std::string json;
    cf::JsonLine object(json);
    for (std::size_t i = 0; i < texts.size(); ++i) {
        if (i > 0)
            csv += ',';
        cf::AppendCsvField(csv, texts[i]);
        const std::string name = std::to_string(i);
        i % 2 ? object.TextOrNull(name, texts[i]) : object.Text(name, texts[i]);
    }
    csv += '\n';
    object.Number("n", -static_cast<long long>(texts.size())).Boolean("b", texts.size() % 2 == 1).End();

    const auto records = cf::fuzz::ReadCsvRecords(csv);
    const auto fields = ReadJsonLine(json);
    if (!records || records->size() != 1 || (*records)[0].size() != texts.size() || !fields
        || fields->size() != texts.size() + 2)
        std::abort();
    for (std::size_t i = 0; i < texts.size(); ++i) {
        const std::string expected = Repaired(texts[i]);
        const cf::fuzz::JsonValue& value = (*fields)[i].second;
        const bool null = i % 2 == 1 && texts[i].empty();
        if ((*records)[0][i] != expected || (*fields)[i].first != std::to_string(i)
            || value.kind != (null ? cf::fuzz::JsonKind::Null : cf::fuzz::JsonKind::Text)
            || (!null && value.text != expected))
            std::abort();
    }
    const cf::fuzz::JsonValue* number = cf::fuzz::FindField(*fields, "n");
    const cf::fuzz::JsonValue* boolean = cf::fuzz::FindField(*fields, "b");
    if (!number || number->text != std::to_string(-static_cast<long long>(texts.size())) || !boolean
        || boolean->text != (texts.size() % 2 == 1 ? "true" : "false"))
        std::abort();
}

void CheckVerdict(std::string_view given, long long number)
{
    const cf::CodeVerdict verdict = cf::JudgeCode(given, kToday);
    std::string csv;
    cf::AppendVerdictCsv(csv, given, verdict);
    std::string json;
    cf::AppendVerdictJson(json, number, given, verdict);

    const auto records = cf::fuzz::ReadCsvRecords(csv);
    const auto object = ReadJsonLine(json);
    if (!records || records->size() != 1 || (*records)[0].size() != 10 || (*records)[0][0] != Repaired(given)
        || !object)
        std::abort();
    const cf::fuzz::JsonValue* code = cf::fuzz::FindField(*object, "codice");
    const cf::fuzz::JsonValue* correct = cf::fuzz::FindField(*object, "corretto");
    const cf::fuzz::JsonValue* line = cf::fuzz::FindField(*object, "riga");
    if (!code || code->text != Repaired(given) || !correct || correct->kind != cf::fuzz::JsonKind::Boolean
        || (correct->text == "true") != verdict.report.correct
        || ((*records)[0][2] == "corretto") != verdict.report.correct || !line
        || line->text != std::to_string(number))
        std::abort();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const auto texts = cf::fuzz::SplitAt({reinterpret_cast<const char*>(data), size}, '\0');
    if (texts.size() > 32)
        return 0;
    CheckFields(texts);
    for (std::size_t i = 0; i < texts.size() && i < 4; ++i)
        CheckVerdict(texts[i], static_cast<long long>(i + 1));
    return 0;
}
