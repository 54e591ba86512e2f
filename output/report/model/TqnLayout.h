#pragma once
// The layout a report holds: options, printer name, pages with their objects, variables
// with the variable editor's list, the record sources and the file name.

#include "output/report/model/TqnDatasetTable.h"
#include "output/report/model/TqnPage.h"
#include "output/report/model/TqnVariables.h"

#include <QStringList>
#include <vector>

// The file names an object's page, and the page a sub-report prints, in one byte: a layout
// has at most this many pages, so that none of them is ever saved onto another page.
constexpr size_t kMaxLayoutPages = 256;

class TqnLayout final {
public:
    TqnLayout() { reset(); }
    TqnLayout(const TqnLayout &) = delete;
    TqnLayout &operator=(const TqnLayout &) = delete;

    quint16 SystemPrinter = 0xFFFF;   // nonzero: the printer selected in the system
    quint16 TwoPass = 0;
    quint16 Collate = 0;
    quint16 Repaginate = 0;
    QString PrinterName;
    std::vector<TqnPage> Pages;
    TqnVariables Values;
    QStringList VariableList;
    TqnDatasetTable DataSets;
    QString FileName;                 // bare name of the file last loaded or saved

    // Everything emptied, one empty A4 portrait page left.
    void reset();
    // Pages and dataset table destroyed (what a read does before the new ones arrive).
    void clearContent();
    // The page that owns `view`, or -1.
    int pageOf(const TqnView *view) const;
};
