// SPDX-License-Identifier: MIT
#include "command_line/batch.h"

#include <array>
#include <vector>

#include "command_line/command_line.h"
#include "command_line/csv_line.h"
#include "command_line/json_line.h"
#include "command_line/line_reader.h"
#include "command_line/output_buffer.h"
#include "command_line/person_check.h"
#include "command_line/upper_case.h"

namespace cf {
namespace {

constexpr char kLineTooLong[] = "La riga è più lunga di 4096 byte e non è stata letta.";
static_assert(kMaxBatchLineLength == 4096, "the message names the limit");
constexpr char kBadQuotes[] =
    "La riga non è CSV valido: virgolette non chiuse o testo dopo le virgolette di chiusura.";

constexpr std::array<std::string_view, 5> kJsonNames = {"cognome", "nome", "data", "sesso", "luogo"};

// The field of a record that holds a code to check against its person.
constexpr std::size_t kCodeToCheckField = 6;

struct PersonLine {
    std::array<std::string_view, 5> fields;
    std::string code;  // empty when refused
    std::string refusal;
    std::string warning;  // with a code: the other places of the name
    // A record with a code to check: the code as given, whether it belongs
    // to the person, and the verdict's lines joined by "; ".
    bool checked = false;
    std::string_view givenCode;
    bool corresponds = false;
    std::string verdict;
};

void AppendCsv(std::string& out, const PersonLine& person)
{
    for (std::string_view field : person.fields) {
        AppendCsvField(out, field);
        out += ',';
    }
    out += person.code;
    out += ',';
    if (person.checked) {
        AppendCsvField(out, person.givenCode);
        out += person.corresponds ? ",sì," : ",no,";
        AppendCsvField(out, person.verdict);
    } else {
        AppendCsvField(out, person.code.empty() ? person.refusal : person.warning);
    }
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
        .TextOrNull("avviso", person.warning);
    if (person.checked)
        object.Text("codice_dato", person.givenCode)
            .Boolean("corrisponde", person.corresponds)
            .Text("messaggio", person.verdict);
    object.End();
}

// Checks the code of the record's seventh field against its person.
void CheckPersonCode(PersonLine& person, std::string_view givenCode, const Date& today)
{
    const auto& [surname, firstName, date, sex, place] = person.fields;
    const PersonCodeVerdict verdict =
        CheckCodeOfPerson(givenCode, {surname, firstName, date, sex, place}, today);
    person.checked = true;
    person.givenCode = givenCode;
    person.code = verdict.dataCode;
    person.refusal = verdict.refusal;
    person.warning = verdict.warning;
    person.corresponds = verdict.corresponds;
    for (const std::string& line : verdict.lines) {
        if (!person.verdict.empty())
            person.verdict += "; ";
        person.verdict += line;
    }
}

bool IsHeader(const std::vector<std::string>& fields)
{
    return UpperCase(fields.front()) == "COGNOME";
}

// Cuts the record that starts with `line` into `fields`: while a quoted
// field is open at a line's end, the record goes on with the next line,
// joined by a line feed in `record`, up to kMaxBatchLineLength bytes in
// all. `line.tooLong` is set when the record ran past that; `lineNumber`
// counts the lines read.
CsvRecord ReadRecord(LineReader& reader, InputLine& line, std::string& record,
                     std::vector<std::string>& fields, long long& lineNumber)
{
    CsvRecord state = SplitCsvLine(line.text, fields);
    if (state != CsvRecord::Open)
        return state;
    record.assign(line.text);
    while (state == CsvRecord::Open && reader.Next(line)) {
        ++lineNumber;
        if (line.tooLong || record.size() + 1 + line.text.size() > kMaxBatchLineLength) {
            line.tooLong = true;
            break;
        }
        record += '\n';
        record.append(line.text);
        state = SplitCsvLine(record, fields);
    }
    return state;
}

}  // namespace

BatchOutcome RunBatch(std::FILE* input, std::FILE* output, bool json, const Date& today)
{
    LineReader reader(input, kMaxBatchLineLength);
    OutputBuffer out(output);
    // A program that writes a line and waits for its answer gets it at once;
    // a file is read without a pause, and its answers go in large pieces.
    reader.OnWait([&out] { out.Flush(); });
    std::vector<std::string> fields;
    std::string record;
    bool anyRefused = false;
    long long lineNumber = 0;
    InputLine line;
    while (reader.Next(line)) {
        const long long firstLine = ++lineNumber;
        PersonLine person;
        if (line.tooLong) {
            person.refusal = kLineTooLong;
        } else if (line.text.empty()) {
            if (!json)
                out.text() += '\n';
            if (!out.LineDone())
                break;
            continue;
        } else if (const CsvRecord state = ReadRecord(reader, line, record, fields, lineNumber);
                   state != CsvRecord::Complete) {
            person.refusal = line.tooLong ? kLineTooLong : kBadQuotes;
        } else if (firstLine == 1 && IsHeader(fields)) {
            continue;
        } else {
            for (std::size_t i = 0; i < person.fields.size() && i < fields.size(); ++i)
                person.fields[i] = fields[i];
            if (fields.size() > kCodeToCheckField && !TrimCode(fields[kCodeToCheckField]).empty()) {
                CheckPersonCode(person, fields[kCodeToCheckField], today);
            } else {
                const auto& [surname, firstName, date, sex, place] = person.fields;
                const PersonCode result = ComputePersonCode({surname, firstName, date, sex, place}, today);
                if (result.code)
                    person.code = result.code->view();
                else
                    person.refusal = result.refusal;
                person.warning = result.warning;
            }
        }
        anyRefused = anyRefused || person.code.empty() || (person.checked && !person.corresponds);
        if (json)
            AppendJson(out.text(), firstLine, person);
        else
            AppendCsv(out.text(), person);
        if (!out.LineDone())
            break;
    }
    out.Flush();
    if (!out.error().empty())
        return {kExitUsage, "scrittura dello standard output non riuscita: " + out.error()};
    if (reader.failed())
        return {kExitUsage, "lettura dell'ingresso non riuscita"};
    return {anyRefused ? kExitRefused : kExitSuccess, {}};
}

}  // namespace cf
