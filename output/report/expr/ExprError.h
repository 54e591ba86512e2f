#pragma once
// The one exception of the expression evaluator. Its text is one of seven fixed Italian
// openings followed by the offending expression or function name, ready for the
// preparation error text of a report run.

#include <QString>
#include <exception>

namespace report {

enum class ExprErrorKind {
    Parentheses,            // "Numero errato di parentesi nell'espressione : "
    UnknownIdentifier,      // "Identificatore sconosciuto: "
    IncompatibleTypes,      // "Tipo di dati incompatibili nell'espressione: "
    InvalidParameter,       // "Formato parametri non valido nella funzione : "
    StatisticNotEnabled,    // "Non è possibile inserire in una banda non abilitata la funzione statistica : "
    ParameterCount,         // "E' stato inserito un numero di parametri errato per la funzione : "
    ParameterTypes,         // "Tipi di parametri errati nella funzione: "
};

class ExprError : public std::exception {
public:
    ExprError(ExprErrorKind kind, const QString &subject);

    ExprErrorKind kind() const { return m_kind; }
    const QString &subject() const { return m_subject; }   // the expression or function
    const QString &message() const { return m_message; }   // opening + subject
    const char *what() const noexcept override { return m_utf8.constData(); }

    static QString opening(ExprErrorKind kind);

private:
    ExprErrorKind m_kind;
    QString m_subject;
    QString m_message;
    QByteArray m_utf8;
};

} // namespace report
