// SPDX-License-Identifier: MIT
// Many persons in one run: lines read through a bounded buffer, CSV fields,
// one output line for each input line, as CSV or JSON.

#include <gtest/gtest.h>

#include <poll.h>
#include <unistd.h>

#include <functional>
#include <string>
#include <thread>
#include <vector>

#include "command_line/batch.h"
#include "command_line/code_check.h"
#include "command_line/csv_line.h"
#include "command_line/json_line.h"
#include "command_line/line_reader.h"
#include "stream_text.h"

namespace cf {
namespace {

constexpr Date kToday{2026, 12, 8};

using test::InputText;
using test::OutputText;

std::vector<std::string> Lines(std::string_view text, std::size_t maxLength = 16)
{
    InputText input(text);
    LineReader reader(input.file(), maxLength);
    std::vector<std::string> lines;
    InputLine line;
    while (reader.Next(line))
        lines.push_back(line.tooLong ? "(too long)" : std::string(line.text));
    EXPECT_FALSE(reader.failed());
    return lines;
}

TEST(LineReader, LineEndsByteOrderMarkAndLongLines)
{
    using V = std::vector<std::string>;
    EXPECT_EQ(Lines("a\nb\r\n\nc"), (V{"a", "b", "", "c"}));
    EXPECT_EQ(Lines("a\r\n"), V{"a"});
    EXPECT_EQ(Lines("a\rb\n"), V{"a\rb"}) << "a CR inside a line stays";
    EXPECT_EQ(Lines(""), V{});
    EXPECT_EQ(Lines("\xEF\xBB\xBF"
                    "a\n\xEF\xBB\xBF"
                    "b"),
              (V{"a", "\xEF\xBB\xBF"
                      "b"}));
    EXPECT_EQ(Lines(std::string(16, 'x') + "\r\n" + std::string(17, 'y') + "\nz"),
              (V{std::string(16, 'x'), "(too long)", "z"}));
    EXPECT_EQ(Lines(std::string(17, 'y')), V{"(too long)"});
}

TEST(LineReader, TenMegabyteLineIsSkippedThroughTheFixedBuffer)
{
    const std::string text = "first\n" + std::string(10 * 1024 * 1024, 'A') + "\r\nlast\n";
    EXPECT_EQ(Lines(text, 4096), (std::vector<std::string>{"first", "(too long)", "last"}));
}

TEST(CsvLine, QuotedFieldsAndWhatIsNoCsv)
{
    std::vector<std::string> fields;
    ASSERT_EQ(SplitCsvLine("\"DE LUCA, ANNA\",\"say \"\"hi\"\"\", X ,,", fields), CsvRecord::Complete);
    EXPECT_EQ(fields, (std::vector<std::string>{"DE LUCA, ANNA", "say \"hi\"", " X ", "", ""}));
    ASSERT_EQ(SplitCsvLine("A\"B,\"\"", fields), CsvRecord::Complete);
    EXPECT_EQ(fields, (std::vector<std::string>{"A\"B", ""})) << "a quote inside an unquoted field is kept";
    ASSERT_EQ(SplitCsvLine(" \"A,B\"", fields), CsvRecord::Complete);
    EXPECT_EQ(fields, (std::vector<std::string>{" \"A", "B\""})) << "a blank before the quote: not quoted";
    ASSERT_EQ(SplitCsvLine("\"De\nLuca\",Anna", fields), CsvRecord::Complete);
    EXPECT_EQ(fields, (std::vector<std::string>{"De\nLuca", "Anna"}));
    EXPECT_EQ(SplitCsvLine("\"open", fields), CsvRecord::Open);
    EXPECT_EQ(SplitCsvLine("A,\"open \"\",", fields), CsvRecord::Open);
    EXPECT_EQ(SplitCsvLine("\"closed\"x,B", fields), CsvRecord::Malformed);

    std::string out;
    for (const char* field : {"plain", "a,b", "say \"hi\"", "line\nend", " blank "}) {
        AppendCsvField(out, field);
        out += ',';
    }
    EXPECT_EQ(out, "plain,\"a,b\",\"say \"\"hi\"\"\",\"line\nend\", blank ,");
    out.clear();
    AppendCsvField(out, "\xC8RBA");
    EXPECT_EQ(out, "\xEF\xBF\xBDRBA");
}

TEST(JsonLine, EscapesWhatJsonCannotHoldAsItStands)
{
    std::string out;
    JsonLine(out)
        .Text("a", "q\"b\\n\nt\tr\r\x01\x1f è")
        .TextOrNull("b", "")
        .Number("c", -3)
        .Boolean("d", false)
        .Text("e", "\xC8RBA")
        .End();
    EXPECT_EQ(out, "{\"a\":\"q\\\"b\\\\n\\nt\\tr\\r\\u0001\\u001f è\",\"b\":null,\"c\":-3,\"d\":false,"
                   "\"e\":\"\xEF\xBF\xBDRBA\"}\n");
}

struct BatchRun {
    int exitStatus;
    std::string out;
    std::string error;
};

BatchRun Batch(std::string_view input, bool json = false)
{
    InputText in(input);
    OutputText out;
    const BatchOutcome outcome = RunBatch(in.file(), out.file(), json, kToday);
    return {outcome.exitStatus, out.text(), outcome.error};
}

TEST(Batch, OneLineForEachInputLine)
{
    const BatchRun run = Batch("COGNOME,NOME,DATA,SESSO,LUOGO\r\n"
                               "BIANCHI,LUCIA,3/7/85,F,ROMA\r\n"
                               "\r\n"
                               "\"DE LUCA\",\"ANNA MARIA\",29/02/00,f,San Remo,1, ,extra\n"
                               "ROSSI,MARIO,31/02/85,M,ROMA\n"
                               "ROSSI,MARIO,1/1/90,M, MILANO\n"
                               "ROSSI,MARIA,1/6/1950,F,CORIGLIANO-ROSSANO\n"
                               "VERDI\n"
                               "ROSSI,MARIO,1/1/90,M,castro\n"
                               "VERDI,GIANCARLO,10/02/70,M,MILANO");
    EXPECT_EQ(run.exitStatus, 1);
    EXPECT_EQ(
        run.out,
        "BIANCHI,LUCIA,3/7/85,F,ROMA,BNCLCU85L43H501J,\n"
        "\n"
        "DE LUCA,ANNA MARIA,29/02/00,f,San Remo,DLCNMR00B69I138Z,\n"
        "ROSSI,MARIO,31/02/85,M,ROMA,,La data non è in formato valido.\n"
        "ROSSI,MARIO,1/1/90,M, MILANO,,La città non è compresa nell'elenco o non è corretta.\n"
        "ROSSI,MARIA,1/6/1950,F,CORIGLIANO-ROSSANO,,\"CORIGLIANO-ROSSANO esiste dal 31/03/2018: per chi è "
        "nato prima indicare il comune di allora (CORIGLIANO CALABRO, ROSSANO)\"\n"
        "VERDI,,,,,,Il sesso è errato.\n"
        "ROSSI,MARIO,1/1/90,M,castro,RSSMRA90A01C337F,Più luoghi hanno questo nome: il codice è quello di "
        "CASTRO (BG); per un altro indicarlo con la sigla della provincia tra parentesi: CASTRO (LE)\n"
        "VERDI,GIANCARLO,10/02/70,M,MILANO,VRDGCR70B10F205A,\n");
    EXPECT_EQ(run.error, "");
}

TEST(Batch, ExitStatusZeroOnlyWhenEveryPersonGotACode)
{
    EXPECT_EQ(Batch("BIANCHI,LUCIA,3/7/85,F,ROMA\n\nVERDI,GIANCARLO,10/02/70,M,MILANO\n").exitStatus, 0);
    EXPECT_EQ(Batch("ROSSI,MARIO,1/1/90,M,SAN TEODORO\n").exitStatus, 0) << "a namesake warns, nothing more";
    EXPECT_EQ(Batch("").exitStatus, 0);
    EXPECT_EQ(Batch("cognome,nome\n").out, "") << "a header alone";
    EXPECT_NE(
        Batch("X,Y\nCOGNOME,NOME,1/1/90,M,ROMA\n").out.find("\nCOGNOME,NOME,1/1/90,M,ROMA,CGNNMO90A01H501"),
        std::string::npos)
        << "only the first line can be a header";
}

TEST(Batch, RefusedLinesGoOn)
{
    const std::string longLine(10 * 1024 * 1024, 'A');
    const BatchRun run = Batch("\"closed\"x,B\n\"open,quote\n" + longLine + "\n"
                               + "ROSSI,\xC8RBA,1/1/90,M,ROMA\n" + "BIANCHI,LUCIA,3/7/85,F,ROMA\n");
    EXPECT_EQ(run.exitStatus, 1);
    EXPECT_EQ(
        run.out,
        ",,,,,,La riga non è CSV valido: virgolette non chiuse o testo dopo le virgolette di chiusura.\n"
        // The open quote takes the next line into its record, which grows too long.
        ",,,,,,La riga è più lunga di 4096 byte e non è stata letta.\n"
        "ROSSI,\xEF\xBF\xBDRBA,1/1/90,M,ROMA,,I dati contengono caratteri non validi (il testo non è "
        "UTF-8).\n"
        "BIANCHI,LUCIA,3/7/85,F,ROMA,BNCLCU85L43H501J,\n");
}

// A quoted field may hold a line break (RFC 4180): one person over two
// lines, counted in the line numbers; a quote left open to the end is
// refused.
TEST(Batch, QuotedFieldsHoldLineBreaks)
{
    const std::string input = "\"De\r\nLuca\",Anna,3/7/85,F,ROMA\nBIANCHI,LUCIA,3/7/85,F,ROMA\n\"open,X\nY";
    EXPECT_EQ(Batch(input).out, "\"De\nLuca\",Anna,3/7/85,F,ROMA,DLCNNA85L43H501L,\n"
                                "BIANCHI,LUCIA,3/7/85,F,ROMA,BNCLCU85L43H501J,\n"
                                ",,,,,,La riga non è CSV valido: virgolette non chiuse o testo dopo le "
                                "virgolette di chiusura.\n");
    const std::string json = Batch(input, true).out;
    EXPECT_NE(json.find("{\"riga\":1,\"cognome\":\"De\\nLuca\","), std::string::npos) << json;
    EXPECT_NE(json.find("{\"riga\":3,\"cognome\":\"BIANCHI\","), std::string::npos) << json;
    EXPECT_NE(json.find("{\"riga\":4,"), std::string::npos) << json;
    // A record runs over lines up to 4096 bytes in all.
    const std::string longRecord =
        "\"A\n" + std::string(4000, 'B') + "\n" + std::string(100, 'C') + "\",X\nZ,Z,1/1/90,M,ROMA\n";
    EXPECT_EQ(Batch(longRecord).out, ",,,,,,La riga è più lunga di 4096 byte e non è stata letta.\n"
                                     "Z,Z,1/1/90,M,ROMA,ZXXZXX90A01H501E,\n");
}

// One line from a pipe, waiting at most ten seconds for each byte.
std::string AnswerFrom(int descriptor)
{
    std::string line;
    for (char c = 0;;) {
        pollfd ready{descriptor, POLLIN, 0};
        if (poll(&ready, 1, 10000) <= 0)
            return line + "(no answer yet)";
        if (read(descriptor, &c, 1) != 1 || c == '\n')
            return line;
        line += c;
    }
}

// A program that writes a line into the pipe and waits for its answer gets
// it at once, not at the end of the input or after 64 KiB.
TEST(Batch, AnswersEachLineAtOnceToAProgramThatWaits)
{
    using Run = std::function<void(std::FILE*, std::FILE*)>;
    const struct {
        Run run;
        std::vector<std::string> questions;
        std::vector<std::string> answers;
    } modes[] = {
        {[](std::FILE* in, std::FILE* out) { RunBatch(in, out, false, kToday); },
         {"BIANCHI,LUCIA,3/7/85,F,ROMA", "ROSSI,MARIO,1/1/90,X,ROMA"},
         {"BIANCHI,LUCIA,3/7/85,F,ROMA,BNCLCU85L43H501J,", "ROSSI,MARIO,1/1/90,X,ROMA,,Il sesso è errato."}},
        {[](std::FILE* in, std::FILE* out) { CheckCodeStream(in, out, false, kToday); },
         {"12345678903", "12345678900"},
         {"12345678903,partita IVA,corretto,,,,,,,", "12345678900,partita IVA,errato,,,,,,,"}},
    };
    for (const auto& mode : modes) {
        int questions[2];
        int answers[2];
        ASSERT_EQ(pipe(questions), 0);
        ASSERT_EQ(pipe(answers), 0);
        std::FILE* input = fdopen(questions[0], "r");
        std::FILE* output = fdopen(answers[1], "w");
        std::thread program([&] {
            mode.run(input, output);
            std::fclose(output);
        });
        for (std::size_t i = 0; i < mode.questions.size(); ++i) {
            const std::string question = mode.questions[i] + "\n";
            EXPECT_EQ(write(questions[1], question.data(), question.size()),
                      static_cast<ssize_t>(question.size()));
            EXPECT_EQ(AnswerFrom(answers[0]), mode.answers[i]);
        }
        close(questions[1]);
        program.join();
        std::fclose(input);
        close(answers[0]);
    }
}

TEST(Batch, JsonLinesWithNamedFields)
{
    const BatchRun run = Batch(
        "BIANCHI,LUCIA,3/7/85,F,ROMA\n\n\"A \"\"B\"\"\",X,1/1/90,Q,ROMA\nROSSI,MARIO,1/1/90,M,LIVO\n", true);
    EXPECT_EQ(run.exitStatus, 1);
    EXPECT_EQ(
        run.out,
        "{\"riga\":1,\"cognome\":\"BIANCHI\",\"nome\":\"LUCIA\",\"data\":\"3/7/85\",\"sesso\":\"F\","
        "\"luogo\":\"ROMA\",\"codice\":\"BNCLCU85L43H501J\",\"errore\":null,\"avviso\":null}\n"
        "{\"riga\":3,\"cognome\":\"A \\\"B\\\"\",\"nome\":\"X\",\"data\":\"1/1/90\",\"sesso\":\"Q\","
        "\"luogo\":\"ROMA\",\"codice\":null,\"errore\":\"Il sesso è errato.\",\"avviso\":null}\n"
        "{\"riga\":4,\"cognome\":\"ROSSI\",\"nome\":\"MARIO\",\"data\":\"1/1/90\",\"sesso\":\"M\","
        "\"luogo\":\"LIVO\",\"codice\":\"RSSMRA90A01E623E\",\"errore\":null,\"avviso\":\"Più luoghi hanno "
        "questo nome: il codice è quello di LIVO (CO); per un altro indicarlo con la sigla della provincia "
        "tra parentesi: LIVO (TN)\"}\n");
}

// A code in the seventh field is checked against the record's person: the
// code the data give, the code as given, whether it belongs to the person
// and the verdict.
TEST(Batch, ARecordWithACodeIsCheckedAgainstItsPerson)
{
    const std::string input = "BIANCHI,LUCIA,3/7/85,F,ROMA,,bnclcu85l43h50mb\n"
                              "ROSSI,MARIO,1/1/90,M,castro,,RSSMRA90A01M261Z\n"
                              "BIANCHI,LUCIA,3/7/86,M,ROMA,0,BNCLCU85L43H501J,ignored\n"
                              "BIANCHI,LUCIA,3/7/85,X,ROMA,,BNCLCU85L43H501J\n"
                              "BIANCHI,LUCIA,3/7/85,F,ROMA,,12345678903\n";
    const BatchRun csv = Batch(input);
    EXPECT_EQ(csv.exitStatus, 1);
    EXPECT_EQ(
        csv.out,
        "BIANCHI,LUCIA,3/7/85,F,ROMA,BNCLCU85L43H501J,bnclcu85l43h50mb,sì,Il codice corrisponde ai dati: è "
        "un omocodice del codice BNCLCU85L43H501J\n"
        "ROSSI,MARIO,1/1/90,M,castro,RSSMRA90A01M261Z,RSSMRA90A01M261Z,sì,Il codice corrisponde ai dati\n"
        "BIANCHI,LUCIA,3/7/86,M,ROMA,BNCLCU86L03H501G,BNCLCU85L43H501J,no,\"Data di nascita: il codice "
        "indica 03/07/1985, i dati 03/07/1986; Sesso: il codice indica F, i dati M\"\n"
        "BIANCHI,LUCIA,3/7/85,X,ROMA,,BNCLCU85L43H501J,no,Il sesso è errato.\n"
        "BIANCHI,LUCIA,3/7/85,F,ROMA,BNCLCU85L43H501J,12345678903,no,Il codice inserito non è un Codice "
        "Fiscale\n");
    EXPECT_EQ(Batch("BIANCHI,LUCIA,3/7/85,F,ROMA,,BNCLCU85L43H501J\n").exitStatus, 0);

    const BatchRun json = Batch(input, true);
    EXPECT_EQ(json.exitStatus, 1);
    EXPECT_NE(
        json.out.find("\"luogo\":\"castro\",\"codice\":\"RSSMRA90A01M261Z\",\"errore\":null,\"avviso\":null,"
                      "\"codice_dato\":\"RSSMRA90A01M261Z\",\"corrisponde\":true,"
                      "\"messaggio\":\"Il codice corrisponde ai dati\"}\n"),
        std::string::npos)
        << json.out;
    EXPECT_NE(json.out.find("\"codice\":null,\"errore\":\"Il sesso è errato.\",\"avviso\":null,"
                            "\"codice_dato\":\"BNCLCU85L43H501J\",\"corrisponde\":false,"
                            "\"messaggio\":\"Il sesso è errato.\"}\n"),
              std::string::npos)
        << json.out;
}

TEST(Batch, OutputThatCannotBeWrittenEndsWithStatusTwo)
{
    std::FILE* full = std::fopen("/dev/full", "w");
    ASSERT_NE(full, nullptr);
    InputText in("BIANCHI,LUCIA,3/7/85,F,ROMA\n");
    const BatchOutcome outcome = RunBatch(in.file(), full, false, kToday);
    std::fclose(full);
    EXPECT_EQ(outcome.exitStatus, 2);
    EXPECT_NE(outcome.error.find("scrittura dello standard output non riuscita"), std::string::npos);
}

}  // namespace
}  // namespace cf
