#include "session/PrintedListRun.h"

#include "db/CommaText.h"
#include "db/TDataSet.h"
#include "db/TField.h"
#include "output/report/TqnReport.h"
#include "output/report/model/TqnVariables.h"
#include "session/ProcessValues.h"
#include "store/TArcTable.h"

#include <optional>

namespace {

QString fieldText(TDataSet &dataSet, const char *name)
{
    if (dataSet.isEmpty())
        return {};
    const TField *field = dataSet.findField(QString::fromLatin1(name));
    return field ? field->asString() : QString();
}

// Print-filter mode is on exactly while this lives, whatever leaves the scope. The list
// reads every card the print criteria select, so the cards are selected whole at once.
class PrintFilterScope final {
public:
    PrintFilterScope(TArcTable &cards, const PrintedListRun::CriteriaSink &sink, const CardCriteria &criteria)
        : m_cards(cards), m_sink(sink)
    {
        if (m_sink)
            m_sink(&criteria);
        ProcessValues::setPrintFilterMode(true);
        m_cards.setReadsWholeSelection(true);
    }
    ~PrintFilterScope()
    {
        m_cards.setReadsWholeSelection(false);
        ProcessValues::setPrintFilterMode(false);
        if (m_sink)
            m_sink(nullptr);
    }
    PrintFilterScope(const PrintFilterScope &) = delete;
    PrintFilterScope &operator=(const PrintFilterScope &) = delete;

private:
    TArcTable &m_cards;
    const PrintedListRun::CriteriaSink &m_sink;
};

} // namespace

PrintedListEntry PrintedListEntry::current(TDataSet &catalogue)
{
    return {fieldText(catalogue, "Nome"), fieldText(catalogue, "Tracciato"), fieldText(catalogue, "Ordine")};
}

QStringList printedListOrder(const QString &ordine) { return fromCommaText(ordine); }

PrintedListRun::PrintedListRun(TArcTable &cards, TqnReport &report, CriteriaSink sink)
    : m_cards(cards), m_report(report), m_sink(std::move(sink))
{
}

void PrintedListRun::sortBy(const QStringList &items)
{
    m_cards.SortedByList() = items;
    // A sort the engine refused closed the table: it opens again in the order asked for.
    if (m_cards.active())
        m_cards.ReopenRecordset();
    else
        m_cards.open();
}

bool isLayoutFileName(const QString &tracciato)
{
    return !tracciato.contains(QLatin1Char('/')) && !tracciato.contains(QLatin1Char('\\'))
        && !tracciato.contains(QLatin1String("..")) && !tracciato.contains(QLatin1Char(':'));
}

void PrintedListRun::run(const PrintedListEntry &entry, const QString &layoutFolder, const CardCriteria &criteria,
                         const Produce &produce)
{
    if (!isLayoutFileName(entry.tracciato))
        throw EReportError(QStringLiteral("Il tracciato \"%1\" dell'elenco \"%2\" non è il nome di un file della "
                                          "cartella dei tracciati: non può contenere cartelle né \"..\".")
                               .arg(entry.tracciato, entry.nome));
    const QStringList savedItems = m_cards.SortedBy();
    const QString savedOrder = toCommaText(savedItems);
    // The print criteria hold before the cards are sorted: the engine then puts in order
    // just the cards they choose, not every card and then the chosen ones again.
    std::optional<PrintFilterScope> printing(std::in_place, m_cards, m_sink, criteria);
    try {
        sortBy(printedListOrder(entry.ordine));
    } catch (...) {
        // An order naming a field the cards lack: the list page gets its cards back as they were.
        printing.reset();
        sortBy(savedItems);
        throw;
    }
    try {
        m_report.OpenLayout(layoutFolder + entry.tracciato);
    } catch (...) {
        // The list page keeps the list's order, its cards chosen again under its own criteria.
        printing.reset();
        if (m_cards.active())
            m_cards.first();
        throw;
    }
    stateCriteria(criteria);
    try {
        produce(m_report);
    } catch (...) {
        printing.reset();
        restoreOrder(savedOrder);
        throw;
    }
    printing.reset();
    restoreOrder(savedOrder);
}

// A layout that prints [CRITERI] in its header says which cards it covers; the supplied
// lists all do. The value is a text constant, its quotes doubled.
void PrintedListRun::stateCriteria(const CardCriteria &criteria)
{
    if (!m_report.Values().find(kCriteriaVariable))
        return;
    QString text = criteria.description();
    text.replace(QLatin1Char('\''), QStringLiteral("''"));
    m_report.Values().set({kCriteriaVariable, TqnVariableKind::vkOther, {}, {}, QLatin1Char('\'') + text + QLatin1Char('\'')});
}

// A list page that was never sorted keeps the list's order. Either way the cards are read
// afresh under the search criteria: the rows the list page holds were fetched under the
// print criteria. Keeping the order, the move to the first record is enough for that, and
// the card table selects again from the records it sorted for the list.
void PrintedListRun::restoreOrder(const QString &savedOrder)
{
    if (!savedOrder.isEmpty())
        sortBy(fromCommaText(savedOrder));
    else if (m_cards.active())
        m_cards.first();
}
