#pragma once
// One expression of a report, parsed once and evaluated as often as the engine needs
// (a text box's bracketed part, a band filter, a variable's expression).
//
// The language, as an Italian office writes it:
//   literals   12   3,5 (decimal comma; a point is accepted too)   'testo' or "testo"
//              true/vero, false/falso (when no name of the scope is called so)
//   names      Cognome   Anagrafica."Capofamiglia"   Anagrafica.Cognome
//              frm_main.Nucleo."Data nascita"   PAGE#  DATE  TIME ...
//              A lone "..." is a field of the band's record source (or a variable) of that
//              name when there is one, otherwise a text; write texts in '...' to be sure.
//   calls      NAME(arg; arg; ...)  arguments separated by ";", as in an Italian spreadsheet.
//              One rule for the comma: with a digit right before and right after it, it is
//              the decimal comma and nothing else; anywhere else (after a blank, a name, a
//              bracket) it separates arguments as ";" does. So ROUND(3,2) is ROUND of the
//              one number 3,2, which raises the wrong number of arguments (ROUND takes
//              two: ROUND(3,25; 1) is 3,3, and so is ROUND(3,25, 1)). The functions are
//              those of ExprFunctions.h, each with its fixed number of arguments; any
//              other name is asked of the scope (userFunction).
//   grouping   ( ... ) and [ ... ] (a bracket inside a bracketed text part groups too)
//   operators, from the weakest:
//              or
//              and
//              not
//              =  <>  <  >  <=  >=
//              +  -          (text + anything joins texts: 'Pagina ' + PAGE#)
//              *  /  div  mod
//              unary -  +
// Typing: numbers with numbers; a date plus or minus a number of days is a date, a date
// minus a date a number of days; an empty value is 0 or '' as the other side needs; flags
// count as 1/0. Comparisons of texts ignore case and accents order next to their letters;
// a date compared with a text reads the text as dd/mm/yyyy, a number with a text reads it
// as a number. and/or/not take flags or numbers (nonzero is true). Division by zero, and
// any other pairing, is "Tipo di dati incompatibili nell'espressione: ".
// Every error is an ExprError; a syntax error is raised when the expression is evaluated,
// so a layout with a bad text still loads.

#include "output/report/expr/ExprError.h"
#include "output/report/expr/ExprScope.h"

#include <memory>

namespace report {

struct ExprNode;

class Expression {
public:
    Expression() = default;
    explicit Expression(const QString &source);

    const QString &source() const { return m_source; }
    bool isValid() const { return m_root != nullptr; }
    // Throws the syntax error of the source, if any.
    void check() const;
    ExprValue evaluate(ExprScope &scope) const;
    // A condition (a band filter, a highlight): a flag, a number (nonzero is true) or an empty
    // value (false); a text is "Tipo di dati incompatibili nell'espressione: ".
    bool isTrue(ExprScope &scope) const;

    // For the statistics: the parsed tree (null when the source did not parse).
    const ExprNode *root() const { return m_root.get(); }

private:
    QString m_source;
    std::shared_ptr<const ExprNode> m_root;
    std::shared_ptr<const ExprError> m_error;
};

// Parses and evaluates in one go.
ExprValue evaluateExpression(const QString &source, ExprScope &scope);

} // namespace report
