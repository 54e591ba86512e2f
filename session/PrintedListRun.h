#pragma once
// Producing one printed list over the card table, shared by the print selection window and
// the command line: the cards are sorted by the list's order, its layout is loaded from the
// layout folder, the record filter switches to the print criteria only while the pages are
// produced, and the list page's own order comes back afterwards.

#include "output/criteria/CardCriteria.h"

#include <QString>
#include <QStringList>
#include <functional>

class TArcTable;
class TDataSet;
class TqnReport;

// One row of the catalogue Stampe.
struct PrintedListEntry {
    QString nome;        // shown to the user
    QString tracciato;   // layout file in the layout folder
    QString ordine;      // comma text of the cards' sort items while the list is produced

    // The catalogue's current row; all empty when the catalogue has none.
    static PrintedListEntry current(TDataSet &catalogue);
};

// The sort items of an Ordine text: split at commas and at blanks outside double quotes.
QStringList printedListOrder(const QString &ordine);
// A Tracciato names a file of the layout folder: no folder part, no "..", no drive.
bool isLayoutFileName(const QString &tracciato);

// The report variable through which a layout's header states the print criteria.
inline const QString kCriteriaVariable = QStringLiteral("CRITERI");

class PrintedListRun final {
public:
    // Hands the print criteria to the card table's record filter (null: none any more).
    using CriteriaSink = std::function<void(const CardCriteria *)>;
    // Runs the loaded layout: preview, designer or pages for a file.
    using Produce = std::function<void(TqnReport &)>;

    PrintedListRun(TArcTable &cards, TqnReport &report, CriteriaSink sink);

    // The button's steps from saving the sort to restoring it. A Tracciato that is not a bare
    // file name throws EReportError before anything changes. An Ordine the engine refuses
    // (a field the cards lack) throws the engine's error after the cards were read again in
    // the saved order. A missing layout throws the
    // engine's error after the cards were sorted: print-filter mode never went on and the
    // list's order stays. An error while producing turns the mode off and brings the saved
    // order back before it goes on to the caller. Afterwards the cards are read again under
    // the search criteria, in the saved order or, when none was saved, in the list's.
    void run(const PrintedListEntry &entry, const QString &layoutFolder, const CardCriteria &criteria,
             const Produce &produce);

private:
    void sortBy(const QStringList &items);
    void restoreOrder(const QString &savedOrder);
    void stateCriteria(const CardCriteria &criteria);

    TArcTable &m_cards;
    TqnReport &m_report;
    CriteriaSink m_sink;
};
