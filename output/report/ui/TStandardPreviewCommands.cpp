// The preview's file, print and find commands.

#include "output/report/TqnReport.h"
#include "output/report/printer/QtReportPrinter.h"
#include "output/report/ui/PreviewFiles.h"
#include "output/report/ui/TStandardPreview.h"
#include "output/sheet/DataBandExport.h"
#include "platform/OutputFile.h"

#include <QDir>
#include <QFileInfo>

namespace {

const QString kNotFound = QStringLiteral("Non è stato trovato nessun elemento che soddisfi la richiesta.");
const QString kNoPrinter = QStringLiteral("Non è installata nessuna stampante: il report può essere stampato "
                                          "solo su un file PDF.");

// The file dialogs of the desktop this program came from moved the process's current
// folder; file names of the program are relative to it, so every dialog puts it back.
class CurrentFolderKeeper final {
public:
    CurrentFolderKeeper() : m_folder(QDir::currentPath()) {}
    ~CurrentFolderKeeper() { QDir::setCurrent(m_folder); }
    CurrentFolderKeeper(const CurrentFolderKeeper &) = delete;
    CurrentFolderKeeper &operator=(const CurrentFolderKeeper &) = delete;

private:
    QString m_folder;
};

enum SaveChoice { SavePrepared = 0, SavePage = 1, SavePdf = 2, SaveCsv = 3, SaveOds = 4 };

// Page ranges the dialog chose, from 1; empty when the dialog chose none.
std::vector<std::pair<int, int>> chosenRanges(const QPrinter &printer, int pageCount, int currentPage)
{
    switch (printer.printRange()) {
    case QPrinter::CurrentPage: return {{currentPage, currentPage}};
    case QPrinter::PageRange: {
        std::vector<std::pair<int, int>> ranges;
        for (const QPageRanges::Range &r : printer.pageRanges().toRangeList())
            ranges.emplace_back(r.from, r.to);
        return ranges;
    }
    case QPrinter::AllPages:
    case QPrinter::Selection: break;
    }
    return {{1, pageCount}};
}

} // namespace

void TStandardPreview::openReport()
{
    std::optional<FileChoice> choice;
    {
        const CurrentFolderKeeper keeper;
        choice = m_dialogs->chooseOpenFile(this, QStringLiteral("Apre un report."),
                                           {QStringLiteral("Report files (*.qnp)")});
    }
    if (!choice)
        return;
    std::optional<PreparedPages> pages = previewfiles::openPrepared(choice->path);
    if (!pages) {
        messages().show(QStringLiteral("Il file \"%1\" non contiene un report o è danneggiato.").arg(choice->path),
                        QStringLiteral("Errore"), TqnMessageIcon::Error);
        return;
    }
    m_report->preparedPages() = std::move(*pages);
    showPages();
}

void TStandardPreview::saveReport()
{
    const PreparedPages &pages = m_report->preparedPages();
    if (pages.isEmpty())
        return;
    std::optional<FileChoice> choice;
    {
        const CurrentFolderKeeper keeper;
        choice = m_dialogs->chooseSaveFile(this, QStringLiteral("Salva il report."),
                                           {QStringLiteral("Report file (*.qnp)"),
                                            QStringLiteral("Scalable Vector Graphics - File Grafico (*.svg)"),
                                            QStringLiteral("Documento PDF (*.pdf)"),
                                            QStringLiteral("Foglio di calcolo CSV (*.csv)"),
                                            QStringLiteral("Foglio di calcolo OpenDocument (*.ods)")});
    }
    if (!choice || choice->path.isEmpty())
        return;
    // The dialog asked before replacing the file it named; an archive is never replaced, nor
    // a file of the name the extension completes, which the dialog did not name.
    const auto refused = [&](const QString &target) {
        platform::OutputRefusal why = platform::OutputTargets(QString(), true).add(target);
        if (why == platform::OutputRefusal::None && target != choice->path && QFileInfo::exists(target))
            why = platform::OutputRefusal::Exists;
        if (why == platform::OutputRefusal::None)
            return false;
        messages().show(platform::OutputTargets::text(why, target), QStringLiteral("Errore"), TqnMessageIcon::Error);
        return true;
    };
    QString path;
    bool saved = false;
    switch (choice->filter) {
    case SavePage:
        path = previewfiles::withExtension(choice->path, QStringLiteral(".svg"));
        if (refused(path))
            return;
        saved = previewfiles::saveSvgPage(pages[std::max(0, m_view->currentPage() - 1)], path, m_report->Title);
        break;
    case SavePdf:
        path = previewfiles::withExtension(choice->path, QStringLiteral(".pdf"));
        if (refused(path))
            return;
        saved = previewfiles::savePdf(pages, path, m_report->Title);
        break;
    case SaveCsv:
    case SaveOds: {
        // The rows of the list's data band, read by building the list once more.
        const bool ods = choice->filter == SaveOds;
        path = previewfiles::withExtension(choice->path, ods ? QStringLiteral(".ods") : QStringLiteral(".csv"));
        if (refused(path))
            return;
        try {
            const SheetTable table = DataBandExport::readAgain(*m_report);
            const QString sheet = QFileInfo(m_report->layout().FileName).completeBaseName();
            writeSheetFile(path, ods ? odsBytes(table, sheet) : csvBytes(table));
        } catch (const std::exception &error) {
            messages().show(QString::fromUtf8(error.what()), QStringLiteral("Errore"), TqnMessageIcon::Error);
        }
        return;
    }
    default:
        path = previewfiles::withExtension(choice->path, QStringLiteral(".qnp"));
        if (refused(path))
            return;
        saved = previewfiles::savePrepared(pages, path);
        break;
    }
    if (!saved)
        messages().show(QStringLiteral("Non è stato possibile scrivere il file \"%1\".").arg(path),
                        QStringLiteral("Errore"), TqnMessageIcon::Error);
}

