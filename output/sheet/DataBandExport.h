#pragma once
// A printed list as a spreadsheet table, read while the report builds its pages, so that
// the rows are exactly the records the list prints, in its order, under its criteria and
// its band filter: one row each time the layout's master data band lands on a page, one
// column per text box of that band (left to right). A column's title is the text above it
// in the nearest header band over the data band (column header, master header or page
// header), otherwise the field a box shows, otherwise the box's name. A box that shows one
// bracketed expression keeps the expression's type (numbers and dates stay values); any
// other box is the text it prints.

#include "output/sheet/SheetTable.h"

#include <unordered_map>
#include <vector>

class TqnBandView;
class TqnMemoView;
class TqnReport;
namespace report {
class ExprScope;
class ExprText;
}

class DataBandExport final {
public:
    // Reads the layout `report` holds now; while this lives, the report's next BuildPages
    // fills the table.
    explicit DataBandExport(TqnReport &report);
    ~DataBandExport();
    DataBandExport(const DataBandExport &) = delete;
    DataBandExport &operator=(const DataBandExport &) = delete;

    // The table of the list `report` holds: its layout built once more, in a report of its own
    // on the same window, over the data as it stands now (a preview open on a printed list
    // still has the list's order and criteria). Throws std::runtime_error with the
    // preparation error, or when the layout has no master data band.
    static SheetTable readAgain(TqnReport &report);

    // Whether the layout has a master data band to read.
    bool hasDataBand() const { return m_band != nullptr; }
    const SheetTable &table() const { return m_table; }

private:
    struct Column {
        std::vector<report::ExprText> lines;
        bool typed = false;   // one line of one bracketed expression: its value's type
    };
    void addRow(report::ExprScope &scope);

    TqnReport &m_report;
    const TqnBandView *m_band = nullptr;
    std::vector<Column> m_columns;
    SheetTable m_table;
};
