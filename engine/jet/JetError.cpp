#include "engine/jet/JetError.h"

#include "engine/EngineError.h"

namespace dao::jet {

namespace {
const QString kSource = QStringLiteral("DAO.Database");
}

void throwSyntaxError(const QString &detail, QStringView text, qsizetype position)
{
    throw EngineError(errUnsupportedText, kSource,
                      QStringLiteral("Errore di sintassi nell'espressione: %1 (posizione %2 in '%3').")
                          .arg(detail, QString::number(position + 1), text.toString()));
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