QPrinter &TStandardPreview::printer()
{
    if (!m_printer) {
        m_printer = std::make_unique<QPrinter>(QPrinter::HighResolution);
        m_printer->setDocName(m_report->Title);
    }
    return *m_printer;
}

void TStandardPreview::printReport()
{
    const int count = int(m_report->preparedPages().size());
    if (count == 0)
        return;
    if (!m_dialogs->printersInstalled())
        messages().show(kNoPrinter, QStringLiteral("Attenzione"), TqnMessageIcon::Warning);
    QPrinter &printer = this->printer();
    printer.setPrintRange(QPrinter::AllPages);
    printer.setFromTo(1, count);
    printer.setCopyCount(1);
    {
        const CurrentFolderKeeper keeper;
        if (!m_dialogs->askPrint(this, printer, count))
            return;
    }
    // The copies are made by PrintPages: the printer itself is told to make one.
    const int copies = std::max(1, printer.copyCount());
    printer.setCopyCount(1);
    const bool collate = printer.collateCopies();
    const auto ranges = chosenRanges(printer, count, m_view->currentPage());
    if (ranges.empty())
        return;

    const auto previous = m_report->printerFactory();
    m_report->setPrinterFactory([&printer](const QString &) { return std::make_unique<QtReportPrinter>(printer); });
    if (ranges.size() == 1) {
        m_report->PrintPages(ranges.front().first, ranges.front().second, collate, copies);
    } else {
        // Several ranges go in one job: the chosen pages are printed as a report of their own.
        TqnReport chosen(nullptr, m_report->objectName());
        chosen.Title = m_report->Title;
        chosen.setPrinterFactory(m_report->printerFactory());
        for (const auto &[from, to] : ranges)
            for (int page = std::max(1, from); page <= std::min(to, count); ++page)
                chosen.preparedPages().append(m_report->preparedPages()[page - 1]);
        chosen.PrintPages(1, int(chosen.preparedPages().size()), collate, copies);
    }
    m_report->setPrinterFactory(previous);
}

void TStandardPreview::findText()
{
    if (!hasPages())
        return;
    std::optional<FindRequest> request;
    {
        const CurrentFolderKeeper keeper;
        request = m_dialogs->askFind(this, m_lastFind);
    }
    if (!request || request->text.isEmpty())
        return;
    m_lastFind = *request;
    const FindOptions &o = request->options;
    const int pageCount = int(m_report->preparedPages().size());
    const int current = std::max(0, m_view->currentPage() - 1);
    TextCursor from;
    if (o.fromFirstPage) {
        // From the first page means from the report's start, or from its end going back.
        from = o.forward ? TextCursor::pageStart(0) : TextCursor::pageEnd(pageCount - 1);
    } else if (m_lastHit.valid() && m_lastHit.at.page == current) {
        // On the page of the last find, the search goes on past it.
        from = m_lastHit.at;
        if (o.forward)
            from.offset += 1;
    } else {
        from = o.forward ? TextCursor::pageStart(current) : TextCursor::pageEnd(current);
    }
    const TextHit hit = m_search.find(request->text, o, from);
    if (!hit.valid()) {
        messages().show(kNotFound, QStringLiteral("Messaggio."), TqnMessageIcon::Warning);
        return;
    }
    m_lastHit = hit;
    // The next search goes on from this hit: the dialog comes back set to the current page.
    m_lastFind.options.fromFirstPage = false;
    m_view->showHit(hit.at.page, hit.boxes);
}
