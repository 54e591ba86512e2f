// A printed list over the archive's cards, end to end: layout, pages, PDF.

#include "db/TField.h"
#include "output/report/print/PdfOutput.h"
#include "tests/report/ReportTestSupport.h"


using namespace reporttest;

namespace {

class BuildListTest : public ArchiveReportFixture {
protected:
    // Page header, a data band per card, page footer with "Pagina N di M".
    void makeList(const QString &source = QStringLiteral("Schede"))
    {
        TqnLayout &layout = m_report->layout();
        layout.TwoPass = 1;
        TqnPage &page = layout.Pages.front();
        addBand(page, TqnBandType::btPageHeader, 0, 40);
        addMemo(page, 40, 5, 500, 30, QStringLiteral("Elenco schede del [DATE]"));
        addBand(page, TqnBandType::btMasterData, 50, 22, source);
        addMemo(page, 40, 52, 600, 20, QStringLiteral("Scheda [Protocollo] [Anagrafica.\"Capofamiglia\"]"),
                QStringLiteral("Riga"));
        addBand(page, TqnBandType::btPageFooter, 100, 30);
        addMemo(page, 40, 105, 300, 22, QStringLiteral("Pagina [PAGE#] di [TOTALPAGES]"));
        addBoundSource(layout, QStringLiteral("Anagrafica"), QStringLiteral("Schede"));
    }

    QStringList cards()
    {
        QStringList expected;
        TArcTable &cards = m_data->Anagrafica();
        for (cards.first(); !cards.eof(); cards.next())
            expected << QStringLiteral("Scheda %1 %2").arg(cards.fieldByName(QStringLiteral("Protocollo"))->asString(),
                                                       cards.fieldByName(QStringLiteral("Capofamiglia"))->asString());
        return expected;
    }
};

TEST_F(BuildListTest, EveryCardOnceInOrderWithPageNumbersAndNothingOverTheFooter)
{
    openArchive(250);
    const QStringList expected = cards();
    ASSERT_EQ(expected.size(), 250);
    makeList();

    m_report->BuildPages();
    ASSERT_EQ(m_report->preparationError(), QString());
    const PreparedPages &pages = m_report->preparedPages();
    ASSERT_GT(pages.size(), 5);

    // No data line reaches into the footer band at the bottom margin.
    const TqnPage &layoutPage = m_report->layout().Pages.front();
    const double footerTop = layoutPage.heightPx() - layoutPage.marginPx(layoutPage.Paper.Bottom) - 30;
    for (const PreparedPage &page : pages)
        for (const DrawRecord &r : page.Records)
            if (r.kind == DrawRecord::Text && r.text.startsWith(QStringLiteral("Scheda")))
                EXPECT_LE(r.rect.bottom(), footerTop + 0.01) << r.text.toStdString();

    const QString pdf = path(QStringLiteral("elenco.pdf"));
    ASSERT_TRUE(writePdf(pages, pdf, m_report->Title));
    const QString text = pdfText(pdf);
    const QStringList pdfPages = text.split(QChar(12), Qt::SkipEmptyParts);
    QStringList printed;
    int pageNo = 0;
    for (const QString &pageText : pdfPages) {
        if (pageText.trimmed().isEmpty())
            continue;
        ++pageNo;
        const QStringList lines = pageText.split(QLatin1Char('\n'), Qt::SkipEmptyParts);
        QStringList trimmed;
        for (const QString &line : lines)
            if (!line.trimmed().isEmpty())
                trimmed << line.simplified();
        EXPECT_EQ(trimmed.front(), QStringLiteral("Elenco schede del 09/12/2026"));
        EXPECT_EQ(trimmed.back(), QStringLiteral("Pagina %1 di %2").arg(pageNo).arg(pages.size()));
        for (const QString &line : trimmed)
            if (line.startsWith(QStringLiteral("Scheda")))
                printed << line;
    }
    EXPECT_EQ(pageNo, pages.size());
    QStringList simplified;
    for (const QString &card : expected)
        simplified << card.simplified();
    EXPECT_EQ(printed, simplified);
}

TEST_F(BuildListTest, DetailBandPrintsEachCardsMembers)
{
    openArchive(4);
    TqnLayout &layout = m_report->layout();
    TqnPage &page = layout.Pages.front();
    addBand(page, TqnBandType::btMasterData, 0, 22, QStringLiteral("Schede"));
    addMemo(page, 10, 2, 500, 20, QStringLiteral("Scheda [Anagrafica.\"ID_SCHEDA\"]"));
    addBand(page, TqnBandType::btDetailData, 30, 22, QStringLiteral("Membri"));
    addMemo(page, 40, 32, 500, 20, QStringLiteral("Membro [ID_SCHEDA] [Nome]"));
    addBoundSource(layout, QStringLiteral("Anagrafica"), QStringLiteral("Schede"));
    addBoundSource(layout, QStringLiteral("Nucleo"), QStringLiteral("Membri"));

    m_report->BuildPages();
    ASSERT_EQ(m_report->preparationError(), QString());
    QString card;
    int members = 0;
    for (const DrawRecord &r : m_report->preparedPages().front().Records) {
        if (r.kind != DrawRecord::Text)
            continue;
        if (r.text.startsWith(QStringLiteral("Scheda ")))
            card = r.text.mid(7);
        else if (r.text.startsWith(QStringLiteral("Membro "))) {
            EXPECT_EQ(r.text.section(QLatin1Char(' '), 1, 1), card) << r.text.toStdString();
            ++members;
        }
    }
    EXPECT_GT(members, 0);
}

} // namespace
