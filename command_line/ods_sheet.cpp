// SPDX-License-Identifier: MIT
#include "command_line/ods_sheet.h"

#include <QBuffer>
#include <QDate>
#include <QFile>
#include <QXmlStreamReader>
#include <QXmlStreamWriter>

#include <quazip/quazip.h>
#include <quazip/quazipfile.h>
#include <quazip/quazipnewinfo.h>

#include "engine/storage/safe_file.h"

namespace cf {
namespace {

constexpr char kMimeType[] = "application/vnd.oasis.opendocument.spreadsheet";
const QString kOfficeNs = QStringLiteral("urn:oasis:names:tc:opendocument:xmlns:office:1.0");
const QString kTableNs = QStringLiteral("urn:oasis:names:tc:opendocument:xmlns:table:1.0");
const QString kTextNs = QStringLiteral("urn:oasis:names:tc:opendocument:xmlns:text:1.0");
// A sheet marks the empty rows and cells after the data as repeated a
// million times: more than this many are not spread out.
constexpr int kMaxRepeat = 1000;

QByteArray ContentXml(const std::vector<std::vector<std::string>>& rows)
{
    QByteArray xml;
    QXmlStreamWriter writer(&xml);
    writer.writeStartDocument();
    writer.writeNamespace(kOfficeNs, QStringLiteral("office"));
    writer.writeNamespace(kTableNs, QStringLiteral("table"));
    writer.writeNamespace(kTextNs, QStringLiteral("text"));
    writer.writeStartElement(kOfficeNs, QStringLiteral("document-content"));
    writer.writeAttribute(kOfficeNs, QStringLiteral("version"), QStringLiteral("1.2"));
    writer.writeStartElement(kOfficeNs, QStringLiteral("body"));
    writer.writeStartElement(kOfficeNs, QStringLiteral("spreadsheet"));
    writer.writeStartElement(kTableNs, QStringLiteral("table"));
    writer.writeAttribute(kTableNs, QStringLiteral("name"), QStringLiteral("Archivio"));
    for (const auto& row : rows) {
        writer.writeStartElement(kTableNs, QStringLiteral("table-row"));
        for (const std::string& cell : row) {
            writer.writeStartElement(kTableNs, QStringLiteral("table-cell"));
            writer.writeAttribute(kOfficeNs, QStringLiteral("value-type"), QStringLiteral("string"));
            for (const QString& paragraph : QString::fromStdString(cell).split(QLatin1Char('\n')))
                writer.writeTextElement(kTextNs, QStringLiteral("p"), paragraph);
            writer.writeEndElement();
        }
        writer.writeEndElement();
    }
    writer.writeEndDocument();
    return xml;
}

QByteArray ManifestXml()
{
    return QByteArrayLiteral(
        "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n"
        "<manifest:manifest xmlns:manifest=\"urn:oasis:names:tc:opendocument:xmlns:manifest:1.0\" "
        "manifest:version=\"1.2\">\n"
        " <manifest:file-entry manifest:full-path=\"/\" manifest:version=\"1.2\" "
        "manifest:media-type=\"application/vnd.oasis.opendocument.spreadsheet\"/>\n"
        " <manifest:file-entry manifest:full-path=\"content.xml\" manifest:media-type=\"text/xml\"/>\n"
        "</manifest:manifest>\n");
}

// Adds a member to the zip; `stored` leaves it uncompressed, as the
// mimetype member must be.
bool AddMember(QuaZip& zip, const QString& name, const QByteArray& bytes, bool stored)
{
    QuaZipFile member(&zip);
    if (!member.open(QIODevice::WriteOnly, QuaZipNewInfo(name), nullptr, 0, stored ? 0 : Z_DEFLATED,
                     stored ? 0 : Z_DEFAULT_COMPRESSION))
        return false;
    const bool written = member.write(bytes) == bytes.size();
    member.close();
    return written && member.getZipError() == ZIP_OK;
}

// The text of a cell as shown: its paragraphs joined by line breaks, with
// the blanks, tabs and breaks the format writes as elements.
QString CellText(QXmlStreamReader& reader)
{
    QString text;
    int paragraphs = 0;
    int depth = 1;
    while (depth > 0 && !reader.atEnd()) {
        reader.readNext();
        if (reader.isStartElement()) {
            ++depth;
            const auto name = reader.name();
            if (reader.namespaceUri() != kTextNs)
                continue;
            if (name == QLatin1String("p") && paragraphs++ > 0)
                text += QLatin1Char('\n');
            else if (name == QLatin1String("s"))
                text += QString(std::max(1, reader.attributes().value(kTextNs, QStringLiteral("c")).toInt()),
                                QLatin1Char(' '));
            else if (name == QLatin1String("tab"))
                text += QLatin1Char('\t');
            else if (name == QLatin1String("line-break"))
                text += QLatin1Char('\n');
        } else if (reader.isEndElement()) {
            --depth;
        } else if (reader.isCharacters()) {
            text += reader.text();
        }
    }
    return text;
}

int Repeat(const QXmlStreamReader& reader, const QString& attribute)
{
    const int count = reader.attributes().value(kTableNs, attribute).toInt();
    return std::clamp(count, 1, kMaxRepeat);
}

TableRow ReadRow(QXmlStreamReader& reader, std::size_t number)
{
    TableRow row{number, {}, {}};
    while (reader.readNextStartElement()) {
        const int cellRepeat = Repeat(reader, QStringLiteral("number-columns-repeated"));
        const QXmlStreamAttributes attributes = reader.attributes();
        std::string cell;
        if (attributes.value(kOfficeNs, QStringLiteral("value-type")) == QLatin1String("date")) {
            const QDate date = QDate::fromString(
                attributes.value(kOfficeNs, QStringLiteral("date-value")).left(10).toString(), Qt::ISODate);
            cell = date.toString(QStringLiteral("dd/MM/yyyy")).toStdString();
            reader.skipCurrentElement();
        } else {
            cell = CellText(reader).toStdString();
        }
        for (int i = 0; i < cellRepeat; ++i)
            row.cells.push_back(cell);
    }
    while (!row.cells.empty() && row.cells.back().empty())
        row.cells.pop_back();
    return row;
}

// The rows of the table element the reader stands on, wherever they lie in
// it (row groups and header rows hold rows too).
void ReadRows(QXmlStreamReader& reader, std::vector<TableRow>& rows)
{
    std::size_t number = 0;
    for (int depth = 1; depth > 0 && !reader.atEnd();) {
        reader.readNext();
        if (reader.isEndElement()) {
            --depth;
        } else if (reader.isStartElement()) {
            if (reader.namespaceUri() != kTableNs || reader.name() != QLatin1String("table-row")) {
                ++depth;
                continue;
            }
            // Equal rows in a row are written once, with their count.
            const int repeat = Repeat(reader, QStringLiteral("number-rows-repeated"));
            TableRow row = ReadRow(reader, 0);
            for (int i = 0; i < repeat; ++i) {
                row.number = ++number;
                if (!row.cells.empty())
                    rows.push_back(row);
            }
        }
    }
}

}  // namespace

bool WriteOdsSheet(const std::string& path, const std::vector<std::vector<std::string>>& rows,
                   std::string& error)
{
    QBuffer buffer;
    buffer.open(QIODevice::ReadWrite);
    {
        QuaZip zip(&buffer);
        if (!zip.open(QuaZip::mdCreate) || !AddMember(zip, QStringLiteral("mimetype"), kMimeType, true)
            || !AddMember(zip, QStringLiteral("META-INF/manifest.xml"), ManifestXml(), false)
            || !AddMember(zip, QStringLiteral("content.xml"), ContentXml(rows), false)) {
            error = "compressione non riuscita";
            return false;
        }
        zip.close();
        if (zip.getZipError() != ZIP_OK) {
            error = "compressione non riuscita";
            return false;
        }
    }
    const QByteArray& bytes = buffer.data();
    return ReplaceFileContents(
        path, std::string_view(bytes.constData(), static_cast<std::size_t>(bytes.size())), &error);
}

bool ReadOdsSheet(const std::string& path, std::vector<TableRow>& rows, std::string& error)
{
    QuaZip zip(QString::fromStdString(path));
    if (!zip.open(QuaZip::mdUnzip) || !zip.setCurrentFile(QStringLiteral("content.xml"))) {
        error = "non è un foglio di calcolo OpenDocument (.ods)";
        return false;
    }
    QuaZipFile content(&zip);
    if (!content.open(QIODevice::ReadOnly)) {
        error = "non è un foglio di calcolo OpenDocument (.ods)";
        return false;
    }
    QXmlStreamReader reader(&content);
    while (!reader.atEnd()) {
        reader.readNext();
        if (reader.isStartElement() && reader.namespaceUri() == kTableNs
            && reader.name() == QLatin1String("table")) {
            ReadRows(reader, rows);
            break;
        }
    }
    if (reader.hasError()) {
        error = "il contenuto del foglio non si legge: " + reader.errorString().toStdString();
        rows.clear();
        return false;
    }
    return true;
}

}  // namespace cf
