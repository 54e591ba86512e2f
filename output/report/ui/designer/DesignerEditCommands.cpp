// The designer's editing commands: clipboard, deletion, the object editor, insertion and pages.
#include "output/report/TqnReport.h"
#include "output/report/ui/designer/DesignerDocument.h"
#include "output/report/ui/designer/ObjectClipboard.h"
#include "output/report/ui/designer/TqnDesignerWindow.h"

#include <QAction>
#include <QActionGroup>

namespace {

const QString kBandTypeUsed = QStringLiteral("   La pagina ha già una banda di questo tipo.   ");
const QString kPagesFull = QStringLiteral("   Il report ha già %1 pagine, il massimo che il file può contenere: "
                                          "non se ne possono aggiungere altre.   ").arg(kMaxLayoutPages);

} // namespace

void TqnDesignerWindow::copy()
{
    if (!m_canvas->selection().empty())
        objectclipboard::copy(m_canvas->selection());
}

void TqnDesignerWindow::cut()
{
    copy();
    deleteSelection();
}

void TqnDesignerWindow::paste()
{
    const int grid = m_settings.gridSize;
    const int page = currentPage();
    const objectclipboard::Pasted pasted = objectclipboard::paste(m_report.layout(), page, QPoint(grid, grid));
    if (pasted.pagesAdded)
        rebuildTabs(page);
    if (pasted.bandRefused)
        m_dialogs->message(kBandTypeUsed, QStringLiteral("Attenzione"), TqnMessageIcon::Warning);
    if (pasted.pageRefused)
        m_dialogs->message(kPagesFull, QStringLiteral("Attenzione"), TqnMessageIcon::Warning);
    if (pasted.added.empty())
        return;
    m_canvas->select(pasted.added);
    edited();
}

void TqnDesignerWindow::deleteSelection()
{
    if (m_canvas->selection().empty())
        return;
    selectionedits::remove(*m_canvas->page(), m_canvas->selection());
    m_canvas->select({});
    edited();
}

bool TqnDesignerWindow::canEditSelection() const
{
    const auto &ext = DesignerExtensions::instance();
    if (m_canvas->selection().size() != 1 || !ext.editObject)
        return false;
    return !ext.canEditObject || ext.canEditObject(*m_canvas->selection().front());
}

void TqnDesignerWindow::editObject()
{
    // A double click on an object with nothing to edit does nothing, as the disabled command.
    if (!canEditSelection())
        return;
    if (DesignerExtensions::instance().editObject(m_report, *m_canvas->selection().front(), this))
        edited();
}

void TqnDesignerWindow::chooseBand()
{
    QStringList names;
    for (int type = 0; type < kBandTypeCount; ++type)
        names << bandTypeName(type);
    const std::optional<int> chosen = m_dialogs->chooseItem(QStringLiteral("Inserisci banda"), QStringLiteral("Tipo di banda:"), names);
    if (chosen && *chosen >= 0)
        insertBand(TqnBandType(*chosen));
}

void TqnDesignerWindow::insertBand(TqnBandType type)
{
    TqnPage *page = m_canvas->page();
    if (!page)
        return;
    if (selectionedits::singleInstance(type) && selectionedits::pageHasBand(*page, type)) {
        m_dialogs->message(kBandTypeUsed, QStringLiteral("Attenzione"), TqnMessageIcon::Warning);
        return;
    }
    TqnBandView &band = selectionedits::addBand(*page, type);
    band.Name = selectionedits::freeName(m_report.layout().Pages, QStringLiteral("Banda"));
    m_canvas->select({&band});
    // The keys go on to the new object, not to whatever field had them before the band window.
    m_canvas->setFocus();
    edited();
}

void TqnDesignerWindow::insertObject(DesignerCanvas::Tool tool, QRect box)
{
    auto &pages = m_report.layout().Pages;
    const int pageIndex = currentPage();
    if (pageIndex < 0)
        return;
    TqnView *added = nullptr;
    switch (tool) {
    case DesignerCanvas::Tool::Memo:
        added = &selectionedits::addMemo(pages[size_t(pageIndex)], box);
        added->Name = selectionedits::freeName(pages, QStringLiteral("Memo"));
        break;
    case DesignerCanvas::Tool::Picture:
        added = &selectionedits::addPicture(pages[size_t(pageIndex)], box);
        added->Name = selectionedits::freeName(pages, QStringLiteral("Immagine"));
        break;
    case DesignerCanvas::Tool::SubReport: {
        if (pages.size() >= kMaxLayoutPages) {
            m_dialogs->message(kPagesFull, QStringLiteral("Attenzione"), TqnMessageIcon::Warning);
            return;
        }
        // Adding the page it shows copies the page list: the canvas is set up again.
        const QString name = selectionedits::freeName(pages, QStringLiteral("Sottoreport"));
        selectionedits::addSubReport(pages, pageIndex, box).Name = name;
        rebuildTabs(pageIndex);
        added = pages[size_t(pageIndex)].Objects.back().get();
        break;
    }
    case DesignerCanvas::Tool::Select:
        return;
    }
    m_toolGroup->actions().front()->setChecked(true);
    m_canvas->setTool(DesignerCanvas::Tool::Select);
    m_canvas->select({added});
    edited();
}

