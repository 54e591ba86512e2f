// Editing on the canvas: selection, moving with bands and grid, undo over a sequence of
// edits, the clipboard between designers, commands on the whole selection, pages.
#include "output/report/ui/designer/DesignerDocument.h"
#include "output/report/ui/designer/ObjectClipboard.h"
#include "output/report/ui/designer/ObjectInspector.h"
#include "output/report/ui/dialogs/TextEditorDialog.h"
#include "tests/report_designer/DesignerTestSupport.h"

#include <QAction>
#include <QApplication>
#include <QDoubleSpinBox>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QTabBar>

using namespace designertest;

namespace {

class DesignerEditTest : public DesignerFixture {};

TEST_F(DesignerEditTest, UndoAndRedoGiveBackEachEarlierLayoutExactly)
{
    makeSuppliedList();
    TqnDesignerWindow &designer = openDesigner();
    std::vector<QByteArray> states{designer.document().snapshot()};
    auto step = [&] { states.push_back(designer.document().snapshot()); };

    drag(QPoint(60, 105), QPoint(100, 121));                  // move the row box
    step();
    click(QPoint(60, 60));
    drag(QPoint(440, 72), QPoint(520, 88));                   // its bottom-right handle
    step();
    designer.insertBand(TqnBandType::btReportSummary);
    step();
    designer.canvas()->setTool(DesignerCanvas::Tool::Memo);
    drag(QPoint(48, 200), QPoint(200, 232));
    step();
    click(QPoint(60, 60));
    designer.action(QStringLiteral("Cancella"))->trigger();
    step();
    ASSERT_EQ(states.size(), 6u);
    for (size_t i = 1; i < states.size(); ++i)
        ASSERT_NE(states[i], states[i - 1]) << i;

    for (size_t i = states.size() - 1; i-- > 0;) {
        designer.action(QStringLiteral("Annulla"))->trigger();
        // What a save would write at this point is the earlier file, byte for byte.
        m_report->StoreLayout(path(QStringLiteral("undo.qnf")));
        EXPECT_EQ(fileBytes(path(QStringLiteral("undo.qnf"))), states[i]) << i;
    }
    EXPECT_FALSE(designer.action(QStringLiteral("Annulla"))->isEnabled());
    EXPECT_FALSE(designer.document().modified());
    for (size_t i = 1; i < states.size(); ++i) {
        designer.action(QStringLiteral("Ripristina"))->trigger();
        EXPECT_EQ(designer.document().snapshot(), states[i]) << i;
    }
    // A new edit after undo drops the copies ahead.
    designer.action(QStringLiteral("Annulla"))->trigger();
    designer.insertBand(TqnBandType::btOverlay);
    EXPECT_FALSE(designer.action(QStringLiteral("Ripristina"))->isEnabled());
}

TEST_F(DesignerEditTest, BandCarriesItsObjectsAndMovesOnTheGrid)
{
    makeSuppliedList();
    TqnDesignerWindow &designer = openDesigner();
    designer.setGrid(8, true);
    // The data band at y 96..120 (its label area is free of objects at the right).
    drag(QPoint(600, 100), QPoint(650, 130));
    TqnView *band = designer.canvas()->selection().front();
    ASSERT_EQ(band->kind(), TqnViewKind::vkBand);
    EXPECT_EQ(band->Y, 128);                   // 96 + 30 on the grid of 8
    EXPECT_EQ(band->X, 0);
    EXPECT_EQ(object(QStringLiteral("Capofamiglia"))->Y, 98 + 32);
    EXPECT_EQ(object(QStringLiteral("Titolo"))->Y, 48);

    // Arrow keys step by the grid; with Shift they resize.
    click(QPoint(60, 55));
    QKeyEvent right(QEvent::KeyPress, Qt::Key_Right, Qt::NoModifier);
    QApplication::sendEvent(designer.canvas(), &right);
    EXPECT_EQ(object(QStringLiteral("Titolo"))->X, 48);
    QKeyEvent grow(QEvent::KeyPress, Qt::Key_Down, Qt::ShiftModifier);
    QApplication::sendEvent(designer.canvas(), &grow);
    EXPECT_EQ(object(QStringLiteral("Titolo"))->Height, 32);
    designer.setGrid(8, false);
    drag(QPoint(60, 55), QPoint(63, 56));
    EXPECT_EQ(object(QStringLiteral("Titolo"))->X, 51);
}

TEST_F(DesignerEditTest, ShiftAndRubberBandSelectAndCommandsActOnTheWholeSelection)
{
    makeSuppliedList();
    TqnDesignerWindow &designer = openDesigner();
    click(QPoint(60, 55));
    click(QPoint(60, 105), Qt::ShiftModifier);
    EXPECT_EQ(designer.canvas()->selection().size(), 2u);
    designer.action(QStringLiteral("Grassetto"))->trigger();
    designer.action(QStringLiteral("Tutto il bordo"))->trigger();
    designer.action(QStringLiteral("Centra"))->trigger();
    designer.action(QStringLiteral("Allinea i bordi sinistri"))->trigger();
    for (const char *name : {"Titolo", "Capofamiglia"}) {
        auto *memo = static_cast<TqnMemoView *>(object(QString::fromLatin1(name)));
        EXPECT_TRUE(memo->FontStyle & fsBold) << name;
        EXPECT_EQ(memo->FrameLines, flTop | flLeft | flBottom | flRight) << name;
        EXPECT_EQ(memo->Alignment & taHorizontalMask, taCenter) << name;
    }
    // A second bold switches it off for both.
    designer.action(QStringLiteral("Grassetto"))->trigger();
    EXPECT_FALSE(static_cast<TqnMemoView *>(object(QStringLiteral("Titolo")))->FontStyle & fsBold);

    // A rubber band over empty paper picks what it touches.
    click(QPoint(700, 600));
    EXPECT_TRUE(designer.canvas()->selection().empty());
    drag(QPoint(30, 1040), QPoint(100, 1010));
    ASSERT_EQ(designer.canvas()->selection().size(), 2u);   // footer band and its text
}

TEST_F(DesignerEditTest, InspectorEditsGoThroughUndoInTheChosenUnit)
{
    makeSuppliedList();
    TqnDesignerWindow &designer = openDesigner();
    designer.setUnit(DesignerUnit::Millimetres);
    click(QPoint(60, 105));
    ObjectInspector *inspector = designer.inspector();
    EXPECT_NEAR(inspector->boxEdit(0)->value(), 40 * 25.4 / 96, 0.05);
    inspector->boxEdit(0)->setValue(20.0);
    EXPECT_EQ(object(QStringLiteral("Capofamiglia"))->X, 76);     // 20 mm
    inspector->nameEdit()->setText(QStringLiteral("Nome"));
    emit inspector->nameEdit()->editingFinished();
    EXPECT_EQ(designer.canvas()->selection().front()->Name, QStringLiteral("Nome"));
    EXPECT_TRUE(designer.selectionLabel()->text().contains(QStringLiteral("Millimetri")));
    designer.action(QStringLiteral("Annulla"))->trigger();
    designer.action(QStringLiteral("Annulla"))->trigger();
    EXPECT_EQ(object(QStringLiteral("Capofamiglia"))->X, 40);
}

TEST_F(DesignerEditTest, CopyAndPasteBetweenTwoDesigners)
{
    makeSuppliedList();
    TqnDesignerWindow &first = openDesigner();
    click(QPoint(60, 105));
    click(QPoint(60, 55), Qt::ShiftModifier);
    first.action(QStringLiteral("Copia"))->trigger();
    ASSERT_TRUE(objectclipboard::available());
    closeDesigner();

    m_report->ResetLayout();
    TqnDesignerWindow &second = openDesigner();
    second.action(QStringLiteral("Incolla"))->trigger();
    const auto &objects = m_report->layout().Pages.front().Objects;
    ASSERT_EQ(objects.size(), 2u);
    const auto &row = static_cast<const TqnMemoView &>(*objects[0]);
    EXPECT_EQ(row.Memo, QStringList{QStringLiteral("[Anagrafica.\"Capofamiglia\"]")});
    EXPECT_EQ(row.X, 48);
    EXPECT_EQ(row.FrameLines, flBottom);
    // Pasting again on the same page gives fresh names.
    second.action(QStringLiteral("Incolla"))->trigger();
    ASSERT_EQ(objects.size(), 4u);
    EXPECT_NE(objects[2]->Name, objects[0]->Name);
    // Cut removes and the data survives a damaged clipboard.
    EXPECT_TRUE(objectclipboard::decode(QByteArray("\xFF\x04", 2)).empty());
    second.action(QStringLiteral("Taglia"))->trigger();
    EXPECT_EQ(objects.size(), 2u);
}

TEST_F(DesignerEditTest, InsertBandsByNameOncePerPageAndSubReportAddsItsPage)
{
    TqnDesignerWindow &designer = openDesigner();
    m_dialogs.items = {3};
    designer.action(QStringLiteral("Inserisci banda"))->trigger();
    EXPECT_EQ(m_dialogs.itemsOffered.value(3), QStringLiteral("Piè di pagina"));
    EXPECT_EQ(m_dialogs.itemsOffered.size(), 22);
    m_dialogs.items = {3};
    designer.action(QStringLiteral("Inserisci banda"))->trigger();
    EXPECT_EQ(m_report->layout().Pages.front().Objects.size(), 1u);
    EXPECT_EQ(m_dialogs.messages.size(), 1u);
    designer.insertBand(TqnBandType::btGroupHeader);
    designer.insertBand(TqnBandType::btGroupHeader);
    EXPECT_EQ(m_report->layout().Pages.front().Objects.size(), 3u);

    designer.canvas()->setTool(DesignerCanvas::Tool::SubReport);
    drag(QPoint(100, 300), QPoint(300, 360));
    ASSERT_EQ(m_report->layout().Pages.size(), 2u);
    EXPECT_EQ(designer.pageTabs()->count(), 2);
    auto *sub = designer.canvas()->selection().front();
    ASSERT_EQ(sub->kind(), TqnViewKind::vkSubReport);
    EXPECT_EQ(static_cast<TqnSubReportView *>(sub)->SubPage, 1);

    // Removing a page asks first.
    designer.showPage(1);
    m_dialogs.confirmAnswers = {false};
    designer.action(QStringLiteral("Rimuovi pagina"))->trigger();
    EXPECT_EQ(m_dialogs.questions.value(0), QStringLiteral("Conferma:Rimuovere questa pagina?"));
    EXPECT_EQ(m_report->layout().Pages.size(), 2u);
    m_dialogs.confirmAnswers = {true};
    designer.action(QStringLiteral("Rimuovi pagina"))->trigger();
    EXPECT_EQ(m_report->layout().Pages.size(), 1u);
    EXPECT_FALSE(designer.action(QStringLiteral("Rimuovi pagina"))->isEnabled());
}

TEST_F(DesignerEditTest, ManagingPagesKeepsSubReportsOnTheirPages)
{
    TqnDesignerWindow &designer = openDesigner();
    designer.insertObject(DesignerCanvas::Tool::SubReport, QRect(40, 40, 200, 40));   // shows page 2
    designer.action(QStringLiteral("Aggiungi pagina"))->trigger();                      // page 3
    ASSERT_EQ(m_report->layout().Pages.size(), 3u);
    EXPECT_EQ(designer.currentPage(), 2);
    designer.showPage(1);
    m_dialogs.items = {2};
    designer.action(QStringLiteral("Gestione pagine"))->trigger();
    EXPECT_EQ(designer.currentPage(), 2);
    const auto &sub = static_cast<const TqnSubReportView &>(*m_report->layout().Pages[0].Objects.front());
    EXPECT_EQ(sub.SubPage, 2);
    designer.action(QStringLiteral("Annulla"))->trigger();
    EXPECT_EQ(static_cast<const TqnSubReportView &>(*m_report->layout().Pages[0].Objects.front()).SubPage, 1);
}

TEST_F(DesignerEditTest, ModificaEditsTheObjectsLines)
{
    makeSuppliedList();
    TqnDesignerWindow &designer = openDesigner();
    click(QPoint(60, 55));
    answerDialog<TextEditorDialog>([](TextEditorDialog &editor) {
        editor.editor()->setPlainText(QStringLiteral("Elenco\ndel [DATE]"));
        editor.accept();
    });
    designer.action(QStringLiteral("Modifica..."))->trigger();
    EXPECT_EQ(object(QStringLiteral("Titolo"))->Memo, (QStringList{QStringLiteral("Elenco"), QStringLiteral("del [DATE]")}));
    EXPECT_TRUE(designer.document().canUndo());
}

} // namespace
