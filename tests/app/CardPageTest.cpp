// The card page's controls: what each is bound to, in which tab order and under which
// caption, and how each reads and writes its field.

#include "CardPageTestSupport.h"

#include "archive/StandardRows.h"
#include "controls/GridColumn.h"
#include "controls/TDBCheckBox.h"
#include "controls/TDBDateEdit.h"
#include "controls/TDBLookupCombo.h"
#include "controls/TDBMemo.h"
#include "controls/TDBNavStrip.h"
#include "controls/TExDBGrid.h"
#include "db/TField.h"
#include "forms/main/CardPage.h"

#include <QApplication>
#include <QCalendarWidget>
#include <QLabel>
#include <QAbstractButton>
#include <QStackedWidget>
#include <QTabWidget>

namespace {

using cardtest::household;

QStringList standard(const std::vector<QString> &rows) { return QStringList(rows.begin(), rows.end()); }

class CardPageTest : public cardtest::WindowTest {
protected:
    void SetUp() override
    {
        cli::Household first = household(QStringLiteral("P-1"), QStringLiteral("Rossi Mario"));
        first.fascia = QStringLiteral("B");
        first.gruppi = {true, false, false, false, false, true};
        first.note = QStringLiteral("prima riga\rseconda riga");
        cardtest::createArchive(archive(), {first, household(QStringLiteral("P-2"), QStringLiteral("Bianchi Anna"))});
    }

