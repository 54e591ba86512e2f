// The record text the card list searches and the printed lists filter on.

#include "TArcTableTestSupport.h"

#include "db/RecordText.h"
#include "db/TField.h"

namespace {

using table_test::TableTest;

TEST(RecordText, UpperCasesOnlyPlainLetters)
{
    EXPECT_EQ(upperAsciiLetters(QStringLiteral("àbc È zé-9")), QStringLiteral("àBC È Zé-9"));
}

class RecordTextOfACard : public TableTest {
protected:
    RecordTextOfACard() : TableTest(1) {}
};

TEST_F(RecordTextOfACard, JoinsEveryFieldAfterOneBlank)
{
    TArcTable &cards = table(QStringLiteral("Anagrafica"));
    cards.open();
    cards.edit();
    const auto set = [&cards](const char *name, const QString &value) {
        cards.fieldByName(QString::fromLatin1(name))->setAsString(value);
    };
    set("Protocollo", QStringLiteral("1/24"));
    set("Fascia", QStringLiteral("Alta"));
    set("Referente", QString());
    set("Capofamiglia", QStringLiteral("Nicolò D'Angelo"));
    set("Indirizzo", QStringLiteral("Via Roma, 3"));
    set("Citta", QStringLiteral("Città"));
    set("Telefono", QString());
    set("Cellulare", QStringLiteral("333 1234567"));
    set("Email", QStringLiteral("n.dangelo@posta.it"));
    set("Paese_di_origine", QStringLiteral("Italia"));
    set("Figli_in_patria", QString());
    set("Scad_ISEE", QStringLiteral("31/12/2025"));
    set("Nucleo", QStringLiteral("Nicolò D'Angelo - Capofamiglia\r"));
    set("Abitazione", QStringLiteral("Affitto"));
    for (const char *g : {"G1", "G6"})
        set(g, QStringLiteral("True"));
    for (const char *g : {"G2", "G3", "G4", "G5"})
        set(g, QStringLiteral("False"));
    set("G6_altri", QStringLiteral("Caritas"));
    set("Inizio", QString());
    set("Necessita_alimentari", QString());
    set("Note", QStringLiteral("senza glutine, più latte"));
    set("Ascolto", QString());
    cards.post();

    const QStringList parts{QStringLiteral("1"), QStringLiteral("1/24"), QStringLiteral("ALTA"), QString(),
                            QStringLiteral("NICOLò D'ANGELO"), QStringLiteral("VIA ROMA, 3"), QStringLiteral("CITTà"),
                            QString(), QStringLiteral("333 1234567"), QStringLiteral("N.DANGELO@POSTA.IT"),
                            QStringLiteral("ITALIA"), QString(), QStringLiteral("31/12/2025"),
                            QStringLiteral("NICOLò D'ANGELO - CAPOFAMIGLIA\r"), QStringLiteral("AFFITTO"),
                            QStringLiteral("TRUE"), QStringLiteral("FALSE"), QStringLiteral("FALSE"),
                            QStringLiteral("FALSE"), QStringLiteral("FALSE"), QStringLiteral("TRUE"),
                            QStringLiteral("CARITAS"), QString(), QString(), QStringLiteral("SENZA GLUTINE, PIù LATTE"),
                            QString()};
    EXPECT_EQ(recordText(cards), QLatin1Char(' ') + parts.join(QLatin1Char(' ')));
}

} // namespace
