// The typical edit, as a user makes it with keyboard and mouse: find a household in the list,
// open its card, add a new card, fill it in, add two members with the pick lists, change page,
// and find everything again after a restart.

#include "CardPageTestSupport.h"

#include "controls/GridColumn.h"
#include "controls/GridInplaceEdit.h"
#include "controls/TDBCheckBox.h"
#include "controls/TDBDateEdit.h"
#include "controls/TDBLookupCombo.h"
#include "controls/TDBMemo.h"
#include "controls/TDBNavStrip.h"
#include "controls/TExDBGrid.h"
#include "db/TField.h"
#include "forms/main/CardPage.h"
#include "forms/main/ListPage.h"

#include <QApplication>
#include <QKeyEvent>
#include <QLineEdit>
#include <QAbstractButton>
#include <QStackedWidget>

namespace {

using cardtest::household;

void key(QWidget *widget, int key, Qt::KeyboardModifiers mods = Qt::NoModifier)
{
    QWidget *target = widget->window()->focusWidget();
    QKeyEvent press(QEvent::KeyPress, key, mods);
    QApplication::sendEvent(target ? target : widget, &press);
}

class MainWindowSessionTest : public cardtest::WindowTest {
protected:
    void SetUp() override
    {
        cardtest::createArchive(archive(), {household(QStringLiteral("P-1"), QStringLiteral("Rossi Mario")),
                                            household(QStringLiteral("P-2"), QStringLiteral("Bianchi Anna"))});
    }

    static void typeInto(QWidget *widget, const QString &text)
    {
        widget->setFocus();
        apptest::typeText(widget, text);
    }

    // The grid's current cell takes the entry from its column's pick list.
    static void pick(TExDBGrid *grid, const QString &entry)
    {
        key(grid, Qt::Key_F2);
        key(grid, Qt::Key_Down, Qt::AltModifier);
        GridInplaceEdit *editor = grid->inplaceEditor();
        ASSERT_TRUE(editor && editor->listVisible());
        const int row = grid->selectedColumn()->pickList().indexOf(entry);
        ASSERT_GE(row, 0) << entry.toStdString();
        editor->pickList()->setCurrentRow(row);
        QKeyEvent enter(QEvent::KeyPress, Qt::Key_Return, Qt::NoModifier);
        QApplication::sendEvent(editor->pickList(), &enter);
        // Enter again hands the cell to the field and closes the editor.
        key(grid, Qt::Key_Return);
    }

    static void addMember(TExDBGrid *grid, const QString &name, const QString &role, const QString &job,
                          const QString &birth)
    {
        if (grid->editorMode())
            key(grid, Qt::Key_Return);
        key(grid, Qt::Key_Home);
        apptest::typeText(grid, name);
        key(grid, Qt::Key_Right);
        pick(grid, role);
        key(grid, Qt::Key_Right);
        pick(grid, job);
        key(grid, Qt::Key_Right);
        apptest::typeText(grid, birth);
    }

