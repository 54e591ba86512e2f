// The grid's own editors: date picker, memo editor, and which fields keep in-place text.

#include "TExDBGridTestSupport.h"

using namespace gridtest;

namespace {

class GridEditorsTest : public ::testing::Test {
protected:
    static void SetUpTestSuite() { ensureApplication(); }

    static std::vector<MemoryDataSet::Column> cardColumns()
    {
        return {{QStringLiteral("Capofamiglia"), TFieldType::ftString, 30, false, QString()},
                {QStringLiteral("Inizio"), TFieldType::ftDate, 0, false, QString()},
                {QStringLiteral("Note"), TFieldType::ftMemo, 0, false, QString()}};
    }

    static void fill(GridRig &rig)
    {
        rig.data.close();
        rig.data.addRow({"Rossi", QString(), "Prima riga\rSeconda riga"});
        rig.data.addRow({"Bianchi", QString(), QString()});
        rig.data.open();
    }
};

} // namespace

TEST_F(GridEditorsTest, OwnEditorColumnsKeepNoInPlaceText)
{
    GridRig rig(0, cardColumns());
    fill(rig);
    key(rig.grid, Qt::Key_Right);
    type(rig.grid, "x");
    EXPECT_FALSE(rig.grid->editorMode());
    EXPECT_EQ(rig.data.state(), TDataSetState::dsBrowse);
    rig.grid->setDisplayDateTime(false);
    type(rig.grid, "1");
    EXPECT_TRUE(rig.grid->editorMode());
    key(rig.grid, Qt::Key_Escape);
}

TEST_F(GridEditorsTest, TheDatePickerWritesAndPostsOnEnter)
{
    GridRig rig(0, cardColumns());
    fill(rig);
    key(rig.grid, Qt::Key_Right);
    key(rig.grid, Qt::Key_F2);
    GridDateEditor *picker = rig.grid->datePicker();
    ASSERT_NE(picker, nullptr);
    ASSERT_TRUE(picker->isVisible());
    picker->setDate(QDate(2024, 3, 15));
    QKeyEvent enter(QEvent::KeyPress, Qt::Key_Return, Qt::NoModifier);
    QApplication::sendEvent(picker, &enter);
    EXPECT_FALSE(picker->isVisible());
    EXPECT_EQ(rig.data.state(), TDataSetState::dsBrowse);
    EXPECT_EQ(rig.field("Inizio")->asDateTime().date(), QDate(2024, 3, 15));
    EXPECT_EQ(rig.data.postCount, 1);
}

TEST_F(GridEditorsTest, EscapeInTheDatePickerCancelsTheEdit)
{
    GridRig rig(0, cardColumns());
    fill(rig);
    key(rig.grid, Qt::Key_Right);
    rig.data.edit();
    key(rig.grid, Qt::Key_Space);
    GridDateEditor *picker = rig.grid->datePicker();
    ASSERT_TRUE(picker && picker->isVisible());
    QKeyEvent escape(QEvent::KeyPress, Qt::Key_Escape, Qt::NoModifier);
    QApplication::sendEvent(picker, &escape);
    EXPECT_FALSE(picker->isVisible());
    EXPECT_EQ(rig.data.state(), TDataSetState::dsBrowse);
    EXPECT_EQ(rig.data.postCount, 0);
}

TEST_F(GridEditorsTest, ASecondClickOnTheDateCellOpensThePicker)
{
    GridRig rig(0, cardColumns());
    fill(rig);
    const QPoint cell = cellCentre(rig.grid, 2, 1);
    click(rig.grid->viewport(), cell);
    EXPECT_FALSE(rig.grid->datePicker() && rig.grid->datePicker()->isVisible());
    click(rig.grid->viewport(), cell);
    ASSERT_NE(rig.grid->datePicker(), nullptr);
    EXPECT_TRUE(rig.grid->datePicker()->isVisible());
}

TEST_F(GridEditorsTest, TheMemoEditorOpensWithTheFullTextAndStoresItOnLeaving)
{
    GridRig rig(0, cardColumns());
    fill(rig);
    key(rig.grid, Qt::Key_End);
    key(rig.grid, Qt::Key_Return);
    GridMemoEditor *memo = rig.grid->memoEditor();
    ASSERT_TRUE(memo && memo->isVisible());
    EXPECT_EQ(memo->toPlainText(), "Prima riga\nSeconda riga");
    EXPECT_TRUE(memo->textCursor().hasSelection());
    memo->setPlainText("Nuova nota");
    rig.other->setFocus();
    EXPECT_FALSE(memo->isVisible());
    EXPECT_EQ(rig.field("Note")->asString(), "Nuova nota");
    EXPECT_EQ(rig.data.state(), TDataSetState::dsEdit);
}

TEST_F(GridEditorsTest, EscapeInTheMemoEditorCancels)
{
    GridRig rig(0, cardColumns());
    fill(rig);
    key(rig.grid, Qt::Key_End);
    key(rig.grid, Qt::Key_F2);
    GridMemoEditor *memo = rig.grid->memoEditor();
    ASSERT_TRUE(memo && memo->isVisible());
    EXPECT_FALSE(memo->textCursor().hasSelection());
    memo->setPlainText("Da buttare");
    QKeyEvent escape(QEvent::KeyPress, Qt::Key_Escape, Qt::NoModifier);
    QApplication::sendEvent(memo, &escape);
    EXPECT_FALSE(memo->isVisible());
    EXPECT_EQ(rig.field("Note")->asString(), "Prima riga\rSeconda riga");
}

TEST_F(GridEditorsTest, AReadOnlyGridOpensNoEditor)
{
    GridRig rig(0, cardColumns());
    fill(rig);
    rig.grid->setReadOnly(true);
    key(rig.grid, Qt::Key_F2);
    EXPECT_FALSE(rig.grid->editorMode());
    key(rig.grid, Qt::Key_End);
    key(rig.grid, Qt::Key_Return);
    EXPECT_FALSE(rig.grid->memoEditor() && rig.grid->memoEditor()->isVisible());
}

TEST_F(GridEditorsTest, TheFocusedColumnIsNeverALockedOne)
{
    GridRig rig(0, cardColumns());
    fill(rig);
    rig.grid->setLockedCols(1);
    EXPECT_EQ(rig.grid->selectedIndex(), 1);
    click(rig.grid->viewport(), cellCentre(rig.grid, 1, 2));
    EXPECT_EQ(rig.grid->selectedIndex(), 1);
    EXPECT_EQ(rig.current("Capofamiglia"), "Bianchi");
}
