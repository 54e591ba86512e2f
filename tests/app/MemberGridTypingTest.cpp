// Typing into the member grid as a user does, with real mouse clicks and key presses: after a
// member row is stored, however the store happens, a click on another cell and a typed word
// reach that cell; Space on a cell opens nothing and stores nothing.

#include "CardPageTestSupport.h"

#include "controls/GridInplaceEdit.h"
#include "controls/TDBNavStrip.h"
#include "controls/TNavStripButton.h"
#include "controls/TExDBGrid.h"
#include "forms/main/CardPage.h"

#include <QAbstractButton>
#include <QApplication>
#include <QTest>

namespace {

using cardtest::household;
using cardtest::member;

constexpr int kNameCol = 1;   // the grid column of "Nome", after the indicator

enum class StoredBy { MemberNavigator, Enter, KeyDown, CardNavigator, PageButtons };

struct StoreCase {
    StoredBy way;
    const char *name;
    int targetRow;             // the screen row clicked after the store (1: the first member)
    QStringList firstCard;     // member names stored at the end, in key order
    QStringList secondCard;
};

void PrintTo(const StoreCase &c, std::ostream *os) { *os << c.name; }

class MemberGridTyping : public cardtest::WindowTest {
protected:
    void SetUp() override
    {
        cli::Household rossi = household(QStringLiteral("P-1"), QStringLiteral("Rossi Mario"));
        rossi.members = {member(QStringLiteral("Maria"), QStringLiteral("Madre"), QStringLiteral("Casalinga")),
                         member(QStringLiteral("Luca"), QStringLiteral("Figlio"), QStringLiteral("Studente"))};
        cli::Household bianchi = household(QStringLiteral("P-2"), QStringLiteral("Bianchi Anna"));
        bianchi.members = {member(QStringLiteral("Anna"), QStringLiteral("Madre"), QStringLiteral("Operaia")),
                           member(QStringLiteral("Paolo"), QStringLiteral("Figlio"), QStringLiteral("Studente"))};
        m_keys = cardtest::createArchive(archive(), {rossi, bianchi});
        m_window = start();
        showActive(*m_window);
        ASSERT_EQ(m_window->pages()->currentWidget(), m_window->cardPage());
    }

    TExDBGrid *grid() const { return m_window->cardPage()->grid_nucleo(); }

    void click(QWidget *widget, QPoint at = {})
    {
        QTest::mouseClick(widget, Qt::LeftButton, Qt::NoModifier, at.isNull() ? widget->rect().center() : at);
        QApplication::processEvents();
    }
    void clickCell(int gridCol, int screenRow) { click(grid()->viewport(), grid()->cellRect(gridCol, screenRow).center()); }
    void clickNavigator(TDBNavStrip *navigator, TNavStripBtn button) { click(navigator->button(button)); }
    // Keys go where the user's keys go: to the focused widget of the active window.
    static void type(const QString &text) { QTest::keyClicks(static_cast<QWidget *>(nullptr), text); }
    static void press(Qt::Key key) { QTest::keyClick(static_cast<QWidget *>(nullptr), key); }

    void storeBy(StoredBy way)
    {
        switch (way) {
        case StoredBy::MemberNavigator: clickNavigator(m_window->cardPage()->DBNavStrip1(), TNavStripBtn::nbPost); break;
        case StoredBy::Enter: press(Qt::Key_Return); break;
        case StoredBy::KeyDown: press(Qt::Key_Down); break;
        case StoredBy::CardNavigator: clickNavigator(m_window->nav_anagrafica(), TNavStripBtn::nbNext); break;
        case StoredBy::PageButtons:
            click(m_window->barButton(Tfrm_main::cmdLista));
            click(m_window->barButton(Tfrm_main::cmdScheda));
            break;
        }
    }

    QStringList storedNames(int card) const
    {
        return cardtest::ArchiveAccess(archive()).texts(QStringLiteral("Nucleo"), QStringLiteral("Nome"),
                                                        QStringLiteral("[ID_SCHEDA] = %1").arg(m_keys.at(size_t(card))));
    }

