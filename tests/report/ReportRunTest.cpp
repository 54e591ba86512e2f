// The report's operations around building: the designer and preview hooks, the progress
// window's cancel, AutoLoad's reload, field-bound variables, and the band kinds beyond a
// plain list (cross table, sub-report, wrapped text).

#include "output/report/build/ObjectRenderer.h"
#include "output/report/pages/PageFonts.h"
#include "tests/report/ReportTestSupport.h"
#include "tests/support/ScopedHook.h"

#include <QDir>
#include <QFile>
#include <QThread>

using namespace reporttest;

namespace {

class ReportRunTest : public ArchiveReportFixture {
protected:
    QStringList texts() { return textsOf(m_report->preparedPages()); }
};

TEST_F(ReportRunTest, DesignerBeforeAnyLoadOpensOnAnEmptyOnePageLayout)
{
    int opened = 0;
    const testsupport::ScopedHook designerHook(TqnReport::designerHook(), [&](TqnReport &report) {
        ++opened;
        EXPECT_EQ(report.layout().Pages.size(), 1u);
        EXPECT_TRUE(report.layout().FileName.isEmpty());
    });
    m_report->OpenDesigner();
    EXPECT_EQ(opened, 0);   // no designer component in the program: nothing opens
    {
        TqnDesigner designer(m_window.get());
        m_report->layout().Pages.clear();
        m_report->OpenDesigner();
    }
    EXPECT_EQ(opened, 1);
    EXPECT_EQ(TqnReport::current(), m_report.get());
}

TEST_F(ReportRunTest, ProgressWindowCancelEndsBuildingAndShowsNothing)
{
    openArchive(3);
    TqnPage &page = m_report->layout().Pages.front();
    addBand(page, TqnBandType::btMasterData, 0, 20, QStringLiteral("S"));
    addMemo(page, 0, 0, 200, 20, QStringLiteral("[Protocollo]"));
    addBoundSource(m_report->layout(), QStringLiteral("Anagrafica"), QStringLiteral("S"));
    m_report->ShowProgress = true;
    QStringList shown;
    const testsupport::ScopedHook progressHook(TqnReport::progressHook(), [&](const QString &caption, const QString &text) {
        shown << caption + QLatin1Char('|') + text;
        return false;
    });
    int previews = 0;
    const testsupport::ScopedHook previewHook(TqnReport::previewHook(), [&](TqnReport &) { ++previews; });
    EXPECT_FALSE(m_report->BuildPages());
    m_report->RunPreview();
    EXPECT_EQ(shown.front(), QStringLiteral("Report in preparazione - Prossimi appuntamenti|Pagina in costruzione: 1"));
    EXPECT_EQ(previews, 0);
    EXPECT_TRUE(m_messages.shown.empty());
    EXPECT_EQ(m_data->Anagrafica().recNo(), 1);
}

TEST_F(ReportRunTest, AutoLoadReloadsALayoutChangedOnDisk)
{
    const QString file = path(QStringLiteral("auto.qnf"));
    addMemo(m_report->layout().Pages.front(), 0, 0, 100, 20, QStringLiteral("uno"));
    m_report->StoreLayout(file);
    m_report->setAutoLoad(file);
    ASSERT_EQ(m_report->layout().Pages.front().Objects.size(), 1u);

    TqnReport other(m_window.get(), QStringLiteral("altro"));
    other.setMessages(&m_messages);
    addMemo(other.layout().Pages.front(), 0, 0, 100, 20, QStringLiteral("due"));
    addMemo(other.layout().Pages.front(), 0, 30, 100, 20, QStringLiteral("tre"));
    QThread::msleep(20);
    other.StoreLayout(file);
    QFile(file).setFileTime(QDateTime::currentDateTime().addSecs(5), QFileDevice::FileModificationTime);
    m_report->BuildPages();
    EXPECT_EQ(m_report->layout().Pages.front().Objects.size(), 2u);

    m_report->setAutoLoad(QString());
    EXPECT_TRUE(m_report->layout().Pages.front().Objects.empty());
}

TEST_F(ReportRunTest, FieldBoundVariablesAreCheckedBeforeBuilding)
{
    openArchive(2);
    addMemo(m_report->layout().Pages.front(), 0, 0, 300, 20, QStringLiteral("Capo [Capo]"));
    m_report->layout().Values.set({QStringLiteral("Capo"), TqnVariableKind::vkField, QStringLiteral("Anagrafica"),
                                   QStringLiteral("Capofamiglia"), {}});
    m_report->BuildPages();
    ASSERT_EQ(m_report->preparationError(), QString());
    EXPECT_TRUE(texts().front().startsWith(QStringLiteral("Capo ")));

    m_report->layout().Values.set({QStringLiteral("Capo"), TqnVariableKind::vkField, QStringLiteral("Anagrafica"),
                                   QStringLiteral("Manca"), {}});
    m_report->BuildPages();
    EXPECT_EQ(m_report->preparationError(), QStringLiteral("Si è verificato un errore durante la fase di preparazione\r"
                                                           "Non è stato possibile reperire il campo: Anagrafica.Manca\rPagina: 0"));
    m_report->layout().Values.set({QStringLiteral("Capo"), TqnVariableKind::vkField, QStringLiteral("frm_main.Nessuno"),
                                   QStringLiteral("Nome"), {}});
    m_report->BuildPages();
    EXPECT_TRUE(m_report->preparationError().contains(QStringLiteral("Non è stato trovato il qnDataset: frm_main.Nessuno")));
}

TEST_F(ReportRunTest, CrossTablePrintsOneColumnPerRecordBesideItsHeader)
{
    openArchive(1);
    TqnPage &page = m_report->layout().Pages.front();
    addBand(page, TqnBandType::btCrossHeader, 0, 20).Width = 100;
    addMemo(page, 40, 0, 60, 20, QStringLiteral("Fasce"));
    TqnBandView &data = addBand(page, TqnBandType::btCrossData, 30, 20, QStringLiteral("F"));
    data.X = 100;
    data.Width = 50;
    addMemo(page, 100, 30, 50, 20, QStringLiteral("[Fascia]"));
    addBoundSource(m_report->layout(), QStringLiteral("Fascia"), QStringLiteral("F"));
    m_report->BuildPages();
    ASSERT_EQ(m_report->preparationError(), QString());
    std::vector<double> lefts;
    double top = -1;
    for (const DrawRecord &r : m_report->preparedPages().front().Records)
        if (r.kind == DrawRecord::Text && r.text != QStringLiteral("Fasce")) {
            lefts.push_back(r.rect.left());
            if (top < 0)
                top = r.rect.top();
            EXPECT_NEAR(r.rect.top(), top, 0.01);   // one row
        }
    ASSERT_GE(lefts.size(), 3u);
    for (size_t i = 1; i < lefts.size(); ++i)
        EXPECT_NEAR(lefts[i] - lefts[i - 1], 50, 0.01);
}

TEST_F(ReportRunTest, SubReportPrintsItsPageInPlaceAndNotOnItsOwn)
{
    openArchive(1);
    TqnLayout &layout = m_report->layout();
    layout.Pages.emplace_back();
    TqnPage &main = layout.Pages[0];
    addBand(main, TqnBandType::btReportTitle, 0, 200);
    addMemo(main, 10, 0, 200, 20, QStringLiteral("Titolo"));
    auto sub = std::make_unique<TqnSubReportView>();
    sub->X = 300;
    sub->Y = 20;
    sub->Width = 200;
    sub->Height = 150;
    sub->SubPage = 1;
    main.Objects.push_back(std::move(sub));
    TqnPage &inner = layout.Pages[1];
    addBand(inner, TqnBandType::btMasterData, 0, 20, QStringLiteral("F"));
    addMemo(inner, 0, 0, 100, 20, QStringLiteral("Fascia [Fascia]"));
    addBoundSource(layout, QStringLiteral("Fascia"), QStringLiteral("F"));

    m_report->BuildPages();
    ASSERT_EQ(m_report->preparationError(), QString());
    ASSERT_EQ(m_report->preparedPages().size(), 1);
    int rows = 0;
    for (const DrawRecord &r : m_report->preparedPages().front().Records)
        if (r.kind == DrawRecord::Text && r.text.startsWith(QStringLiteral("Fascia "))) {
            ++rows;
            EXPECT_GE(r.rect.left(), 300);
            EXPECT_LE(r.rect.bottom(), m_report->layout().Pages[0].marginPx(100) + 20 + 150 + 0.01);
        }
    EXPECT_GT(rows, 1);
}

TEST_F(ReportRunTest, AssignedEventsRunInDocumentOrder)
{
    openArchive(2);
    TqnPage &page = m_report->layout().Pages.front();
    addBand(page, TqnBandType::btMasterData, 0, 20, QStringLiteral("S"));
    addMemo(page, 0, 0, 200, 20, QStringLiteral("[Protocollo]"));
    addBoundSource(m_report->layout(), QStringLiteral("Anagrafica"), QStringLiteral("S"));
    QStringList events;
    m_report->OnBeginDoc = [&](TqnReport &) { events << QStringLiteral("doc"); };
    m_report->OnEndDoc = [&](TqnReport &) { events << QStringLiteral("/doc"); };
    m_report->OnBeginPage = [&](TqnReport &, int p) { events << QStringLiteral("page %1").arg(p); };
    m_report->OnEndPage = [&](TqnReport &, int p) { events << QStringLiteral("/page %1").arg(p); };
    m_report->OnDataSetWork = [&](TqnReport &, const QString &name) { events << QStringLiteral("work ") + name; };
    m_report->OnBeforePrint = [&](const TqnView &) { events << QStringLiteral("band"); };
    m_report->BuildPages();
    EXPECT_EQ(events, (QStringList{"doc", "page 0", "work S", "band", "band", "/page 0", "/doc"}));
}

TEST_F(ReportRunTest, TextWrapsAtWordsInsideItsBox)
{
    const QFont font = PageFonts::font({QStringLiteral("Arial"), 10, 0});
    const QFontMetricsF metrics = PageFonts::metrics(font);
    const QString text = QStringLiteral("Via delle Rose numero quarantadue, scala B, interno sette");
    const double width = metrics.horizontalAdvance(QStringLiteral("Via delle Rose numero"));
    const QStringList lines = ObjectRenderer::wrap(text, metrics, width + 1);
    EXPECT_EQ(lines.join(QLatin1Char(' ')), text);
    EXPECT_EQ(lines.front(), QStringLiteral("Via delle Rose numero"));
    for (const QString &line : lines)
        EXPECT_LE(metrics.horizontalAdvance(line), width + 1);
    // A word longer than the box is cut rather than left sticking out.
    const QStringList cut = ObjectRenderer::wrap(QStringLiteral("Precipitevolissimevolmente"), metrics, 30);
    EXPECT_GT(cut.size(), 1);
    EXPECT_EQ(cut.join(QString()), QStringLiteral("Precipitevolissimevolmente"));
}

// The plain wrap that measures the line again with every word it adds: the lines any
// faster wrap must give.
QStringList wrapWordByWord(const QString &text, const QFontMetricsF &metrics, double width)
{
    if (metrics.horizontalAdvance(text) <= width)
        return {text};
    QStringList lines;
    QString line;
    for (const QString &word : text.split(QLatin1Char(' '))) {
        const QString candidate = line.isEmpty() ? word : line + QLatin1Char(' ') + word;
        if (metrics.horizontalAdvance(candidate) <= width || candidate.isEmpty()) {
            line = candidate;
            continue;
        }
        if (!line.isEmpty())
            lines.append(line);
        line = word;
        while (line.size() > 1 && metrics.horizontalAdvance(line) > width) {
            qsizetype cut = line.size() - 1;
            while (cut > 1 && metrics.horizontalAdvance(line.left(cut)) > width)
                --cut;
            lines.append(line.left(cut));
            line = line.mid(cut);
        }
    }
    lines.append(line);
    return lines;
}

// Long notes of words of every length (runs of blanks, words wider than the box, accented
// letters, punctuation; every other note with joined Arabic letters and combining accents) in
// boxes of several widths and faces wrap exactly as word by word.
TEST_F(ReportRunTest, LongNotesWrapIntoTheSameLinesAsWordByWord)
{
    const QStringList latin{"a", "di", "Via", "presso", "Caritas", "parrocchiale,", "interno", "12", "scala",
                            "B.", "perché", "però", "Sant'Antonio", "WWWWWW", "iiiiii", "", "",
                            "Precipitevolissimevolmente", "l'ISEE", "(scaduto)", "àèìòù", "—"};
    const QStringList mixed = latin + QStringList{QStringLiteral("محمد"), QStringLiteral("عبد الرحمن"),
                                                  QStringLiteral("cafe\u0301"), QStringLiteral("Ελένη")};
    quint32 seed = 22;
    const auto next = [&seed] { seed = seed * 1103515245u + 12345u; return (seed >> 16) & 0x7fff; };
    int compared = 0;
    for (const PreparedFont face : {PreparedFont{QStringLiteral("Arial"), 9, 0}, PreparedFont{QStringLiteral("Arial"), 12, fsBold},
                                    PreparedFont{QStringLiteral("Times New Roman"), 10, fsItalic}}) {
        const QFontMetricsF metrics = PageFonts::metrics(PageFonts::font(face));
        for (int note = 0; note < 4; ++note) {
            const QStringList &vocabulary = note % 2 ? mixed : latin;
            QStringList words;
            for (int w = 0, count = 40 + int(next() % 200); w < count; ++w)
                words << vocabulary[int(next() % vocabulary.size())];
            const QString text = words.join(QLatin1Char(' '));
            for (const double width : {20.0, 57.5, 101.0, 140.0, 210.0, 300.0, 596.0}) {
                const QStringList expected = wrapWordByWord(text, metrics, width);
                ASSERT_EQ(ObjectRenderer::wrap(text, metrics, width), expected) << note << " " << width;
                compared += int(expected.size());
            }
        }
    }
    EXPECT_GT(compared, 1000);
}

} // namespace

