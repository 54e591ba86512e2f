// Opening and saving from the preview: the three save choices, names, the current folder.

#include "output/report/ui/PreviewFiles.h"
#include "tests/report_ui/PreviewTestSupport.h"

#include <QFile>

using namespace previewtest;
using namespace reporttest;

namespace {

QByteArray fileBytes(const QString &name)
{
    QFile file(name);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

class PreviewFilesTest : public PreviewFixture {
protected:
    void SetUp() override
    {
        PreviewFixture::SetUp();
        // Every dialog moves the folder away; the preview must bring it back.
        ASSERT_TRUE(m_elsewhere.isValid());
        m_dialogs.wanderTo = m_elsewhere.path();
    }
    void saveAs(const QString &name, int filter)
    {
        m_dialogs.file = FileChoice{path(name), filter};
        m_preview->saveReport();
        EXPECT_EQ(QDir::currentPath(), m_startFolder) << name.toStdString();
    }
    QTemporaryDir m_elsewhere;
};

TEST_F(PreviewFilesTest, SavedReportOpensAgainOnPageOneInAnotherWindow)
{
    TStandardPreview &preview = open(makePages(7));
    preview.view()->goToPage(5);
    saveAs(QStringLiteral("elenco"), 0);
    EXPECT_EQ(m_dialogs.title, QStringLiteral("Salva il report."));
    ASSERT_EQ(m_dialogs.filters.size(), 5);
    EXPECT_EQ(m_dialogs.filters[0], QStringLiteral("Report file (*.qnp)"));
    EXPECT_TRUE(m_dialogs.filters[1].endsWith(QStringLiteral("(*.svg)")));
    EXPECT_TRUE(m_dialogs.filters[2].endsWith(QStringLiteral("(*.pdf)")));
    EXPECT_TRUE(m_dialogs.filters[3].endsWith(QStringLiteral("(*.csv)")));
    EXPECT_TRUE(m_dialogs.filters[4].endsWith(QStringLiteral("(*.ods)")));
    ASSERT_TRUE(QFile::exists(path(QStringLiteral("elenco.qnp"))));

    const PreparedPages saved = m_report->preparedPages();
    TStandardPreview &other = open(makePages(2));
    other.view()->goToPage(2);
    m_dialogs.file = FileChoice{path(QStringLiteral("elenco.qnp")), 0};
    other.openReport();
    EXPECT_EQ(m_dialogs.title, QStringLiteral("Apre un report."));
    EXPECT_EQ(m_dialogs.filters, QStringList{QStringLiteral("Report files (*.qnp)")});
    EXPECT_EQ(QDir::currentPath(), m_startFolder);
    EXPECT_EQ(m_report->preparedPages(), saved);
    EXPECT_EQ(other.view()->pageCount(), 7);
    EXPECT_EQ(other.view()->currentPage(), 1);
}

TEST_F(PreviewFilesTest, AFileThatIsNotAReportLeavesThePagesAndSaysSo)
{
    TStandardPreview &preview = open(makePages(3));
    QFile junk(path(QStringLiteral("rotto.qnp")));
    ASSERT_TRUE(junk.open(QIODevice::WriteOnly));
    junk.write("QNP1\xff\xff\xff\x7f");
    junk.close();
    m_dialogs.file = FileChoice{junk.fileName(), 0};
    preview.openReport();
    EXPECT_EQ(preview.view()->pageCount(), 3);
    ASSERT_EQ(m_messages.shown.size(), 1u);
    EXPECT_EQ(m_messages.shown[0].icon, TqnMessageIcon::Error);
    // Cancelling changes nothing either.
    m_dialogs.file.reset();
    preview.openReport();
    EXPECT_EQ(preview.view()->pageCount(), 3);
    EXPECT_EQ(QDir::currentPath(), m_startFolder);
}

TEST_F(PreviewFilesTest, PageOnViewAsVectorDrawingKeepsAnExtensionInAnyCase)
{
    TStandardPreview &preview = open(makePages(3));
    preview.view()->goToPage(2);
    saveAs(QStringLiteral("pagina"), 1);
    saveAs(QStringLiteral("PAGINA.SVG"), 1);
    saveAs(QStringLiteral("altra.emf"), 1);
    EXPECT_TRUE(QFile::exists(path(QStringLiteral("pagina.svg"))));
    EXPECT_TRUE(QFile::exists(path(QStringLiteral("PAGINA.SVG"))));
    EXPECT_FALSE(QFile::exists(path(QStringLiteral("PAGINA.SVG.svg"))));
    EXPECT_TRUE(QFile::exists(path(QStringLiteral("altra.emf.svg"))));
    QFile svg(path(QStringLiteral("pagina.svg")));
    ASSERT_TRUE(svg.open(QIODevice::ReadOnly));
    const QByteArray drawing = svg.readAll();
    // The page on view, drawn as text and shapes, not as a picture.
    EXPECT_TRUE(drawing.contains("Pagina 2"));
    EXPECT_FALSE(drawing.contains("Pagina 1"));
    EXPECT_FALSE(drawing.contains("<image"));
    EXPECT_TRUE(m_messages.shown.empty());
}

TEST_F(PreviewFilesTest, AllPagesAsPdfAndAFailedSaveIsReported)
{
    TStandardPreview &preview = open(makePages(4));
    saveAs(QStringLiteral("elenco.PDF"), 2);
    const QStringList pages = pdfText(path(QStringLiteral("elenco.PDF"))).split(QChar(12), Qt::SkipEmptyParts);
    ASSERT_GE(pages.size(), 4);
    EXPECT_EQ(pages[3].trimmed(), QStringLiteral("Pagina 4"));

    m_dialogs.file = FileChoice{path(QStringLiteral("manca/elenco.qnp")), 0};
    preview.saveReport();
    ASSERT_EQ(m_messages.shown.size(), 1u);
    EXPECT_TRUE(m_messages.shown[0].text.contains(QStringLiteral("manca/elenco.qnp")));
    EXPECT_EQ(QDir::currentPath(), m_startFolder);
}

// The dialog asks before replacing the file it names; nothing replaces an archive, and a
// name the extension completes does not replace a file the dialog never named.
TEST_F(PreviewFilesTest, NoSaveReplacesAnArchiveOrAFileTheDialogDidNotName)
{
    open(makePages(2));
    const auto write = [this](const char *name, const QByteArray &bytes) {
        QFile file(path(QString::fromLatin1(name)));
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(bytes);
    };
    const QByteArray database = QByteArray("SQLite format 3\0", 16) + QByteArray(100, 'x');
    write("vecchio.qnp", database);
    write("copia.pdf", database);
    write("elenco.pdf", "da tenere");
    saveAs(QStringLiteral("vecchio.qnp"), 0);
    saveAs(QStringLiteral("copia.pdf"), 2);
    saveAs(QStringLiteral("elenco"), 2);
    ASSERT_EQ(m_messages.shown.size(), 3u);
    EXPECT_TRUE(m_messages.shown[0].text.contains(QStringLiteral("è un archivio")));
    EXPECT_TRUE(m_messages.shown[1].text.contains(QStringLiteral("è un archivio")));
    EXPECT_TRUE(m_messages.shown[2].text.contains(QStringLiteral("esiste già")));
    EXPECT_EQ(fileBytes(path(QStringLiteral("vecchio.qnp"))), database);
    EXPECT_EQ(fileBytes(path(QStringLiteral("copia.pdf"))), database);
    EXPECT_EQ(fileBytes(path(QStringLiteral("elenco.pdf"))), QByteArray("da tenere"));

    saveAs(QStringLiteral("elenco.pdf"), 2);
    EXPECT_EQ(m_messages.shown.size(), 3u);
    EXPECT_TRUE(fileBytes(path(QStringLiteral("elenco.pdf"))).startsWith("%PDF"));
    EXPECT_EQ(QFile::permissions(path(QStringLiteral("elenco.pdf"))),
              QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ReadUser | QFileDevice::WriteUser);
}

// The list on view as a spreadsheet: one row per card the data band printed, in its order.
class PreviewSheetTest : public PreviewListFixture {};

TEST_F(PreviewSheetTest, TheListOnViewSavesAsCsvAndOds)
{
    buildList(20);
    ScriptedDialogs dialogs;
    TStandardPreview preview(*m_report, false);
    preview.setDialogs(&dialogs);
    dialogs.file = FileChoice{path(QStringLiteral("elenco")), 3};
    preview.saveReport();
    QFile csv(path(QStringLiteral("elenco.csv")));
    ASSERT_TRUE(csv.open(QIODevice::ReadOnly));
    const QByteArray bytes = csv.readAll();
    EXPECT_TRUE(bytes.startsWith("\xEF\xBB\xBF"));
    const QStringList rows = QString::fromUtf8(bytes.mid(3)).split(QStringLiteral("\r\n"), Qt::SkipEmptyParts);
    ASSERT_EQ(rows.size(), 21);
    const QStringList printed = textsOf(m_report->preparedPages());
    EXPECT_TRUE(printed.contains(rows[1])) << rows[1].toStdString();
    EXPECT_EQ(m_report->preparedPages().size(), 1);

    dialogs.file = FileChoice{path(QStringLiteral("elenco")), 4};
    preview.saveReport();
    QFile ods(path(QStringLiteral("elenco.ods")));
    ASSERT_TRUE(ods.open(QIODevice::ReadOnly));
    const QByteArray head = ods.read(120);
    EXPECT_TRUE(head.startsWith("PK") && head.contains("mimetype") && head.contains("application/vnd.oasis.opendocument.spreadsheet"));
}

} // namespace
