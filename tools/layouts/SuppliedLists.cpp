// Every list prints its title and date, the column titles on each page, the cards of the
// list's order that the selection accepts, and "Pagina N di M" at the foot. Fields are
// named as the designer writes them: the dataset, a point and the field in double quotes.

#include "tools/layouts/SuppliedLists.h"

#include "output/report/file/LayoutWriter.h"
#include "tools/layouts/LayoutKit.h"

#include <functional>
#include <map>

namespace layouts {

namespace {

using Build = std::function<void(TqnLayout &)>;

QString card(const char *field) { return QStringLiteral("[Anagrafica.\"%1\"]").arg(QLatin1String(field)); }
QString member(const char *field) { return QStringLiteral("[Nucleo.\"%1\"]").arg(QLatin1String(field)); }

// The count of printed cards after the last one.
void cardTotal(PageKit &kit)
{
    kit.band(TqnBandType::btReportSummary, 26);
    kit.rule(2);
    kit.text(kLeft, 6, 300, QStringLiteral("Schede stampate: [COUNT()]"), 9, fsBold);
}

TqnPage &listPage(TqnLayout &layout)
{
    layout.TwoPass = 1;   // "di M" needs the page count
    boundSource(layout, QStringLiteral("Anagrafica"), QStringLiteral("Schede"));
    declareCriteria(layout);
    return layout.Pages.front();
}

const QString kCity = QStringLiteral("Città");

void byHeadOfHousehold(TqnLayout &layout)
{
    PageKit kit(listPage(layout));
    const ListColumns columns{{38, 70, "Protocollo", card("Protocollo")},
                              {110, 136, "Capofamiglia", card("Capofamiglia")},
                              {248, 178, "Indirizzo", card("Indirizzo")},
                              {428, 122, kCity, card("Citta")},
                              {552, 158, "Telefoni", card("Telefono") + QLatin1Char(' ') + card("Cellulare")},
                              {712, 44, "Fascia", card("Fascia")}};
    listHead(kit, QStringLiteral("Elenco delle schede per capofamiglia"), columns);
    // Two telephone numbers need the smaller type to share one line.
    kit.band(TqnBandType::btMasterData, 18, QStringLiteral("Schede")).BandOptions = TqnBandView::boStretch;
    listRow(kit, columns, 1, 8);
    cardTotal(kit);
    listFoot(kit);
}

void byBand(TqnLayout &layout)
{
    PageKit kit(listPage(layout));
    const ListColumns columns{{38, 70, "Protocollo", card("Protocollo")},
                              {110, 154, "Capofamiglia", card("Capofamiglia")},
                              {266, 200, "Indirizzo", card("Indirizzo")},
                              {468, 130, kCity, card("Citta")},
                              {600, 156, "Telefono", card("Telefono")}};
    listHead(kit, QStringLiteral("Elenco delle schede per fascia"), columns);
    // A band whose cards go on over a page is named again at the top of the next.
    TqnBandView &group = kit.band(TqnBandType::btGroupHeader, 26);
    group.GroupCondition = QStringLiteral("Anagrafica.\"Fascia\"");
    group.BandOptions = TqnBandView::boRepeat;
    kit.text(38, 4, 300, QStringLiteral("Fascia ") + card("Fascia"), 10, fsBold);
    kit.band(TqnBandType::btMasterData, 20, QStringLiteral("Schede")).BandOptions = TqnBandView::boStretch;
    listRow(kit, columns);
    kit.band(TqnBandType::btGroupFooter, 24);
    kit.text(100, 2, 400, QStringLiteral("Schede della fascia ") + card("Fascia") + QStringLiteral(": [COUNT()]"), 9,
             fsItalic);
    cardTotal(kit);
    listFoot(kit);
}

void telephones(TqnLayout &layout)
{
    PageKit kit(listPage(layout));
    const ListColumns columns{{38, 160, "Capofamiglia", card("Capofamiglia")},
                              {200, 150, "Referente", card("Referente")},
                              {352, 100, "Telefono", card("Telefono")},
                              {454, 100, "Cellulare", card("Cellulare")},
                              {556, 200, "Email", card("Email")}};
    listHead(kit, QStringLiteral("Elenco telefonico"), columns);
    kit.band(TqnBandType::btMasterData, 20, QStringLiteral("Schede")).BandOptions = TqnBandView::boStretch;
    listRow(kit, columns);
    cardTotal(kit);
    listFoot(kit);
}

// Cards without a date are left out; a date already past is printed in bold.
void isseExpiry(TqnLayout &layout)
{
    PageKit kit(listPage(layout));
    auto *cards = static_cast<TqnDBDataSet *>(layout.DataSets.find(QStringLiteral("Schede")));
    cards->Filtered = true;
    cards->Filter = QStringLiteral("Anagrafica.\"Scad_ISEE\" > 0");
    const ListColumns columns{{38, 84, "Scadenza", card("Scad_ISEE")},
                              {132, 70, "Protocollo", card("Protocollo")},
                              {204, 174, "Capofamiglia", card("Capofamiglia")},
                              {380, 126, "Telefono", card("Telefono")},
                              {508, 126, "Cellulare", card("Cellulare")},
                              {642, 60, "Fascia", card("Fascia")}};
    listHead(kit, QStringLiteral("Scadenze delle dichiarazioni ISEE"), columns);
    kit.band(TqnBandType::btMasterData, 20, QStringLiteral("Schede")).BandOptions = TqnBandView::boStretch;
    TqnMemoView &expiry = listRow(kit, columns);
    expiry.HighlightCondition = QStringLiteral("Anagrafica.\"Scad_ISEE\" < DATE");
    expiry.HighlightFontStyle = fsBold;
    cardTotal(kit);
    listFoot(kit);
}

// Each card, then its members over the member table that follows the current card.
void withMembers(TqnLayout &layout)
{
    PageKit kit(listPage(layout));
    boundSource(layout, QStringLiteral("Nucleo"), QStringLiteral("Componenti"));
    const ListColumns cardColumns{{38, 70, "Protocollo", card("Protocollo")},
                                  {110, 190, "Capofamiglia", card("Capofamiglia")}};
    const ListColumns placeColumns{{302, 200, "Indirizzo", card("Indirizzo")},
                                   {504, 150, kCity, card("Citta")},
                                   {656, 100, "Fascia", card("Fascia")}};
    ListColumns titles = cardColumns;
    titles.insert(titles.end(), placeColumns.begin(), placeColumns.end());
    listHead(kit, QStringLiteral("Schede con il nucleo familiare"), titles);
    kit.band(TqnBandType::btMasterData, 24, QStringLiteral("Schede")).BandOptions = TqnBandView::boStretch;
    listRow(kit, cardColumns, 4, 9, fsBold);
    listRow(kit, placeColumns, 4);
    const ListColumns members{{100, 200, "Componente", member("Nome")},
                              {302, 120, "Ruolo", member("Ruolo")},
                              {424, 140, "Occupazione", member("Lavoro")},
                              {566, 90, "Nato il", member("Data_nascita")}};
    // The members' column titles head each page a large household goes on to.
    kit.band(TqnBandType::btDetailHeader, 18).BandOptions = TqnBandView::boRepeat;
    for (const ListColumn &c : members)
        kit.text(c.x, 0, c.width, c.caption, 8, fsItalic);
    kit.text(658, 0, 40, QStringLiteral("Età"), 8, fsItalic, taRight);
    kit.band(TqnBandType::btDetailData, 19, QStringLiteral("Componenti")).BandOptions = TqnBandView::boStretch;
    listRow(kit, members, 0);
    kit.text(658, 0, 40, member("Eta"), 9, 0, taRight);
    cardTotal(kit);
    listFoot(kit);
}

// Sheets of 3 x 7 labels of 63.5 x 38.1 mm; title and page number print on the sheet's
// edges above and below the labels.
void addressLabels(TqnLayout &layout)
{
    TqnPage &page = listPage(layout);
    page.Paper.Left = page.Paper.Right = 72;
    page.Paper.Top = page.Paper.Bottom = 50;
    page.Columns = 3;
    page.ColumnGap = 25;
    PageKit kit(page);
    kit.band(TqnBandType::btPageHeader, 38);
    kit.text(28, 4, 400, QStringLiteral("Etichette indirizzi"), 8, fsBold);
    kit.text(560, 4, 200, QStringLiteral("Stampato il [DATE]"), 8, 0, taRight);
    kit.band(TqnBandType::btMasterData, 144, QStringLiteral("Schede")).BandOptions = TqnBandView::boStretch;
    kit.text(44, 40, 210, card("Capofamiglia"), 10, fsBold);
    kit.text(44, 66, 210, card("Indirizzo"), 10);
    kit.text(44, 90, 210, card("Citta"), 10);
    kit.band(TqnBandType::btPageFooter, 38);
    kit.text(560, 18, 200, QStringLiteral("Pagina [PAGE#] di [TOTALPAGES]"), 8, 0, taRight);
}

// The office's figures at the date asked when the list is chosen, over the cards the
// selection accepts: one section under the other, each with its items and their counts.
void statistics(TqnLayout &layout)
{
    layout.TwoPass = 1;
    boundSource(layout, QStringLiteral("Statistiche"), QStringLiteral("Figure"));
    declareCriteria(layout);
    PageKit kit(layout.Pages.front());
    const auto figure = [](const char *field) { return QStringLiteral("[Statistiche.\"%1\"]").arg(QLatin1String(field)); };
    kit.band(TqnBandType::btPageHeader, 30);
    kit.text(kLeft, 0, 480, QStringLiteral("Statistiche"), 14, fsBold);
    kit.text(kRight - 200, 8, 200, QStringLiteral("Stampato il [DATE]"), 8, 0, taRight);
    // The header prints once the figures are counted, so it can show their date.
    kit.band(TqnBandType::btMasterHeader, 46);
    kit.text(kLeft, 0, 480, QStringLiteral("Alla data del ") + figure("Data_riferimento"), 10, fsBold);
    kit.text(kRight - 300, 2, 300, QStringLiteral("[CRITERI]"), 7, fsItalic, taRight);
    kit.text(80, 26, 400, QStringLiteral("Voce"), 8, fsBold);
    kit.text(560, 26, 100, QStringLiteral("Valore"), 8, fsBold, taRight);
    kit.rule(44);
    TqnBandView &section = kit.band(TqnBandType::btGroupHeader, 26);
    section.GroupCondition = QStringLiteral("Statistiche.\"Sezione\"");
    kit.text(kLeft, 6, 500, figure("Sezione"), 10, fsBold);
    kit.band(TqnBandType::btMasterData, 18, QStringLiteral("Figure"));
    kit.text(80, 1, 470, figure("Voce"));
    kit.text(560, 1, 100, figure("Valore"), 9, 0, taRight);
    listFoot(kit);
}

const std::map<QString, Build> &builders()
{
    static const std::map<QString, Build> all = {
        {QStringLiteral("elenco_capofamiglia.qnf"), byHeadOfHousehold},
        {QStringLiteral("elenco_fascia.qnf"), byBand},
        {QStringLiteral("elenco_telefonico.qnf"), telephones},
        {QStringLiteral("scadenze_isee.qnf"), isseExpiry},
        {QStringLiteral("schede_nucleo.qnf"), withMembers},
        {QStringLiteral("etichette_indirizzi.qnf"), addressLabels},
        {QStringLiteral("statistiche.qnf"), statistics},
    };
    return all;
}

} // namespace

QStringList suppliedLayouts()
{
    QStringList names;
    for (const auto &[name, build] : builders())
        names << name;
    return names;
}

QByteArray suppliedLayoutBytes(const QString &tracciato)
{
    const auto found = builders().find(tracciato);
    if (found == builders().end())
        return {};
    TqnLayout layout;
    found->second(layout);
    layout.FileName = tracciato;
    return writeLayout(layout, QString());
}

} // namespace layouts
