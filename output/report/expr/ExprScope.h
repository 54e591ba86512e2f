#pragma once
// What the engine tells the evaluator about the names of an expression. The evaluator parses
// the reference forms and asks in the engine's order:
//   1. variable()        a report variable of that name (compared without regard to case);
//   2. field()           a field reference: Field, dataset.Field, window.dataset.Field, the
//                        field name possibly in double quotes (which allow points in it);
//   3. namesDataSet()    a two-part name that names a dataset rather than a field: the name
//                        itself is the value, as text;
//   4. systemVariable()  PAGE#, DATE, TIME, LINE#, LINETHROUGH#, COLUMN#, CURRENT#, TOTALPAGES.
// A name none of them knows is "Identificatore sconosciuto: ". The scope only looks things up:
// a field's null is already decided by its kind (ExprValue::nullOf).

#include "output/report/expr/ExprValue.h"

#include <QList>
#include <QPointer>
#include <QStringList>
#include <optional>

namespace report {

class ExprStatistics;

// What a scope found for a name the last time it was asked, kept with the name so that a
// name printed on every record is not looked up again each time. Only the scope that filled
// it reads it, and only while its own stamp says the finding still holds. (Expressions are
// evaluated on one thread: a parsed tree is not shared between threads that evaluate it.)
struct ExprNameFound {
    quint64 owner = 0;              // the scope's own number, never given to another scope
    quint64 stamp = 0;
    const void *source = nullptr;   // what the scope looked in (the dataset), as it was then
    QPointer<QObject> found;        // what it found there (the field)
};

// A name as written in an expression, split at the points outside double quotes.
struct ExprNameRef {
    QStringList parts;          // 1 to 3 parts; the last one is the field name
    bool lastQuoted = false;    // the last part was written in double quotes
    mutable ExprNameFound found;

    // The name as written: Anagrafica."Capofamiglia", frm_main.Nucleo.Nome, Cognome.
    QString text() const;
    // The name with its points, quotes dropped: what a variable of that name would be called.
    QString joined() const { return parts.join(QLatin1Char('.')); }
};

class ExprScope {
public:
    virtual ~ExprScope() = default;

    virtual std::optional<ExprValue> variable(const QString &name) = 0;
    virtual std::optional<ExprValue> field(const ExprNameRef &ref) = 0;
    virtual bool namesDataSet(const ExprNameRef &ref) = 0;
    // The name in upper case; ExprSystemValues does the lookup for an engine that fills it.
    virtual std::optional<ExprValue> systemVariable(const QString &upperName) = 0;

    // The running statistics of the band being printed, or none when that band is not
    // enabled for statistics (a SUM, AVG, COUNT, MIN or MAX there is then an error).
    virtual const ExprStatistics *statistics() const { return nullptr; }

    // A function that is not in the list (the report's OnUserFunction, when assigned): its
    // value, or none when the engine does not know it either ("Identificatore sconosciuto: ").
    virtual std::optional<ExprValue> userFunction(const QString &name, const QList<ExprValue> &args)
    {
        return std::nullopt;
    }

    // How many times so far a value was asked that the engine only knows once the run is over
    // (the page total of a layout built in one pass): ExprText leaves the place of such a part
    // empty for it to be filled in later.
    virtual int heldValuesAsked() const { return 0; }
};

} // namespace report
