#pragma once
// The text of a text box with its bracketed expressions. Each "[" opens an expression that
// runs to the matching "]", counting nested brackets; the whole bracketed part is replaced by
// the expression's value as text, and scanning goes on after it (the inserted text is never
// scanned again). An "[" that is never closed prints as it stands, with the rest of the line;
// a lone "]" prints as it stands. Quotes do not hide brackets. A part whose value is a null
// field as it stands ("[Nucleo.\"Eta\"]" of a member without a birth date) prints nothing,
// as the field shows on screen, where an expression computed from it prints its result.

#include "output/report/expr/Expression.h"

#include <vector>

namespace report {

class ExprText {
public:
    ExprText() = default;
    explicit ExprText(const QString &text);   // scans once; expanding is then cheap

    bool hasExpressions() const { return !m_expressions.empty(); }
    const std::vector<Expression> &expressions() const { return m_expressions; }
    // The text with every bracketed part replaced; throws the first ExprError met. With a
    // display format (an object's format text), numbers are written through it as
    // FORMATFLOAT writes them when it has digit places ("#,##0.00"), dates and times as
    // FORMATDATETIME does when it has none ("dd/mm/yyyy"); other values print as they are.
    QString expand(ExprScope &scope, const QString &displayFormat = QString()) const;
    // As above; a part that is a bare name whose value the scope holds back
    // (ExprScope::heldValuesAsked) writes nothing, and its place in the text goes to `held`.
    QString expand(ExprScope &scope, const QString &displayFormat, std::vector<qsizetype> &held) const;
    // A part's value as it is written into the text.
    static QString display(const ExprValue &value, const QString &displayFormat);

private:
    QString expandParts(ExprScope &scope, const QString &displayFormat, std::vector<qsizetype> *held) const;

    struct Piece {
        QString literal;          // printed as it stands
        int expression = -1;      // or the index of an expression
    };
    std::vector<Piece> m_pieces;
    std::vector<Expression> m_expressions;
};

// Scans and expands in one go.
QString expandText(const QString &text, ExprScope &scope);

} // namespace report
