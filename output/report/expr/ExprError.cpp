#include "output/report/expr/ExprError.h"

namespace report {

ExprError::ExprError(ExprErrorKind kind, const QString &subject)
    : m_kind(kind), m_subject(subject), m_message(opening(kind) + subject), m_utf8(m_message.toUtf8())
{
}

QString ExprError::opening(ExprErrorKind kind)
{
    switch (kind) {
    case ExprErrorKind::Parentheses:
        return QStringLiteral("Numero errato di parentesi nell'espressione : ");
    case ExprErrorKind::UnknownIdentifier:
        return QStringLiteral("Identificatore sconosciuto: ");
    case ExprErrorKind::IncompatibleTypes:
        return QStringLiteral("Tipo di dati incompatibili nell'espressione: ");
    case ExprErrorKind::InvalidParameter:
        return QStringLiteral("Formato parametri non valido nella funzione : ");
    case ExprErrorKind::StatisticNotEnabled:
        return QStringLiteral("Non è possibile inserire in una banda non abilitata la funzione statistica : ");
    case ExprErrorKind::ParameterCount:
        return QStringLiteral("E' stato inserito un numero di parametri errato per la funzione : ");
    case ExprErrorKind::ParameterTypes:
        return QStringLiteral("Tipi di parametri errati nella funzione: ");
    }
    return {};
}

} // namespace report