void TqnDesignerWindow::addPage()
{
    auto &pages = m_report.layout().Pages;
    if (pages.size() >= kMaxLayoutPages) {
        m_dialogs->message(kPagesFull, QStringLiteral("Attenzione"), TqnMessageIcon::Warning);
        return;
    }
    TqnPage page;
    if (currentPage() >= 0)
        page.Paper = pages[size_t(currentPage())].Paper;
    // The page list may move in memory: the canvas and its selection let go of it first.
    m_canvas->setPage(nullptr);
    pages.push_back(std::move(page));
    m_document->commit();
    rebuildTabs(int(pages.size()) - 1);
    updateCommands();
}

namespace {

// Sub-reports follow their pages when pages move: `moved[old]` is the new number, -1 gone.
// A sub-report whose page is gone goes with it: it would print another page in its place.
void renumberSubReports(std::vector<TqnPage> &pages, const std::vector<int> &moved)
{
    for (TqnPage &page : pages)
        std::erase_if(page.Objects, [&](std::unique_ptr<TqnView> &object) {
            if (object->kind() != TqnViewKind::vkSubReport)
                return false;
            auto &sub = static_cast<TqnSubReportView &>(*object);
            if (sub.SubPage >= moved.size())
                return false;
            if (moved[sub.SubPage] < 0)
                return true;
            sub.SubPage = quint8(moved[sub.SubPage]);
            return false;
        });
}

} // namespace

void TqnDesignerWindow::removePage()
{
    auto &pages = m_report.layout().Pages;
    const int page = currentPage();
    if (pages.size() < 2 || page < 0)
        return;
    if (!m_dialogs->confirm(QStringLiteral("Rimuovere questa pagina?"), QStringLiteral("Conferma"), false))
        return;
    std::vector<int> moved(pages.size());
    for (int p = 0; p < int(pages.size()); ++p)
        moved[size_t(p)] = p < page ? p : p == page ? -1 : p - 1;
    m_canvas->setPage(nullptr);
    pages.erase(pages.begin() + page);
    renumberSubReports(pages, moved);
    m_document->commit();
    rebuildTabs(page);
    updateCommands();
}

void TqnDesignerWindow::managePages()
{
    auto &pages = m_report.layout().Pages;
    const int from = currentPage();
    QStringList places;
    for (size_t p = 0; p < pages.size(); ++p)
        places << QStringLiteral("Posizione %1").arg(p + 1);
    const std::optional<int> to = m_dialogs->chooseItem(QStringLiteral("Gestione pagine"),
                                                        QStringLiteral("Sposta la pagina corrente in:"), places);
    if (!to || *to < 0 || *to == from || from < 0)
        return;
    std::vector<int> order(pages.size());
    for (int p = 0; p < int(order.size()); ++p)
        order[size_t(p)] = p;
    order.erase(order.begin() + from);
    order.insert(order.begin() + *to, from);
    std::vector<TqnPage> reordered;
    std::vector<int> moved(pages.size());
    for (int n = 0; n < int(order.size()); ++n) {
        reordered.push_back(pages[size_t(order[size_t(n)])]);
        moved[size_t(order[size_t(n)])] = n;
    }
    m_canvas->setPage(nullptr);
    pages = std::move(reordered);
    renumberSubReports(pages, moved);
    m_document->commit();
    rebuildTabs(*to);
}

void TqnDesignerWindow::chooseFrameWidth()
{
    const QStringList widths{QStringLiteral("1"), QStringLiteral("2"), QStringLiteral("3"), QStringLiteral("4"),
                             QStringLiteral("5"), QStringLiteral("6")};
    const std::optional<int> chosen = m_dialogs->chooseItem(QStringLiteral("Larghezza bordo"), QStringLiteral("Larghezza:"), widths);
    if (!chosen || *chosen < 0)
        return;
    selectionedits::forAll(m_canvas->selection(), [w = *chosen + 1](TqnView &v) { v.FrameWidth = w; });
    edited();
}

void TqnDesignerWindow::chooseColor(int which)
{
    const ViewList &views = m_canvas->selection();
    if (views.empty())
        return;
    const TqnView &first = *views.front();
    quint32 current = which == 1 ? first.FillColor : first.FrameColor;
    if (which == 0 && first.kind() == TqnViewKind::vkMemo)
        current = static_cast<const TqnMemoView &>(first).FontColor;
    const std::optional<quint32> chosen = m_dialogs->chooseColor(current);
    if (!chosen)
        return;
    if (which == 0)
        selectionedits::forMemos(views, [c = *chosen](TqnMemoView &m) { m.FontColor = c; });
    else
        selectionedits::forAll(views, [c = *chosen, which](TqnView &v) { (which == 1 ? v.FillColor : v.FrameColor) = c; });
    edited();
}
