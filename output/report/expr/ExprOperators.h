#pragma once
// The operators of the expressions on values, with the typing rules listed in Expression.h.
// A pairing the rules do not allow throws "Tipo di dati incompatibili nell'espressione: "
// followed by the expression being evaluated.

#include "output/report/expr/ExprNode.h"

namespace report {

ExprValue applyUnary(ExprOp op, const ExprValue &operand, const QString &source);
// Every binary operator but and/or, which the evaluator short-circuits.
ExprValue applyBinary(ExprOp op, const ExprValue &left, const ExprValue &right, const QString &source);
// The truth of an operand of and/or/not/IF.
bool truthOf(const ExprValue &value, const QString &source);

} // namespace report
