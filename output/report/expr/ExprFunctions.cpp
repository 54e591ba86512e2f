#include "output/report/expr/ExprFunctions.h"

#include "output/report/expr/ExprFunctionImpl.h"

#include <QHash>

namespace report {

QString exprCategoryName(ExprFunctionCategory category)
{
    switch (category) {
    case ExprFunctionCategory::Statistics: return QStringLiteral("Statistiche");
    case ExprFunctionCategory::Conversion: return QStringLiteral("Conversione");
    case ExprFunctionCategory::Text: return QStringLiteral("Testo");
    case ExprFunctionCategory::Mathematics: return QStringLiteral("Matematica");
    case ExprFunctionCategory::Logic: return QStringLiteral("Logica");
    case ExprFunctionCategory::Currency: return QStringLiteral("Valuta");
    }
    return {};
}

QString exprArgumentRule()
{
    return QStringLiteral("Gli argomenti si separano con il punto e virgola. Una virgola tra due cifre è "
                          "sempre la virgola decimale. Esempi: ROUND(3,25; 1) dà 3,3; ROUND(3,2) è un errore "
                          "(un solo argomento, il numero 3,2); COPY(Capofamiglia; 1; 5).");
}

const QList<ExprFunctionInfo> &exprFunctions()
{
    using C = ExprFunctionCategory;
    static const QList<ExprFunctionInfo> table = {
        {"AVG", C::Statistics, "AVG(<Espressione>)", "Media dei valori dell'espressione sui record della banda", 1, 1},
        {"COUNT", C::Statistics, "COUNT(<Condizione>)", "Numero dei record della banda (senza condizione) o di quelli per cui la condizione è vera", 0, 1},
        {"MAX", C::Statistics, "MAX(<Espressione>)", "Valore massimo dell'espressione sui record della banda", 1, 1},
        {"MIN", C::Statistics, "MIN(<Espressione>)", "Valore minimo dell'espressione sui record della banda", 1, 1},
        {"SUM", C::Statistics, "SUM(<Espressione>)", "Somma dei valori dell'espressione sui record della banda", 1, 1},

        {"FORMATDATETIME", C::Conversion, "FORMATDATETIME(<Formato>; <Data>)", "Data e ora come testo nel formato dato, per esempio 'dd/mm/yyyy'", 2, 2, fn::formatDateTime},
        {"FORMATFLOAT", C::Conversion, "FORMATFLOAT(<Formato>; <Numero>)", "Numero come testo nel formato dato, per esempio '#,##0.00'", 2, 2, fn::formatFloat},
        {"STRTODATE", C::Conversion, "STRTODATE(<Testo>)", "Data scritta come gg/mm/aaaa", 1, 1, fn::strToDate},
        {"STRTOTIME", C::Conversion, "STRTOTIME(<Testo>)", "Ora scritta come hh:mm o hh:mm:ss", 1, 1, fn::strToTime},

        {"COPY", C::Text, "COPY(<Testo>; <Inizio>; <Quanti>)", "Parte del testo: Quanti caratteri dal carattere Inizio (il primo è 1)", 3, 3, fn::copy},
        {"FILLSTR", C::Text, "FILLSTR(<Testo>; <Volte>)", "Il testo ripetuto più volte, per esempio una riga di trattini", 2, 2, fn::fillStr},
        {"LENGTH", C::Text, "LENGTH(<Testo>)", "Numero dei caratteri del testo", 1, 1, fn::length},
        {"LOWERCASE", C::Text, "LOWERCASE(<Testo>)", "Il testo in lettere minuscole", 1, 1, fn::lowerCase},
        {"NAMECASE", C::Text, "NAMECASE(<Testo>)", "Il testo con l'iniziale di ogni parola maiuscola", 1, 1, fn::nameCase},
        {"NUMBERTOLETTER", C::Text, "NUMBERTOLETTER(<Numero>)", "Il numero scritto in lettere, con i centesimi dopo la barra", 1, 1, fn::numberToLetter},
        {"PHRASECASE", C::Text, "PHRASECASE(<Testo>)", "Il testo con la sola prima lettera maiuscola", 1, 1, fn::phraseCase},
        {"POS", C::Text, "POS(<Cerca>; <Testo>)", "Posizione del primo Cerca nel testo (0 se non c'è)", 2, 2, fn::pos},
        {"STR", C::Text, "STR(<Numero>)", "Il numero come testo", 1, 1, fn::str},
        {"UPPERCASE", C::Text, "UPPERCASE(<Testo>)", "Il testo in lettere maiuscole", 1, 1, fn::upperCase},

        {"ABS", C::Mathematics, "ABS(<Numero>)", "Valore assoluto", 1, 1, fn::abs},
        {"ARCTAN", C::Mathematics, "ARCTAN(<Numero>)", "Arcotangente, in radianti", 1, 1, fn::arcTan},
        {"CEIL", C::Mathematics, "CEIL(<Numero>)", "Il più piccolo intero non minore del numero", 1, 1, fn::ceil},
        {"COS", C::Mathematics, "COS(<Angolo>)", "Coseno di un angolo in radianti", 1, 1, fn::cos},
        {"EXP", C::Mathematics, "EXP(<Numero>)", "Esponenziale: e elevato al numero", 1, 1, fn::exp},
        {"FLOOR", C::Mathematics, "FLOOR(<Numero>)", "Il più grande intero non maggiore del numero", 1, 1, fn::floor},
        {"FRAC", C::Mathematics, "FRAC(<Numero>)", "Parte decimale del numero", 1, 1, fn::fracPart},
        {"INT", C::Mathematics, "INT(<Numero>)", "Parte intera del numero", 1, 1, fn::intPart},
        {"LN", C::Mathematics, "LN(<Numero>)", "Logaritmo naturale di un numero positivo", 1, 1, fn::ln},
        {"PI", C::Mathematics, "PI()", "Pi greco", 0, 0, fn::pi},
        {"POWER", C::Mathematics, "POWER(<Base>; <Esponente>)", "La base elevata all'esponente", 2, 2, fn::power},
        {"ROUND", C::Mathematics, "ROUND(<Numero>; <Decimali>)", "Numero arrotondato (0,5 per eccesso) ai decimali dati (0: all'unità)", 2, 2, fn::round},
        {"SIN", C::Mathematics, "SIN(<Angolo>)", "Seno di un angolo in radianti", 1, 1, fn::sin},
        {"SQR", C::Mathematics, "SQR(<Numero>)", "Quadrato del numero", 1, 1, fn::sqr},
        {"SQRT", C::Mathematics, "SQRT(<Numero>)", "Radice quadrata di un numero non negativo", 1, 1, fn::sqrt},
        {"TRUNC", C::Mathematics, "TRUNC(<Numero>)", "Numero troncato all'intero verso lo zero", 1, 1, fn::trunc},
        {"VAL", C::Mathematics, "VAL(<Testo>)", "Il numero scritto nel testo, per esempio '1.234,50'", 1, 1, fn::val},

        {"IF", C::Logic, "IF(<Condizione>; <Se vera>; <Se falsa>)", "Il secondo valore se la condizione è vera, altrimenti il terzo", 3, 3},

        {"EURO", C::Currency, "EURO(<Importo>)", "Importo in euro come testo: € 1.234,56", 1, 1, fn::euro},
        {"EUROTOMONEY", C::Currency, "EUROTOMONEY(<Euro>)", "Importo in euro convertito in lire, come testo", 1, 1, fn::euroToMoney},
        {"EUROTOMONEYVAL", C::Currency, "EUROTOMONEYVAL(<Euro>)", "Importo in euro convertito in lire, come numero", 1, 1, fn::euroToMoneyVal},
        {"MONEY", C::Currency, "MONEY(<Importo>)", "Importo in lire come testo: L. 1.936.270", 1, 1, fn::money},
        {"MONEYTOEURO", C::Currency, "MONEYTOEURO(<Lire>)", "Importo in lire convertito in euro (1936,27 lire per euro), come testo", 1, 1, fn::moneyToEuro},
        {"MONEYTOEUROVAL", C::Currency, "MONEYTOEUROVAL(<Lire>)", "Importo in lire convertito in euro, come numero", 1, 1, fn::moneyToEuroVal},
    };
    return table;
}

const ExprFunctionInfo *findExprFunction(const QString &name)
{
    static const QHash<QString, const ExprFunctionInfo *> index = [] {
        QHash<QString, const ExprFunctionInfo *> byName;
        for (const ExprFunctionInfo &info : exprFunctions())
            byName.insert(info.name, &info);
        return byName;
    }();
    return index.value(name.toUpper(), nullptr);
}

bool isStatisticFunction(const QString &upperName)
{
    const ExprFunctionInfo *info = findExprFunction(upperName);
    return info && info->category == ExprFunctionCategory::Statistics;
}

} // namespace report
