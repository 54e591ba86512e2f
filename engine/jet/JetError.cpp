#include "engine/jet/JetError.h"

#include "engine/EngineError.h"

namespace dao::jet {

namespace {

const QString kSource = QStringLiteral("DAO.Database");
// The text is quoted in a message box: one from a damaged layout file may be any length.
constexpr qsizetype kQuotedLength = 200;

QString quoted(QStringView text)
{
    return text.size() <= kQuotedLength ? text.toString() : text.left(kQuotedLength).toString() + QChar(0x2026);
}

} // namespace

void throwSyntaxError(const QString &detail, QStringView text, qsizetype position)
{
    throw EngineError(errUnsupportedText, kSource,
                      QStringLiteral("Errore di sintassi nell'espressione: %1 (posizione %2 in '%3').")
                          .arg(detail, QString::number(position + 1), quoted(text)));
}

void throwSyntaxError(const QString &detail)
{
    throw EngineError(errUnsupportedText, kSource,
                      QStringLiteral("Errore di sintassi nell'espressione: %1.").arg(detail));
}

void throwUnknownField(const QString &name)
{
    throw EngineError(errTooFewParameters, kSource,
                      QStringLiteral("Parametri insufficienti: il campo '%1' non esiste.").arg(name));
}

} // namespace dao::jet
