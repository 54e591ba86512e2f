// The texts of one record of a printed list, expanded as the report engine does for every
// card: field references in the designer's form, a date format, a condition and the page
// numbers. The texts are scanned once; each record only evaluates them.

#include "BenchSupport.h"

#include "output/report/expr/ExprMapScope.h"
#include "output/report/expr/ExprText.h"

namespace {

constexpr int kRecords = 100000;

const char *const kTexts[] = {
    "[Anagrafica.\"Protocollo\"]",
    "[Anagrafica.\"Capofamiglia\"]",
    "[Anagrafica.\"Indirizzo\"] - [Anagrafica.\"Citta\"]",
    "[FORMATDATETIME('dd/mm/yyyy'; Anagrafica.\"Scad_ISEE\")]",
    "[IF(Anagrafica.\"Scad_ISEE\" < DATE; 'scaduto'; '')]",
    "Pagina [PAGE#] di [TOTALPAGES]",
};

} // namespace

int main()
{
    using report::ExprValue;
    std::vector<report::ExprText> texts;
    for (const char *text : kTexts)
        texts.emplace_back(QString::fromUtf8(text));
    report::ExprMapScope scope;
    scope.system().started = QDateTime(QDate(2026, 12, 9), QTime(10, 0));
    scope.system().totalPages = kRecords / 40;
    qsizetype printed = 0;

    const double ms = bench::medianMs(5, [] {}, [&] {
        for (int i = 1; i <= kRecords; ++i) {
            scope.setField(QStringLiteral("Anagrafica.Protocollo"), ExprValue(i));
            scope.setField(QStringLiteral("Anagrafica.Capofamiglia"), ExprValue(QStringLiteral("Famiglia %1").arg(i)));
            scope.setField(QStringLiteral("Anagrafica.Indirizzo"), ExprValue(QStringLiteral("Via delle Rose")));
            scope.setField(QStringLiteral("Anagrafica.Citta"), ExprValue(QStringLiteral("Roma")));
            scope.setField(QStringLiteral("Anagrafica.Scad_ISEE"), ExprValue::dateTime(46000 + i % 900));
            scope.system().page = i / 40 + 1;
            for (const report::ExprText &text : texts)
                printed += text.expand(scope).size();
        }
    });
    if (printed == 0)
        return 1;
    bench::report("report_expr_texts_per_s", double(kRecords) * std::size(kTexts) / (ms / 1000.0), "texts/s");
    return 0;
}
