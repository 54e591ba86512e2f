// A layout that prints the page total: built once with the total written in afterwards when
// nothing could tell that from counting the pages first, built twice otherwise; the pages are
// the same either way.

#include "output/report/build/PageBuilder.h"
#include "output/report/model/TqnLayout.h"
#include "tests/report/ReportTestSupport.h"

using namespace reporttest;

namespace {

struct Built {
    PreparedPages pages;
    int passes = 0;
    QString error;
};

class PageTotalTest : public ArchiveReportFixture {
protected:
    void SetUp() override
    {
        ArchiveReportFixture::SetUp();
        openArchive(120);
        TqnLayout &layout = m_report->layout();
        layout.TwoPass = 1;
        TqnPage &page = layout.Pages.front();
        addBand(page, TqnBandType::btPageHeader, 0, 40);
        addMemo(page, 40, 5, 300, 30, QStringLiteral("Elenco schede"));
        // Narrow and justified: how its words wrap depends on the total's digits.
        TqnMemoView &sheet = addMemo(page, 500, 2, 70, 36, QStringLiteral("Foglio [PAGE#] su [TOTALPAGES] del registro"));
        sheet.Alignment = taWordWrap | taJustify;
        addBand(page, TqnBandType::btMasterData, 50, 80, QStringLiteral("Schede")).BandOptions = TqnBandView::boStretch;
        TqnMemoView &card = addMemo(page, 40, 52, 200, 20, QStringLiteral("[Protocollo] [Anagrafica.\"Capofamiglia\"]"));
        card.Alignment = taWordWrap;
        m_growing = &card;
        addBand(page, TqnBandType::btPageFooter, 140, 30);
        addMemo(page, 40, 145, 300, 22, QStringLiteral("Pagina [PAGE#] di [TOTALPAGES]")).Alignment = taRight;
        addMemo(page, 350, 145, 100, 22, QStringLiteral("[TOTALPAGES][TOTALPAGES]")).FormatText = QStringLiteral("000");
        // Outside every band: drawn first on each page, under everything else.
        addMemo(page, 600, 200, 120, 20, QStringLiteral("Totale: [ TotalPages ]")).Alignment = taCenter;
        addBoundSource(layout, QStringLiteral("Anagrafica"), QStringLiteral("Schede"));
    }

    // Every window message pumped ends a page: their number over the pages is the passes run.
    Built build(BuildEvents events = {})
    {
        int pagesEnded = 0;
        events.processEvents = [&pagesEnded] { ++pagesEnded; };
        PreparationError error;
        PageBuilder builder(m_report->layout(), QStringLiteral("frm_main"), true, error, std::move(events));
        Built built;
        built.pages = builder.run(QDateTime(QDate(2026, 12, 9), QTime(10, 0)));
        built.error = error.text();
        built.passes = built.pages.isEmpty() ? 0 : pagesEnded / int(built.pages.size());
        return built;
    }

    // The same layout with an event that sees every pass: what two passes build.
    Built buildTwice()
    {
        BuildEvents events;
        events.onAfterPrint = [](const TqnView &) {};
        return build(std::move(events));
    }

    TqnMemoView *m_growing = nullptr;
};

TEST_F(PageTotalTest, BuiltOnceTheTotalIsWrittenWhereTwoPassesPutIt)
{
    const Built once = build();
    ASSERT_EQ(once.error, QString());
    ASSERT_GE(once.pages.size(), 10);   // a total of two digits
    EXPECT_EQ(once.passes, 1);

    const Built twice = buildTwice();
    EXPECT_EQ(twice.passes, 2);
    ASSERT_EQ(once.pages.size(), twice.pages.size());
    for (qsizetype p = 0; p < once.pages.size(); ++p)
        EXPECT_TRUE(once.pages[p] == twice.pages[p]) << "pagina " << p + 1;

    const QString total = QString::number(once.pages.size());
    const QString padded = total.rightJustified(3, QLatin1Char('0'));
    for (qsizetype p = 0; p < once.pages.size(); ++p) {
        const QStringList texts = textsOf({once.pages[p]});
        EXPECT_TRUE(texts.contains(QStringLiteral("Pagina %1 di %2").arg(p + 1).arg(total))) << p + 1;
        EXPECT_TRUE(texts.contains(padded + padded)) << p + 1;
        EXPECT_EQ(texts.front(), QStringLiteral("Totale: ") + total);
    }
}

TEST_F(PageTotalTest, WhereTheTotalCouldChangeThePagesTheyAreCountedFirst)
{
    TqnLayout &layout = m_report->layout();
    const auto expectTwoPassesAlike = [&](const char *where) {
        const Built built = build();
        ASSERT_EQ(built.error, QString()) << where;
        EXPECT_EQ(built.passes, 2) << where;
        const Built twice = buildTwice();
        EXPECT_TRUE(built.pages == twice.pages) << where;
        EXPECT_TRUE(textsOf(built.pages).contains(QStringLiteral("Pagina 1 di %1").arg(built.pages.size()))) << where;
    };

    // A growing text's height follows its lines.
    m_growing->Memo = QStringList{QStringLiteral("[Protocollo] [Anagrafica.\"Capofamiglia\"] su [TOTALPAGES]")};
    expectTwoPassesAlike("testo che cresce");
    m_growing->Memo = QStringList{QStringLiteral("[Protocollo] [Anagrafica.\"Capofamiglia\"]")};

    // A value computed from it, a condition, a variable.
    m_growing->HighlightCondition = QStringLiteral("PAGE# = TOTALPAGES");
    expectTwoPassesAlike("condizione");
    m_growing->HighlightCondition.clear();
    layout.Values.set({QStringLiteral("ULTIMA"), TqnVariableKind::vkOther, {}, {}, QStringLiteral("TOTALPAGES")});
    addMemo(layout.Pages.front(), 460, 145, 100, 22, QStringLiteral("[ULTIMA]"));
    expectTwoPassesAlike("variabile");

    // An event sees the counting pass.
    layout.Values.set({QStringLiteral("ULTIMA"), TqnVariableKind::vkOther, {}, {}, QStringLiteral("PAGE#")});
    BuildEvents events;
    int pagesBegun = 0;
    events.onBeginPage = [&pagesBegun](int) { ++pagesBegun; };
    const Built evented = build(std::move(events));
    EXPECT_EQ(evented.passes, 2);
    EXPECT_EQ(pagesBegun, 2);   // one layout page, once per pass
}

} // namespace
