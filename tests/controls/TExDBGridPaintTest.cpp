// What the data grid paints: row colours by screen row, the highlight pair, an empty grid
// while inactive, check boxes, row heights; and the buffer window it reads from.

#include "TExDBGridTestSupport.h"

#include "controls/GridCellContent.h"
#include "controls/SansFont.h"

#include <QBuffer>
#include <QPainter>

using namespace gridtest;

namespace {

class GridPaintTest : public ::testing::Test {
protected:
    static void SetUpTestSuite() { ensureApplication(); }

    static QRgb pixel(const TExDBGrid *grid, int gridCol, int screenRow)
    {
        const QImage image = grid->viewport()->grab().toImage();
        const QRect cell = grid->cellRect(gridCol, screenRow);
        return image.pixel(cell.left() + 1, cell.center().y());
    }
    // Palette colours keep 16 bits a channel; the screen has 8.
    static QRgb rgb(const QColor &color) { return color.rgb(); }

    // The card list of the list page.
    static void makeCardList(GridRig &rig)
    {
        rig.grid->setTitleButtons(true);
        rig.grid->setReadOnly(true);
        rig.grid->setUseRowColors(true);
        rig.grid->setRowColor1(gridcolor::btnFace());
    }

    static int darkPixels(const QImage &image, const QRect &area)
    {
        int dark = 0;
        for (int y = area.top(); y <= area.bottom(); ++y) {
            for (int x = area.left(); x <= area.right(); ++x)
                dark += image.pixelColor(x, y).lightness() < 60 ? 1 : 0;
        }
        return dark;
    }
};

} // namespace

TEST_F(GridPaintTest, AFreshCardListAlternatesFromTheFixedColour)
{
    GridRig rig(60);
    makeCardList(rig);
    EXPECT_EQ(pixel(rig.grid, 2, 1), rgb(gridcolor::btnFace()));
    EXPECT_EQ(pixel(rig.grid, 2, 2), rgb(gridcolor::window()));
    EXPECT_EQ(pixel(rig.grid, 2, 3), rgb(gridcolor::btnFace()));
}

TEST_F(GridPaintTest, RowColoursStayWithTheScreenRowsWhenScrolling)
{
    GridRig rig(60);
    makeCardList(rig);
    const int rows = rig.grid->visibleRowCount();
    for (int i = 0; i < rows; ++i)
        key(rig.grid, Qt::Key_Down);
    ASSERT_EQ(rig.current("Nome"), QStringLiteral("Nome%1").arg(rows + 1));
    // The records moved up one row; the colours did not.
    EXPECT_EQ(pixel(rig.grid, 2, 1), rgb(gridcolor::btnFace()));
    EXPECT_EQ(pixel(rig.grid, 2, 2), rgb(gridcolor::window()));
}

TEST_F(GridPaintTest, TheCurrentCellIsNavyWhileTheGridHasTheFocus)
{
    GridRig rig(5);
    EXPECT_EQ(pixel(rig.grid, 1, 1), rgb(gridcolor::navy()));
    EXPECT_EQ(pixel(rig.grid, 2, 1), rgb(gridcolor::window()));
    rig.other->setFocus();
    EXPECT_EQ(pixel(rig.grid, 1, 1), rgb(gridcolor::window()));
}

TEST_F(GridPaintTest, TheCatalogueGridShowsItsCurrentRowWithoutTheFocus)
{
    GridRig rig(5);
    using O = TDBGridOption;
    rig.grid->setOptions(O::dgTitles | O::dgColumnResize | O::dgColLines | O::dgRowLines | O::dgRowSelect
                         | O::dgAlwaysShowSelection | O::dgConfirmDelete | O::dgCancelOnExit);
    rig.grid->setReadOnly(true);
    rig.other->setFocus();
    rig.data.next();
    for (int col = 0; col < 5; ++col) {
        EXPECT_EQ(pixel(rig.grid, col, 2), rgb(gridcolor::navy())) << col;
        EXPECT_EQ(pixel(rig.grid, col, 1), rgb(gridcolor::window())) << col;
    }
}

TEST_F(GridPaintTest, RowColoursSetButOffPaintEveryRowInTheWindowColour)
{
    GridRig rig(5);
    rig.grid->setRowColor1(gridcolor::fromBgr(12255087));
    rig.other->setFocus();
    for (int row = 1; row <= 4; ++row)
        EXPECT_EQ(pixel(rig.grid, 2, row), rgb(gridcolor::window())) << row;
}

TEST_F(GridPaintTest, AnInactiveGridIsEmpty)
{
    GridRig rig(5);
    rig.data.close();
    const QImage image = rig.grid->viewport()->grab().toImage();
    EXPECT_EQ(image.pixel(5, 5), rgb(rig.grid->color()));
    EXPECT_EQ(image.pixel(100, 30), rgb(rig.grid->color()));
    rig.grid->setShowTitlesWhenInactive(true);
    EXPECT_NE(rig.grid->viewport()->grab().toImage().pixel(30, 8), rgb(rig.grid->color()));
}

