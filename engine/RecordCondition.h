#pragma once
// A condition on the rows of a table stated by what it means, not in a query language:
// the table dataset hands it to a recordset, and each storage evaluates it in its own
// dialect (engine/jet for SQLite). It says how a column's value reads as text, so the
// storage can compare and search the same texts the data layer shows.

#include <QString>
#include <vector>

namespace dao {

// How a stored value reads as text. Null reads as an empty text in every form.
enum class TextForm : char {
    Plain = 'P',      // texts and memos as stored
    Number = 'N',     // whole numbers in decimal
    Boolean = 'B',    // "True" or "False"
    Date = 'D',       // dd/MM/yyyy; empty before the first day of year 1
    DateTime = 'T',   // dd/MM/yyyy hh:mm:ss
    Time = 'H',       // hh:mm:ss
};

struct TextColumn {
    QString name;
    TextForm form = TextForm::Plain;
    bool operator==(const TextColumn &) const = default;
};

// Every term must hold.
struct RecordCondition {
    // The column's text equals `text` exactly: same length, same characters, same case.
    struct Equals {
        TextColumn column;
        QString text;
        bool operator==(const Equals &) const = default;
    };
    // `text` occurs in the row's record text: for each column in order one blank and the
    // column's text with the letters a to z upper-cased (any other character as stored).
    struct Contains {
        std::vector<TextColumn> columns;
        QString text;
        bool operator==(const Contains &) const = default;

        // The columns a storage needs to read to decide the search, in their order. A text
        // without a blank cannot reach across the blank before a column's text, so it can
        // occur only within one column's text, and never in a column whose form makes
        // texts of characters it lacks (numbers, dates, times, the two boolean words).
        std::vector<TextColumn> columnsToRead() const;
    };

    std::vector<Equals> equals;
    std::vector<Contains> contains;

    bool isEmpty() const { return equals.empty() && contains.empty(); }
    bool operator==(const RecordCondition &) const = default;
};

} // namespace dao