namespace {

// Short texts at the widths where a break could go either way: exactly their width or a word's
// end, a hair under, a hair over; with blanks at the ends, doubled, tabs, accents, nothing.
TEST_F(ReportRunTest, ShortTextsBreakAsWordByWordAtExactWidthsAndKeepTheirWidths)
{
    const QStringList texts{"", " ", "  ", "a", " a", "a ", "a  b", "\t", "a\tb c", "Via\tRoma 3", "àèìòù perché",
                            "Sant'Antonio Abate", "WWWW iiii WWWW", "Precipitevolissimevolmente", "l'ISEE è scaduto ",
                            "ROSSI MARIO", "12/03/1961", "Figlia", "cafe\u0301 au lait"};
    const QFontMetricsF metrics = PageFonts::metrics(PageFonts::font({QStringLiteral("Arial"), 9, fsBold}));
    WordWrap wrap(metrics);
    const auto compareAll = [&](const char *round) {
        for (const QString &text : texts) {
            std::vector<double> widths{1, 5, 20, metrics.horizontalAdvance(text)};
            for (qsizetype end = text.indexOf(QLatin1Char(' ')); end > 0; end = text.indexOf(QLatin1Char(' '), end + 1))
                widths.push_back(metrics.horizontalAdvance(text.left(end)));
            for (const double exact : std::vector<double>(widths))
                widths.insert(widths.end(), {exact - 0.001, exact + 0.001});
            for (const double width : widths) {
                const WordWrap::Lines lines = wrap.wrap(text, width);
                ASSERT_EQ(lines.lines, wrapWordByWord(text, metrics, width)) << round << " '" << text.toStdString() << "' " << width;
                ASSERT_EQ(lines.advances.size(), size_t(lines.lines.size()));
                for (qsizetype i = 0; i < lines.lines.size(); ++i)
                    EXPECT_EQ(lines.advances[size_t(i)], metrics.horizontalAdvance(lines.lines[i])) << text.toStdString();
                EXPECT_EQ(wrap.advance(text), metrics.horizontalAdvance(text));
            }
        }
    };
    compareAll("first");
    compareAll("remembered");
    // Enough other texts for the remembered ones to move to the older half, and out of it.
    for (int i = 0; i < 20000; ++i)
        wrap.advance(QStringLiteral("Nome %1").arg(i));
    compareAll("after many");
}

} // namespace
