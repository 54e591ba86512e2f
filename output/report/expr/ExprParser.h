#pragma once
// Turns the source of an expression into its tree, or throws the ExprError that describes
// the first fault (a bracket or parenthesis without its pair, an unknown function, a
// missing operand, a wrong number of arguments).

#include "output/report/expr/ExprNode.h"

namespace report {

std::unique_ptr<ExprNode> parseExpression(const QString &source);

} // namespace report
