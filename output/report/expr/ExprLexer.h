#pragma once
// Splits an expression into tokens: numbers (decimal comma or point), texts in single or
// double quotes (a doubled quote stands for itself), names, operators and punctuation.

#include <QString>

namespace report {

struct ExprToken {
    enum class Type { End, Number, Text, QuotedName, Identifier, Operator, Separator, Dot, Open, Close };
    Type type = Type::End;
    QString text;        // the text of a literal or name, the operator or punctuation itself
    double number = 0;
    int begin = 0;       // position in the source
    int end = 0;         // one past the last character
};

class ExprLexer {
public:
    explicit ExprLexer(const QString &source) : m_source(source) {}
    // The next token; throws an ExprError on a character or text it cannot read.
    ExprToken next();

private:
    ExprToken readNumber(int begin);
    ExprToken readQuoted(int begin);
    ExprToken readIdentifier(int begin);

    const QString &m_source;
    int m_pos = 0;
};

} // namespace report