TEST_F(GridPaintTest, LinesBetweenDataCellsTakeTheFixedColour)
{
    GridRig rig(5);
    rig.other->setFocus();
    const QImage image = rig.grid->viewport()->grab().toImage();
    const QRect cell = rig.grid->cellRect(2, 2);
    EXPECT_EQ(image.pixel(cell.right() + 1, cell.center().y()), rgb(rig.grid->fixedColor()));
    EXPECT_EQ(image.pixel(cell.center().x(), cell.bottom() + 1), rgb(rig.grid->fixedColor()));
    const QRect title = rig.grid->cellRect(2, 0);
    EXPECT_EQ(image.pixel(title.right() + 1, title.center().y()), rgb(gridcolor::btnShadow()));
}

TEST_F(GridPaintTest, BooleansAreCheckBoxes)
{
    GridRig rig(0, {{QStringLiteral("Nome"), TFieldType::ftString, 20, false, QString()},
                    {QStringLiteral("G1"), TFieldType::ftBoolean, 0, false, QString()}});
    rig.data.close();
    rig.data.addRow({"A", "True"});
    rig.data.addRow({"B", "False"});
    rig.data.open();
    rig.other->setFocus();
    const QImage image = rig.grid->viewport()->grab().toImage();
    const int checked = darkPixels(image, rig.grid->cellRect(2, 1));
    const int clear = darkPixels(image, rig.grid->cellRect(2, 2));
    EXPECT_GT(checked, clear + 5);
    rig.grid->setDisplayBoolean(false);
    EXPECT_NE(rig.grid->viewport()->grab().toImage(), image);
}

TEST_F(GridPaintTest, AClickTogglesABooleanInAnEditableGrid)
{
    GridRig rig(0, {{QStringLiteral("Nome"), TFieldType::ftString, 20, false, QString()},
                    {QStringLiteral("G1"), TFieldType::ftBoolean, 0, false, QString()}});
    rig.data.close();
    rig.data.addRow({"A", "False"});
    rig.data.open();
    click(rig.grid->viewport(), cellCentre(rig.grid, 2, 1));
    EXPECT_TRUE(rig.field("G1")->asBoolean());
    EXPECT_FALSE(rig.grid->editorMode());
    click(rig.grid->viewport(), cellCentre(rig.grid, 2, 1));
    EXPECT_FALSE(rig.field("G1")->asBoolean());
}

TEST_F(GridPaintTest, TitleRowFollowsTheTitleFont)
{
    GridRig rig(3);
    rig.grid->setTitleFont(sansSerifFont(11));
    EXPECT_EQ(rig.grid->titleRowHeight(), QFontMetrics(sansSerifFont(11)).height() + 4);
    rig.grid->columns().at(0)->title().setCaption(QStringLiteral("Una intestazione lunga in una colonna stretta"));
    rig.grid->setMultiLineTitles(true);
    EXPECT_GT(rig.grid->titleRowHeight(), 2 * QFontMetrics(sansSerifFont(11)).height());
    rig.grid->setMultiLineTitles(false);
    EXPECT_EQ(rig.grid->titleRowHeight(), QFontMetrics(sansSerifFont(11)).height() + 4);
}

TEST_F(GridPaintTest, ALargerFontRaisesTheRowHeight)
{
    GridRig rig(3);
    EXPECT_EQ(rig.grid->defaultRowHeight(), 17);
    rig.grid->setFont(sansSerifFont(24));
    EXPECT_EQ(rig.grid->defaultRowHeight(), QFontMetrics(sansSerifFont(24)).height());
    rig.grid->setLinesPerRow(3);
    rig.grid->setMultiLineRows(true);
    EXPECT_EQ(rig.grid->defaultRowHeight(), 51);
}

TEST_F(GridPaintTest, ARowSizedWithTheMouseBecomesEveryRowsHeightWhenTheDataReopens)
{
    GridRig rig(20);
    QWidget *vp = rig.grid->viewport();
    const QPoint edge(5, rig.grid->cellRect(0, 2).bottom() + 1);   // under the second data row
    drag(vp, edge, edge + QPoint(0, 10));
    EXPECT_EQ(rig.grid->cellRect(1, 2).height(), 17);
    EXPECT_EQ(rig.current("Nome"), "Nome2");   // without row sizing the press is a click

    rig.data.first();
    rig.grid->setRowSizingAllowed(true);
    drag(vp, edge, edge + QPoint(0, 10));
    EXPECT_EQ(rig.current("Nome"), "Nome1");
    EXPECT_EQ(rig.grid->cellRect(1, 2).height(), 27);
    EXPECT_EQ(rig.grid->cellRect(1, 3).top(), edge.y() + 11);
    EXPECT_EQ(rig.grid->cellRect(1, 3).height(), 17);

    rig.data.close();
    rig.data.open();
    EXPECT_EQ(rig.grid->defaultRowHeight(), 27);
    EXPECT_EQ(rig.grid->cellRect(1, 2).height(), 27);
    EXPECT_EQ(rig.grid->cellRect(1, 3).height(), 27);
}

