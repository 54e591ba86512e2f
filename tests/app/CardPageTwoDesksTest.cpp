// Two desks on one archive, this one through the card page's own controls (an edit, a memo,
// the member grid), the other saving straight into the archive after this one showed the
// card. The first key typed here is refused with a message naming the card, every control
// then shows the other desk's save, what was typed here stays in the control's undo, and
// what is typed next is saved on top of the other desk's text, never over it. A change made
// elsewhere after the edit began is refused at the save, the typed values kept.

#include "CardPageTestSupport.h"

#include "controls/GridInplaceEdit.h"
#include "controls/TDBEdit.h"
#include "controls/TDBMemo.h"
#include "controls/TExDBGrid.h"
#include "db/TField.h"
#include "forms/ErrorBox.h"
#include "forms/main/CardPage.h"

#include <QApplication>
#include <QTest>

namespace {

using cardtest::household;
using cardtest::member;

constexpr int kNameCol = 1;   // the member grid's "Nome", after the indicator

class CardPageTwoDesks : public cardtest::WindowTest {
protected:
    void SetUp() override
    {
        cli::Household rossi = household(QStringLiteral("P-1"), QStringLiteral("Rossi Mario"));
        rossi.members = {member(QStringLiteral("Maria"), QStringLiteral("Madre"), QStringLiteral("Casalinga"))};
        m_keys = cardtest::createArchive(archive(), {rossi});
        m_window = start();
        showActive(*m_window);
    }

    // The other desk saves a field of the card, or of its first member.
    void otherDeskSaves(const QString &table, const QString &field, const QString &text) const
    {
        cardtest::ArchiveAccess(archive()).set(table, QStringLiteral("[ID_SCHEDA] = %1").arg(m_keys.front()), field,
                                               dao::Value(text));
    }
    QString stored(const QString &table, const QString &field) const
    {
        return cardtest::ArchiveAccess(archive()).texts(table, field).value(0);
    }

    // Keys go to the focused control; what the program's error box would show is recorded,
    // as the application reports an error that leaves an event.
    static void type(const QString &text)
    {
        for (const QChar c : text)
            reported([&] { QTest::keyClick(static_cast<QWidget *>(nullptr), c.toLatin1()); });
    }
    // Ctrl+Z in the focused control until it shows `wanted`; false when it never does.
    template <typename Shown>
    static bool undoUntil(Shown shown, const QString &wanted)
    {
        for (int step = 0; step < 6 && shown() != wanted; ++step)
            reported([] { QTest::keyClick(static_cast<QWidget *>(nullptr), Qt::Key_Z, Qt::ControlModifier); });
        return shown() == wanted;
    }
    template <typename F>
    static void reported(F &&step)
    {
        try {
            step();
        } catch (const std::exception &error) {
            reportUnhandled(nullptr, error);
        }
        QApplication::processEvents();
    }

    void expectToldOnce(const QString &what)
    {
        ASSERT_EQ(m_messages.errors().size(), 1) << m_messages.errors().join(" | ").toStdString();
        EXPECT_TRUE(m_messages.errors().first().contains(what)) << m_messages.errors().first().toStdString();
        EXPECT_TRUE(m_messages.errors().first().contains(QStringLiteral("un'altra postazione")));
    }

    TArcTable &cards() const { return m_window->data().Anagrafica(); }

