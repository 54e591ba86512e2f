// Printing a prepared report through a recording printer, and the prepared-report file.

#include "output/report/pages/PreparedFile.h"
#include "output/report/printer/QtReportPrinter.h"
#include "tests/report/ReportTestSupport.h"

using namespace reporttest;

namespace {

class RecordingPrinter final : public ReportPrinter {
public:
    explicit RecordingPrinter(QStringList &log) : m_log(log) {}
    PreparedPaper paper() const override { return m_paper; }
    void setPaper(const PreparedPaper &paper) override
    {
        m_paper = paper;
        m_log << QStringLiteral("paper %1").arg(paper.Size);
    }
    void setTitle(const QString &title) override { m_log << QStringLiteral("title ") + title; }
    void beginJob() override { m_log << QStringLiteral("begin"); }
    void newSheet() override { m_log << QStringLiteral("sheet"); }
    void drawPage(const PreparedPage &page, bool) override { m_log << QStringLiteral("page %1").arg(page.Records.front().text); }
    void endJob() override { m_log << QStringLiteral("end"); }
    void abortJob() override { m_log << QStringLiteral("abort"); }

private:
    QStringList &m_log;
    PreparedPaper m_paper;
};

class PrintPagesTest : public ReportFixture {
protected:
    void SetUp() override
    {
        ReportFixture::SetUp();
        m_report->setPrinterFactory([this](const QString &) { return std::make_unique<RecordingPrinter>(m_log); });
        setPages(5);
    }
    void setPages(int count, int paperChangeAt = -1)
    {
        PreparedPages &pages = m_report->preparedPages();
        pages.clear();
        for (int i = 1; i <= count; ++i) {
            PreparedPage page;
            if (i >= paperChangeAt && paperChangeAt > 0)
                page.Paper.Size = 8;
            DrawRecord text;
            text.kind = DrawRecord::Text;
            text.text = QString::number(i);
            text.font = page.fontIndex({QStringLiteral("Arial"), 10, 0});
            page.Records.push_back(text);
            pages.append(page);
        }
    }
    QStringList printed(int first, int last, bool collate, int copies)
    {
        m_log.clear();
        m_report->PrintPages(first, last, collate, copies);
        QStringList pages;
        for (const QString &entry : m_log)
            if (entry.startsWith(QStringLiteral("page ")))
                pages << entry.mid(5);
        return pages;
    }
    QStringList m_log;
};

TEST_F(PrintPagesTest, RangesAreClampedAndAnEmptyRangeIsAnEmptyJob)
{
    EXPECT_TRUE(printed(3, 2, false, 1).isEmpty());
    EXPECT_EQ(m_log, (QStringList{"paper 9", "title Prossimi appuntamenti", "begin", "end"}));
    EXPECT_EQ(printed(1, 99, false, 1), (QStringList{"1", "2", "3", "4", "5"}));
    EXPECT_EQ(m_log.count(QStringLiteral("sheet")), 4);
}

TEST_F(PrintPagesTest, CopiesWithAndWithoutCollate)
{
    EXPECT_EQ(printed(1, 2, false, 3), (QStringList{"1", "1", "1", "2", "2", "2"}));
    EXPECT_EQ(printed(1, 2, true, 3), (QStringList{"1", "2", "1", "2", "1", "2"}));
}

TEST_F(PrintPagesTest, PaperChangeEndsTheJobAndStartsANewOne)
{
    setPages(4, 3);
    m_report->Title.clear();
    printed(1, 4, false, 1);
    EXPECT_EQ(m_log, (QStringList{"paper 9", "title Quarnel: Nessun nome", "begin", "page 1", "sheet", "page 2",
                                  "end", "paper 8", "begin", "page 3", "sheet", "page 4", "end"}));
}

TEST_F(PrintPagesTest, StopFlagAbortsTheJob)
{
    m_report->stop();
    EXPECT_EQ(printed(1, 5, false, 1), QStringList{"1"});
    EXPECT_EQ(m_log.back(), QStringLiteral("abort"));
}

TEST_F(PrintPagesTest, QtPrinterPrintsThePagesAsAJob)
{
    // Qt's printer writing a PDF file stands for a real one here.
    const QString file = path(QStringLiteral("stampa.pdf"));
    m_report->setPrinterFactory([&](const QString &) {
        auto printer = std::make_unique<QtReportPrinter>();
        printer->printer().setOutputFormat(QPrinter::PdfFormat);
        printer->printer().setOutputFileName(file);
        return printer;
    });
    m_report->PrintPages(2, 4, false, 1);
    const QStringList pages = pdfText(file).split(QChar(12), Qt::SkipEmptyParts);
    ASSERT_EQ(pages.size(), 3);
    EXPECT_EQ(pages[0].trimmed(), QStringLiteral("2"));
    EXPECT_EQ(pages[2].trimmed(), QStringLiteral("4"));
}

TEST_F(PrintPagesTest, APrinterThatCannotStartIsReported)
{
    // Qt's printer writing into a folder that does not exist cannot begin its job.
    m_report->setPrinterFactory([&](const QString &) {
        auto printer = std::make_unique<QtReportPrinter>();
        printer->printer().setOutputFormat(QPrinter::PdfFormat);
        printer->printer().setOutputFileName(path(QStringLiteral("manca/stampa.pdf")));
        return printer;
    });
    m_report->PrintPages(1, 5, false, 1);
    ASSERT_EQ(m_messages.shown.size(), 1u);
    EXPECT_TRUE(m_messages.shown.front().text.startsWith(QStringLiteral("Non è stato possibile avviare la stampa")));
    EXPECT_EQ(m_messages.shown.front().icon, TqnMessageIcon::Error);
}

TEST_F(PrintPagesTest, PreparedFileRoundTripAndDamage)
{
    PreparedPages pages = m_report->preparedPages();
    DrawRecord line;
    line.kind = DrawRecord::Line;
    line.rect = QRectF(1.5, 2.25, 100, 0);
    line.penWidth = 2;
    pages[1].Records.push_back(line);
    DrawRecord image;
    image.kind = DrawRecord::Image;
    image.rect = QRectF(10, 10, 4, 4);
    image.image = QImage(4, 4, QImage::Format_ARGB32);
    image.image.fill(Qt::red);
    pages[2].Records.push_back(image);
    pages[3].Paper.Orientation = 1;

    const QByteArray bytes = writePreparedPages(pages);
    const auto back = readPreparedPages(bytes);
    ASSERT_TRUE(back.has_value());
    EXPECT_EQ(*back, pages);
    for (qsizetype n = 0; n < bytes.size(); n += 3)
        EXPECT_FALSE(readPreparedPages(bytes.left(n)).has_value()) << n;
    QByteArray huge = bytes.left(4);
    huge.append("\xFF\xFF\xFF\x7F");
    EXPECT_FALSE(readPreparedPages(huge).has_value());
}

} // namespace

// Without a printer of its own the report prints on the system's printer of the selected
// name, which only a program with windows installs; the companion has none, and says so.
TEST_F(PrintPagesTest, TheSystemPrinterIsUsedWhenInstalledAndItsAbsenceIsReported)
{
    m_report->setPrinterFactory(nullptr);
    m_report->setSelectedPrinter(QStringLiteral("Ufficio"));
    const auto saved = TqnReport::systemPrinter();
    QString asked;
    TqnReport::systemPrinter() = [&](const QString &name) {
        asked = name;
        return std::make_unique<RecordingPrinter>(m_log);
    };
    EXPECT_EQ(printed(1, 2, false, 1), (QStringList{"1", "2"}));
    EXPECT_EQ(asked, QStringLiteral("Ufficio"));

    TqnReport::systemPrinter() = nullptr;
    EXPECT_TRUE(printed(1, 2, false, 1).isEmpty());
    TqnReport::systemPrinter() = saved;
    ASSERT_EQ(m_messages.shown.size(), 1u);
    EXPECT_TRUE(m_messages.shown.front().text.contains(QStringLiteral("\"Ufficio\"")));
    EXPECT_EQ(m_messages.shown.front().icon, TqnMessageIcon::Error);
}