TEST_F(GridPaintTest, TheGridHoldsOnlyTheRowsItShows)
{
    GridRig rig(20000);
    const int rows = rig.grid->visibleRowCount();
    EXPECT_EQ(rig.grid->dataLink().bufferCount(), rows);
    EXPECT_LE(rig.data.bufferedRecordCount(), rows + 1);
    rig.grid->resize(420, 150);
    EXPECT_LT(rig.grid->visibleRowCount(), rows);
    EXPECT_EQ(rig.grid->dataLink().bufferCount(), rig.grid->visibleRowCount());
}

TEST_F(GridPaintTest, TheWindowMayRecolourNormalCellsOnly)
{
    GridRig rig(5);
    int calls = 0;
    rig.grid->OnApplyCellAttribute = [&](TExDBGrid &, TField *field, TExDBGrid::CellAttributes &cell, TGridDrawState) {
        ++calls;
        if (field->fieldName() == QLatin1String("Lavoro"))
            cell.background = Qt::yellow;
    };
    EXPECT_EQ(pixel(rig.grid, 3, 2), rgb(QColor(Qt::yellow)));
    EXPECT_GT(calls, 0);
    // The focused cell keeps the highlight pair.
    key(rig.grid, Qt::Key_Right);
    key(rig.grid, Qt::Key_Right);
    EXPECT_EQ(pixel(rig.grid, 3, 1), rgb(gridcolor::navy()));
    EXPECT_EQ(pixel(rig.grid, 3, 2), rgb(QColor(Qt::yellow)));
}

TEST_F(GridPaintTest, CtrlClickMarksRecordsInMultiSelection)
{
    GridRig rig(5);
    rig.grid->setOption(TDBGridOption::dgMultiSelect, true);
    const QPoint third = cellCentre(rig.grid, 2, 3);
    mouse(rig.grid->viewport(), QEvent::MouseButtonPress, third, Qt::LeftButton, Qt::LeftButton, Qt::ControlModifier);
    mouse(rig.grid->viewport(), QEvent::MouseButtonRelease, third, Qt::LeftButton, Qt::NoButton, Qt::ControlModifier);
    EXPECT_EQ(rig.grid->selectedRows().size(), 1);
    rig.other->setFocus();
    EXPECT_EQ(pixel(rig.grid, 2, 3), rgb(gridcolor::navy()));
    EXPECT_EQ(pixel(rig.grid, 2, 2), rgb(gridcolor::window()));
}

TEST_F(GridPaintTest, ARightPressRaisesOnRightClickAndFocusesTheGrid)
{
    GridRig rig(5);
    rig.other->setFocus();
    int clicks = 0;
    rig.grid->OnRightClick = [&](TExDBGrid &) { ++clicks; };
    click(rig.grid->viewport(), cellCentre(rig.grid, 2, 2), Qt::RightButton);
    EXPECT_EQ(clicks, 1);
    EXPECT_TRUE(rig.grid->hasFocus());
}

// --- cell content helpers -------------------------------------------------------------------

TEST(GridCellContentTest, LineBreaksOfEveryKindBecomeLineFeeds)
{
    EXPECT_EQ(gridcell::normaliseLineBreaks("a\rb\r\nc\nd"), "a\nb\nc\nd");
}

TEST(GridCellContentTest, PicturesReadAsFilesOrBehindAnObjectHeader)
{
    gridtest::ensureApplication();
    QImage source(8, 4, QImage::Format_RGB32);
    source.fill(Qt::red);
    QByteArray bmp;
    QBuffer buffer(&bmp);
    buffer.open(QIODevice::WriteOnly);
    source.save(&buffer, "BMP");
    EXPECT_EQ(gridcell::decodePicture(bmp).size(), QSize(8, 4));
    // An object header whose bytes do not themselves read as a picture.
    const QByteArray wrapped = QByteArray(78, '\x15') + bmp;
    EXPECT_EQ(gridcell::decodePicture(wrapped).size(), QSize(8, 4));
    EXPECT_TRUE(gridcell::decodePicture("no picture here").isNull());
}

TEST(GridCellContentTest, PicturesFitTheCellKeepingTheirShape)
{
    EXPECT_EQ(gridcell::fitPicture(QSize(80, 40), QRect(0, 0, 40, 40)), QRect(0, 10, 40, 20));
    EXPECT_EQ(gridcell::fitPicture(QSize(10, 40), QRect(10, 0, 40, 20)), QRect(27, 0, 5, 20));
}
