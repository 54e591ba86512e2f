#pragma once
// Turns the source of an expression into its tree, or throws the ExprError that describes
// the first fault (a bracket or parenthesis without its pair, a missing operand, a wrong
// number of arguments for a function of the list). A call of any other name is left for the
// engine's own functions, asked when the expression is evaluated.

#include "output/report/expr/ExprNode.h"

namespace report {

std::unique_ptr<ExprNode> parseExpression(const QString &source);

} // namespace report
