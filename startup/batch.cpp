// SPDX-License-Identifier: MIT
#include "startup/batch.h"

#include <array>
#include <vector>

#include "startup/command_line.h"
#include "startup/csv_line.h"
#include "startup/json_line.h"
#include "startup/line_reader.h"
#include "startup/output_buffer.h"
#include "startup/upper_case.h"

namespace cf {
namespace {

constexpr char kLineTooLong[] = "La riga è più lunga di 4096 byte e non è stata letta.";
static_assert(kMaxBatchLineLength == 4096, "the message names the limit");
constexpr char kBadQuotes[] =
    "La riga non è CSV valido: virgolette non chiuse o testo dopo le virgolette di chiusura.";

constexpr std::array<std::string_view, 5> kJsonNames = {"cognome", "nome", "data", "sesso", "luogo"};

struct PersonLine {
    std::array<std::string_view, 5> fields;
    std::string code;  // empty when refused
    std::string refusal;
    std::string warning;  // with a code: the other places of the name
};

void AppendCsv(std::string& out, const PersonLine& person)
{
    for (std::string_view field : person.fields) {
        AppendCsvField(out, field);
        out += ',';
    }
    out += person.code;
    out += ',';
    AppendCsvField(out, person.code.empty() ? person.refusal : person.warning);
    out += '\n';
}

void AppendJson(std::string& out, long long lineNumber, const PersonLine& person)
{
    JsonLine object(out);
    object.Number("riga", lineNumber);
    for (std::size_t i = 0; i < person.fields.size(); ++i)
        object.Text(kJsonNames[i], person.fields[i]);
    object.TextOrNull("codice", person.code)
        .TextOrNull("errore", person.refusal)
        .TextOrNull("avviso", person.warning)
        .End();
}

bool IsHeader(const std::vector<std::string>& fields)
{
    return UpperCase(fields.front()) == "COGNOME";
}

}  // namespace

BatchOutcome RunBatch(std::FILE* input, std::FILE* output, bool json, const Date& today)
{
    LineReader reader(input, kMaxBatchLineLength);
    OutputBuffer out(output);
    std::vector<std::string> fields;
    bool anyRefused = false;
    long long lineNumber = 0;
    InputLine line;
    while (reader.Next(line)) {
        ++lineNumber;
        PersonLine person;
        if (line.tooLong) {
            person.refusal = kLineTooLong;
        } else if (line.text.empty()) {
            if (!json)
                out.text() += '\n';
            if (!out.LineDone())
                break;
            continue;
        } else if (!SplitCsvLine(line.text, fields)) {
            person.refusal = kBadQuotes;
        } else if (lineNumber == 1 && IsHeader(fields)) {
            continue;
        } else {
            for (std::size_t i = 0; i < person.fields.size() && i < fields.size(); ++i)
                person.fields[i] = fields[i];
            const auto& [surname, firstName, date, sex, place] = person.fields;
            const PersonCode result = ComputePersonCode({surname, firstName, date, sex, place}, today);
            if (result.code)
                person.code = result.code->view();
            else
                person.refusal = result.refusal;
            person.warning = result.warning;
        }
        anyRefused = anyRefused || person.code.empty();
        if (json)
            AppendJson(out.text(), lineNumber, person);
        else
            AppendCsv(out.text(), person);
        if (!out.LineDone())
            break;
    }
    out.Finish();
    if (!out.error().empty())
        return {kExitUsage, "scrittura dello standard output non riuscita: " + out.error()};
    if (reader.failed())
        return {kExitUsage, "lettura dell'ingresso non riuscita"};
    return {anyRefused ? kExitRefused : kExitSuccess, {}};
}

}  // namespace cf
