// SPDX-License-Identifier: MIT
#include "command_line/code_check.h"

#include <algorithm>

#include "command_line/command_line.h"
#include "command_line/csv_line.h"
#include "command_line/json_line.h"
#include "command_line/line_reader.h"
#include "command_line/output_buffer.h"
#include "command_line/upper_case.h"

namespace cf {
namespace {

constexpr char kNeither[] = "Il codice inserito non è né un Codice Fiscale né una Partita IVA";

// No code is longer than this; a longer line is neither.
constexpr std::size_t kMaxCodeLineLength = 256;

std::string Labelled(std::string_view label, std::string_view value)
{
    std::string line(label);
    line += ':';
    if (!value.empty()) {
        line += ' ';
        line += value;
    }
    return line;
}

std::string_view KindName(CodeKind kind)
{
    switch (kind) {
    case CodeKind::CodiceFiscale:
        return "codice fiscale";
    case CodeKind::PartitaIva:
        return "partita IVA";
    case CodeKind::Neither:
        break;
    }
    return "nessuno";
}

// The messages after the verdict, and the place warning.
std::string Notes(const CheckReport& report)
{
    std::string notes;
    auto add = [&notes](std::string_view note) {
        if (!notes.empty())
            notes += "; ";
        notes += note;
    };
    for (std::size_t i = 1; i < report.messages.size(); ++i)
        add(report.messages[i].text);
    if (report.decoded && !report.decoded->placeWarning.empty())
        add(report.decoded->placeWarning);
    return notes;
}

// The decoded fields, all empty for a code that was not decoded.
const DecodedCode& DecodedOrNothing(const CodeVerdict& verdict)
{
    static const DecodedCode kNothing;
    return verdict.report.decoded ? *verdict.report.decoded : kNothing;
}

CodeListOutcome Finish(OutputBuffer& out, bool anyWrong, bool readFailed)
{
    out.Flush();
    if (!out.error().empty())
        return {kExitUsage, "scrittura dello standard output non riuscita: " + out.error()};
    if (readFailed)
        return {kExitUsage, "lettura dell'ingresso non riuscita"};
    return {anyWrong ? kExitRefused : kExitSuccess, {}};
}

void AppendVerdict(std::string& out, bool json, long long number, std::string_view given,
                   const CodeVerdict& verdict)
{
    if (json)
        AppendVerdictJson(out, number, given, verdict);
    else
        AppendVerdictCsv(out, given, verdict);
}

}  // namespace

std::string_view TrimCode(std::string_view given)
{
    constexpr std::string_view kAround = " \t\r";
    const std::size_t first = given.find_first_not_of(kAround);
    if (first == std::string_view::npos)
        return {};
    return given.substr(first, given.find_last_not_of(kAround) - first + 1);
}

CodeVerdict JudgeCode(std::string_view given, const Date& today)
{
    const std::string_view code = TrimCode(given);
    CodeVerdict verdict;
    // Codes come upper case as a rule: no copy for those.
    const bool lowerCase = std::any_of(code.begin(), code.end(), [](char c) { return c >= 'a' && c <= 'z'; });
    const std::string upperCopy = lowerCase ? UpperCase(code) : std::string();
    const std::string_view upper = lowerCase ? std::string_view(upperCopy) : code;
    verdict.kind = ClassifyCode(upper);
    if (verdict.kind != CodeKind::Neither)
        verdict.report = CheckAndReport(upper, today);
    return verdict;
}

CodeCheckOutput RunCodeCheck(std::string_view code, const Date& today)
{
    const CodeVerdict verdict = JudgeCode(code, today);
    if (verdict.kind == CodeKind::Neither)
        return {{kNeither}, kExitRefused};

    const CheckReport& report = verdict.report;
    CodeCheckOutput output{{}, report.correct ? kExitSuccess : kExitRefused};
    for (const Message& message : report.messages)
        output.lines.push_back(message.text);
    if (report.decoded) {
        const DecodedCode& decoded = *report.decoded;
        output.lines.push_back(Labelled("Cognome", decoded.surnameLetters));
        output.lines.push_back(Labelled("Nome", decoded.firstNameLetters));
        output.lines.push_back(Labelled("Data di nascita", decoded.birthDate));
        output.lines.push_back(Labelled("Sesso", decoded.sex));
        output.lines.push_back(Labelled("Luogo", decoded.placeName));
        output.lines.push_back(Labelled("Provincia", decoded.province));
        if (!decoded.placeWarning.empty())
            output.lines.push_back(Labelled("Avviso", decoded.placeWarning));
    }
    return output;
}

void AppendVerdictCsv(std::string& out, std::string_view given, const CodeVerdict& verdict)
{
    const DecodedCode& decoded = DecodedOrNothing(verdict);
    for (std::string_view field :
         {given, KindName(verdict.kind), std::string_view(verdict.report.correct ? "corretto" : "errato"),
          std::string_view(decoded.surnameLetters), std::string_view(decoded.firstNameLetters),
          std::string_view(decoded.birthDate), std::string_view(decoded.sex),
          std::string_view(decoded.placeName), std::string_view(decoded.province)}) {
        AppendCsvField(out, field);
        out += ',';
    }
    AppendCsvField(out, Notes(verdict.report));
    out += '\n';
}

void AppendVerdictJson(std::string& out, long long number, std::string_view given, const CodeVerdict& verdict)
{
    const DecodedCode& decoded = DecodedOrNothing(verdict);
    JsonLine(out)
        .Number("riga", number)
        .Text("codice", given)
        .Text("tipo", KindName(verdict.kind))
        .Boolean("corretto", verdict.report.correct)
        .Text("cognome", decoded.surnameLetters)
        .Text("nome", decoded.firstNameLetters)
        .Text("data_nascita", decoded.birthDate)
        .Text("sesso", decoded.sex)
        .Text("luogo", decoded.placeName)
        .Text("provincia", decoded.province)
        .TextOrNull("avviso", Notes(verdict.report))
        .End();
}

CodeListOutcome CheckCodes(std::span<const std::string> codes, std::FILE* output, bool json,
                           const Date& today)
{
    OutputBuffer out(output);
    bool anyWrong = false;
    for (std::size_t i = 0; i < codes.size(); ++i) {
        const CodeVerdict verdict = JudgeCode(codes[i], today);
        anyWrong = anyWrong || !verdict.report.correct;
        AppendVerdict(out.text(), json, static_cast<long long>(i + 1), codes[i], verdict);
        if (!out.LineDone())
            break;
    }
    return Finish(out, anyWrong, false);
}

CodeListOutcome CheckCodeStream(std::FILE* input, std::FILE* output, bool json, const Date& today)
{
    LineReader reader(input, kMaxCodeLineLength);
    OutputBuffer out(output);
    reader.OnWait([&out] { out.Flush(); });
    bool anyWrong = false;
    long long lineNumber = 0;
    InputLine line;
    while (reader.Next(line)) {
        ++lineNumber;
        if (!line.tooLong && TrimCode(line.text).empty()) {
            if (!json)
                out.text() += '\n';
        } else {
            const CodeVerdict verdict = JudgeCode(line.text, today);
            anyWrong = anyWrong || !verdict.report.correct;
            AppendVerdict(out.text(), json, lineNumber, line.text, verdict);
        }
        if (!out.LineDone())
            break;
    }
    return Finish(out, anyWrong, reader.failed());
}

}  // namespace cf