    // The editor is open on the current cell holding the text, and has the focus.
    void expectEditing(const QString &text) const
    {
        GridInplaceEdit *editor = grid()->inplaceEditor();
        ASSERT_TRUE(grid()->editorMode());
        EXPECT_EQ(QApplication::focusWidget(), editor);
        EXPECT_EQ(editor->text(), text);
        EXPECT_EQ(editor->geometry(), grid()->cellRect(kNameCol, grid()->row() + 1));
    }

    std::vector<qint64> m_keys;
    std::unique_ptr<Tfrm_main> m_window;
};

class MemberGridAfterStore : public MemberGridTyping, public testing::WithParamInterface<StoreCase> {};

TEST_P(MemberGridAfterStore, AClickOnAnotherCellAndATypedWordReachThatCell)
{
    const StoreCase &c = GetParam();
    clickCell(kNameCol, 1);
    type(QStringLiteral("Marta"));
    expectEditing(QStringLiteral("Marta"));

    storeBy(c.way);
    clickCell(kNameCol, c.targetRow);
    type(QStringLiteral("Qxx"));
    EXPECT_EQ(grid()->row(), c.targetRow - 1);
    expectEditing(QStringLiteral("Qxx"));

    clickNavigator(m_window->cardPage()->DBNavStrip1(), TNavStripBtn::nbPost);
    EXPECT_EQ(storedNames(0), c.firstCard);
    EXPECT_EQ(storedNames(1), c.secondCard);
    EXPECT_TRUE(m_messages.errors().isEmpty()) << m_messages.errors().join(" | ").toStdString();
}

const QStringList kBianchi{"Anna", "Paolo"};
INSTANTIATE_TEST_SUITE_P(
    StoredBy, MemberGridAfterStore,
    testing::Values(StoreCase{StoredBy::MemberNavigator, "MemberNavigator", 2, {"Marta", "Qxx"}, kBianchi},
                    StoreCase{StoredBy::Enter, "Enter", 2, {"Marta", "Qxx"}, kBianchi},
                    StoreCase{StoredBy::KeyDown, "KeyDown", 1, {"Qxx", "Luca"}, kBianchi},
                    StoreCase{StoredBy::CardNavigator, "CardNavigator", 2, {"Marta", "Luca"}, {"Anna", "Qxx"}},
                    StoreCase{StoredBy::PageButtons, "PageButtons", 2, {"Marta", "Qxx"}, kBianchi}),
    [](const testing::TestParamInfo<StoreCase> &info) { return std::string(info.param.name); });

// A click beside the open editor that chooses no other cell (a column title) leaves the
// editor open, and it keeps the focus: the typed letters go on into the cell.
TEST_F(MemberGridTyping, AClickOnATitleKeepsTheOpenEditorTyping)
{
    clickCell(kNameCol, 2);
    type(QStringLiteral("Gian"));
    clickCell(kNameCol + 1, 0);
    type(QStringLiteral("luca"));
    expectEditing(QStringLiteral("Gianluca"));
}

// Space on a cell is swallowed: no editor opens, and the Enter that follows opens the editor
// on the stored text instead of storing a lone blank. Inside an open editor a typed blank is
// the user's own and stays.
TEST_F(MemberGridTyping, SpaceOnACellOpensNothingAndEnterStoresNoBlank)
{
    clickCell(kNameCol, 2);
    ASSERT_FALSE(grid()->editorMode());
    press(Qt::Key_Space);
    EXPECT_FALSE(grid()->editorMode());
    press(Qt::Key_Return);
    expectEditing(QStringLiteral("Luca"));
    press(Qt::Key_Return);
    EXPECT_FALSE(grid()->editorMode());
    clickNavigator(m_window->cardPage()->DBNavStrip1(), TNavStripBtn::nbPost);
    EXPECT_EQ(storedNames(0), (QStringList{"Maria", "Luca"}));

    clickCell(kNameCol, 1);
    type(QStringLiteral("Anna"));
    press(Qt::Key_Space);
    type(QStringLiteral("Maria"));
    press(Qt::Key_Return);
    clickNavigator(m_window->cardPage()->DBNavStrip1(), TNavStripBtn::nbPost);
    EXPECT_EQ(storedNames(0), (QStringList{"Anna Maria", "Luca"}));
    EXPECT_TRUE(m_messages.errors().isEmpty()) << m_messages.errors().join(" | ").toStdString();
}

} // namespace
