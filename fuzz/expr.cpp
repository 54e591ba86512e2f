// Fuzz target of the report expressions: the input, as UTF-8 text, is expanded as a text box
// would be (with a scope that knows a few names), registered and accumulated as a footer's
// statistics, and evaluated as a whole expression. An ExprError is a fine answer; anything
// else (a crash, a hang, another exception) is a fault.

#include "output/report/expr/ExprMapScope.h"
#include "output/report/expr/ExprStatistics.h"
#include "output/report/expr/ExprText.h"

#include <cstdint>

namespace {

report::ExprMapScope makeScope()
{
    using report::ExprValue;
    report::ExprMapScope scope;
    scope.setField(QStringLiteral("Anagrafica.Capofamiglia"), ExprValue("ROSSI MARIO"));
    scope.setField(QStringLiteral("Capofamiglia"), ExprValue("ROSSI MARIO"));
    scope.setField(QStringLiteral("Anagrafica.Componenti"), ExprValue(4));
    scope.setField(QStringLiteral("Anagrafica.Scadenza"), ExprValue::date(QDate(2027, 1, 31)));
    scope.setField(QStringLiteral("Anagrafica.Inizio"), ExprValue::nullOf(report::ExprFieldKind::DateTime));
    scope.setField(QStringLiteral("Anagrafica.Caritas"), ExprValue(true));
    scope.addDataSet(QStringLiteral("frm_main.Anagrafica"));
    scope.setVariable(QStringLiteral("Ente"), ExprValue("Servizi sociali"));
    scope.system().page = 2;
    scope.system().totalPages = 5;
    scope.system().started = QDateTime(QDate(2026, 12, 9), QTime(10, 0));
    return scope;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    const QString text = QString::fromUtf8(reinterpret_cast<const char *>(data), qsizetype(size));
    // Declared first: the scope keeps a pointer to the footer's statistics once given them.
    report::ExprStatistics footer;
    report::ExprMapScope scope = makeScope();
    try {
        report::expandText(text, scope);
    } catch (const report::ExprError &) {
    }
    try {
        footer.collectText(text);
        scope.setStatistics(&footer);
        for (int record = 0; record < 3; ++record) {
            scope.setField(QStringLiteral("Anagrafica.Componenti"), report::ExprValue(record * 2.5));
            footer.accumulate(scope);
        }
        report::expandText(text, scope);
    } catch (const report::ExprError &) {
    }
    try {
        report::evaluateExpression(text, scope);
    } catch (const report::ExprError &) {
    }
    return 0;
}
