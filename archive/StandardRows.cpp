#include "archive/StandardRows.h"

namespace cli::standard {

const std::vector<QString> &groups()
{
    static const std::vector<QString> rows = {
        QStringLiteral("Caritas"), QStringLiteral("Comune"), QStringLiteral("Parrocchia"),
        QStringLiteral("Croce Rossa"), QStringLiteral("Banco alimentare"),
        QStringLiteral("Altri enti")};
    return rows;
}

const std::vector<QString> &bands()
{
    static const std::vector<QString> rows = {QStringLiteral("A"), QStringLiteral("B"),
                                              QStringLiteral("C"), QStringLiteral("D")};
    return rows;
}

const std::vector<QString> &roles()
{
    static const std::vector<QString> rows = {
        QStringLiteral("Capofamiglia"), QStringLiteral("Padre"), QStringLiteral("Madre"),
        QStringLiteral("Coniuge"), QStringLiteral("Figlio"), QStringLiteral("Figlia"),
        QStringLiteral("Nonno"), QStringLiteral("Nonna"), QStringLiteral("Altro")};
    return rows;
}

const std::vector<QString> &occupations()
{
    static const std::vector<QString> rows = {
        QStringLiteral("Disoccupato"), QStringLiteral("Operaio"), QStringLiteral("Impiegato"),
        QStringLiteral("Colf/Badante"), QStringLiteral("Lavoro saltuario"),
        QStringLiteral("Studente"), QStringLiteral("Casalinga"), QStringLiteral("Pensionato"),
        QStringLiteral("Invalido"), QStringLiteral("Altro")};
    return rows;
}

// The layouts are made by tools/layouts from its source and kept in data/stampe. An item
// with a direction word is quoted, so the blank inside it does not split it.
const std::vector<PrintedList> &printedLists()
{
    static const std::vector<PrintedList> rows = {
        {QStringLiteral("Elenco per capofamiglia"), QStringLiteral("elenco_capofamiglia.qnf"),
         QStringLiteral("Capofamiglia")},
        {QStringLiteral("Elenco per fascia"), QStringLiteral("elenco_fascia.qnf"),
         QStringLiteral("Fascia,Capofamiglia")},
        {QStringLiteral("Elenco telefonico"), QStringLiteral("elenco_telefonico.qnf"),
         QStringLiteral("Capofamiglia")},
        {QStringLiteral("Scadenze ISEE"), QStringLiteral("scadenze_isee.qnf"),
         QStringLiteral("\"[Scad_ISEE] ASC\",Capofamiglia")},
        {QStringLiteral("Schede con nucleo familiare"), QStringLiteral("schede_nucleo.qnf"),
         QStringLiteral("Capofamiglia")},
        {QStringLiteral("Etichette indirizzi"), QStringLiteral("etichette_indirizzi.qnf"),
         QStringLiteral("Capofamiglia")},
        {QStringLiteral("Statistiche"), QStringLiteral("statistiche.qnf"), QStringLiteral("Capofamiglia")}};
    return rows;
}

} // namespace cli::standard
