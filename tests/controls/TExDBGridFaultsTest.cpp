// Failures met by the grid's mouse, painting and own editors: an error reaches the user once
// and nothing typed is lost on the way.

#include "TExDBGridTestSupport.h"

#include "controls/GridOwnEditors.h"
#include "db/DatabaseError.h"

#include <QHelpEvent>

using namespace gridtest;

namespace {

class GridFaultsTest : public ::testing::Test {
protected:
    static void SetUpTestSuite() { ensureApplication(); }

    static std::vector<MemoryDataSet::Column> cardColumns()
    {
        return {{QStringLiteral("Capofamiglia"), TFieldType::ftString, 30, false, QString()},
                {QStringLiteral("Note"), TFieldType::ftMemo, 0, false, QString()}};
    }

    static void fill(GridRig &rig)
    {
        rig.data.close();
        rig.data.addRow({"Rossi", "Prima nota"});
        rig.data.addRow({"Bianchi", "Seconda nota"});
        rig.data.addRow({"Verdi", QString()});
        rig.data.open();
    }

    static void wheelDown(TExDBGrid *grid)
    {
        const QPointF at = grid->viewport()->rect().center();
        QWheelEvent wheel(at, grid->viewport()->mapToGlobal(at), QPoint(), QPoint(0, -120), Qt::NoButton,
                          Qt::NoModifier, Qt::NoScrollPhase, false);
        QApplication::sendEvent(grid->viewport(), &wheel);
    }

    static GridMemoEditor *openMemo(GridRig &rig, const QString &typed)
    {
        key(rig.grid, Qt::Key_End);
        key(rig.grid, Qt::Key_F2);
        GridMemoEditor *memo = rig.grid->memoEditor();
        if (memo)
            memo->setPlainText(typed);
        return memo;
    }
};

} // namespace

TEST_F(GridFaultsTest, ARefusedPostOnClickingAnotherRowIsDroppedAndTheEditStays)
{
    GridRig rig(3);
    type(rig.grid, "Anna");
    rig.data.failPosts = 1;
    EXPECT_NO_THROW(click(rig.grid->viewport(), cellCentre(rig.grid, 1, 3)));
    EXPECT_EQ(rig.data.state(), TDataSetState::dsEdit);
    EXPECT_EQ(rig.grid->row(), 0);
    EXPECT_EQ(rig.current("Nome"), "Anna");

    click(rig.grid->viewport(), cellCentre(rig.grid, 1, 3));
    EXPECT_EQ(rig.grid->row(), 2);
    EXPECT_EQ(rig.data.rows()[0].values[0], "Anna");
}

TEST_F(GridFaultsTest, AnInvalidDateOnClickingAnotherRowIsDroppedAndTheTypedTextStays)
{
    GridRig rig(3);
    rig.grid->setDisplayDateTime(false);   // as the member grid: dates typed as text
    key(rig.grid, Qt::Key_End);
    key(rig.grid, Qt::Key_Left);
    type(rig.grid, "31/13/x");
    const int dateCol = rig.grid->selectedIndex() + 1;
    EXPECT_NO_THROW(click(rig.grid->viewport(), cellCentre(rig.grid, dateCol, 2)));
    EXPECT_EQ(rig.grid->row(), 0);
    ASSERT_TRUE(rig.grid->editorMode());
    EXPECT_EQ(rig.grid->inplaceEditor()->text(), "31/13/x");
}

TEST_F(GridFaultsTest, AnErrorInTheRightClickHandlerIsDropped)
{
    GridRig rig(3);
    int calls = 0;
    rig.grid->OnRightClick = [&calls](TExDBGrid &) {
        ++calls;
        throw EDatabaseError(QStringLiteral("rifiutato"));
    };
    EXPECT_NO_THROW(click(rig.grid->viewport(), cellCentre(rig.grid, 1, 2), Qt::RightButton));
    EXPECT_EQ(calls, 1);
    EXPECT_EQ(rig.grid->row(), 0);
}

TEST_F(GridFaultsTest, AMemoThatCannotBeReadPaintsEmptyWithoutRaising)
{
    GridRig rig(0, cardColumns());
    fill(rig);
    rig.data.failBlobReads = 1000;
    EXPECT_NO_THROW(rig.grid->viewport()->grab());
    EXPECT_EQ(rig.current("Capofamiglia"), "Rossi");
    rig.data.failBlobReads = 0;
}

TEST_F(GridFaultsTest, MemoEditorTextIsStoredBeforeTheWheelOrANavigatorMovesTheRecord)
{
    GridRig rig(0, cardColumns());
    fill(rig);
    ASSERT_NE(openMemo(rig, "Nota scritta"), nullptr);
    wheelDown(rig.grid);
    EXPECT_EQ(rig.current("Capofamiglia"), "Bianchi");
    EXPECT_EQ(rig.data.rows()[0].values[1], "Nota scritta");
    EXPECT_FALSE(rig.grid->memoEditor()->isVisible());

    ASSERT_NE(openMemo(rig, "Altra nota"), nullptr);
    rig.data.next();   // what the navigator's button does
    EXPECT_EQ(rig.current("Capofamiglia"), "Verdi");
    EXPECT_EQ(rig.data.rows()[1].values[1], "Altra nota");
}

TEST_F(GridFaultsTest, ACellHintOnAnUnreadableRowLeavesTheEditedRecordCurrent)
{
    GridRig rig(0, cardColumns());
    fill(rig);
    rig.grid->setCellHints(true);
    type(rig.grid, "Rosso");
    rig.data.failBlobReads = 1;
    const QPoint at = cellCentre(rig.grid, 2, 2);
    QHelpEvent hint(QEvent::ToolTip, at, rig.grid->viewport()->mapToGlobal(at));
    EXPECT_NO_THROW(QApplication::sendEvent(rig.grid->viewport(), &hint));
    EXPECT_EQ(rig.grid->row(), 0);
    key(rig.grid, Qt::Key_Return);
    EXPECT_EQ(rig.current("Capofamiglia"), "Rosso");
    EXPECT_EQ(rig.data.state(), TDataSetState::dsEdit);
}
