#include "output/report/printer/QtReportPrinter.h"

#include "output/report/TqnReport.h"
#include "output/report/pages/PagePainter.h"
#include "output/report/print/PaperLayout.h"

#include <QPageLayout>
#include <QPageSize>
#include <QPrinterInfo>

QtReportPrinter::QtReportPrinter(const QString &printerName)
    : m_own(std::make_unique<QPrinter>(QPrinter::HighResolution)), m_printer(m_own.get())
{
    if (!printerName.isEmpty())
        m_printer->setPrinterName(printerName);
    m_printer->setFullPage(true);
}

QtReportPrinter::QtReportPrinter(QPrinter &printer) : m_printer(&printer)
{
    m_printer->setFullPage(true);
}

void QtReportPrinter::setPaper(const PreparedPaper &paper)
{
    m_paper = paper;
    m_printer->setPageLayout(pageLayoutOf(paper));
}

QtReportPrinter::~QtReportPrinter()
{
    if (m_painter)
        m_painter->end();
}

void QtReportPrinter::beginJob()
{
    // A new job on a file would write the file over: the file's job goes on, on a new sheet
    // with the paper just set.
    if (m_painter && m_jobEnded) {
        m_jobEnded = false;
        m_printer->newPage();
        return;
    }
    m_painter = std::make_unique<QPainter>();
    if (!m_painter->begin(m_printer))
        m_painter.reset();
}

void QtReportPrinter::newSheet()
{
    if (m_painter)
        m_printer->newPage();
}

void QtReportPrinter::drawPage(const PreparedPage &page, bool physicalOffset)
{
    if (!m_painter)
        return;
    const double scale = m_printer->resolution() / 96.0;
    m_painter->save();
    if (physicalOffset) {
        const QRectF paperRect = m_printer->paperRect(QPrinter::DevicePixel);
        const QRectF pageRect = m_printer->pageRect(QPrinter::DevicePixel);
        m_painter->translate(paperRect.left() - pageRect.left(), paperRect.top() - pageRect.top());
    }
    PagePainter::paint(*m_painter, page, scale);
    m_painter->restore();
}

void QtReportPrinter::endJob()
{
    if (m_painter && m_printer->outputFormat() == QPrinter::PdfFormat) {
        m_jobEnded = true;
        return;
    }
    if (m_painter)
        m_painter->end();
    m_painter.reset();
}

void QtReportPrinter::abortJob()
{
    m_printer->abort();
    if (m_painter)
        m_painter->end();
    m_painter.reset();
}

void useQtPrinters()
{
    TqnReport::systemPrinter() = [](const QString &name) { return std::make_unique<QtReportPrinter>(name); };
    TqnReport::installedPrinters() = [] { return QPrinterInfo::availablePrinterNames(); };
}
