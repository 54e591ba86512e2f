// The functions through the evaluator: words, formats, texts, mathematics, currency, and the
// table the designer's expression builder lists.

#include "output/report/expr/ExprFunctions.h"
#include "tests/report/ExprTestSupport.h"

#include <QSet>

using namespace exprtest;

struct Case {
    const char *expression;
    const char *expected;
};

class FunctionValue : public testing::TestWithParam<Case> {};

TEST_P(FunctionValue, PrintsAsExpected)
{
    EXPECT_EQ(evalText(QString::fromUtf8(GetParam().expression)), QString::fromUtf8(GetParam().expected))
        << GetParam().expression;
}

INSTANTIATE_TEST_SUITE_P(NumberToLetter, FunctionValue, testing::Values(
    Case{"NUMBERTOLETTER(0)", "zero"},
    Case{"NUMBERTOLETTER(1)", "uno"},
    Case{"NUMBERTOLETTER(13)", "tredici"},
    Case{"NUMBERTOLETTER(21)", "ventuno"},
    Case{"NUMBERTOLETTER(23)", "ventitré"},
    Case{"NUMBERTOLETTER(28)", "ventotto"},
    Case{"NUMBERTOLETTER(100)", "cento"},
    Case{"NUMBERTOLETTER(103)", "centotré"},
    Case{"NUMBERTOLETTER(181)", "centottantuno"},
    Case{"NUMBERTOLETTER(999)", "novecentonovantanove"},
    Case{"NUMBERTOLETTER(1000)", "mille"},
    Case{"NUMBERTOLETTER(1001)", "milleuno"},
    Case{"NUMBERTOLETTER(2026)", "duemilaventisei"},
    Case{"NUMBERTOLETTER(21000)", "ventunomila"},
    Case{"NUMBERTOLETTER(1000000)", "unmilione"},
    Case{"NUMBERTOLETTER(2500003)", "duemilionicinquecentomilatré"},
    Case{"NUMBERTOLETTER(1000000000)", "unmiliardo"},
    Case{"NUMBERTOLETTER(12,5)", "dodici/50"},
    Case{"NUMBERTOLETTER(0,999)", "uno"},
    Case{"NUMBERTOLETTER(-3,07)", "meno tre/07"}));

INSTANTIATE_TEST_SUITE_P(Formats, FunctionValue, testing::Values(
    Case{"FORMATFLOAT('#,##0.00'; 1234,5)", "1.234,50"},
    Case{"FORMATFLOAT('#,##0.00'; -1234567,891)", "-1.234.567,89"},
    Case{"FORMATFLOAT('0.##'; 2,675)", "2,68"},
    Case{"FORMATFLOAT('000'; 7)", "007"},
    Case{"FORMATFLOAT('#.##'; 0,5)", ",5"},
    Case{"FORMATFLOAT('€ #,##0.00;(€ #,##0.00);zero'; -12)", "(€ 12,00)"},
    Case{"FORMATFLOAT('#,##0.00;;\"nulla\"'; 0,001)", "nulla"},
    Case{"FORMATFLOAT(''; 1,5)", "1,5"},
    Case{"FORMATDATETIME('dd/mm/yyyy'; DATE)", "09/12/2026"},
    Case{"FORMATDATETIME('dddd d mmmm yyyy'; DATE)", "mercoledì 9 dicembre 2026"},
    Case{"FORMATDATETIME('d-mmm-yy \"ore\" hh:mm'; DATE + TIME)", "9-dic-26 ore 14:05"},
    Case{"FORMATDATETIME('dd/mm/yyyy'; '3/4/27')", "03/04/2027"},
    Case{"STRTODATE('1.2.2026') + 1", "02/02/2026"},
    Case{"STRTOTIME('8.30')", "08:30:00"}));

INSTANTIATE_TEST_SUITE_P(TextsAndNumbers, FunctionValue, testing::Values(
    Case{"NAMECASE('mario d''angelo-ROSSI')", "Mario D'Angelo-Rossi"},
    Case{"PHRASECASE('  VIA ROMA, 3')", "  Via roma, 3"},
    Case{"UPPERCASE('città') + LOWERCASE('ÈRA')", "CITTÀèra"},
    Case{"COPY('Capofamiglia'; 5; 3) + COPY('abc'; 0; 2) + COPY('abc'; 9; 2)", "famab"},
    Case{"POS('fam'; 'Capofamiglia') + POS(''; 'x') + POS('z'; 'x')", "5"},
    Case{"LENGTH(Anagrafica.Note) + LENGTH('città')", "5"},
    Case{"FILLSTR('-='; 3) + FILLSTR('x'; -1)", "-=-=-="},
    Case{"STR(3,5) + '!'", "3,5!"},
    Case{"VAL('1.234,5') + VAL('3.5') + VAL('') + VAL(2)", "1240"},
    Case{"ROUND(2,5) + ROUND(-2,5) + ROUND(2,675; 2)", "2,68"},
    Case{"ROUND(1234; -2)", "1200"},
    Case{"INT(-3,7) + TRUNC(3,7) + FRAC(1,25)", "0,25"},
    Case{"CEIL(1,2) * 10 + FLOOR(-1,2)", "18"},
    Case{"ABS(-4) + SQR(3) + SQRT(16) + POWER(2; 10)", "1041"},
    Case{"ROUND(PI(); 4) + ROUND(EXP(1); 3) + LN(1) + SIN(0) + COS(0) + ARCTAN(0)", "6,8596"},
    Case{"MONEY(1936270)", "L. 1.936.270"},
    Case{"EURO(1234,5)", "€ 1.234,50"},
    Case{"MONEYTOEURO(100000)", "€ 51,65"},
    Case{"EUROTOMONEY(1)", "L. 1.936"},
    Case{"MONEYTOEUROVAL(1936270) + EUROTOMONEYVAL(10)", "20363"}));

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
