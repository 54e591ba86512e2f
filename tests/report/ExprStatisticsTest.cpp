// A footer enabled for statistics over the records of a data band: collect, accumulate,
// print, reset.

#include "output/report/expr/ExprStatistics.h"
#include "output/report/expr/ExprText.h"
#include "tests/report/ExprTestSupport.h"

using namespace exprtest;
using report::ExprValue;

namespace {

struct Member {
    const char *name;
    double income;
    QDate born;
    bool works;
};

const Member kMembers[] = {
    {"ROSSI MARIO", 1200.5, QDate(1970, 3, 1), true},
    {"ROSSI ANNA", 0, QDate(1975, 6, 12), false},
    {"ROSSI LUCA", 300, QDate(2004, 1, 20), true},
};

void showMember(report::ExprMapScope &scope, const Member &m)
{
    scope.setField("Nucleo.Nome", ExprValue(m.name));
    scope.setField("Nucleo.Reddito", ExprValue(m.income));
    scope.setField("Nucleo.\"Data nascita\"", ExprValue::date(m.born));
    scope.setField("Nucleo.Data nascita", ExprValue::date(m.born));
    scope.setField("Nucleo.Lavora", ExprValue(m.works));
}

const QStringList kFooterTexts = {
    "Componenti: [COUNT()], che lavorano: [COUNT(Nucleo.Lavora)]",
    "Totale [FORMATFLOAT('#,##0.00'; SUM(Nucleo.Reddito))], media [ROUND(AVG( Nucleo.Reddito );2)]",
    "Redditi da [MIN(Nucleo.Reddito)] a [MAX(Nucleo.Reddito)]; nato per primo il [MIN(Nucleo.\"Data nascita\")]",
    "Di nuovo [SUM(Nucleo.Reddito)]",
};

QString printFooter(report::ExprMapScope &scope)
{
    QStringList lines;
    for (const QString &text : kFooterTexts)
        lines << report::expandText(text, scope);
    return lines.join('\n');
}

} // namespace

TEST(ExprStatistics, AFooterShowsTheRunningValuesOfItsDataBandAndStartsAgainAfterReset)
{
    auto scope = cardScope();
    report::ExprStatistics footer;
    footer.collect(kFooterTexts);
    EXPECT_EQ(footer.size(), 7);   // SUM(Nucleo.Reddito) written twice is one total
    scope.setStatistics(&footer);

    for (const Member &m : kMembers) {
        showMember(scope, m);
        footer.accumulate(scope);
    }
    EXPECT_EQ(printFooter(scope),
              "Componenti: 3, che lavorano: 2\n"
              "Totale 1.500,50, media 500,17\n"
              "Redditi da 0 a 1200,5; nato per primo il 01/03/1970\n"
              "Di nuovo 1500,5");

    footer.reset();
    EXPECT_EQ(printFooter(scope),
              "Componenti: 0, che lavorano: 0\n"
              "Totale 0,00, media 0\n"
              "Redditi da 1E200 a -1E200; nato per primo il 1E200\n"
              "Di nuovo 0");
}

TEST(ExprStatistics, OnlyAnEnabledBandMayUseThemAndTheyDoNotNest)
{
    auto scope = cardScope();
    EXPECT_EQ(errorOf("MAX(1)", scope),
              "Non è possibile inserire in una banda non abilitata la funzione statistica : MAX");

    report::ExprStatistics band;
    try {
        band.collectText("[SUM(AVG(Nucleo.Reddito))]");
        FAIL() << "a statistic inside another was accepted";
    } catch (const report::ExprError &error) {
        EXPECT_EQ(error.message(), "Formato parametri non valido nella funzione : SUM");
    }
    EXPECT_THROW(band.collectText("[SUM(]"), report::ExprError);
}

TEST(ExprStatistics, ATextValueCannotBeSummed)
{
    auto scope = cardScope();
    report::ExprStatistics footer;
    footer.collectText("[SUM(Nucleo.Nome)]");
    showMember(scope, kMembers[0]);
    try {
        footer.accumulate(scope);
        FAIL() << "a name was summed";
    } catch (const report::ExprError &error) {
        EXPECT_EQ(error.message(), "Tipi di parametri errati nella funzione: SUM");
    }
}