    TField *cardField(Tfrm_main &window, const char *name)
    {
        return window.data().Anagrafica().fieldByName(QString::fromLatin1(name));
    }
};

// The controls in tab order, each with the field it edits; Tab walks them in that order as
// far as the memo tabs (the member navigator takes no focus).
TEST_F(CardPageTest, ControlsFollowTheCardsTabOrderEachBoundToItsField)
{
    const auto window = start();
    showActive(*window);
    CardPage *page = window->cardPage();
    const QStringList fields{"Protocollo", "Inizio", "Fascia", "Capofamiglia", "Indirizzo", "Citta", "Telefono",
                             "Cellulare", "Email", "Referente", "Paese_di_origine", "Abitazione",
                             "Figli_in_patria", "Scad_ISEE", "", "G1", "G2", "G3", "G4", "G5", "G6", "G6_altri"};
    const QList<QWidget *> order = page->tabOrder();
    ASSERT_EQ(order.size(), 24);
    for (int tab = 0; tab < fields.size(); ++tab) {
        if (auto *edit = qobject_cast<TDBEdit *>(order[tab]))
            EXPECT_EQ(edit->dataField(), fields[tab]) << tab;
        else if (auto *box = qobject_cast<TDBCheckBox *>(order[tab]))
            EXPECT_EQ(box->dataField(), fields[tab]) << tab;
        else if (auto *combo = qobject_cast<TDBLookupCombo *>(order[tab]))
            EXPECT_EQ(combo->dataField(), fields[tab]) << tab;
        else
            EXPECT_EQ(order[tab], page->grid_nucleo()) << tab;
    }
    EXPECT_EQ(order[22], page->memoTabs());
    EXPECT_EQ(order[23], page->DBNavStrip1());
    EXPECT_EQ(window->ck(6), page->ck(6));

    for (int tab = 0; tab + 2 < order.size(); ++tab) {
        order[tab]->setFocus(Qt::TabFocusReason);
        apptest::pressKey(order[tab], Qt::Key_Tab);
        QWidget *focused = QApplication::focusWidget();
        EXPECT_TRUE(focused == order[tab + 1] || order[tab + 1]->isAncestorOf(focused)) << tab;
    }
    EXPECT_TRUE(m_messages.errors().isEmpty());
}

TEST_F(CardPageTest, CaptionsAreTheItalianOnes)
{
    const auto window = start();
    QStringList captions;
    for (const QLabel *label : window->cardPage()->findChildren<QLabel *>())
        captions << label->text();
    for (const char *caption : {"Numero Protocollo", "Inizio", "Fascia", "Nucleo familiare", "Telef.", "Cell.",
                                "Email", "Persona di contatto", "Paese di origine", "Situazione abitativa",
                                "Figli in patria", "Scadenza ISEE", "Composizione nucleo familiare",
                                "Assistiti anche da :"})
        EXPECT_TRUE(captions.contains(QString::fromUtf8(caption))) << caption;
    EXPECT_EQ(captions.size(), 14);
    EXPECT_EQ(window->ck(1)->text(), QStringLiteral("Caritas"));
    EXPECT_EQ(window->ck(6)->text(), QStringLiteral("Altri enti"));
}

// The first two captions do not say which field they show; the office works with them so.
TEST_F(CardPageTest, MemoTabsCarryTheirCaptionsOverTheirFields)
{
    const auto window = start();
    QTabWidget *tabs = window->cardPage()->memoTabs();
    ASSERT_EQ(tabs->count(), 3);
    const std::pair<QString, QString> expected[] = {{QStringLiteral("Necessità"), QStringLiteral("Note")},
                                                    {QStringLiteral("Note"), QStringLiteral("Necessita_alimentari")},
                                                    {QStringLiteral("Altro"), QStringLiteral("Ascolto")}};
    for (int tab = 0; tab < 3; ++tab) {
        EXPECT_EQ(tabs->tabText(tab), expected[tab].first);
        EXPECT_EQ(tabs->widget(tab), window->cardPage()->memo(tab));
        EXPECT_EQ(window->cardPage()->memo(tab)->dataField(), expected[tab].second);
        EXPECT_EQ(window->cardPage()->memo(tab)->verticalScrollBarPolicy(), Qt::ScrollBarAlwaysOn);
    }
}

TEST_F(CardPageTest, EditsShowTheCurrentCardAndFollowTheNavigator)
{
    const auto window = start();
    CardPage *page = window->cardPage();
    EXPECT_EQ(page->edit(QStringLiteral("Capofamiglia"))->text(), QStringLiteral("Rossi Mario"));
    EXPECT_TRUE(page->ck(1)->isChecked());
    EXPECT_FALSE(page->ck(2)->isChecked());
    EXPECT_TRUE(page->ck(6)->isChecked());
    EXPECT_EQ(page->cb_fascia()->currentText(), QStringLiteral("B"));
    EXPECT_EQ(page->memo(0)->toPlainText(), QStringLiteral("prima riga\nseconda riga"));

    window->nav_anagrafica()->btnClick(TNavStripBtn::nbNext);
    EXPECT_EQ(page->edit(QStringLiteral("Capofamiglia"))->text(), QStringLiteral("Bianchi Anna"));
    EXPECT_FALSE(page->ck(1)->isChecked());
    EXPECT_EQ(page->cb_fascia()->currentIndex(), -1);
    EXPECT_EQ(page->memo(0)->toPlainText(), QString());
    EXPECT_EQ(page->ed_inizio()->text(), QString());
}

TEST_F(CardPageTest, TypingPutsTheCardIntoEditAndLeavingTheEditWritesTheField)
{
    const auto window = start();
    showActive(*window);
    TDBEdit *head = window->cardPage()->edit(QStringLiteral("Capofamiglia"));
    head->setFocus();
    head->end(false);
    apptest::typeText(head, QStringLiteral(" jr"));
    EXPECT_EQ(window->data().Anagrafica().state(), TDataSetState::dsEdit);
    EXPECT_EQ(head->text(), QStringLiteral("Rossi Mario jr"));
    EXPECT_EQ(cardField(*window, "Capofamiglia")->asString(), QStringLiteral("Rossi Mario"));

    window->cardPage()->edit(QStringLiteral("Indirizzo"))->setFocus();
    EXPECT_EQ(cardField(*window, "Capofamiglia")->asString(), QStringLiteral("Rossi Mario jr"));
    EXPECT_EQ(head->maxLength(), 100);
    EXPECT_TRUE(m_messages.errors().isEmpty());
}

TEST_F(CardPageTest, EscapeBringsTheFieldsValueBack)
{
    const auto window = start();
    showActive(*window);
    TDBEdit *protocol = window->cardPage()->edit(QStringLiteral("Protocollo"));
    protocol->setFocus();
    apptest::typeText(protocol, QStringLiteral("9"));
    apptest::pressKey(protocol, Qt::Key_Escape);
    EXPECT_EQ(protocol->text(), QStringLiteral("P-1"));
    window->cardPage()->edit(QStringLiteral("Indirizzo"))->setFocus();
    EXPECT_EQ(cardField(*window, "Protocollo")->asString(), QStringLiteral("P-1"));
}

struct DateEntry {
    const char *name;
    const char *typed;
    const char *stored;   // the field's text afterwards; empty means null
};

void PrintTo(const DateEntry &e, std::ostream *os) { *os << e.name; }

class CardPageDateTest : public CardPageTest, public testing::WithParamInterface<DateEntry> {};

TEST_P(CardPageDateTest, TypedDateIsWrittenOnLeaving)
{
    const auto window = start();
    showActive(*window);
    TField *start = cardField(*window, "Inizio");
    window->data().Anagrafica().edit();
    start->setAsString(QStringLiteral("01/02/2020"));
    TDBDateEdit *edit = window->cardPage()->ed_inizio();
    ASSERT_EQ(edit->text(), QStringLiteral("01/02/2020"));
    edit->setFocus();
    edit->selectAll();
    apptest::pressKey(edit, Qt::Key_Backspace);
    apptest::typeText(edit, QString::fromLatin1(GetParam().typed));
    window->cardPage()->edit(QStringLiteral("Citta"))->setFocus();

    EXPECT_EQ(start->isNull(), QByteArray(GetParam().stored).isEmpty());
    EXPECT_EQ(start->asString(), QString::fromLatin1(GetParam().stored));
}

INSTANTIATE_TEST_SUITE_P(Entries, CardPageDateTest,
                         testing::Values(DateEntry{"Date", "24/12/2023", "24/12/2023"},
                                         DateEntry{"Empty", "", ""},
                                         DateEntry{"Blanks", "   ", ""}),
                         [](const testing::TestParamInfo<DateEntry> &info) { return std::string(info.param.name); });

TEST_F(CardPageTest, CalendarOpensOnTheShownDateAndWritesThePickedDay)
{
    const auto window = start();
    showActive(*window);
    TDBDateEdit *edit = window->cardPage()->ed_scadISEE();
    EXPECT_TRUE(cardField(*window, "Scad_ISEE")->isNull());

    edit->calendarButton()->trigger();
    ASSERT_NE(edit->calendar(), nullptr);
    EXPECT_TRUE(edit->calendar()->isVisible());
    EXPECT_EQ(edit->calendar()->selectedDate(), QDate::currentDate());
    edit->pickDate(QDate(2025, 3, 31));

    EXPECT_FALSE(edit->calendar() && edit->calendar()->isVisible());
    EXPECT_EQ(window->data().Anagrafica().state(), TDataSetState::dsEdit);
    EXPECT_EQ(cardField(*window, "Scad_ISEE")->asDateTime().date(), QDate(2025, 3, 31));
    EXPECT_EQ(edit->text(), QStringLiteral("31/03/2025"));

    edit->calendarButton()->trigger();
    EXPECT_EQ(edit->calendar()->selectedDate(), QDate(2025, 3, 31));
    edit->calendar()->close();
}

TEST_F(CardPageTest, CheckBoxWritesTrueAndFalseAtOnce)
{
    const auto window = start();
    TDBCheckBox *box = window->cardPage()->ck(2);
    box->click();
    EXPECT_EQ(window->data().Anagrafica().state(), TDataSetState::dsEdit);
    EXPECT_EQ(cardField(*window, "G2")->valueText(), QStringLiteral("True"));
    box->click();
    EXPECT_EQ(cardField(*window, "G2")->valueText(), QStringLiteral("False"));
    EXPECT_FALSE(box->isChecked());
}

// The band table is listed by its own order, not alphabetically.
TEST_F(CardPageTest, BandDropDownListsTheBandsInTheirOrderAndWritesTheChoice)
{
    cardtest::ArchiveAccess(archive()).set(QStringLiteral("Fascia"), QStringLiteral("[Fascia] = \"D\""),
                                           QStringLiteral("Ordine"), dao::Value(0));
    const auto window = start();
    TDBLookupCombo *band = window->cardPage()->cb_fascia();
    EXPECT_EQ(band->listValues(), (QStringList{"D", "A", "B", "C"}));
    EXPECT_FALSE(band->isEditable());

    band->setCurrentIndex(0);
    emit band->activated(0);
    EXPECT_EQ(window->data().Anagrafica().state(), TDataSetState::dsEdit);
    EXPECT_EQ(cardField(*window, "Fascia")->asString(), QStringLiteral("D"));
    EXPECT_EQ(window->data().Fascia().state(), TDataSetState::dsBrowse);
}

TEST_F(CardPageTest, BandDropDownOffersABandAddedMeanwhile)
{
    const auto window = start();
    TArcTable &bands = window->data().Fascia();
    bands.append();
    bands.fieldByName(QStringLiteral("Fascia"))->setAsString(QStringLiteral("E"));
    bands.fieldByName(QStringLiteral("Ordine"))->setAsInteger(9);
    bands.post();
    EXPECT_EQ(window->cardPage()->cb_fascia()->listValues(), standard(cli::standard::bands()) << QStringLiteral("E"));
}

// An edited record's memo reads back the archive's text until the post, so the check is
// made on what the post stored.
TEST_F(CardPageTest, MemoStoresLineBreaksAsCarriageReturnLineFeed)
{
    const auto window = start();
    showActive(*window);
    window->cardPage()->memoTabs()->setCurrentIndex(2);
    TDBMemo *memo = window->cardPage()->memo(2);
    memo->setFocus();
    memo->insertPlainText(QStringLiteral("uno\ndue"));
    EXPECT_EQ(window->data().Anagrafica().state(), TDataSetState::dsEdit);
    window->cardPage()->edit(QStringLiteral("Citta"))->setFocus();
    window->data().Anagrafica().post();
    EXPECT_EQ(cardtest::ArchiveAccess(archive()).texts(QStringLiteral("Anagrafica"), QStringLiteral("Ascolto")).first(),
              QStringLiteral("uno\r\ndue"));
    EXPECT_EQ(memo->toPlainText(), QStringLiteral("uno\ndue"));
}

TEST_F(CardPageTest, MemberGridHasItsColumnsTitlesAndPickLists)
{
    const auto window = start();
    TExDBGrid *grid = window->cardPage()->grid_nucleo();
    EXPECT_EQ(grid->objectName(), QStringLiteral("grid_nucleo"));
    EXPECT_EQ(grid->dataSource(), &window->data().ds_nucleo());
    ASSERT_EQ(grid->columns().count(), 5);
    const QStringList fields{"Nome", "Ruolo", "Lavoro", "Data_nascita", "Eta"};
    const QStringList titles{"Nome", "Ruolo", "Lavoro", "Data Nascita", QString::fromUtf8("Età")};
    for (int c = 0; c < 5; ++c) {
        EXPECT_EQ(grid->columns().at(c)->fieldName(), fields[c]);
        EXPECT_EQ(grid->columns().at(c)->title().caption(), titles[c]);
    }
    EXPECT_EQ(grid->columns().at(3)->alignment(), Qt::AlignHCenter);
    EXPECT_EQ(grid->columns().at(3)->title().alignment(), Qt::AlignHCenter);
    EXPECT_EQ(grid->columns().at(1)->pickList(), standard(cli::standard::roles()));
    EXPECT_EQ(grid->columns().at(2)->pickList(), standard(cli::standard::occupations()));
    EXPECT_TRUE(grid->columns().at(0)->pickList().isEmpty());

    EXPECT_EQ(grid->options(), defaultGridOptions());
    EXPECT_EQ(grid->rowColor1(), QColor(111, 255, 186));
    EXPECT_FALSE(grid->useRowColors());
    EXPECT_FALSE(grid->displayDateTime());

    TDBNavStrip *nav = window->cardPage()->DBNavStrip1();
    EXPECT_EQ(nav->dataSource(), &window->data().ds_nucleo());
    EXPECT_EQ(nav->glyphSize(), TNavGlyphSize::gsSmall);
    EXPECT_EQ(nav->size(), QSize(200, 18));
}

} // namespace
