#pragma once
// The parsed form of an expression: a small tree the evaluator walks.

#include "output/report/expr/ExprError.h"
#include "output/report/expr/ExprFunctions.h"
#include "output/report/expr/ExprScope.h"

#include <memory>
#include <vector>

namespace report {

enum class ExprOp {
    Or, And, Not, Equal, NotEqual, Less, Greater, LessEqual, GreaterEqual,
    Add, Subtract, Multiply, Divide, IntDivide, Modulo, Negate, Plus,
};

struct ExprNode {
    enum class Kind { Literal, Name, Unary, Binary, Call, Statistic };

    Kind kind = Kind::Literal;
    ExprValue literal;                       // Literal
    ExprNameRef name;                        // Name
    QString upperName;                       // Name of one part: upper case, for system variables
    QString joined;                          // Name: its parts joined, as a variable is asked for
    ExprOp op = ExprOp::Add;                 // Unary, Binary
    const ExprFunctionInfo *function = nullptr;   // Call, Statistic
    QString key;                             // Statistic: function and argument text;
                                             // Call without function: the name as written
    std::vector<std::unique_ptr<ExprNode>> children;
};

} // namespace report
