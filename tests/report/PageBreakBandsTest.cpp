// Bands that a page break repeats or keeps to the first page, through the engine over an
// archive.

#include "db/TField.h"
#include "output/report/print/PdfOutput.h"
#include "tests/report/ReportTestSupport.h"

#include <QMap>

using namespace reporttest;

namespace {

class PageBreakBandsTest : public ArchiveReportFixture {
protected:
    // The texts of each prepared page, in the order they were laid out.
    std::vector<QStringList> pageTexts()
    {
        std::vector<QStringList> pages;
        for (const PreparedPage &page : m_report->preparedPages()) {
            pages.emplace_back();
            for (const DrawRecord &r : page.Records)
                if (r.kind == DrawRecord::Text)
                    pages.back() << r.text;
        }
        return pages;
    }
};

// One card whose members fill several pages: the members' column titles, marked to repeat,
// head every page, above its rows and under the page header; the word boxes come from the PDF.
TEST_F(PageBreakBandsTest, ARepeatedDetailHeaderHeadsEveryPageOfItsRows)
{
    openArchive(1);
    TArcTable &members = m_data->Nucleo();
    m_data->Anagrafica().first();
    members.refresh();
    for (int left = members.recordCount(); left > 0 && (members.first(), !members.eof()); --left)
        members.deleteRecord();
    ASSERT_EQ(members.recordCount(), 0);
    for (int i = 1; i <= 14; ++i) {
        members.append();
        members.fieldByName(QStringLiteral("Nome"))->setAsString(QStringLiteral("Persona%1").arg(i));
        members.post();
    }
    TqnLayout &layout = m_report->layout();
    TqnPage &page = layout.Pages.front();
    addBand(page, TqnBandType::btPageHeader, 0, 30);
    addMemo(page, 40, 0, 300, 20, QStringLiteral("Elenco"));
    addBand(page, TqnBandType::btMasterData, 40, 20, QStringLiteral("Schede"));
    addMemo(page, 40, 40, 300, 20, QStringLiteral("Scheda"));
    addBand(page, TqnBandType::btDetailHeader, 70, 20).BandOptions = TqnBandView::boRepeat;
    addMemo(page, 60, 70, 300, 20, QStringLiteral("Titoli"));
    addBand(page, TqnBandType::btDetailData, 100, 180, QStringLiteral("Membri"));   // five a page
    addMemo(page, 60, 100, 300, 20, QStringLiteral("[Nucleo.\"Nome\"]"));
    addBand(page, TqnBandType::btDetailFooter, 290, 20);
    addMemo(page, 60, 290, 300, 20, QStringLiteral("Fine"));
    addBoundSource(layout, QStringLiteral("Anagrafica"), QStringLiteral("Schede"));
    addBoundSource(layout, QStringLiteral("Nucleo"), QStringLiteral("Membri"));
    layout.DataSets.find(QStringLiteral("Schede"))->RangeEnd = TqnRangeEnd::reCount;
    layout.DataSets.find(QStringLiteral("Schede"))->RangeEndCount = 1;

    m_report->BuildPages();
    ASSERT_EQ(m_report->preparationError(), QString());
    const QString pdf = path(QStringLiteral("componenti.pdf"));
    ASSERT_TRUE(writePdf(m_report->preparedPages(), pdf, m_report->Title));
    const int pages = int(m_report->preparedPages().size());
    ASSERT_GE(pages, 3);

    QMap<int, double> titleTop, pageHeaderBottom, firstRowTop;
    QMap<int, int> titles;
    QMap<QString, int> rows;
    for (const PdfWord &w : pdfWords(pdf)) {
        if (w.text == QStringLiteral("Titoli")) {
            ++titles[w.page];
            titleTop[w.page] = w.box.top();
        } else if (w.text == QStringLiteral("Elenco")) {
            pageHeaderBottom[w.page] = w.box.bottom();
        } else if (w.text.startsWith(QStringLiteral("Persona"))) {
            ++rows[w.text];
            if (!firstRowTop.contains(w.page))
                firstRowTop[w.page] = w.box.top();
        }
    }
    for (int p = 1; p <= pages; ++p) {
        EXPECT_EQ(titles.value(p), 1) << "page " << p;
        if (firstRowTop.contains(p)) {
            EXPECT_LT(titleTop.value(p), firstRowTop[p]) << "page " << p;
        }
        EXPECT_GT(titleTop.value(p), pageHeaderBottom.value(p)) << "page " << p;
    }
    EXPECT_EQ(rows.size(), 14);
    for (auto it = rows.begin(); it != rows.end(); ++it)
        EXPECT_EQ(it.value(), 1) << it.key().toStdString();
}

// A master header and a group header marked to repeat come back, outermost first, on every
// page; one that is not marked prints once, as old layouts always did. A page header and a
// page footer kept to the first page print there only, and the next pages' rows take the
// footer's room.
TEST_F(PageBreakBandsTest, RepeatedHeadersAndBandsKeptToTheFirstPage)
{
    openArchive(70);
    TqnLayout &layout = m_report->layout();
    TqnPage &page = layout.Pages.front();
    addBand(page, TqnBandType::btPageHeader, 0, 30).BandOptions = TqnBandView::boKeepOnFirstPage;
    addMemo(page, 40, 0, 300, 20, QStringLiteral("Intestazione"));
    TqnBandView &master = addBand(page, TqnBandType::btMasterHeader, 40, 20);
    addMemo(page, 40, 40, 300, 20, QStringLiteral("Titoli"));
    TqnBandView &group = addBand(page, TqnBandType::btGroupHeader, 70, 20);
    group.GroupCondition = QStringLiteral("1");   // one group over every card
    group.BandOptions = TqnBandView::boRepeat;
    addMemo(page, 40, 70, 300, 20, QStringLiteral("Gruppo"));
    addBand(page, TqnBandType::btMasterData, 100, 20, QStringLiteral("Schede"));
    addMemo(page, 40, 100, 300, 20, QStringLiteral("Riga [LINE#]"));
    addBand(page, TqnBandType::btPageFooter, 130, 200).BandOptions = TqnBandView::boKeepOnFirstPage;
    addMemo(page, 40, 140, 300, 20, QStringLiteral("Piede"));
    addBoundSource(layout, QStringLiteral("Anagrafica"), QStringLiteral("Schede"));

    const auto build = [&] {
        m_report->BuildPages();
        EXPECT_EQ(m_report->preparationError(), QString());
        return pageTexts();
    };
    std::vector<QStringList> pages = build();
    ASSERT_GE(pages.size(), 2u);
    EXPECT_TRUE(pages[0].contains(QStringLiteral("Intestazione")));
    EXPECT_TRUE(pages[0].contains(QStringLiteral("Piede")));
    int rows = 0;
    for (size_t p = 0; p < pages.size(); ++p) {
        const QStringList &texts = pages[p];
        if (p > 0) {
            EXPECT_FALSE(texts.contains(QStringLiteral("Intestazione"))) << "page " << p + 1;
            EXPECT_FALSE(texts.contains(QStringLiteral("Piede"))) << "page " << p + 1;
            // Without the master header's option it stands on the first page only.
            EXPECT_EQ(texts.value(0), QStringLiteral("Gruppo")) << "page " << p + 1;
        }
        EXPECT_EQ(texts.count(QStringLiteral("Gruppo")), 1) << "page " << p + 1;
        for (const QString &t : texts)
            rows += t.startsWith(QStringLiteral("Riga ")) ? 1 : 0;
    }
    EXPECT_EQ(rows, 70);
    // Page 2 holds the rows the missing header and the footer's room leave: more than page 1.
    const auto rowsOn = [](const QStringList &texts) {
        return std::count_if(texts.begin(), texts.end(), [](const QString &t) { return t.startsWith(QStringLiteral("Riga ")); });
    };
    if (pages.size() > 2) {
        EXPECT_GT(rowsOn(pages[1]), rowsOn(pages[0]) + 10);
    }

    master.BandOptions = TqnBandView::boRepeat;
    pages = build();
    for (size_t p = 0; p < pages.size(); ++p) {
        const qsizetype at = pages[p].indexOf(QStringLiteral("Titoli"));
        EXPECT_EQ(pages[p].count(QStringLiteral("Titoli")), 1) << "page " << p + 1;
        EXPECT_EQ(pages[p].value(at + 1), QStringLiteral("Gruppo")) << "page " << p + 1;
    }
}

// A title printed above the page header (the page's default) takes the band options the
// inspector offers it: it grows with a long text, the page header going under it, and with
// a new page after it, it stands alone on the first page.
TEST_F(PageBreakBandsTest, ATitleAboveThePageHeaderGrowsAndCanStandAlone)
{
    openArchive(3);
    TqnLayout &layout = m_report->layout();
    TqnPage &page = layout.Pages.front();
    ASSERT_TRUE(page.TitleBeforeHeader);
    QStringList words;
    for (int i = 1; i <= 40; ++i)
        words << QStringLiteral("titolo%1").arg(i);
    addBand(page, TqnBandType::btReportTitle, 0, 20).BandOptions = TqnBandView::boStretch | TqnBandView::boNewPageAfter;
    addMemo(page, 40, 0, 200, 20, words.join(QLatin1Char(' ')));
    addBand(page, TqnBandType::btPageHeader, 30, 20);
    addMemo(page, 40, 30, 300, 20, QStringLiteral("Intestazione"));
    addBand(page, TqnBandType::btMasterData, 60, 20, QStringLiteral("Schede"));
    addMemo(page, 40, 60, 300, 20, QStringLiteral("Riga [LINE#]"));
    addBoundSource(layout, QStringLiteral("Anagrafica"), QStringLiteral("Schede"));
    m_report->BuildPages();
    ASSERT_EQ(m_report->preparationError(), QString());
    const PreparedPages &pages = m_report->preparedPages();
    ASSERT_EQ(pages.size(), 2);
    double titleBottom = 0, headerTop = 0;
    QStringList first;
    for (const DrawRecord &r : pages[0].Records)
        if (r.kind == DrawRecord::Text) {
            first += r.text.split(QLatin1Char(' '));
            if (r.text.startsWith(QStringLiteral("titolo")))
                titleBottom = std::max(titleBottom, r.rect.bottom());
            if (r.text == QStringLiteral("Intestazione"))
                headerTop = r.rect.top();
        }
    EXPECT_EQ(first.mid(0, 40), words);
    EXPECT_EQ(first.mid(40), QStringList{QStringLiteral("Intestazione")});
    EXPECT_GE(headerTop, titleBottom);
    EXPECT_EQ(pageTexts()[1], (QStringList{"Intestazione", "Riga 1", "Riga 2", "Riga 3"}));
}

} // namespace