    static void searchAndOpen(Tfrm_main &window, const QString &typed)
    {
        window.barButton(Tfrm_main::cmdLista)->click();
        typeInto(window.listPage()->cerca(), typed);
        cardtest::doubleClickCell(window.listPage()->grid_anagrafica(), 1, 1);
    }
};

TEST_F(MainWindowSessionTest, NewCardWithTwoMembersIsStoredWithItsSummary)
{
    const QString summary = QStringLiteral("Maria (Madre,Casalinga) 41\rLuca (Figlio,Studente) 1\r");
    {
        const auto window = start();
        showActive(*window);
        CardPage *card = window->cardPage();
        TArcTable &cards = window->data().Anagrafica();

        searchAndOpen(*window, QStringLiteral("bianchi"));
        ASSERT_EQ(window->pages()->currentWidget(), card);
        ASSERT_EQ(card->edit(QStringLiteral("Capofamiglia"))->text(), QStringLiteral("Bianchi Anna"));

        // A relative's household: it matches the search still in force, so it stays in view.
        window->nav_anagrafica()->btnClick(TNavStripBtn::nbInsert);
        ASSERT_EQ(cards.state(), TDataSetState::dsInsert);
        typeInto(card->edit(QStringLiteral("Protocollo")), QStringLiteral("P-9"));
        typeInto(card->ed_inizio(), QStringLiteral("01/02/2024"));
        card->cb_fascia()->setFocus();
        key(card->cb_fascia(), Qt::Key_Down);
        typeInto(card->edit(QStringLiteral("Capofamiglia")), QStringLiteral("Bianchi Luigi"));
        typeInto(card->edit(QStringLiteral("Citta")), QStringLiteral("Torino"));
        card->ck(2)->click();
        typeInto(card->memo(0), QStringLiteral("Pacco mensile"));

        TExDBGrid *members = card->grid_nucleo();
        members->setFocus();
        QApplication::processEvents();
        const qint64 key = cards.fieldByName(QStringLiteral("ID_SCHEDA"))->asInteger();
        EXPECT_GT(key, 2);
        EXPECT_EQ(cards.state(), TDataSetState::dsEdit);

        addMember(members, QStringLiteral("Maria"), QStringLiteral("Madre"), QStringLiteral("Casalinga"),
                  QStringLiteral("10/03/1983"));
        ::key(members, Qt::Key_Down);
        addMember(members, QStringLiteral("Luca"), QStringLiteral("Figlio"), QStringLiteral("Studente"),
                  QStringLiteral("15/06/2023"));

        window->barButton(Tfrm_main::cmdLista)->click();

        EXPECT_EQ(window->pages()->currentWidget(), window->tb_lista());
        EXPECT_EQ(cards.state(), TDataSetState::dsBrowse);
        EXPECT_EQ(cards.fieldByName(QStringLiteral("Nucleo"))->asString(), summary);
        const cardtest::ArchiveAccess stored(archive());
        const QString ofCard = QStringLiteral("[ID_SCHEDA] = %1").arg(key);
        EXPECT_EQ(stored.texts(QStringLiteral("Anagrafica"), QStringLiteral("Nucleo"), ofCard), QStringList{summary});
        EXPECT_EQ(stored.texts(QStringLiteral("Nucleo"), QStringLiteral("Nome"), ofCard),
                  (QStringList{"Maria", "Luca"}));
        EXPECT_EQ(cards.fieldByName(QStringLiteral("Fascia"))->asString(), QStringLiteral("A"));
        window->close();
        EXPECT_TRUE(m_messages.errors().isEmpty()) << m_messages.errors().join(" | ").toStdString();
    }

    const auto window = start();
    showActive(*window);
    searchAndOpen(*window, QStringLiteral("luigi"));
    CardPage *card = window->cardPage();
    ASSERT_EQ(window->pages()->currentWidget(), card);
    EXPECT_EQ(card->edit(QStringLiteral("Protocollo"))->text(), QStringLiteral("P-9"));
    EXPECT_EQ(card->edit(QStringLiteral("Capofamiglia"))->text(), QStringLiteral("Bianchi Luigi"));
    EXPECT_EQ(card->edit(QStringLiteral("Citta"))->text(), QStringLiteral("Torino"));
    EXPECT_EQ(card->ed_inizio()->text(), QStringLiteral("01/02/2024"));
    EXPECT_EQ(card->cb_fascia()->currentText(), QStringLiteral("A"));
    EXPECT_TRUE(card->ck(2)->isChecked());
    EXPECT_FALSE(card->ck(1)->isChecked());
    EXPECT_EQ(card->memo(0)->toPlainText(), QStringLiteral("Pacco mensile"));
    EXPECT_EQ(window->data().Anagrafica().fieldByName(QStringLiteral("Nucleo"))->asString(), summary);

    TArcTable &members = window->data().Nucleo();
    EXPECT_EQ(cardtest::visibleValues(members, QStringLiteral("Nome")), (QStringList{"Maria", "Luca"}));
    EXPECT_EQ(cardtest::visibleValues(members, QStringLiteral("Ruolo")), (QStringList{"Madre", "Figlio"}));
    EXPECT_EQ(cardtest::visibleValues(members, QStringLiteral("Lavoro")), (QStringList{"Casalinga", "Studente"}));
    EXPECT_EQ(cardtest::visibleValues(members, QStringLiteral("Data_nascita")),
              (QStringList{"10/03/1983", "15/06/2023"}));
    EXPECT_EQ(cardtest::visibleValues(members, QStringLiteral("Eta")), (QStringList{"41", "1"}));
    EXPECT_TRUE(m_messages.errors().isEmpty()) << m_messages.errors().join(" | ").toStdString();
}

} // namespace
