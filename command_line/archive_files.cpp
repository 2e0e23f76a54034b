// SPDX-License-Identifier: MIT
#include "command_line/archive_files.h"

#include <cerrno>
#include <fstream>

#include <QString>

#include "command_line/csv_table.h"
#include "command_line/ods_sheet.h"
#include "engine/storage/archive_file.h"
#include "engine/storage/safe_file.h"
#include "engine/storage/system_error.h"

namespace cf {
namespace {

enum class TableFormat { Csv, Ods, Unknown };

// A CSV file to import is read whole; one this large is no archive.
constexpr std::streamoff kMaxImportBytes = 64 * 1024 * 1024;

TableFormat FormatOf(const std::string& file)
{
    const std::size_t dot = file.rfind('.');
    std::string extension = dot == std::string::npos ? std::string() : file.substr(dot + 1);
    for (char& c : extension)
        c = static_cast<char>(c >= 'A' && c <= 'Z' ? c - 'A' + 'a' : c);
    if (extension == "csv")
        return TableFormat::Csv;
    if (extension == "ods")
        return TableFormat::Ods;
    return TableFormat::Unknown;
}

TransferOutcome Failure(std::string message)
{
    return {2, std::move(message), 0, {}};
}

std::string UnknownFormat(const std::string& file)
{
    return "Formato del file " + file + " non riconosciuto: il nome deve finire in .csv o .ods.";
}

bool ReadCsvFile(const std::string& file, std::vector<TableRow>& rows, std::string& error)
{
    std::ifstream input(file, std::ios::binary);
    input.seekg(0, std::ios::end);
    const std::streamoff size = input.tellg();
    if (size > kMaxImportBytes) {
        error = "file troppo grande";
        return false;
    }
    input.seekg(0);
    std::string text(static_cast<std::size_t>(std::max<std::streamoff>(size, 0)), '\0');
    if (!input.read(text.data(), static_cast<std::streamsize>(text.size()))) {
        error = "lettura non riuscita";
        return false;
    }
    rows = ReadCsvTable(text);
    return true;
}

}  // namespace

TransferOutcome ExportArchive(const std::string& archivePath, const std::string& file)
{
    const TableFormat format = FormatOf(file);
    if (format == TableFormat::Unknown)
        return Failure(UnknownFormat(file));
    const LoadedArchive archive = LoadArchive(archivePath);
    if (!archive.stamp().whole)
        return Failure(archive.stamp().problem);
    const auto table = ArchiveTable(archive);
    std::string error;
    const bool written = format == TableFormat::Csv ? ReplaceFileContents(file, CsvTableText(table), &error)
                                                    : WriteOdsSheet(file, table, error);
    if (!written)
        return Failure("Impossibile scrivere " + file + ": " + error + ".");
    return {
        0, "Esportate " + std::to_string(archive.size()) + " persone in " + file + ".", archive.size(), {}};
}

TransferOutcome ImportIntoArchive(const std::string& archivePath, const std::string& file, const Date& today)
{
    const TableFormat format = FormatOf(file);
    if (format == TableFormat::Unknown)
        return Failure(UnknownFormat(file));
    std::vector<TableRow> rows;
    std::string error;
    // A file that cannot be opened says why, whatever its format.
    if (errno = 0; !std::ifstream(file, std::ios::binary))
        return Failure("Impossibile leggere " + file + ": " + SystemErrorText(errno) + ".");
    const bool read =
        format == TableFormat::Csv ? ReadCsvFile(file, rows, error) : ReadOdsSheet(file, rows, error);
    if (!read)
        return Failure("Impossibile leggere " + file + ": " + error + ".");
    CheckedRows checked = CheckImportedRows(rows, today);
    // Names in capitals, accented letters too, as the generation window
    // keeps them (the check upper-cases a-z alone).
    for (Person& person : checked.persons) {
        for (std::string* name : {&person.surname, &person.firstName})
            *name = QString::fromStdString(*name).toUpper().toStdString();
    }
    if (!checked.persons.empty()) {
        const ArchiveResult appended = AppendToArchive(archivePath, checked.persons);
        if (!appended.ok)
            return Failure("Nessuna persona importata: " + appended.message);
    }
    TransferOutcome outcome{
        checked.refusals.empty() ? 0 : 1, {}, checked.persons.size(), std::move(checked.refusals)};
    outcome.message = "Importate " + std::to_string(outcome.persons) + " persone nell'archivio";
    if (!outcome.refusals.empty())
        outcome.message += "; " + std::to_string(outcome.refusals.size()) + " righe scartate";
    outcome.message += '.';
    return outcome;
}

}  // namespace cf
