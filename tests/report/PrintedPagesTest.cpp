// What a printed list puts on paper, through the engine over an archive and into a PDF:
// nothing the data holds is cut, dropped or miscounted.

#include "db/TField.h"
#include "output/report/build/ObjectRenderer.h"
#include "output/report/pages/PageFonts.h"
#include "output/report/print/PdfOutput.h"
#include "session/MemberAges.h"
#include "tests/report/ReportTestSupport.h"

#include <QFile>
#include <QSet>
#include <QProcess>
#include <QRegularExpression>

using namespace reporttest;

namespace {

// A long note of numbered words, each one told from the others.
QString longNote(int words)
{
    QStringList note;
    for (int i = 1; i <= words; ++i)
        note << QStringLiteral("parola%1").arg(i);
    return note.join(QLatin1Char(' '));
}

class PrintedPagesTest : public ArchiveReportFixture {
protected:
    QString printedPdf()
    {
        m_report->BuildPages();
        EXPECT_EQ(m_report->preparationError(), QString());
        const QString pdf = path(QStringLiteral("pagine.pdf"));
        EXPECT_TRUE(writePdf(m_report->preparedPages(), pdf, m_report->Title));
        return pdfText(pdf);
    }
};

TEST_F(PrintedPagesTest, ANullAgePrintsNothingAndTheFooterStatisticsLeaveItOut)
{
    openArchive(1);
    TArcTable &members = m_data->Nucleo();
    members.OnCalcFields = [](TDataSet &m) { fillMemberAge(m, QDate(2026, 12, 9)); };
    m_data->Anagrafica().first();
    members.refresh();
    for (int left = members.recordCount(); left > 0 && (members.first(), !members.eof()); --left)
        members.deleteRecord();
    ASSERT_EQ(members.recordCount(), 0);
    // Three members: born 1980, no birth date, born 2000.
    const QList<QDate> births{QDate(1980, 1, 1), QDate(), QDate(2000, 6, 1)};
    for (int i = 0; i < 3; ++i) {
        members.append();
        members.fieldByName(QStringLiteral("Nome"))->setAsString(QStringLiteral("Persona%1").arg(i));
        if (births[i].isValid())
            members.fieldByName(QStringLiteral("Data_nascita"))->setAsDateTime(births[i].startOfDay());
        members.post();
    }

    TqnLayout &layout = m_report->layout();
    TqnPage &page = layout.Pages.front();
    addBand(page, TqnBandType::btMasterData, 0, 20, QStringLiteral("Schede"));
    addMemo(page, 40, 0, 300, 20, QStringLiteral("Scheda [Protocollo]"));
    addBand(page, TqnBandType::btDetailData, 30, 20, QStringLiteral("Componenti"));
    addMemo(page, 40, 30, 200, 20, QStringLiteral("[Nucleo.\"Nome\"] anni:[Nucleo.\"Eta\"]."));
    addMemo(page, 300, 30, 200, 20, QStringLiteral("dopo:[Nucleo.\"Eta\" + 1]"));
    addBand(page, TqnBandType::btDetailFooter, 60, 20);
    addMemo(page, 40, 60, 600, 20,
            QStringLiteral("media [AVG(Nucleo.\"Eta\")] min [MIN(Nucleo.\"Eta\")] max [MAX(Nucleo.\"Eta\")] "
                           "somma [SUM(Nucleo.\"Eta\")] con [COUNT(Nucleo.\"Eta\")] righe [COUNT()]"));
    addBoundSource(layout, QStringLiteral("Anagrafica"), QStringLiteral("Schede"));
    addBoundSource(layout, QStringLiteral("Nucleo"), QStringLiteral("Componenti"));
    layout.DataSets.find(QStringLiteral("Schede"))->RangeEnd = TqnRangeEnd::reCount;
    layout.DataSets.find(QStringLiteral("Schede"))->RangeEndCount = 1;

    const QString text = printedPdf().simplified();
    EXPECT_TRUE(text.contains(QStringLiteral("Persona0 anni:46. dopo:47"))) << text.toStdString();
    // The field as the card shows it: nothing; a computation from it still counts it as 0.
    EXPECT_TRUE(text.contains(QStringLiteral("Persona1 anni:. dopo:1"))) << text.toStdString();
    EXPECT_TRUE(text.contains(QStringLiteral("Persona2 anni:26. dopo:27"))) << text.toStdString();
    EXPECT_TRUE(text.contains(QStringLiteral("media 36 min 26 max 46 somma 72 con 2 righe 3"))) << text.toStdString();
}

TEST_F(PrintedPagesTest, ALineInABoxALittleShortForItsFontIsCutNotDropped)
{
    openArchive(1);
    TqnPage &page = m_report->layout().Pages.front();
    addBand(page, TqnBandType::btReportTitle, 0, 40);
    addMemo(page, 40, 0, 300, 14, QStringLiteral("Riga bassa"));   // 10 points need about 15 pixels
    addMemo(page, 40, 20, 300, 19, QStringLiteral("Prima riga\nSeconda riga"));
    m_report->BuildPages();
    const QStringList texts = textsOf(m_report->preparedPages());
    EXPECT_TRUE(texts.contains(QStringLiteral("Riga bassa"))) << texts.join(QLatin1Char('|')).toStdString();
    EXPECT_TRUE(texts.contains(QStringLiteral("Prima riga")));
    // Each line is cut at its box: the band starts at the top margin, the boxes 2 pixels
    // above their first line.
    double top = 0;
    for (const DrawRecord &r : m_report->preparedPages().front().Records)
        if (r.kind == DrawRecord::Text && r.text == QStringLiteral("Riga bassa"))
            top = r.rect.top() - 2;
    for (const DrawRecord &r : m_report->preparedPages().front().Records)
        if (r.kind == DrawRecord::Text) {
            EXPECT_LE(r.rect.bottom(), top + (r.text == QStringLiteral("Riga bassa") ? 14.01 : 39.01))
                << r.text.toStdString();
            EXPECT_EQ(r.clipped, r.text != QStringLiteral("Prima riga")) << r.text.toStdString();
        }
    EXPECT_TRUE(printedPdf().contains(QStringLiteral("Riga bassa")));
}

// The row that no longer fits a column moves on, and is counted on the page it lands on, in
// its column, and once in the summary.
TEST_F(PrintedPagesTest, PageAndColumnFootersCountTheRowsTheirPageShows)
{
    openArchive(120);
    TqnLayout &layout = m_report->layout();
    TqnPage &page = layout.Pages.front();
    page.Columns = 2;
    addBand(page, TqnBandType::btMasterData, 0, 37, QStringLiteral("Schede"));
    addMemo(page, 40, 0, 200, 20, QStringLiteral("Riga [Protocollo]"));
    addBand(page, TqnBandType::btColumnFooter, 50, 20);
    addMemo(page, 40, 50, 200, 20, QStringLiteral("Colonna [COUNT()]"));
    addBand(page, TqnBandType::btPageFooter, 80, 20);
    addMemo(page, 40, 80, 300, 20, QStringLiteral("Pagina [COUNT()] righe"));
    addBand(page, TqnBandType::btReportSummary, 110, 20);
    addMemo(page, 40, 110, 300, 20, QStringLiteral("Totale [COUNT()]"));
    addBoundSource(layout, QStringLiteral("Anagrafica"), QStringLiteral("Schede"));
    m_report->BuildPages();
    ASSERT_EQ(m_report->preparationError(), QString());
    const PreparedPages &pages = m_report->preparedPages();
    ASSERT_GE(pages.size(), 3);
    int total = 0;
    for (const PreparedPage &prepared : pages) {
        int rows = 0;
        std::vector<int> columnRows(2, 0), columnFooters;
        int pageFooter = -1;
        // The second column starts where its footer does (a page with one has no second).
        double split = 1e9, firstFooter = 1e9;
        for (const DrawRecord &r : prepared.Records)
            if (r.kind == DrawRecord::Text && r.text.startsWith(QStringLiteral("Colonna "))) {
                if (firstFooter < 1e9)
                    split = std::max(firstFooter, r.rect.left());
                firstFooter = std::min(firstFooter, r.rect.left());
            }
        for (const DrawRecord &r : prepared.Records) {
            if (r.kind != DrawRecord::Text)
                continue;
            if (r.text.startsWith(QStringLiteral("Riga "))) {
                ++rows;
                ++columnRows[r.rect.left() >= split - 1 ? 1 : 0];
            } else if (r.text.startsWith(QStringLiteral("Colonna "))) {
                columnFooters.push_back(r.text.mid(8).toInt());
            } else if (r.text.startsWith(QStringLiteral("Pagina "))) {
                pageFooter = r.text.section(QLatin1Char(' '), 1, 1).toInt();
            }
        }
        total += rows;
        EXPECT_EQ(pageFooter, rows);
        // The last page closes only the column it reached.
        ASSERT_EQ(columnFooters.size(), columnRows[1] > 0 ? 2u : 1u);
        for (size_t c = 0; c < columnFooters.size(); ++c)
            EXPECT_EQ(columnFooters[c], columnRows[c]) << "column " << c;
    }
    EXPECT_EQ(total, 120);
    EXPECT_TRUE(textsOf(pages).contains(QStringLiteral("Totale 120")));
}

class GrowingTextTest : public PrintedPagesTest {
protected:
    // A list of cards whose note band grows, over a page header and footer.
    void makeList(quint16 options)
    {
        TqnLayout &layout = m_report->layout();
        TqnPage &page = layout.Pages.front();
        addBand(page, TqnBandType::btPageHeader, 0, 30);
        addMemo(page, 40, 0, 300, 20, QStringLiteral("Note delle schede"));
        TqnBandView &data = addBand(page, TqnBandType::btMasterData, 40, 64, QStringLiteral("Schede"));
        data.BandOptions = options;
        addMemo(page, 40, 40, 600, 20, QStringLiteral("Scheda [Protocollo]"));
        addMemo(page, 40, 60, 600, 20, QStringLiteral("[Anagrafica.\"Note\"]"), QStringLiteral("Nota"));
        addMemo(page, 40, 80, 600, 4, QString());   // a rule under the note moves with it
        addMemo(page, 40, 64, 100, 20, QStringLiteral("Fine [Protocollo]"), QStringLiteral("Sotto"));
        page.Objects.back()->Y = 82;
        addBand(page, TqnBandType::btPageFooter, 110, 40);
        addMemo(page, 40, 115, 300, 20, QStringLiteral("Piede [PAGE#]"));
        addBoundSource(layout, QStringLiteral("Anagrafica"), QStringLiteral("Schede"));
    }
    void setNotes(const QList<QString> &notes)
    {
        TArcTable &cards = m_data->Anagrafica();
        int i = 0;
        for (cards.first(); !cards.eof() && i < notes.size(); cards.next(), ++i) {
            cards.edit();
            cards.fieldByName(QStringLiteral("Note"))->setAsString(notes[i]);
            cards.post();
        }
    }
    double footerTopPt() const
    {
        const TqnPage &page = m_report->layout().Pages.front();
        return (page.heightPx() - page.marginPx(page.Paper.Bottom) - 40) * 72.0 / 96.0;
    }
};

TEST_F(GrowingTextTest, ALongNoteGrowsItsBandEveryWordPrintedAndNothingOverTheFooter)
{
    openArchive(6);
    // A short note, a note of some lines, one longer than a whole page, then short ones.
    setNotes({QStringLiteral("breve"), longNote(120), longNote(1400), QStringLiteral("corta"),
              QStringLiteral("piccola"), QStringLiteral("ultima")});
    makeList(TqnBandView::boStretch);
    m_report->BuildPages();
    ASSERT_EQ(m_report->preparationError(), QString());
    const QString pdf = path(QStringLiteral("note.pdf"));
    ASSERT_TRUE(writePdf(m_report->preparedPages(), pdf, m_report->Title));
    const std::vector<PdfWord> words = pdfWords(pdf);
    ASSERT_GE(m_report->preparedPages().size(), 3);

    QMap<QString, int> seen;
    for (const PdfWord &w : words) {
        ++seen[w.text];
        static const QRegularExpression pageNumber(QStringLiteral("^(Piede|\\d+)$"));
        if (!pageNumber.match(w.text).hasMatch())
            EXPECT_LE(w.box.bottom(), footerTopPt() + 0.5) << w.text.toStdString() << " on page " << w.page;
    }
    // Every word of the longest note, once; the words of the second note twice.
    for (int i = 1; i <= 1400; ++i)
        EXPECT_EQ(seen.value(QStringLiteral("parola%1").arg(i)), i <= 120 ? 2 : 1) << i;
    for (const char *word : {"breve", "corta", "piccola", "ultima"})
        EXPECT_EQ(seen.value(QLatin1String(word)), 1) << word;

}

TEST_F(GrowingTextTest, WithoutTheOptionTheBoxKeepsItsHeight)
{
    openArchive(1);
    setNotes({longNote(200)});
    makeList(0);
    m_report->BuildPages();
    const QStringList texts = textsOf(m_report->preparedPages());
    EXPECT_EQ(m_report->preparedPages().size(), 1);
    EXPECT_FALSE(texts.join(QLatin1Char(' ')).contains(QStringLiteral("parola200")));
}

// A box whose text comes out as the record before's is not wrapped again; each record still
// gets the lines and the face of its own text: the same note highlighted on every other
// record is wrapped in bold there.
TEST_F(GrowingTextTest, ARepeatedTextKeepsEachRecordsOwnLinesAndFace)
{
    openArchive(6);
    const QString a = longNote(30), b = QStringLiteral("Breve nota, poi ") + longNote(24);
    setNotes({a, a, b, b, a, a});
    makeList(TqnBandView::boStretch);
    TqnMemoView *note = nullptr;
    for (const auto &object : m_report->layout().Pages.front().Objects)
        if (object->Name == QStringLiteral("Nota"))
            note = static_cast<TqnMemoView *>(object.get());
    ASSERT_TRUE(note);
    note->X = 50;
    note->Width = 260;
    note->HighlightCondition = QStringLiteral("LINE# mod 2 = 0");
    note->HighlightFontStyle = fsBold;
    m_report->BuildPages();
    ASSERT_EQ(m_report->preparationError(), QString());

    const auto wrapped = [&](const QString &text, quint16 style) {
        const QFontMetricsF metrics = PageFonts::metrics(PageFonts::font(PreparedFont{note->FontName, float(note->FontSize), style}));
        QStringList lines;
        for (const QString &line : ObjectRenderer::wrap(text, metrics, note->Width - 2 * ObjectRenderer::kPadding))
            lines << QString::number(style) + QLatin1Char(' ') + line;
        return lines;
    };
    ASSERT_NE(wrapped(a, 0).size(), wrapped(a, fsBold).size());
    QStringList expected;
    for (const QString &text : {a, a, b, b, a, a})
        expected += wrapped(text, expected.isEmpty() || expected.back().startsWith(QLatin1Char('2')) ? 0 : fsBold);
    QStringList printed;
    for (const PreparedPage &page : m_report->preparedPages())
        for (const DrawRecord &r : page.Records)
            if (r.kind == DrawRecord::Text && qFuzzyCompare(r.rect.left(), 50 + ObjectRenderer::kPadding))
                printed << QString::number(page.Fonts[size_t(r.font)].Style) + QLatin1Char(' ') + r.text;
    EXPECT_EQ(printed.join(QLatin1Char('|')).toStdString(), expected.join(QLatin1Char('|')).toStdString());
}

// A band that does not fit the room left moves whole to the next page.
TEST_F(GrowingTextTest, ABandThatNoLongerFitsMovesWhole)
{
    openArchive(12);
    QList<QString> notes;
    for (int i = 0; i < 12; ++i)
        notes << longNote(60).replace(QStringLiteral("parola"), QStringLiteral("s%1p").arg(i));
    setNotes(notes);
    makeList(TqnBandView::boStretch);
    m_report->BuildPages();
    ASSERT_EQ(m_report->preparationError(), QString());
    // Each card's note lies on one page: its first and last words are on the same page.
    const PreparedPages &pages = m_report->preparedPages();
    ASSERT_GE(pages.size(), 2);
    for (int i = 0; i < 12; ++i) {
        int first = -1, last = -2;
        for (int p = 0; p < pages.size(); ++p)
            for (const DrawRecord &r : pages[p].Records) {
                if (r.kind != DrawRecord::Text)
                    continue;
                const QStringList words = r.text.split(QLatin1Char(' '));
                if (words.contains(QStringLiteral("s%1p1").arg(i)))
                    first = p;
                if (words.contains(QStringLiteral("s%1p60").arg(i)))
                    last = p;
            }
        EXPECT_EQ(first, last) << "card " << i;
    }
    // What lies under the note in the band moves down with it: each card's "Fine" is below
    // its note's last line, on the same page.
    int card = 0;
    for (const PreparedPage &page : pages) {
        double noteBottom = 0;
        for (const DrawRecord &r : page.Records) {
            if (r.kind != DrawRecord::Text)
                continue;
            if (r.text.startsWith(QStringLiteral("s%1p").arg(card)))
                noteBottom = r.rect.bottom();
            if (r.text.startsWith(QStringLiteral("Fine "))) {
                EXPECT_GE(r.rect.top(), noteBottom - 0.01) << "card " << card;
                EXPECT_GT(noteBottom, 0) << "card " << card;
                ++card;
            }
        }
    }
    EXPECT_EQ(card, 12);
}

TEST_F(PrintedPagesTest, ALayoutWhoseTextLineOrFilterIsTooLongIsRefusedOnSave)
{
    TqnLayout &layout = m_report->layout();
    TqnPage &page = layout.Pages.front();
    addBand(page, TqnBandType::btReportTitle, 0, 40);
    TqnMemoView &memo = addMemo(page, 40, 0, 300, 20, QString(1100, QLatin1Char('x')), QStringLiteral("Lunga"));
    const QString file = path(QStringLiteral("lungo.qnf"));
    const auto refusal = [&]() -> QString {
        try {
            m_report->StoreLayout(file);
        } catch (const EReportError &error) {
            return error.message();
        }
        return {};
    };
    EXPECT_TRUE(refusal().contains(QStringLiteral("l'oggetto \"Lunga\""))) << refusal().toStdString();
    EXPECT_FALSE(QFile::exists(file));

    memo.Memo = QStringList{QStringLiteral("corta")};
    TqnDBDataSet &source = addBoundSource(layout, QStringLiteral("Anagrafica"), QStringLiteral("Schede"));
    source.Filtered = true;
    source.Filter = QStringLiteral("Anagrafica.\"Fascia\" = 'A' or ") + QString(300, QLatin1Char('x'));
    EXPECT_TRUE(refusal().contains(QStringLiteral("il filtro di la sorgente dati \"Schede\"")) ||
                refusal().contains(QStringLiteral("\"Schede\""))) << refusal().toStdString();
    EXPECT_FALSE(QFile::exists(file));

    source.Filter = QStringLiteral("Anagrafica.\"Fascia\" = 'A'");
    EXPECT_EQ(refusal(), QString());
    EXPECT_TRUE(QFile::exists(file));
}

class SubReportTest : public PrintedPagesTest {
protected:
    // A title band holding a sub-report of `boxHeight` over the cards, rows of 20 pixels.
    TqnDBDataSet &makeLayout(int boxHeight)
    {
        TqnLayout &layout = m_report->layout();
        layout.Pages.emplace_back();
        TqnPage &main = layout.Pages.front();
        addBand(main, TqnBandType::btReportTitle, 0, boxHeight + 10);
        auto sub = std::make_unique<TqnSubReportView>();
        sub->X = 40;
        sub->Y = 5;
        sub->Width = 400;
        sub->Height = boxHeight;
        sub->Name = QStringLiteral("Sotto");
        sub->SubPage = 1;
        main.Objects.push_back(std::move(sub));
        TqnPage &inner = layout.Pages.back();
        addBand(inner, TqnBandType::btMasterData, 0, 20, QStringLiteral("Schede"));
        addMemo(inner, 0, 0, 300, 20, QStringLiteral("Riga [Protocollo]"));
        return addBoundSource(layout, QStringLiteral("Anagrafica"), QStringLiteral("Schede"));
    }
};

// Rows of a sub-report longer than its box go on under it and over the next pages, each
// once, never over the footer; the page goes on under the sub-report's last row.
TEST_F(SubReportTest, ASubReportLongerThanItsBoxGoesOnOverTheNextPages)
{
    openArchive(80);
    makeLayout(45);
    TqnPage &main = m_report->layout().Pages.front();
    addBand(main, TqnBandType::btReportSummary, 100, 20);
    addMemo(main, 40, 100, 300, 20, QStringLiteral("Dopo il sottoreport"));
    addBand(main, TqnBandType::btPageFooter, 130, 30);
    addMemo(main, 40, 135, 300, 20, QStringLiteral("Piede [PAGE#]"));
    m_report->BuildPages();
    ASSERT_EQ(m_report->preparationError(), QString()) << m_report->preparationError().toStdString();
    const PreparedPages &pages = m_report->preparedPages();
    ASSERT_GE(pages.size(), 2);
    const double footerTop = main.heightPx() - main.marginPx(main.Paper.Bottom) - 30;
    QStringList rows;
    for (int p = 0; p < pages.size(); ++p)
        for (const DrawRecord &r : pages[p].Records) {
            if (r.kind != DrawRecord::Text || r.text.startsWith(QStringLiteral("Piede")))
                continue;
            EXPECT_LE(r.rect.bottom(), footerTop + 0.01) << r.text.toStdString();
            if (r.text.startsWith(QStringLiteral("Riga ")))
                rows << r.text;
            if (r.text == QStringLiteral("Dopo il sottoreport"))
                EXPECT_EQ(p, pages.size() - 1);
        }
    EXPECT_EQ(rows.size(), 80);
    EXPECT_EQ(QSet<QString>(rows.begin(), rows.end()).size(), 80);
    // The last page: the summary lies under the last row.
    double lastRow = 0, after = 0;
    for (const DrawRecord &r : pages.back().Records)
        if (r.kind == DrawRecord::Text) {
            if (r.text.startsWith(QStringLiteral("Riga ")))
                lastRow = std::max(lastRow, r.rect.bottom());
            if (r.text == QStringLiteral("Dopo il sottoreport"))
                after = r.rect.top();
        }
    EXPECT_GE(after, lastRow);
}

// In a page footer there is no page to go on to: rows its box cannot hold are an error.
TEST_F(SubReportTest, InAPageFooterRowsTheBoxCannotHoldAreRefusedNotDropped)
{
    openArchive(5);
    makeLayout(45);
    auto &title = static_cast<TqnBandView &>(*m_report->layout().Pages.front().Objects.front());
    title.BandType = TqnBandType::btPageFooter;
    m_report->BuildPages();
    EXPECT_TRUE(m_report->preparationError().contains(QStringLiteral("Il sottoreport non ha spazio")))
        << m_report->preparationError().toStdString();
}

TEST_F(SubReportTest, AFailingSubReportStillClosesTheTableItOpened)
{
    openArchive(5);
    TqnDBDataSet &source = makeLayout(200);
    source.Filtered = true;
    source.Filter = QStringLiteral("Anagrafica.\"Fascia\" = ");   // does not parse
    m_data->Anagrafica().close();
    m_report->BuildPages();
    EXPECT_TRUE(m_report->preparationError().contains(QStringLiteral("Errore nell'espressione del filtro della banda.")))
        << m_report->preparationError().toStdString();
    EXPECT_FALSE(m_data->Anagrafica().active());
}

// Every group header and every detail header has its first row under it on its own page.
TEST_F(PrintedPagesTest, AHeaderNeverStandsAloneAtTheFootOfAPage)
{
    openArchive(80);
    TqnLayout &layout = m_report->layout();
    TqnPage &page = layout.Pages.front();
    TqnBandView &group = addBand(page, TqnBandType::btGroupHeader, 0, 30);
    group.GroupCondition = QStringLiteral("Anagrafica.\"Protocollo\"");   // a group per card
    addMemo(page, 40, 0, 300, 20, QStringLiteral("Gruppo [Protocollo]"));
    addBand(page, TqnBandType::btMasterData, 40, 20, QStringLiteral("Schede"));
    addMemo(page, 40, 40, 300, 20, QStringLiteral("Scheda [Protocollo]"));
    addBand(page, TqnBandType::btDetailHeader, 70, 20);
    addMemo(page, 60, 70, 300, 20, QStringLiteral("Componenti"));
    addBand(page, TqnBandType::btDetailData, 100, 20, QStringLiteral("Membri"));
    addMemo(page, 60, 100, 300, 20, QStringLiteral("Membro [Nucleo.\"Nome\"]"));
    addBoundSource(layout, QStringLiteral("Anagrafica"), QStringLiteral("Schede"));
    addBoundSource(layout, QStringLiteral("Nucleo"), QStringLiteral("Membri"));
    m_report->BuildPages();
    ASSERT_EQ(m_report->preparationError(), QString());
    const PreparedPages &pages = m_report->preparedPages();
    ASSERT_GE(pages.size(), 3);
    for (int p = 0; p < pages.size(); ++p) {
        QStringList texts;
        for (const DrawRecord &r : pages[p].Records)
            if (r.kind == DrawRecord::Text)
                texts << r.text;
        ASSERT_FALSE(texts.isEmpty());
        for (int i = 0; i < texts.size(); ++i) {
            const QString next = i + 1 < texts.size() ? texts[i + 1] : QString();
            if (texts[i].startsWith(QStringLiteral("Gruppo ")))
                EXPECT_TRUE(next.startsWith(QStringLiteral("Scheda "))) << "page " << p + 1 << ": " << texts[i].toStdString();
            if (texts[i] == QStringLiteral("Componenti"))
                EXPECT_TRUE(next.startsWith(QStringLiteral("Membro "))) << "page " << p + 1;
            if (texts[i].startsWith(QStringLiteral("Scheda ")))
                EXPECT_EQ(next, QStringLiteral("Componenti")) << "page " << p + 1 << ": " << texts[i].toStdString();
        }
    }
}

// "Giustifica tutto il testo": every line that wrapping ended reaches both edges of the box,
// the paragraph's last line stays at the left, and the words read in order in the PDF.
TEST_F(PrintedPagesTest, AJustifiedTextSpreadsItsWrappedLinesToTheBoxEdges)
{
    openArchive(1);
    TqnPage &page = m_report->layout().Pages.front();
    addBand(page, TqnBandType::btReportTitle, 0, 300);
    const QString text = longNote(60);
    addMemo(page, 40, 0, 250, 300, text).Alignment = taWordWrap | taJustify;
    m_report->BuildPages();
    ASSERT_EQ(m_report->preparationError(), QString());
    // The records of each line, by their top.
    QMap<double, std::pair<double, double>> lines;   // top -> leftmost, rightmost edge
    QMap<double, int> records;
    QStringList words;
    for (const DrawRecord &r : m_report->preparedPages().front().Records)
        if (r.kind == DrawRecord::Text) {
            words += r.text.split(QLatin1Char(' '));
            ++records[r.rect.top()];
            auto it = lines.find(r.rect.top());
            if (it == lines.end())
                lines.insert(r.rect.top(), {r.rect.left(), r.rect.right()});
            else
                it.value() = {std::min(it.value().first, r.rect.left()), std::max(it.value().second, r.rect.right())};
        }
    EXPECT_EQ(words.join(QLatin1Char(' ')), text);
    ASSERT_GE(lines.size(), 5);
    const double left = 40 + 2, right = 40 + 250 - 2;
    for (auto it = lines.begin(); it != lines.end(); ++it) {
        EXPECT_NEAR(it.value().first, left, 0.01);
        if (std::next(it) != lines.end()) {
            EXPECT_NEAR(it.value().second, right, 0.01) << it.key();
        } else {
            EXPECT_EQ(records.value(it.key()), 1);   // as it is, never spread
        }
    }
    EXPECT_TRUE(printedPdf().simplified().contains(text));
}

// The format text set in the inspector writes a text box's numbers and dates.
TEST_F(PrintedPagesTest, ATextBoxFormatTextWritesItsNumbersAndDates)
{
    openArchive(1);
    TqnPage &page = m_report->layout().Pages.front();
    addBand(page, TqnBandType::btReportTitle, 0, 80);
    addMemo(page, 40, 0, 300, 20, QStringLiteral("Importo [1234,5]")).FormatText = QStringLiteral("#,##0.00");
    addMemo(page, 40, 20, 300, 20, QStringLiteral("Oggi [DATE], pagina [PAGE#]")).FormatText = QStringLiteral("dd mmmm yyyy");
    addMemo(page, 40, 40, 300, 20, QStringLiteral("Senza [1234,5]"));
    m_report->BuildPages();
    const QStringList texts = textsOf(m_report->preparedPages());
    EXPECT_TRUE(texts.contains(QStringLiteral("Importo 1.234,50"))) << texts.join(QLatin1Char('|')).toStdString();
    // A date picture leaves the page number as it is.
    EXPECT_TRUE(texts.contains(QStringLiteral("Oggi 09 dicembre 2026, pagina 1"))) << texts.join(QLatin1Char('|')).toStdString();
    EXPECT_TRUE(texts.contains(QStringLiteral("Senza 1234,5")));
}

// A master header over no record is not printed with the fields of the card current before
// the run: like its footer, it prints only over records.
TEST_F(PrintedPagesTest, AMasterHeaderWithNoRecordShowsNoStaleFields)
{
    openArchive(3);
    TqnLayout &layout = m_report->layout();
    TqnPage &page = layout.Pages.front();
    addBand(page, TqnBandType::btMasterHeader, 0, 20);
    addMemo(page, 40, 0, 400, 20, QStringLiteral("Intestazione:[Anagrafica.\"Capofamiglia\"]."));
    addBand(page, TqnBandType::btMasterData, 30, 20, QStringLiteral("Schede"));
    addMemo(page, 40, 30, 300, 20, QStringLiteral("Riga [Protocollo]"));
    TqnDBDataSet &source = addBoundSource(layout, QStringLiteral("Anagrafica"), QStringLiteral("Schede"));
    source.Filtered = true;
    source.Filter = QStringLiteral("1 = 0");
    m_data->Anagrafica().last();
    m_report->BuildPages();
    ASSERT_EQ(m_report->preparationError(), QString());
    EXPECT_EQ(textsOf(m_report->preparedPages()), QStringList());
    source.Filter = QStringLiteral("1 = 1");
    m_report->BuildPages();
    EXPECT_TRUE(textsOf(m_report->preparedPages()).front().startsWith(QStringLiteral("Intestazione:")));
}

} // namespace
