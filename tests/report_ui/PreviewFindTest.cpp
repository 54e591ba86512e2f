// Finding text on the pages: pieces of one line, options, both directions, the window's find.

#include "output/report/ui/TextSearch.h"
#include "tests/report_ui/PreviewTestSupport.h"

#include <QCoreApplication>
#include <QScrollBar>

using namespace previewtest;

namespace {

QStringList cards(int page)
{
    if (page == 2)
        return {QStringLiteral("Scheda 7 ROSSINI Mario"), QStringLiteral("Scheda 8 Bianchi Rosa")};
    if (page == 4)
        return {QStringLiteral("Scheda 20 Rossi Anna")};
    return {QStringLiteral("Scheda %1 Verdi Luca").arg(page * 10)};
}

class TextSearchTest : public PreviewFixture {};

TEST_F(TextSearchTest, ALineDrawnInPiecesIsFoundWholeAndMarkedAcrossThePieces)
{
    PreparedPages pages(1);
    // "Mario Rossi" as the builder may draw it: "Mario" then "Ros" and "si" touching.
    addText(pages[0], 60, 100, QStringLiteral("Mario"));
    const double after = pages[0].Records.back().rect.right();
    addText(pages[0], after + 6, 100, QStringLiteral("Ros"));
    addText(pages[0], pages[0].Records.back().rect.right(), 100, QStringLiteral("si"));
    addText(pages[0], 60, 140, QStringLiteral("Altro"));
    TextSearch search(pages);
    EXPECT_EQ(search.lineTexts(0), (QStringList{QStringLiteral("Mario Rossi"), QStringLiteral("Altro")}));

    const TextHit hit = search.find(QStringLiteral("rossi"), FindOptions(), TextCursor::pageStart(0));
    ASSERT_TRUE(hit.valid());
    ASSERT_EQ(hit.boxes.size(), 2u);
    EXPECT_DOUBLE_EQ(hit.boxes[0].left(), pages[0].Records[1].rect.left());
    EXPECT_DOUBLE_EQ(hit.boxes[1].right(), pages[0].Records[2].rect.right());
    const TextHit part = search.find(QStringLiteral("ario"), FindOptions(), TextCursor::pageStart(0));
    ASSERT_EQ(part.boxes.size(), 1u);
    EXPECT_GT(part.boxes[0].left(), pages[0].Records[0].rect.left());
    EXPECT_DOUBLE_EQ(part.boxes[0].right(), pages[0].Records[0].rect.right());
}

TEST_F(TextSearchTest, OptionsAndDirectionsAcrossPages)
{
    const PreparedPages pages = makePages(5, cards);
    TextSearch search(pages);
    FindOptions o;
    // Inside words, any case: "ROSSINI" on page 2 comes first.
    TextHit hit = search.find(QStringLiteral("rossi"), o, TextCursor::pageStart(0));
    EXPECT_EQ(hit.at.page, 1);
    EXPECT_EQ(hit.at.line, 1);
    hit = search.find(QStringLiteral("rossi"), o, {hit.at.page, hit.at.line, hit.at.offset + 1});
    EXPECT_EQ(hit.at.page, 3);
    // Whole words only skip ROSSINI; case then decides between Rossi and ROSSI.
    o.insideWords = false;
    EXPECT_EQ(search.find(QStringLiteral("rossi"), o, TextCursor::pageStart(0)).at.page, 3);
    o.matchCase = true;
    EXPECT_FALSE(search.find(QStringLiteral("rossi"), o, TextCursor::pageStart(0)).valid());
    EXPECT_EQ(search.find(QStringLiteral("Rossi"), o, TextCursor::pageStart(0)).at.page, 3);
    // Backwards from the end: the last match first, then the one before it.
    o = FindOptions();
    o.forward = false;
    hit = search.find(QStringLiteral("ros"), o, TextCursor::pageEnd(4));
    EXPECT_EQ(hit.at.page, 3);
    hit = search.find(QStringLiteral("ros"), o, hit.at);
    EXPECT_EQ(hit.at.page, 1);
    EXPECT_EQ(hit.at.line, 2);   // "Bianchi Rosa" lies below "ROSSINI"
    hit = search.find(QStringLiteral("ros"), o, hit.at);
    EXPECT_EQ(hit.at.line, 1);
    EXPECT_FALSE(search.find(QStringLiteral("ros"), o, hit.at).valid());
}

class PreviewFindTest : public PreviewFixture {};

TEST_F(PreviewFindTest, FindsForwardAndBackFromTheCurrentPageAndSaysWhenNothingIsLeft)
{
    TStandardPreview &preview = open(makePages(40, cards));
    m_dialogs.find = FindRequest{QStringLiteral("Luca"), FindOptions()};
    m_dialogs.find->options.fromFirstPage = false;
    preview.view()->goToPage(30);
    preview.findText();
    EXPECT_EQ(preview.view()->currentPage(), 30);
    preview.findText();
    EXPECT_EQ(preview.view()->currentPage(), 31);
    EXPECT_EQ(m_dialogs.previousFind.text, QStringLiteral("Luca"));

    m_dialogs.find->options.forward = false;
    preview.findText();
    EXPECT_EQ(preview.view()->currentPage(), 30);
    preview.findText();
    EXPECT_EQ(preview.view()->currentPage(), 29);

    // From the first page the search starts over, whatever is shown.
    m_dialogs.find = FindRequest{QStringLiteral("rossi"), FindOptions()};
    m_dialogs.find->options.insideWords = false;
    preview.findText();
    EXPECT_EQ(preview.view()->currentPage(), 4);
    EXPECT_TRUE(m_messages.shown.empty());

    m_dialogs.find->options.fromFirstPage = false;
    preview.findText();
    ASSERT_EQ(m_messages.shown.size(), 1u);
    EXPECT_EQ(m_messages.shown[0].text, QStringLiteral("Non è stato trovato nessun elemento che soddisfi la richiesta."));
    EXPECT_EQ(m_messages.shown[0].caption, QStringLiteral("Messaggio."));
    EXPECT_EQ(m_messages.shown[0].icon, TqnMessageIcon::Warning);
    EXPECT_EQ(preview.view()->currentPage(), 4);
}

TEST_F(PreviewFindTest, AfterAHitTheDialogComesBackSetToGoOnFromTheCurrentPage)
{
    TStandardPreview &preview = open(makePages(40, cards));
    m_dialogs.find = FindRequest{QStringLiteral("Verdi"), FindOptions()};
    preview.findText();
    EXPECT_EQ(preview.view()->currentPage(), 1);
    m_dialogs.findAsShown = true;
    preview.findText();
    EXPECT_FALSE(m_dialogs.previousFind.options.fromFirstPage);
    EXPECT_EQ(preview.view()->currentPage(), 3);   // page 2 holds Rossini and Bianchi
    preview.findText();
    EXPECT_EQ(preview.view()->currentPage(), 5);
}

TEST_F(PreviewFindTest, FoundTextFarDownAPageIsScrolledIntoViewAndMarked)
{
    TStandardPreview &preview = open(makePages(3, [](int page) {
        QStringList lines;
        for (int i = 0; i < 45; ++i)
            lines << QStringLiteral("Riga %1 della pagina %2").arg(i).arg(page);
        return lines;
    }));
    preview.applyZoom(PreviewZoom::percent(200));
    m_dialogs.find = FindRequest{QStringLiteral("Riga 44 della pagina 2"), FindOptions()};
    preview.findText();
    EXPECT_EQ(preview.view()->currentPage(), 2);
    // Somewhere in view the highlight's yellow lies over the white page.
    const auto marked = [&preview] {
        const QImage shot = preview.view()->canvas()->grab().toImage();
        for (int y = 0; y < shot.height(); y += 2)
            for (int x = 0; x < shot.width(); x += 2) {
                const QColor c = shot.pixelColor(x, y);
                if (c.red() > 240 && c.green() > 200 && c.blue() < 180)
                    return true;
            }
        return false;
    };
    EXPECT_TRUE(marked());

    // It stays in view when the zoom changes, the window is resized or goes full screen.
    preview.applyZoom(PreviewZoom::percent(150));
    EXPECT_TRUE(marked());
    preview.resize(900, 700);
    QCoreApplication::processEvents();
    EXPECT_TRUE(marked());
    preview.toggleFullScreen();
    QCoreApplication::processEvents();
    EXPECT_TRUE(marked());
    preview.toggleFullScreen();
    QCoreApplication::processEvents();
    EXPECT_TRUE(marked());
    EXPECT_EQ(preview.view()->currentPage(), 2);
}

} // namespace
