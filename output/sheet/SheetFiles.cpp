#include "output/sheet/SheetTable.h"

#include "output/word/AutomationError.h"
#include "output/word/ZipPackage.h"

#include <QRegularExpression>
#include <QXmlStreamWriter>
#include <algorithm>
#include <stdexcept>
#include <vector>

namespace {

// A text a spreadsheet would take for a formula: "=", "+", "-" or "@" first, and not a plain
// number such as "-3,5" or "+39" that the list printed as such.
bool looksLikeFormula(const QString &text)
{
    static const QRegularExpression number(QStringLiteral("^[+-]?[0-9]+([.,][0-9]+)*$"));
    return !text.isEmpty() && QStringLiteral("=+-@").contains(text.front()) && !number.match(text).hasMatch();
}

QString csvField(QString text)
{
    // An apostrophe first keeps it a text: no spreadsheet evaluates a name typed as "=...".
    if (looksLikeFormula(text))
        text.prepend(QLatin1Char('\''));
    if (!text.contains(QLatin1Char(';')) && !text.contains(QLatin1Char('"')) && !text.contains(QLatin1Char('\n'))
        && !text.contains(QLatin1Char('\r')))
        return text;
    QString quoted = text;
    quoted.replace(QLatin1Char('"'), QLatin1String("\"\""));
    return QLatin1Char('"') + quoted + QLatin1Char('"');
}

void csvLine(QString &out, const QStringList &cells)
{
    for (qsizetype i = 0; i < cells.size(); ++i) {
        if (i > 0)
            out += QLatin1Char(';');
        out += csvField(cells[i]);
    }
    out += QLatin1String("\r\n");
}

const char *const kOffice = "urn:oasis:names:tc:opendocument:xmlns:office:1.0";
const char *const kStyle = "urn:oasis:names:tc:opendocument:xmlns:style:1.0";
const char *const kTable = "urn:oasis:names:tc:opendocument:xmlns:table:1.0";
const char *const kText = "urn:oasis:names:tc:opendocument:xmlns:text:1.0";
const char *const kFo = "urn:oasis:names:tc:opendocument:xmlns:xsl-fo-compatible:1.0";
const char *const kNumber = "urn:oasis:names:tc:opendocument:xmlns:datastyle:1.0";

void namespaces(QXmlStreamWriter &xml)
{
    xml.writeNamespace(QString::fromLatin1(kOffice), QStringLiteral("office"));
    xml.writeNamespace(QString::fromLatin1(kStyle), QStringLiteral("style"));
    xml.writeNamespace(QString::fromLatin1(kTable), QStringLiteral("table"));
    xml.writeNamespace(QString::fromLatin1(kText), QStringLiteral("text"));
    xml.writeNamespace(QString::fromLatin1(kFo), QStringLiteral("fo"));
    xml.writeNamespace(QString::fromLatin1(kNumber), QStringLiteral("number"));
}

// The document's language decides the decimal comma of numbers in the default format.
QByteArray stylesXml()
{
    QByteArray bytes;
    QXmlStreamWriter xml(&bytes);
    xml.writeStartDocument();
    namespaces(xml);
    xml.writeStartElement(QString::fromLatin1(kOffice), QStringLiteral("document-styles"));
    xml.writeAttribute(QString::fromLatin1(kOffice), QStringLiteral("version"), QStringLiteral("1.2"));
    xml.writeStartElement(QString::fromLatin1(kOffice), QStringLiteral("styles"));
    xml.writeStartElement(QString::fromLatin1(kStyle), QStringLiteral("default-style"));
    xml.writeAttribute(QString::fromLatin1(kStyle), QStringLiteral("family"), QStringLiteral("table-cell"));
    xml.writeStartElement(QString::fromLatin1(kStyle), QStringLiteral("text-properties"));
    xml.writeAttribute(QString::fromLatin1(kFo), QStringLiteral("language"), QStringLiteral("it"));
    xml.writeAttribute(QString::fromLatin1(kFo), QStringLiteral("country"), QStringLiteral("IT"));
    xml.writeEndDocument();
    return bytes;
}

void dateParts(QXmlStreamWriter &xml, bool withTime)
{
    const auto part = [&](const char *name) {
        xml.writeStartElement(QString::fromLatin1(kNumber), QString::fromLatin1(name));
        xml.writeAttribute(QString::fromLatin1(kNumber), QStringLiteral("style"), QStringLiteral("long"));
        xml.writeEndElement();
    };
    const auto text = [&](const char *t) {
        xml.writeTextElement(QString::fromLatin1(kNumber), QStringLiteral("text"), QString::fromLatin1(t));
    };
    part("day"); text("/"); part("month"); text("/"); part("year");
    if (withTime) {
        text(" "); part("hours"); text(":"); part("minutes"); text(":"); part("seconds");
    }
}

void cellStyle(QXmlStreamWriter &xml, const char *name, const char *dataStyle, bool bold)
{
    xml.writeStartElement(QString::fromLatin1(kStyle), QStringLiteral("style"));
    xml.writeAttribute(QString::fromLatin1(kStyle), QStringLiteral("name"), QString::fromLatin1(name));
    xml.writeAttribute(QString::fromLatin1(kStyle), QStringLiteral("family"), QStringLiteral("table-cell"));
    if (dataStyle)
        xml.writeAttribute(QString::fromLatin1(kStyle), QStringLiteral("data-style-name"), QString::fromLatin1(dataStyle));
    if (bold) {
        xml.writeStartElement(QString::fromLatin1(kStyle), QStringLiteral("text-properties"));
        xml.writeAttribute(QString::fromLatin1(kFo), QStringLiteral("font-weight"), QStringLiteral("bold"));
        xml.writeEndElement();
    }
    xml.writeEndElement();
}

// Each column as wide as its longest line (title included), within what a screen shows.
std::vector<double> columnWidthsCm(const SheetTable &table)
{
    std::vector<qsizetype> longest(size_t(table.titles.size()), 0);
    const auto measure = [&longest](size_t column, const QString &text) {
        if (column >= longest.size())
            longest.resize(column + 1, 0);
        for (const QString &line : text.split(QLatin1Char('\n')))
            longest[column] = std::max(longest[column], line.size());
    };
    for (qsizetype c = 0; c < table.titles.size(); ++c)
        measure(size_t(c), table.titles[c]);
    for (const auto &row : table.rows)
        for (size_t c = 0; c < row.size(); ++c)
            measure(c, row[c].text);
    std::vector<double> widths;
    for (const qsizetype chars : longest)
        widths.push_back(std::clamp(0.22 * double(chars) + 0.4, 1.5, 15.0));
    return widths;
}

void columnStyles(QXmlStreamWriter &xml, const std::vector<double> &widths)
{
    for (size_t c = 0; c < widths.size(); ++c) {
        xml.writeStartElement(QString::fromLatin1(kStyle), QStringLiteral("style"));
        xml.writeAttribute(QString::fromLatin1(kStyle), QStringLiteral("name"), QStringLiteral("co%1").arg(c + 1));
        xml.writeAttribute(QString::fromLatin1(kStyle), QStringLiteral("family"), QStringLiteral("table-column"));
        xml.writeStartElement(QString::fromLatin1(kStyle), QStringLiteral("table-column-properties"));
        xml.writeAttribute(QString::fromLatin1(kStyle), QStringLiteral("column-width"),
                           QString::number(widths[c], 'f', 2) + QStringLiteral("cm"));
        xml.writeEndElement();
        xml.writeEndElement();
    }
}

void automaticStyles(QXmlStreamWriter &xml, const std::vector<double> &widths)
{
    xml.writeStartElement(QString::fromLatin1(kOffice), QStringLiteral("automatic-styles"));
    columnStyles(xml, widths);
    for (const bool withTime : {false, true}) {
        xml.writeStartElement(QString::fromLatin1(kNumber), QStringLiteral("date-style"));
        xml.writeAttribute(QString::fromLatin1(kStyle), QStringLiteral("name"), withTime ? QStringLiteral("N2") : QStringLiteral("N1"));
        dateParts(xml, withTime);
        xml.writeEndElement();
    }
    cellStyle(xml, "ceTitle", nullptr, true);
    cellStyle(xml, "ceDate", "N1", false);
    cellStyle(xml, "ceDateTime", "N2", false);
    xml.writeEndElement();
}

void textParagraphs(QXmlStreamWriter &xml, const QString &text)
{
    for (const QString &line : text.split(QLatin1Char('\n')))
        xml.writeTextElement(QString::fromLatin1(kText), QStringLiteral("p"), line);
}

void cell(QXmlStreamWriter &xml, const SheetCell &c)
{
    const QString office = QString::fromLatin1(kOffice);
    xml.writeStartElement(QString::fromLatin1(kTable), QStringLiteral("table-cell"));
    switch (c.kind) {
    case SheetCell::Kind::Empty:
        xml.writeEndElement();
        return;
    case SheetCell::Kind::Text:
        xml.writeAttribute(office, QStringLiteral("value-type"), QStringLiteral("string"));
        break;
    case SheetCell::Kind::Number:
        xml.writeAttribute(office, QStringLiteral("value-type"), QStringLiteral("float"));
        xml.writeAttribute(office, QStringLiteral("value"), QString::number(c.number, 'g', 17));
        break;
    case SheetCell::Kind::Date:
    case SheetCell::Kind::DateTime:
        const bool date = c.kind == SheetCell::Kind::Date;
        xml.writeAttribute(QString::fromLatin1(kTable), QStringLiteral("style-name"),
                           date ? QStringLiteral("ceDate") : QStringLiteral("ceDateTime"));
        xml.writeAttribute(office, QStringLiteral("value-type"), QStringLiteral("date"));
        xml.writeAttribute(office, QStringLiteral("date-value"),
                           date ? c.moment.date().toString(Qt::ISODate) : c.moment.toString(QStringLiteral("yyyy-MM-ddThh:mm:ss")));
        break;
    }
    textParagraphs(xml, c.text);
    xml.writeEndElement();
}

QByteArray contentXml(const SheetTable &table, const QString &sheetName)
{
    QByteArray bytes;
    QXmlStreamWriter xml(&bytes);
    xml.writeStartDocument();
    namespaces(xml);
    const QString t = QString::fromLatin1(kTable);
    xml.writeStartElement(QString::fromLatin1(kOffice), QStringLiteral("document-content"));
    xml.writeAttribute(QString::fromLatin1(kOffice), QStringLiteral("version"), QStringLiteral("1.2"));
    const std::vector<double> widths = columnWidthsCm(table);
    automaticStyles(xml, widths);
    xml.writeStartElement(QString::fromLatin1(kOffice), QStringLiteral("body"));
    xml.writeStartElement(QString::fromLatin1(kOffice), QStringLiteral("spreadsheet"));
    xml.writeStartElement(t, QStringLiteral("table"));
    // A sheet's name is at most 31 characters, none of []*?:/\\.
    QString name = sheetName.left(31);
    for (QChar &c : name)
        if (QStringLiteral("[]*?:/\\").contains(c))
            c = QLatin1Char('_');
    xml.writeAttribute(t, QStringLiteral("name"), name.isEmpty() ? QStringLiteral("Elenco") : name);
    for (size_t c = 0; c < widths.size(); ++c) {
        xml.writeStartElement(t, QStringLiteral("table-column"));
        xml.writeAttribute(t, QStringLiteral("style-name"), QStringLiteral("co%1").arg(c + 1));
        xml.writeEndElement();
    }
    if (widths.empty()) {
        xml.writeStartElement(t, QStringLiteral("table-column"));
        xml.writeEndElement();
    }
    xml.writeStartElement(t, QStringLiteral("table-row"));
    for (const QString &title : table.titles) {
        xml.writeStartElement(t, QStringLiteral("table-cell"));
        xml.writeAttribute(t, QStringLiteral("style-name"), QStringLiteral("ceTitle"));
        xml.writeAttribute(QString::fromLatin1(kOffice), QStringLiteral("value-type"), QStringLiteral("string"));
        textParagraphs(xml, title);
        xml.writeEndElement();
    }
    xml.writeEndElement();
    for (const auto &row : table.rows) {
        xml.writeStartElement(t, QStringLiteral("table-row"));
        for (const SheetCell &c : row)
            cell(xml, c);
        xml.writeEndElement();
    }
    xml.writeEndDocument();
    return bytes;
}

QByteArray manifestXml()
{
    return QByteArrayLiteral(
        "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n"
        "<manifest:manifest xmlns:manifest=\"urn:oasis:names:tc:opendocument:xmlns:manifest:1.0\" manifest:version=\"1.2\">\n"
        " <manifest:file-entry manifest:full-path=\"/\" manifest:media-type=\"application/vnd.oasis.opendocument.spreadsheet\"/>\n"
        " <manifest:file-entry manifest:full-path=\"content.xml\" manifest:media-type=\"text/xml\"/>\n"
        " <manifest:file-entry manifest:full-path=\"styles.xml\" manifest:media-type=\"text/xml\"/>\n"
        "</manifest:manifest>\n");
}

} // namespace

QByteArray csvBytes(const SheetTable &table)
{
    QString out;
    csvLine(out, table.titles);
    QStringList cells;
    for (const auto &row : table.rows) {
        cells.clear();
        for (const SheetCell &c : row)
            cells << c.text;
        csvLine(out, cells);
    }
    return QByteArrayLiteral("\xEF\xBB\xBF") + out.toUtf8();
}

QByteArray odsBytes(const SheetTable &table, const QString &sheetName)
{
    word::ZipPackage package;
    // The mimetype entry first and stored, so that the file names its own kind.
    package.add({QStringLiteral("mimetype"), QByteArrayLiteral("application/vnd.oasis.opendocument.spreadsheet"), true});
    package.add({QStringLiteral("META-INF/manifest.xml"), manifestXml()});
    package.add({QStringLiteral("styles.xml"), stylesXml()});
    package.add({QStringLiteral("content.xml"), contentXml(table, sheetName)});
    return package.toBytes();
}

void writeSheetFile(const QString &path, const QByteArray &bytes)
{
    try {
        word::writePrivateFile(path, bytes);
    } catch (const std::exception &) {
        throw std::runtime_error(QStringLiteral("Non è stato possibile scrivere il file \"%1\".").arg(path).toStdString());
    }
}
