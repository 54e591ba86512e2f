#include "tests/report_ui/PreviewTestSupport.h"

#include "output/report/pages/PageFonts.h"

#include <QApplication>
#include <QKeyEvent>

namespace previewtest {

namespace {

void send(QWidget *widget, int key, Qt::KeyboardModifiers modifiers, const QString &text)
{
    QKeyEvent press(QEvent::KeyPress, key, modifiers, text);
    QApplication::sendEvent(widget, &press);
    QKeyEvent release(QEvent::KeyRelease, key, modifiers, text);
    QApplication::sendEvent(widget, &release);
}

} // namespace

void keyClick(QWidget *widget, int key, Qt::KeyboardModifiers modifiers)
{
    QString text;
    if (key == Qt::Key_Return || key == Qt::Key_Enter)
        text = QStringLiteral("\r");
    else if (key == Qt::Key_Escape)
        text = QString(QChar(27));
    else if (key == Qt::Key_Backspace)
        text = QString(QChar(8));
    else if (key >= 0x20 && key < 0x7f && !(modifiers & Qt::ControlModifier))
        text = QString(QChar(key)).toLower();
    send(widget, key, modifiers, text);
}

void typeText(QWidget *widget, const QString &text)
{
    for (QChar c : text) {
        const int key = c.toUpper().unicode() < 0x7f ? c.toUpper().unicode() : Qt::Key_unknown;
        send(widget, key, Qt::NoModifier, QString(c));
    }
}

void addText(PreparedPage &page, double x, double y, const QString &text)
{
    const PreparedFont face{QStringLiteral("Sans Serif"), 10, 0};
    const QFontMetricsF metrics = PageFonts::metrics(PageFonts::font(face));
    DrawRecord r;
    r.kind = DrawRecord::Text;
    r.font = page.fontIndex(face);
    r.text = text;
    r.baseline = float(metrics.ascent());
    r.rect = QRectF(x, y, metrics.horizontalAdvance(text), metrics.height());
    page.Records.push_back(std::move(r));
}

PreparedPages makePages(int count, const std::function<QStringList(int page)> &lines)
{
    PreparedPages pages;
    for (int n = 1; n <= count; ++n) {
        PreparedPage page;
        addText(page, 60, 40, QStringLiteral("Pagina %1").arg(n));
        double y = 80;
        if (lines)
            for (const QString &line : lines(n)) {
                addText(page, 60, y, line);
                y += 20;
            }
        pages.append(std::move(page));
    }
    return pages;
}

void ScriptedDialogs::wander()
{
    ++asked;
    if (!wanderTo.isEmpty())
        QDir::setCurrent(wanderTo);
}

std::optional<FindRequest> ScriptedDialogs::askFind(QWidget *, const FindRequest &previous)
{
    wander();
    previousFind = previous;
    return findAsShown ? std::optional<FindRequest>(previous) : find;
}

std::optional<FileChoice> ScriptedDialogs::chooseOpenFile(QWidget *, const QString &t, const QStringList &f)
{
    wander();
    title = t;
    filters = f;
    return file;
}

std::optional<FileChoice> ScriptedDialogs::chooseSaveFile(QWidget *, const QString &t, const QStringList &f)
{
    wander();
    title = t;
    filters = f;
    return file;
}

bool ScriptedDialogs::askPrint(QWidget *, QPrinter &printer, int pageCount)
{
    wander();
    printPageCount = pageCount;
    printCopiesShown = printer.copyCount();
    printRangeShown = printer.printRange();
    return print ? print(printer) : false;
}

void PreviewFixture::SetUp()
{
    ReportFixture::SetUp();
    m_report->Title = QStringLiteral("Prossimi appuntamenti");
    m_startFolder = QDir::currentPath();
}

void PreviewFixture::TearDown()
{
    m_preview.reset();
    QDir::setCurrent(m_startFolder);
    ReportFixture::TearDown();
}

TStandardPreview &PreviewFixture::open(PreparedPages pages, bool ownCopy)
{
    m_report->preparedPages() = std::move(pages);
    m_preview = std::make_unique<TStandardPreview>(*m_report, ownCopy);
    m_preview->setDialogs(&m_dialogs);
    m_preview->resize(1000, 800);
    m_preview->show();
    QCoreApplication::processEvents();
    return *m_preview;
}

void PreviewListFixture::buildList(int households)
{
    using namespace reporttest;
    openArchive(households);
    m_report->Title = QStringLiteral("Prossimi appuntamenti");
    TqnLayout &layout = m_report->layout();
    layout.TwoPass = 1;
    TqnPage &page = layout.Pages.front();
    addBand(page, TqnBandType::btPageHeader, 0, 40);
    addMemo(page, 40, 5, 500, 30, QStringLiteral("Prossimi appuntamenti del [DATE]"));
    addBand(page, TqnBandType::btMasterData, 50, 22, QStringLiteral("Schede"));
    addMemo(page, 40, 52, 600, 20, QStringLiteral("[Protocollo] [Anagrafica.\"Capofamiglia\"] [Indirizzo]"));
    addBand(page, TqnBandType::btPageFooter, 100, 30);
    addMemo(page, 40, 105, 300, 22, QStringLiteral("Pagina [PAGE#] di [TOTALPAGES]"));
    addBoundSource(layout, QStringLiteral("Anagrafica"), QStringLiteral("Schede"));
    m_report->BuildPages();
    ASSERT_EQ(m_report->preparationError(), QString());
}

} // namespace previewtest
