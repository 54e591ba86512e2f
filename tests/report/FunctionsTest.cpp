// The functions through the evaluator: words, formats, texts, mathematics, currency, and the
// table the designer's expression builder lists.

#include "output/report/expr/ExprFunctions.h"
#include "tests/report/ExprTestSupport.h"

#include <QSet>

using namespace exprtest;

INSTANTIATE_TEST_SUITE_P(NumberToLetter, ExpressionShows, testing::Values(
    Shows{"NUMBERTOLETTER(0)", "zero"},
    Shows{"NUMBERTOLETTER(1)", "uno"},
    Shows{"NUMBERTOLETTER(13)", "tredici"},
    Shows{"NUMBERTOLETTER(21)", "ventuno"},
    Shows{"NUMBERTOLETTER(23)", "ventitré"},
    Shows{"NUMBERTOLETTER(28)", "ventotto"},
    Shows{"NUMBERTOLETTER(100)", "cento"},
    Shows{"NUMBERTOLETTER(103)", "centotré"},
    Shows{"NUMBERTOLETTER(181)", "centottantuno"},
    Shows{"NUMBERTOLETTER(999)", "novecentonovantanove"},
    Shows{"NUMBERTOLETTER(1000)", "mille"},
    Shows{"NUMBERTOLETTER(1001)", "milleuno"},
    Shows{"NUMBERTOLETTER(2026)", "duemilaventisei"},
    Shows{"NUMBERTOLETTER(21000)", "ventunmila"},
    Shows{"NUMBERTOLETTER(31000)", "trentunmila"},
    Shows{"NUMBERTOLETTER(101000)", "centounmila"},
    Shows{"NUMBERTOLETTER(1000000)", "un milione"},
    Shows{"NUMBERTOLETTER(2300000)", "due milioni trecentomila"},
    Shows{"NUMBERTOLETTER(2500003)", "due milioni cinquecentomilatré"},
    Shows{"NUMBERTOLETTER(1000003)", "un milione tre"},
    Shows{"NUMBERTOLETTER(21000000)", "ventun milioni"},
    Shows{"NUMBERTOLETTER(1000000000)", "un miliardo"},
    Shows{"NUMBERTOLETTER(2001000000)", "due miliardi un milione"},
    Shows{"NUMBERTOLETTER(12,5)", "dodici/50"},
    Shows{"NUMBERTOLETTER(0,999)", "uno"},
    Shows{"NUMBERTOLETTER(-3,07)", "meno tre/07"}));

INSTANTIATE_TEST_SUITE_P(Formats, ExpressionShows, testing::Values(
    Shows{"FORMATFLOAT('#,##0.00'; 1234,5)", "1.234,50"},
    Shows{"FORMATFLOAT('#,##0.00'; -1234567,891)", "-1.234.567,89"},
    Shows{"FORMATFLOAT('0.##'; 2,675)", "2,68"},
    Shows{"FORMATFLOAT('000'; 7)", "007"},
    Shows{"FORMATFLOAT('#.##'; 0,5)", ",5"},
    Shows{"FORMATFLOAT('€ #,##0.00;(€ #,##0.00);zero'; -12)", "(€ 12,00)"},
    Shows{"FORMATFLOAT('#,##0.00;;\"nulla\"'; 0,001)", "nulla"},
    Shows{"FORMATFLOAT(''; 1,5)", "1,5"},
    Shows{"FORMATDATETIME('dd/mm/yyyy'; DATE)", "09/12/2026"},
    Shows{"FORMATDATETIME('dddd d mmmm yyyy'; DATE)", "mercoledì 9 dicembre 2026"},
    Shows{"FORMATDATETIME('d-mmm-yy \"ore\" hh:mm'; DATE + TIME)", "9-dic-26 ore 14:05"},
    Shows{"FORMATDATETIME('dd/mm/yyyy'; '3/4/27')", "03/04/2027"},
    Shows{"STRTODATE('1.2.2026') + 1", "02/02/2026"},
    Shows{"STRTOTIME('8.30')", "08:30:00"}));

