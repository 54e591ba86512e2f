// Moving through the pages: page buttons, keys, two-page view, only visible pages painted.

#include "tests/report_ui/PreviewTestSupport.h"

#include <QComboBox>
#include <QLabel>
#include <QScrollBar>
#include <QToolButton>
#include <QWheelEvent>
#include <QCoreApplication>

using namespace previewtest;

namespace {

class PreviewPagingTest : public PreviewFixture {
protected:
    PreviewView &view() { return *m_preview->view(); }
    void key(int key, Qt::KeyboardModifiers modifiers = Qt::NoModifier)
    {
        previewtest::keyClick(m_preview->view(), Qt::Key(key), modifiers);
    }
};

TEST_F(PreviewPagingTest, OpensOnPageOneAtFullSizeWithPageNumberAndHints)
{
    TStandardPreview &preview = open(makePages(12));
    EXPECT_EQ(preview.windowTitle(), QStringLiteral("Anteprima - Prossimi appuntamenti"));
    EXPECT_EQ(view().currentPage(), 1);
    EXPECT_DOUBLE_EQ(view().scale(), 1.0 * preview.logicalDpiX() / 96);
    EXPECT_EQ(preview.zoomBox()->currentText(), QStringLiteral("100%"));
    EXPECT_EQ(view().pageLabel()->text(), QStringLiteral("Pagina 1 di 12"));
    EXPECT_EQ(view().previousButton()->toolTip(), QStringLiteral("Pagina precedente"));
    EXPECT_EQ(view().nextButton()->toolTip(), QStringLiteral("Pagina successiva"));
    const QStringList captions{QStringLiteral("&Apri"), QStringLiteral("Sal&va"), QStringLiteral("&Stampa"),
                               QStringLiteral("&Trova"), QStringLiteral("Sc&hermo"), QStringLiteral("&Chiudi")};
    const QStringList names{QStringLiteral("OpenBtn"), QStringLiteral("SaveBtn"), QStringLiteral("PrintBtn"),
                            QStringLiteral("FindBtn"), QStringLiteral("ScreenBtn"), QStringLiteral("CloseBtn")};
    for (int i = 0; i < names.size(); ++i) {
        ASSERT_NE(preview.button(names[i]), nullptr) << names[i].toStdString();
        EXPECT_EQ(preview.button(names[i])->text(), captions[i]);
    }
    EXPECT_EQ(preview.button(QStringLiteral("ScreenBtn"))->toolTip(),
              QStringLiteral("Visualizza l'anteprima a schermo intero"));
    EXPECT_EQ(preview.zoomBox()->toolTip(), QStringLiteral("Ingrandimento"));
}

TEST_F(PreviewPagingTest, PageCommandsStopAtEitherEnd)
{
    open(makePages(5));
    key(Qt::Key_Minus);
    EXPECT_EQ(view().currentPage(), 1);
    key(Qt::Key_PageDown, Qt::ControlModifier);
    key(Qt::Key_Plus);
    EXPECT_EQ(view().currentPage(), 3);
    view().nextButton()->click();
    EXPECT_EQ(view().currentPage(), 4);
    key(Qt::Key_End);
    EXPECT_EQ(view().currentPage(), 5);
    EXPECT_EQ(view().pageLabel()->text(), QStringLiteral("Pagina 5 di 5"));
    key(Qt::Key_Plus);
    EXPECT_EQ(view().currentPage(), 5);
    key(Qt::Key_PageUp, Qt::ControlModifier);
    EXPECT_EQ(view().currentPage(), 4);
    key(Qt::Key_Home);
    EXPECT_EQ(view().currentPage(), 1);
    EXPECT_EQ(view().verticalBar()->value(), 0);
}

TEST_F(PreviewPagingTest, TwoPageViewMovesByTwoAndDoesNothingAtTheEnds)
{
    TStandardPreview &preview = open(makePages(12));
    preview.applyZoom(PreviewZoom::fit(PreviewZoom::TwoPages));
    EXPECT_EQ(preview.zoomBox()->currentText(), QStringLiteral("Due pagine"));
    view().previousPage();
    EXPECT_EQ(view().currentPage(), 1);
    view().nextPage();
    EXPECT_EQ(view().currentPage(), 3);
    key(Qt::Key_End);
    EXPECT_EQ(view().currentPage(), 11);
    const int bar = view().verticalBar()->value();
    key(Qt::Key_Plus);
    EXPECT_EQ(view().currentPage(), 11);
    EXPECT_EQ(view().verticalBar()->value(), bar);
    key(Qt::Key_Minus);
    EXPECT_EQ(view().currentPage(), 9);

    // With an odd count the last page stands alone and is the end.
    open(makePages(11));
    m_preview->applyZoom(PreviewZoom::fit(PreviewZoom::TwoPages));
    key(Qt::Key_End);
    EXPECT_EQ(view().currentPage(), 11);
    key(Qt::Key_Plus);
    EXPECT_EQ(view().currentPage(), 11);
}

TEST_F(PreviewPagingTest, ScreenAndStepScrollingPicksThePageInView)
{
    open(makePages(6));
    const int step = view().verticalBar()->singleStep();
    key(Qt::Key_Down);
    EXPECT_EQ(view().verticalBar()->value(), step);
    key(Qt::Key_Up);
    EXPECT_EQ(view().verticalBar()->value(), 0);
    // Screens down until the third page fills the upper part of the view.
    for (int presses = 0; view().currentPage() < 3 && presses < 20; ++presses)
        key(Qt::Key_PageDown);
    ASSERT_EQ(view().currentPage(), 3);
    EXPECT_GT(view().verticalBar()->value(), 0);
    EXPECT_EQ(view().pageLabel()->text(), QStringLiteral("Pagina 3 di 6"));
    key(Qt::Key_Return);
    EXPECT_TRUE(m_preview->isVisible());
}

TEST_F(PreviewPagingTest, OnlyThePagesInViewArePaintedOfTwoThousand)
{
    open(makePages(2000));
    view().goToPage(1500);
    view().canvas()->repaint();
    // The page, the next one's top, and at most the previous one's shadow at the edge.
    const auto [first, last] = view().canvas()->lastPainted();
    EXPECT_GE(first, 1498);
    EXPECT_LE(first, 1499);
    EXPECT_LE(last, 1500);
    m_preview->applyZoom(PreviewZoom::percent(25));
    view().canvas()->repaint();
    const auto [first25, last25] = view().canvas()->lastPainted();
    EXPECT_GE(first25, 1498);
    EXPECT_LT(last25 - first25, 6);
}

TEST_F(PreviewPagingTest, FitZoomsFillTheView)
{
    TStandardPreview &preview = open(makePages(3));
    preview.applyZoom(PreviewZoom::fit(PreviewZoom::PageWidth));
    const QRectF page = QRectF(QPointF(), QSizeF(PreparedPaper().widthPx(), PreparedPaper().heightPx()));
    const QSize canvas = view().canvas()->size();
    EXPECT_NEAR(page.width() * view().scale() + 2 * PreviewCanvas::kGap, canvas.width(), 1);
    preview.applyZoom(PreviewZoom::fit(PreviewZoom::OnePage));
    EXPECT_NEAR(page.height() * view().scale() + 2 * PreviewCanvas::kGap, canvas.height(), 1);
    EXPECT_EQ(view().verticalBar()->value(), 0);
    view().nextPage();
    EXPECT_EQ(view().currentPage(), 2);
}

TEST_F(PreviewPagingTest, WheelMovesThroughTheView)
{
    open(makePages(4));
    QWheelEvent wheel(QPointF(50, 50), QPointF(50, 50), QPoint(), QPoint(0, -120), Qt::NoButton, Qt::NoModifier,
                      Qt::NoScrollPhase, false);
    QCoreApplication::sendEvent(&view(), &wheel);
    EXPECT_EQ(view().verticalBar()->value(), 3 * view().verticalBar()->singleStep());
}

} // namespace
