#include "tests/report/ReportTestSupport.h"

#include "output/report/ComponentDirectory.h"
#include "session/ArchiveConnection.h"
#include "tests/support/Processes.h"
#include "tests/support/QtApplication.h"
#include "tests/support/TestArchive.h"

#include <QRegularExpression>

namespace reporttest {

TqnBandView &addBand(TqnPage &page, TqnBandType type, int y, int height, const QString &source)
{
    auto band = std::make_unique<TqnBandView>();
    band->BandType = type;
    band->X = 0;
    band->Y = y;
    band->Width = 700;
    band->Height = height;
    band->FormatText = source;
    band->Name = QStringLiteral("Band%1").arg(page.Objects.size() + 1);
    TqnBandView &ref = *band;
    page.Objects.push_back(std::move(band));
    return ref;
}

TqnMemoView &addMemo(TqnPage &page, int x, int y, int width, int height, const QString &text,
                     const QString &name)
{
    auto memo = std::make_unique<TqnMemoView>();
    memo->X = x;
    memo->Y = y;
    memo->Width = width;
    memo->Height = height;
    memo->Memo = text.split(QLatin1Char('\n'));
    memo->Name = name.isEmpty() ? QStringLiteral("Memo%1").arg(page.Objects.size() + 1) : name;
    TqnMemoView &ref = *memo;
    page.Objects.push_back(std::move(memo));
    return ref;
}

TqnDBDataSet &addBoundSource(TqnLayout &layout, const QString &table, const QString &name)
{
    auto *entry = new TqnDBDataSet(layout.DataSets.holder());
    entry->setName(name);
    entry->ComponentText = QStringLiteral("frm_main.") + table;
    entry->setDataSet(qobject_cast<TDataSet *>(ComponentDirectory::instance().find(entry->ComponentText)));
    layout.DataSets.add(entry);
    return *entry;
}

void ReportFixture::SetUp()
{
    testsupport::ensureApplication();
    ASSERT_TRUE(m_dir.isValid());
    m_window = std::make_unique<QObject>();
    m_window->setObjectName(QStringLiteral("frm_main"));
    ComponentDirectory::instance().add(QStringLiteral("frm_main"), nullptr);
    m_report = std::make_unique<TqnReport>(m_window.get());
    configureReport(*m_report);
    m_report->setMessages(&m_messages);
    m_report->setClock([] { return QDateTime(QDate(2026, 12, 9), QTime(10, 30)); });
}

void ReportFixture::TearDown()
{
    m_report.reset();
    ComponentDirectory::instance().removeWindow(QStringLiteral("frm_main"));
    m_window.reset();
}

void ArchiveReportFixture::openArchive(int households)
{
    const QString file = path(QStringLiteral("tavorio.mdb"));
    testsupport::createArchive(file, {}, households);
    m_database = std::make_unique<TArcDatabase>();
    m_data = std::make_unique<TMainData>(*m_database);
    configureArchiveConnection(*m_database);
    m_database->setDatabase(file);
    m_database->setConnected(true);
    for (TArcTable *table : {&m_data->Anagrafica(), &m_data->Nucleo(), &m_data->Fascia()})
        table->open();
    registerReportDataSets(QStringLiteral("frm_main"), *m_data);
}

void ArchiveReportFixture::TearDown()
{
    ReportFixture::TearDown();
    m_data.reset();
    m_database.reset();
}

DrawRecord textLine(const QString &text, double x, double y, int font, double width)
{
    DrawRecord r;
    r.kind = DrawRecord::Text;
    r.rect = QRectF(x, y, width, 16);
    r.baseline = 12.40625f;
    r.font = font;
    r.text = text;
    return r;
}

QStringList textsOf(const PreparedPages &pages)
{
    QStringList texts;
    for (const PreparedPage &page : pages)
        for (const DrawRecord &r : page.Records)
            if (r.kind == DrawRecord::Text)
                texts << r.text;
    return texts;
}

QString pdfText(const QString &pdf)
{
    return testsupport::outputOf(QStringLiteral("pdftotext"), {QStringLiteral("-layout"), pdf, QStringLiteral("-")});
}

std::vector<PdfWord> pdfWords(const QString &pdf)
{
    const QString html = testsupport::outputOf(QStringLiteral("pdftotext"), {QStringLiteral("-bbox"), pdf, QStringLiteral("-")});
    static const QRegularExpression item(QStringLiteral(
        "<page |<word xMin=\"([\\d.]+)\" yMin=\"([\\d.]+)\" xMax=\"([\\d.]+)\" yMax=\"([\\d.]+)\">([^<]*)</word>"));
    std::vector<PdfWord> words;
    int page = 0;
    for (const QRegularExpressionMatch &m : item.globalMatch(html)) {
        if (m.captured(0).startsWith(QLatin1String("<page"))) {
            ++page;
            continue;
        }
        QString text = m.captured(5);
        text.replace(QStringLiteral("&amp;"), QStringLiteral("&")).replace(QStringLiteral("&apos;"), QStringLiteral("'"))
            .replace(QStringLiteral("&quot;"), QStringLiteral("\"")).replace(QStringLiteral("&lt;"), QStringLiteral("<"))
            .replace(QStringLiteral("&gt;"), QStringLiteral(">"));
        const QPointF topLeft(m.captured(1).toDouble(), m.captured(2).toDouble());
        const QPointF bottomRight(m.captured(3).toDouble(), m.captured(4).toDouble());
        words.push_back({page, text, QRectF(topLeft, bottomRight)});
    }
    return words;
}

} // namespace reporttest
