// The in-place editor's pick-list drop-down of the member grid's role column.

#include "TExDBGridTestSupport.h"

#include "controls/GridPickList.h"

using namespace gridtest;

namespace {

const QStringList kRoles{"Padre", "Madre", "Figlio", "Figlia", "Nonno", "Nonna", "Zio", "Zia", "Cugino"};

class GridPickListTest : public ::testing::Test {
protected:
    static void SetUpTestSuite() { ensureApplication(); }

    // The role column of the first member, editor open.
    static GridInplaceEdit *openRoleEditor(GridRig &rig)
    {
        rig.grid->columns().at(1)->setPickList(kRoles);
        key(rig.grid, Qt::Key_Right);
        key(rig.grid, Qt::Key_F2);
        return rig.grid->inplaceEditor();
    }
};

} // namespace

TEST_F(GridPickListTest, TheEditorOfAPickListColumnHasADropDown)
{
    GridRig rig(3);
    GridInplaceEdit *editor = openRoleEditor(rig);
    ASSERT_NE(editor, nullptr);
    EXPECT_TRUE(editor->hasPickList());
    key(rig.grid, Qt::Key_Escape);
    EXPECT_FALSE(rig.grid->editorMode());
    key(rig.grid, Qt::Key_Left);
    key(rig.grid, Qt::Key_F2);
    ASSERT_TRUE(rig.grid->editorMode());
    EXPECT_FALSE(rig.grid->inplaceEditor()->hasPickList());
}

TEST_F(GridPickListTest, AltDownOpensTheListWithTheCurrentTextPreselected)
{
    GridRig rig(3);
    GridInplaceEdit *editor = openRoleEditor(rig);
    key(rig.grid, Qt::Key_Down, Qt::AltModifier);
    ASSERT_TRUE(editor->listVisible());
    GridPickList *list = editor->pickList();
    EXPECT_EQ(list->count(), kRoles.size());
    EXPECT_EQ(list->currentRow(), kRoles.indexOf("Figlio"));
    EXPECT_TRUE(list->currentItem()->isSelected());
}

TEST_F(GridPickListTest, ANullFieldPreselectsNothing)
{
    GridRig rig(3);
    rig.data.edit();
    rig.field("Ruolo")->clear();
    GridInplaceEdit *editor = openRoleEditor(rig);
    editor->dropDown();
    const GridPickList *list = editor->pickList();
    EXPECT_TRUE(list->selectedItems().isEmpty());
}

TEST_F(GridPickListTest, TheListShowsAtMostSevenRows)
{
    GridRig rig(3);
    GridInplaceEdit *editor = openRoleEditor(rig);
    editor->dropDown();
    const GridPickList *list = editor->pickList();
    const int rowHeight = list->sizeHintForRow(0);
    EXPECT_EQ(list->height(), 7 * rowHeight + 4);
    EXPECT_GE(list->width(), editor->width());
    editor->closeUp(false);
    rig.grid->columns().at(1)->setPickList({"Padre", "Madre"});
    editor->dropDown();
    EXPECT_EQ(list->height(), 2 * rowHeight + 4);
}

TEST_F(GridPickListTest, EnterAcceptsTheHighlightedEntryAsTheFieldText)
{
    GridRig rig(3);
    GridInplaceEdit *editor = openRoleEditor(rig);
    key(rig.grid, Qt::Key_Down, Qt::AltModifier);
    GridPickList *list = editor->pickList();
    QKeyEvent down(QEvent::KeyPress, Qt::Key_Down, Qt::NoModifier);
    QApplication::sendEvent(list, &down);
    QKeyEvent enter(QEvent::KeyPress, Qt::Key_Return, Qt::NoModifier);
    QApplication::sendEvent(list, &enter);
    EXPECT_FALSE(editor->listVisible());
    EXPECT_EQ(editor->text(), "Figlia");
    EXPECT_EQ(rig.current("Ruolo"), "Figlia");
    EXPECT_EQ(rig.data.state(), TDataSetState::dsEdit);
}

TEST_F(GridPickListTest, EscapeClosesTheListWithoutChange)
{
    GridRig rig(3);
    GridInplaceEdit *editor = openRoleEditor(rig);
    key(rig.grid, Qt::Key_Down, Qt::AltModifier);
    GridPickList *list = editor->pickList();
    list->setCurrentRow(0);
    QKeyEvent escape(QEvent::KeyPress, Qt::Key_Escape, Qt::NoModifier);
    QApplication::sendEvent(list, &escape);
    EXPECT_FALSE(editor->listVisible());
    EXPECT_EQ(editor->text(), "Figlio");
    EXPECT_EQ(rig.current("Ruolo"), "Figlio");
}

TEST_F(GridPickListTest, AltUpClosesTheListAcceptingTheEntry)
{
    GridRig rig(3);
    GridInplaceEdit *editor = openRoleEditor(rig);
    key(rig.grid, Qt::Key_Down, Qt::AltModifier);
    editor->pickList()->setCurrentRow(0);
    QKeyEvent altUp(QEvent::KeyPress, Qt::Key_Up, Qt::AltModifier);
    QApplication::sendEvent(editor->pickList(), &altUp);
    EXPECT_EQ(rig.current("Ruolo"), "Padre");
}

TEST_F(GridPickListTest, TypedTextOutsideTheListIsAccepted)
{
    GridRig rig(3);
    GridInplaceEdit *editor = openRoleEditor(rig);
    editor->selectAll();
    type(rig.grid, "Bisnonno");
    key(rig.grid, Qt::Key_Down);
    EXPECT_EQ(rig.data.rows().front().values.value(1), "Bisnonno");
}