INSTANTIATE_TEST_SUITE_P(TextsAndNumbers, ExpressionShows, testing::Values(
    Shows{"NAMECASE('mario d''angelo-ROSSI')", "Mario D'Angelo-Rossi"},
    Shows{"PHRASECASE('  VIA ROMA, 3')", "  Via roma, 3"},
    Shows{"UPPERCASE('città') + LOWERCASE('ÈRA')", "CITTÀèra"},
    Shows{"COPY('Capofamiglia'; 5; 3) + COPY('abc'; 0; 2) + COPY('abc'; 9; 2)", "famab"},
    Shows{"POS('fam'; 'Capofamiglia') + POS(''; 'x') + POS('z'; 'x')", "5"},
    Shows{"LENGTH(Anagrafica.Note) + LENGTH('città')", "5"},
    Shows{"FILLSTR('-='; 3) + FILLSTR('x'; -1)", "-=-=-="},
    Shows{"STR(3,5) + '!'", "3,5!"},
    Shows{"VAL('1.234,5') + VAL('3.5') + VAL('') + VAL(2)", "1240"},
    Shows{"ROUND(2,5; 0) + ROUND(-2,5; 0) + ROUND(2,675; 2)", "2,68"},
    Shows{"ROUND(1234; -2)", "1200"},
    Shows{"ROUND(3,25; 1)", "3,3"},   // the expression builder's example
    Shows{"ROUND(3,25, 1)", "3,3"},   // a comma after a digit and a blank separates
    Shows{"INT(-3,7) + TRUNC(3,7) + FRAC(1,25)", "0,25"},
    Shows{"CEIL(1,2) * 10 + FLOOR(-1,2)", "18"},
    Shows{"ABS(-4) + SQR(3) + SQRT(16) + POWER(2; 10)", "1041"},
    Shows{"ROUND(PI(); 4) + ROUND(EXP(1); 3) + LN(1) + SIN(0) + COS(0) + ARCTAN(0)", "6,8596"},
    Shows{"MONEY(1936270)", "L. 1.936.270"},
    Shows{"EURO(1234,5)", "€ 1.234,50"},
    Shows{"MONEYTOEURO(100000)", "€ 51,65"},
    Shows{"EUROTOMONEY(1)", "L. 1.936"},
    Shows{"MONEYTOEUROVAL(1936270) + EUROTOMONEYVAL(10)", "20363"}));

TEST(FunctionTable, ListsEveryFunctionOnceWithWhatTheExpressionBuilderShows)
{
    const QStringList expected = {
        "SUM", "AVG", "COUNT", "MIN", "MAX", "FORMATDATETIME", "FORMATFLOAT", "STRTODATE", "STRTOTIME",
        "UPPERCASE", "LOWERCASE", "NAMECASE", "PHRASECASE", "NUMBERTOLETTER", "STR", "COPY", "POS", "LENGTH",
        "FILLSTR", "INT", "FRAC", "ROUND", "TRUNC", "ABS", "ARCTAN", "COS", "EXP", "LN", "PI", "SIN", "SQR",
        "SQRT", "POWER", "CEIL", "FLOOR", "VAL", "IF", "MONEY", "EURO", "MONEYTOEURO", "EUROTOMONEY",
        "MONEYTOEUROVAL", "EUROTOMONEYVAL"};
    QSet<QString> listed;
    for (const report::ExprFunctionInfo &info : report::exprFunctions()) {
        EXPECT_FALSE(listed.contains(info.name)) << info.name.toStdString();
        listed.insert(info.name);
        EXPECT_TRUE(info.signature.startsWith(info.name + "(")) << info.name.toStdString();
        EXPECT_FALSE(info.description.isEmpty());
        EXPECT_FALSE(report::exprCategoryName(info.category).isEmpty());
    }
    EXPECT_EQ(listed, QSet<QString>(expected.begin(), expected.end()));
    EXPECT_EQ(report::exprCategoryName(report::findExprFunction("numbertoletter")->category), "Testo");
    EXPECT_EQ(report::exprCategoryName(report::findExprFunction("EURO")->category), "Valuta");
}
