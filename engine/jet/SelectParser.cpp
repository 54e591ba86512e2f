#include "engine/jet/JetDialect.h"
#include "engine/jet/TokenStream.h"

namespace dao::jet {

namespace {

bool atOrderBy(const TokenStream &tokens)
{
    return tokens.atWord(QLatin1StringView("ORDER")) && tokens.atWord(QLatin1StringView("BY"), 1);
}

// The source text of a clause: its tokens up to the end, the closing ";" or, for the
// condition, an Order By outside parentheses. Taken from tokens so that a quoted
// "Order By" stays inside the condition.
QString takeClause(TokenStream &tokens, bool stopAtOrderBy)
{
    const qsizetype start = tokens.peek().position;
    qsizetype end = start;
    int depth = 0;
    while (!tokens.atEnd() && !tokens.at(TokenKind::Semicolon) && !(stopAtOrderBy && depth == 0 && atOrderBy(tokens))) {
        const Token &token = tokens.take();
        if (token.kind == TokenKind::LParen)
            ++depth;
        else if (token.kind == TokenKind::RParen)
            --depth;
        end = token.end;
    }
    if (end == start)
        tokens.fail(QStringLiteral("clausola vuota"));
    return tokens.text().mid(start, end - start).toString();
}

} // namespace

SelectText parseSelect(const QString &text)
{
    TokenStream tokens(text);
    SelectText result;
    if (!tokens.skipWord(QLatin1StringView("SELECT")))
        tokens.fail(QStringLiteral("atteso SELECT"));
    tokens.expect(TokenKind::Star, QStringLiteral("'*'"));
    if (!tokens.skipWord(QLatin1StringView("FROM")))
        tokens.fail(QStringLiteral("atteso FROM"));
    if (!tokens.atField())
        tokens.fail(QStringLiteral("atteso il nome della tabella"));
    result.table = tokens.take().text;
    if (tokens.skipWord(QLatin1StringView("WHERE")))
        result.condition = takeClause(tokens, true);
    if (atOrderBy(tokens)) {
        tokens.take();
        tokens.take();
        result.sort = takeClause(tokens, false);
    }
    tokens.skip(TokenKind::Semicolon);
    if (!tokens.atEnd())
        tokens.fail(QStringLiteral("attesa la fine del testo"));
    return result;
}

} // namespace dao::jet
