#pragma once
// A cursor over the tokens of one text, shared by the condition, sort and select readers:
// it knows the reserved words and how a field reference is written.

#include "engine/jet/Tokenizer.h"

#include <QLatin1StringView>

namespace dao::jet {

class TokenStream final {
public:
    // Tokenizes `text`, which must outlive the stream.
    explicit TokenStream(QStringView text);

    const Token &peek(qsizetype ahead = 0) const;
    const Token &take();
    bool atEnd() const { return peek().kind == TokenKind::End; }
    bool at(TokenKind kind) const { return peek().kind == kind; }
    bool atWord(QLatin1StringView keyword, qsizetype ahead = 0) const { return peek(ahead).isWord(keyword); }

    // Consumes the current token when it matches.
    bool skip(TokenKind kind);
    bool skipWord(QLatin1StringView keyword);
    void expect(TokenKind kind, const QString &what);

    // True when the current token begins a field reference: [Name] or a bare word that is
    // not reserved.
    bool atField() const;
    // Reads [F], F, [T].[F] or T.F and returns F as written; the table part is not checked
    // because the texts only ever name their own table.
    QString takeFieldName();

    [[noreturn]] void fail(const QString &detail) const;
    QStringView text() const { return m_text; }

private:
    bool isFieldToken(const Token &token) const;

    QStringView m_text;
    std::vector<Token> m_tokens;
    qsizetype m_index = 0;
};

// Grammar keywords and SQL words a bare name may not be.
bool isReservedWord(QStringView word);

} // namespace dao::jet
