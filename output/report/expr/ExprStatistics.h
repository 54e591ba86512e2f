#pragma once
// The running statistics of one band that is enabled for them (a footer, usually). The band
// builder:
//   collect(texts)      once, with the texts of the band: every SUM/AVG/COUNT/MIN/MAX call
//                       found in their bracketed expressions is registered;
//   accumulate(scope)   once per record of the data band, with the scope of that record;
//   (print the band, its scope returning this object from statistics())
//   reset()             after printing, to start the next group or page from the start values.
// Start values: SUM and AVG 0, COUNT 0, MAX -1e200, MIN 1e200. A null field is skipped by
// SUM, AVG, MIN and MAX and not counted by COUNT(field). A call is told from another by
// its function and the text of its argument, so SUM(Importo) written twice is one total.

#include "output/report/expr/Expression.h"

#include <QHash>
#include <vector>

namespace report {

class ExprStatistics {
public:
    // Registers the calls in the bracketed parts of the texts; throws the ExprError of a
    // statistic nested in another. Parts that do not parse are left for printing to report.
    void collect(const QStringList &texts);
    void collectText(const QString &text);
    void collectExpression(const Expression &expression);

    bool isEmpty() const { return m_entries.empty(); }
    int size() const { return int(m_entries.size()); }
    void accumulate(ExprScope &scope);
    void reset();

    // The running value of a call (key as ExprNode gives it); the start value when unknown.
    ExprValue value(const QString &function, const QString &key) const;

private:
    struct Entry {
        QString function;         // upper case
        Expression argument;      // not valid for COUNT()
        double sum = 0;
        int count = 0;            // records seen
        int values = 0;           // SUM/AVG/MIN/MAX: records whose argument was not null
        int counted = 0;          // COUNT(condition): records for which it held
        double min = 1e200;
        double max = -1e200;
        bool allDates = true;     // MIN/MAX of dates stay dates
    };
    void add(const ExprNode &node);
    std::vector<Entry> m_entries;
    QHash<QString, int> m_index;   // key -> entry
};

} // namespace report
