#include "engine/jet/TokenStream.h"

#include "engine/jet/JetError.h"

#include <algorithm>
#include <array>

namespace dao::jet {

namespace {

// The dialect's own keywords plus the SQL words an injected text would need; a bare word
// among them is never taken for a field, so it surfaces as a syntax error.
constexpr std::array kReserved = {
    "ALL",     "ALTER",   "AND",     "AS",     "ASC",      "ATTACH",  "BETWEEN", "BY",
    "CASE",    "CAST",    "COLLATE", "CREATE", "DELETE",   "DESC",    "DETACH",  "DISTINCT",
    "DROP",    "ELSE",    "END",     "EQV",    "ESCAPE",   "EXCEPT",  "EXEC",    "EXECUTE",
    "EXISTS",  "FALSE",   "FROM",    "GLOB",   "GROUP",    "HAVING",  "IMP",     "IN",
    "INDEX",   "INNER",   "INSERT",  "INTERSECT", "INTO",  "IS",      "JOIN",    "LCASE",
    "LEFT",    "LIKE",    "LIMIT",   "MATCH",  "MOD",      "NOT",     "NULL",    "OFFSET",
    "ON",      "OR",      "ORDER",   "OUTER",  "PRAGMA",   "REGEXP",  "REPLACE", "RIGHT",
    "SELECT",  "SET",     "TABLE",   "THEN",   "TRUE",     "UCASE",   "UNION",   "UPDATE",
    "VACUUM",  "VALUES",  "WHEN",    "WHERE",  "XOR",
};

} // namespace

bool isReservedWord(QStringView word)
{
    return std::any_of(kReserved.begin(), kReserved.end(), [word](const char *reserved) {
        return word.compare(QLatin1StringView(reserved), Qt::CaseInsensitive) == 0;
    });
}

TokenStream::TokenStream(QStringView text) : m_text(text), m_tokens(tokenize(text)) {}

const Token &TokenStream::peek(qsizetype ahead) const
{
    const qsizetype index = std::min(m_index + ahead, qsizetype(m_tokens.size()) - 1);
    return m_tokens[size_t(index)];
}

const Token &TokenStream::take()
{
    const Token &token = peek();
    if (token.kind != TokenKind::End)
        ++m_index;
    return token;
}

bool TokenStream::skip(TokenKind kind)
{
    if (!at(kind))
        return false;
    take();
    return true;
}

bool TokenStream::skipWord(QLatin1StringView keyword)
{
    if (!atWord(keyword))
        return false;
    take();
    return true;
}

void TokenStream::expect(TokenKind kind, const QString &what)
{
    if (!skip(kind))
        fail(QStringLiteral("atteso %1").arg(what));
}

bool TokenStream::isFieldToken(const Token &token) const
{
    return token.kind == TokenKind::Name || (token.kind == TokenKind::Word && !isReservedWord(token.text));
}

bool TokenStream::atField() const
{
    return isFieldToken(peek());
}

QString TokenStream::takeFieldName()
{
    if (!atField())
        fail(QStringLiteral("atteso un nome di campo"));
    QString name = take().text;
    if (at(TokenKind::Dot)) {
        take();
        if (!atField())
            fail(QStringLiteral("atteso un nome di campo dopo '.'"));
        name = take().text;
    }
    return name;
}

void TokenStream::fail(const QString &detail) const
{
    const Token &token = peek();
    const QString found = token.kind == TokenKind::End
                              ? QStringLiteral("fine del testo")
                              : QStringLiteral("'%1'").arg(m_text.mid(token.position, token.end - token.position));
    throwSyntaxError(QStringLiteral("%1, trovato %2").arg(detail, found), m_text, token.position);
}

} // namespace dao::jet
