#pragma once
// The condition and sort grammar is read once (ConditionTranslator.cpp, SortTranslator.cpp);
// how each storage writes what was read is a spelling. The reader hands the spelling its
// operands still typed (a column with its field type, a literal value, Null, a computed
// text), so a storage whose comparisons are typed can decide from the kinds at translation
// time what another storage decides per row.

#include "engine/jet/JetDialect.h"

#include <QStringView>

namespace dao::jet {

using Params = std::vector<Value>;

struct Operand {
    enum class Kind { Column, Literal, Null, Computed };
    Kind kind = Kind::Null;
    QString sql;          // Column: the quoted name; Computed: the expression, "%1" standing for its argument
    Value value;          // Literal: number, text, date
    int type = 0;         // Column: its engine field type
    int parentheses = 0;  // how many pairs the text put around it
    // Computed: the argument, written only when the operand is, so that parameters keep
    // the order of the text ("5 >= LCASE('x')": 5 first).
    std::vector<Operand> argument;
};

class ConditionSpelling {
public:
    virtual ~ConditionSpelling() = default;

    // An operand as a value inside an expression; literals become parameters.
    virtual QString operand(const Operand &value, Params &params) const = 0;
    // An operand standing alone where a condition is expected ("NOT [Capofamiglia]").
    virtual QString truth(const Operand &value, Params &params) const = 0;
    // left op right, op one of = <> < > <= >=.
    virtual QString comparison(const Operand &left, QStringView op, const Operand &right, Params &params) const = 0;
    // value LIKE pattern (the reader adds NOT).
    virtual QString like(const Operand &value, const Operand &pattern, Params &params) const = 0;
    // LCASE(argument) or UCASE(argument).
    virtual Operand changeCase(bool upper, const Operand &argument, Params &params) const = 0;
    // One item of an ORDER BY list.
    virtual QString sortItem(const Column &column, bool descending) const = 0;

protected:
    // The operand's text within the parentheses the condition put around it.
    static QString parenthesized(const Operand &value, QString text)
    {
        for (int i = 0; i < value.parentheses; ++i)
            text = u'(' + text + u')';
        return text;
    }
};

// The grammar over a spelling. A condition (comparisons of field names with numbers,
// "texts", #dates#, True/False/Null, IS [NOT] NULL, [NOT] LIKE with * ? # [..] wildcards,
// LCASE/UCASE, AND/OR/NOT and parentheses) becomes an expression over the table's columns;
// a sort text ("Fascia, Capofamiglia ", "[Ordine] ASC ") an ORDER BY list without the
// keywords. Both throw EngineError for what is outside the dialect.
SqlFragment translateCondition(const QString &condition, const Columns &columns, const ConditionSpelling &spelling);
QString translateSort(const QString &sort, const Columns &columns, const ConditionSpelling &spelling);

} // namespace dao::jet
