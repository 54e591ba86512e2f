#pragma once
// A table for a spreadsheet: column titles and rows of typed cells. Each cell keeps the text
// the printed list shows and, for numbers and dates, the value a spreadsheet computes with.

#include <QDateTime>
#include <QString>
#include <QStringList>
#include <vector>

struct SheetCell {
    enum class Kind { Empty, Text, Number, Date, DateTime };
    Kind kind = Kind::Empty;
    QString text;        // as printed: "1234,5", "01/03/2025"
    double number = 0;   // Number
    QDateTime moment;    // Date (midnight) and DateTime, wall-clock time without zone

    static SheetCell textCell(const QString &text)
    {
        SheetCell cell;
        cell.kind = text.isEmpty() ? Kind::Empty : Kind::Text;
        cell.text = text;
        return cell;
    }
    static SheetCell numberCell(double value, const QString &text)
    {
        SheetCell cell;
        cell.kind = Kind::Number;
        cell.text = text;
        cell.number = value;
        return cell;
    }
};

struct SheetTable {
    QStringList titles;
    std::vector<std::vector<SheetCell>> rows;
};

// CSV as Italian spreadsheets open it: UTF-8 with a byte order mark, ';' between cells,
// CR LF after each row, a cell quoted (its quotes doubled) when it holds ';', '"' or a line
// end, and an apostrophe before a text that starts with '=', '+', '-' or '@' and is not a
// number, so that no spreadsheet evaluates it. The titles are the first row.
QByteArray csvBytes(const SheetTable &table);

// An OpenDocument spreadsheet (.ods) of one sheet named `sheetName`: the titles in bold, then
// the rows; numbers and dates as values (dates shown dd/mm/yyyy), texts (phone numbers,
// protocols) as texts, each column as wide as its content, in an Italian document.
QByteArray odsBytes(const SheetTable &table, const QString &sheetName);

// Writes through a temporary file renamed into place, readable by its owner only (the lists
// name assisted people); throws std::runtime_error with an Italian message.
void writeSheetFile(const QString &path, const QByteArray &bytes);