    std::vector<qint64> m_keys;
    std::unique_ptr<Tfrm_main> m_window;
};

TEST_F(CardPageTwoDesks, TypingInAnEditShownBeforeAnotherDesksSaveKeepsThatSave)
{
    otherDeskSaves(QStringLiteral("Anagrafica"), QStringLiteral("Telefono"), QStringLiteral("06 1234"));
    TDBEdit *phone = m_window->cardPage()->edit(QStringLiteral("Telefono"));
    phone->setFocus();
    type(QStringLiteral("3"));

    expectToldOnce(QStringLiteral("\"Rossi Mario\" (protocollo P-1)"));
    EXPECT_EQ(phone->text(), QStringLiteral("06 1234"));
    EXPECT_EQ(cards().state(), TDataSetState::dsBrowse);

    phone->end(false);
    type(QStringLiteral("9"));
    m_window->cardPage()->edit(QStringLiteral("Citta"))->setFocus();
    cards().post();
    EXPECT_EQ(stored(QStringLiteral("Anagrafica"), QStringLiteral("Telefono")), QStringLiteral("06 12349"));
    // What was typed before the refusal is still in the edit's undo.
    phone->setFocus();
    EXPECT_TRUE(undoUntil([&] { return phone->text(); }, QStringLiteral("3"))) << phone->text().toStdString();
    EXPECT_EQ(m_messages.errors().size(), 1);
}

TEST_F(CardPageTwoDesks, AppendingToAMemoShownBeforeAnotherDesksSaveKeepsThatSave)
{
    otherDeskSaves(QStringLiteral("Anagrafica"), QStringLiteral("Note"), QStringLiteral("Visita del 3 marzo\r\nPacco viveri"));
    TDBMemo *note = m_window->cardPage()->memo(0);
    note->setFocus();
    note->moveCursor(QTextCursor::End);
    type(QStringLiteral("x"));

    expectToldOnce(QStringLiteral("Rossi Mario"));
    EXPECT_EQ(note->toPlainText(), QStringLiteral("Visita del 3 marzo\nPacco viveri"));
    note->moveCursor(QTextCursor::End);
    type(QStringLiteral(" ok"));
    m_window->cardPage()->edit(QStringLiteral("Citta"))->setFocus();
    cards().post();
    EXPECT_EQ(stored(QStringLiteral("Anagrafica"), QStringLiteral("Note")), QStringLiteral("Visita del 3 marzo\r\nPacco viveri ok"));
    note->setFocus();
    EXPECT_TRUE(undoUntil([&] { return note->toPlainText(); }, QStringLiteral("x"))) << note->toPlainText().toStdString();
    EXPECT_EQ(m_messages.errors().size(), 1);
}

TEST_F(CardPageTwoDesks, TypingInTheMemberGridAfterAnotherDeskRenamedTheMemberIsRefused)
{
    otherDeskSaves(QStringLiteral("Nucleo"), QStringLiteral("Nome"), QStringLiteral("Maria Grazia"));
    TExDBGrid *grid = m_window->cardPage()->grid_nucleo();
    QTest::mouseClick(grid->viewport(), Qt::LeftButton, Qt::NoModifier, grid->cellRect(kNameCol, 1).center());
    QApplication::processEvents();
    ASSERT_TRUE(grid->editorMode());
    type(QStringLiteral("M"));

    expectToldOnce(QStringLiteral("\"Maria Grazia\" nel nucleo della scheda \"Rossi Mario\""));
    EXPECT_EQ(m_window->data().Nucleo().fieldByName(QStringLiteral("Nome"))->asString(), QStringLiteral("Maria Grazia"));
    EXPECT_EQ(grid->inplaceEditor()->text(), QStringLiteral("Maria Grazia"));
    EXPECT_EQ(m_window->data().Nucleo().state(), TDataSetState::dsBrowse);
    // Typed again, the key reaches the cell that now shows the saved name.
    type(QStringLiteral("!"));
    EXPECT_EQ(grid->inplaceEditor()->text(), QStringLiteral("Maria Grazia!"));
    EXPECT_EQ(m_window->data().Nucleo().state(), TDataSetState::dsEdit);
    EXPECT_EQ(stored(QStringLiteral("Nucleo"), QStringLiteral("Nome")), QStringLiteral("Maria Grazia"));
    EXPECT_EQ(m_messages.errors().size(), 1);
}

// Saved elsewhere after this desk began its edit: refused at the save with the engine's
// text, the typed value still in the control and the dataset still editing.
TEST_F(CardPageTwoDesks, AChangeSavedElsewhereDuringTheEditIsRefusedAtTheSave)
{
    TDBEdit *phone = m_window->cardPage()->edit(QStringLiteral("Telefono"));
    phone->setFocus();
    type(QStringLiteral("333"));
    ASSERT_EQ(cards().state(), TDataSetState::dsEdit);
    otherDeskSaves(QStringLiteral("Anagrafica"), QStringLiteral("Note"), QStringLiteral("scritto altrove"));
    reported([&] { cards().post(); });
    ASSERT_EQ(m_messages.errors().size(), 1);
    EXPECT_TRUE(m_messages.errors().first().contains(QStringLiteral("modificato da un altro utente")));
    EXPECT_EQ(cards().state(), TDataSetState::dsEdit);
    EXPECT_EQ(phone->text(), QStringLiteral("333"));
    EXPECT_EQ(stored(QStringLiteral("Anagrafica"), QStringLiteral("Note")), QStringLiteral("scritto altrove"));
}

} // namespace
