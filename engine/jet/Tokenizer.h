#pragma once
// Splits a dialect text into tokens. Quoted texts, [names] and #dates# are taken whole, so
// nothing inside them (a ";", the words "Order By") is ever read as part of the statement.

#include <QString>
#include <QStringView>
#include <vector>

namespace dao::jet {

enum class TokenKind {
    End,
    Word,      // bare word: keyword or field name
    Name,      // [bracketed name]; text is the inside
    Number,    // text as written, with an optional leading "-"
    Text,      // "..." or '...'; text is the value with doubled quotes undone
    Date,      // #...#; text is the inside
    Operator,  // = <> < > <= >=
    LParen,
    RParen,
    Comma,
    Dot,
    Star,
    Semicolon,
};

struct Token {
    TokenKind kind = TokenKind::End;
    QString text;
    qsizetype position = 0;  // offset of the first character in the source
    qsizetype end = 0;       // offset just past the token

    bool isWord(QLatin1StringView keyword) const
    {
        return kind == TokenKind::Word && text.compare(keyword, Qt::CaseInsensitive) == 0;
    }
};

// The tokens of `text`, always closed by an End token. Throws EngineError(errUnsupportedText)
// on an unterminated quote, bracket or date, or on a character outside the dialect.
std::vector<Token> tokenize(QStringView text);

} // namespace dao::jet
