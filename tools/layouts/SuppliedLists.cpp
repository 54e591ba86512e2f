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
    return layout.Pages.front();
}

void byHeadOfHousehold(TqnLayout &layout)
{
    PageKit kit(listPage(layout));
    listHead(kit, QStringLiteral("Elenco delle schede per capofamiglia"),
             {{38, 64, "Protocollo"}, {104, 150, "Capofamiglia"}, {256, 180, "Indirizzo"},
              {438, 110, QStringLiteral("Città")}, {550, 160, "Telefoni"}, {712, 44, "Fascia"}});
    // Two telephone numbers need the smaller type to share one line.
    kit.band(TqnBandType::btMasterData, 18, QStringLiteral("Schede"));
    kit.text(38, 1, 64, card("Protocollo"), 8);
    kit.text(104, 1, 150, card("Capofamiglia"), 8);
    kit.text(256, 1, 180, card("Indirizzo"), 8);
    kit.text(438, 1, 110, card("Citta"), 8);
    kit.text(550, 1, 160, card("Telefono") + QLatin1Char(' ') + card("Cellulare"), 8);
    kit.text(712, 1, 44, card("Fascia"), 8);
    cardTotal(kit);
    listFoot(kit);
}

void byBand(TqnLayout &layout)
{
    PageKit kit(listPage(layout));
    listHead(kit, QStringLiteral("Elenco delle schede per fascia"),
             {{38, 64, "Protocollo"}, {104, 160, "Capofamiglia"}, {266, 200, "Indirizzo"},
              {468, 130, QStringLiteral("Città")}, {600, 156, "Telefono"}});
    TqnBandView &group = kit.band(TqnBandType::btGroupHeader, 26);
    group.GroupCondition = QStringLiteral("Anagrafica.\"Fascia\"");
    kit.text(38, 4, 300, QStringLiteral("Fascia ") + card("Fascia"), 10, fsBold);
    kit.band(TqnBandType::btMasterData, 20, QStringLiteral("Schede"));
    kit.text(38, 1, 64, card("Protocollo"));
    kit.text(104, 1, 160, card("Capofamiglia"));
    kit.text(266, 1, 200, card("Indirizzo"));
    kit.text(468, 1, 130, card("Citta"));
    kit.text(600, 1, 156, card("Telefono"));
    kit.band(TqnBandType::btGroupFooter, 24);
    kit.text(100, 2, 400, QStringLiteral("Schede della fascia ") + card("Fascia") + QStringLiteral(": [COUNT()]"), 9,
             fsItalic);
    cardTotal(kit);
    listFoot(kit);
}

void telephones(TqnLayout &layout)
{
    PageKit kit(listPage(layout));
    listHead(kit, QStringLiteral("Elenco telefonico"),
             {{38, 160, "Capofamiglia"}, {200, 150, "Referente"}, {352, 100, "Telefono"}, {454, 100, "Cellulare"},
              {556, 200, "Email"}});
    kit.band(TqnBandType::btMasterData, 20, QStringLiteral("Schede"));
    kit.text(38, 1, 160, card("Capofamiglia"));
    kit.text(200, 1, 150, card("Referente"));
    kit.text(352, 1, 100, card("Telefono"));
    kit.text(454, 1, 100, card("Cellulare"));
    kit.text(556, 1, 200, card("Email"));
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
    listHead(kit, QStringLiteral("Scadenze delle dichiarazioni ISEE"),
             {{38, 84, "Scadenza"}, {132, 64, "Protocollo"}, {198, 180, "Capofamiglia"},
              {380, 126, "Telefono"}, {508, 126, "Cellulare"}, {642, 60, "Fascia"}});
    kit.band(TqnBandType::btMasterData, 20, QStringLiteral("Schede"));
    TqnMemoView &expiry = kit.text(38, 1, 84, card("Scad_ISEE"));
    expiry.HighlightCondition = QStringLiteral("Anagrafica.\"Scad_ISEE\" < DATE");
    expiry.HighlightFontStyle = fsBold;
    kit.text(132, 1, 64, card("Protocollo"));
    kit.text(198, 1, 180, card("Capofamiglia"));
    kit.text(380, 1, 126, card("Telefono"));
    kit.text(508, 1, 126, card("Cellulare"));
    kit.text(642, 1, 60, card("Fascia"));
    cardTotal(kit);
    listFoot(kit);
}

// Each card, then its members over the member table that follows the current card.
void withMembers(TqnLayout &layout)
{
    PageKit kit(listPage(layout));
    boundSource(layout, QStringLiteral("Nucleo"), QStringLiteral("Componenti"));
    listHead(kit, QStringLiteral("Schede con il nucleo familiare"),
             {{38, 64, "Protocollo"}, {104, 196, "Capofamiglia"}, {302, 200, "Indirizzo"},
              {504, 150, QStringLiteral("Città")}, {656, 100, "Fascia"}});
    kit.band(TqnBandType::btMasterData, 24, QStringLiteral("Schede"));
    kit.text(38, 4, 64, card("Protocollo"), 9, fsBold);
    kit.text(104, 4, 196, card("Capofamiglia"), 9, fsBold);
    kit.text(302, 4, 200, card("Indirizzo"));
    kit.text(504, 4, 150, card("Citta"));
    kit.text(656, 4, 100, card("Fascia"));
    kit.band(TqnBandType::btDetailHeader, 18);
    for (const ColumnTitle &c : std::vector<ColumnTitle>{{100, 200, "Componente"}, {302, 120, "Ruolo"},
                                                         {424, 140, "Occupazione"}, {566, 90, "Nato il"}})
        kit.text(c.x, 0, c.width, c.caption, 8, fsItalic);
    kit.text(658, 0, 40, QStringLiteral("Età"), 8, fsItalic, taRight);
    kit.band(TqnBandType::btDetailData, 19, QStringLiteral("Componenti"));
    kit.text(100, 0, 200, member("Nome"));
    kit.text(302, 0, 120, member("Ruolo"));
    kit.text(424, 0, 140, member("Lavoro"));
    kit.text(566, 0, 90, member("Data_nascita"));
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
    kit.band(TqnBandType::btMasterData, 144, QStringLiteral("Schede"));
    kit.text(44, 40, 210, card("Capofamiglia"), 10, fsBold);
    kit.text(44, 66, 210, card("Indirizzo"), 10);
    kit.text(44, 90, 210, card("Citta"), 10);
    kit.band(TqnBandType::btPageFooter, 38);
    kit.text(560, 18, 200, QStringLiteral("Pagina [PAGE#] di [TOTALPAGES]"), 8, 0, taRight);
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
