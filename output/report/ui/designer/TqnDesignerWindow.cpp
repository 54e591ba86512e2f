#include "output/report/ui/designer/TqnDesignerWindow.h"

#include "output/report/TqnReport.h"
#include "output/report/file/LayoutWriter.h"
#include "output/report/ui/designer/DesignerDocument.h"
#include "output/report/ui/designer/DesignerFiles.h"
#include "output/report/ui/designer/ObjectClipboard.h"
#include "output/report/ui/designer/ObjectInspector.h"

#include <QAction>
#include <QClipboard>
#include <QCloseEvent>
#include <QGuiApplication>
#include <QComboBox>
#include <QFontComboBox>
#include <QEventLoop>
#include <QLabel>
#include <QScrollArea>
#include <QStatusBar>
#include <QTabBar>
#include <QToolBar>
#include <QVBoxLayout>

namespace {

TqnDesignerWindow *g_instance = nullptr;

} // namespace

TqnDesignerWindow::TqnDesignerWindow(TqnReport &report, QWidget *parent)
    : QMainWindow(parent), m_report(report)
{
    // The engine opens at most one designer; a second window made directly (as the clipboard
    // tests do) leaves the first as the one the engine knows.
    if (!g_instance)
        g_instance = this;
    TqnReport::designerOpen() = true;
    setObjectName(QStringLiteral("TqnDesignerWindow"));
    setAttribute(Qt::WA_DeleteOnClose, false);
    m_realDialogs.setOwner(this);
    m_document = new DesignerDocument(report, this);
    m_files = new DesignerFiles(*m_document, *m_dialogs, this);

    auto *central = new QWidget(this);
    auto *column = new QVBoxLayout(central);
    column->setContentsMargins(0, 0, 0, 0);
    column->setSpacing(0);
    m_tabs = new QTabBar(central);
    m_tabs->setShape(QTabBar::RoundedSouth);
    m_tabs->setExpanding(false);
    m_canvas = new DesignerCanvas;
    auto *scroll = new QScrollArea(central);
    scroll->setWidget(m_canvas);
    scroll->setBackgroundRole(QPalette::Dark);
    column->addWidget(scroll, 1);
    column->addWidget(m_tabs);
    setCentralWidget(central);

    m_inspector = new ObjectInspector(m_dialogs, this);
    addDockWidget(Qt::RightDockWidgetArea, m_inspector);

    m_mouseLabel = new QLabel(this);
    m_selectionLabel = new QLabel(this);
    m_mouseLabel->setMinimumWidth(160);
    statusBar()->addWidget(m_mouseLabel);
    statusBar()->addWidget(m_selectionLabel, 1);

    buildCommands();

    connect(m_tabs, &QTabBar::currentChanged, this, [this](int page) {
        if (page >= 0 && page < int(m_report.layout().Pages.size()))
            m_canvas->setPage(&m_report.layout().Pages[size_t(page)]);
    });
    connect(m_canvas, &DesignerCanvas::edited, this, &TqnDesignerWindow::edited);
    connect(m_canvas, &DesignerCanvas::selectionChanged, this, &TqnDesignerWindow::onSelectionChanged);
    connect(m_canvas, &DesignerCanvas::editRequested, this, &TqnDesignerWindow::editObject);
    connect(m_canvas, &DesignerCanvas::insertRequested, this, &TqnDesignerWindow::insertObject);
    connect(m_canvas, &DesignerCanvas::mouseAt, this, [this](QPoint at) {
        m_mouseLabel->setText(designerunits::format(at.x(), unit()) + QStringLiteral("; ")
                              + designerunits::format(at.y(), unit()));
    });
    connect(m_inspector, &ObjectInspector::edited, this, &TqnDesignerWindow::edited);
    connect(m_inspector, &ObjectInspector::pictureRequested, this, &TqnDesignerWindow::editObject);
    m_files->setBeforeSaving([this] { m_inspector->applyPending(); });
    m_inspector->setNameCheck([this](const QString &name) { return selectionedits::nameUsed(m_report.layout().Pages, name); });
    // Every replacement of the layout goes through the report: the template and wizard
    // dialogs, a load that shows a warning, undo, the preview's copy.
    connect(&m_report, &TqnReport::layoutAboutToBeReplaced, this, &TqnDesignerWindow::detachFromLayout);
    connect(&m_report, &TqnReport::layoutReplaced, this, [this] {
        if (m_detached)
            showLayout(currentPage(), false);
    });
    connect(m_document, &DesignerDocument::aboutToReplace, this, &TqnDesignerWindow::detachFromLayout);
    connect(m_document, &DesignerDocument::replaced, this, [this] { showLayout(currentPage(), true); });
    connect(m_document, &DesignerDocument::changed, this, &TqnDesignerWindow::updateCommands);
    connect(QGuiApplication::clipboard(), &QClipboard::dataChanged, this, &TqnDesignerWindow::updateCommands);
    connect(m_files, &DesignerFiles::loaded, this, [this] {
        showLayout(0, false);
        fillRecentMenu();
    });
    connect(m_files, &DesignerFiles::saved, this, [this] {
        updateCaption();
        fillRecentMenu();
    });

    restoreSettings();
    rebuildTabs(0);
    updateCaption();
    updateCommands();
    resize(1000, 720);
}

TqnDesignerWindow::~TqnDesignerWindow()
{
    if (g_instance == this) {
        g_instance = nullptr;
        TqnReport::designerOpen() = false;
    }
}

TqnDesignerWindow *TqnDesignerWindow::instance()
{
    return g_instance;
}

void TqnDesignerWindow::exec()
{
    setWindowModality(Qt::ApplicationModal);
    m_closed = false;
    show();
    QEventLoop loop;
    while (!m_closed && isVisible())
        loop.processEvents(QEventLoop::WaitForMoreEvents);
}

void TqnDesignerWindow::setDialogs(DesignerDialogs *dialogs)
{
    m_dialogs = dialogs ? dialogs : &m_realDialogs;
    m_files->setDialogs(*m_dialogs);
}

QAction *TqnDesignerWindow::action(const QString &caption) const
{
    return m_actions.value(caption);
}

QToolBar *TqnDesignerWindow::toolBar(const QString &caption) const
{
    return m_bars.value(caption);
}

int TqnDesignerWindow::currentPage() const
{
    return m_tabs->currentIndex();
}

void TqnDesignerWindow::showPage(int page)
{
    m_tabs->setCurrentIndex(page);
}

void TqnDesignerWindow::rebuildTabs(int keep)
{
    const QSignalBlocker blocker(m_tabs);
    while (m_tabs->count())
        m_tabs->removeTab(0);
    auto &pages = m_report.layout().Pages;
    for (size_t p = 0; p < pages.size(); ++p)
        m_tabs->addTab(QStringLiteral("Pagina %1").arg(p + 1));
    m_inspector->setPageCount(int(pages.size()));
    if (pages.empty()) {
        // A layout file may hold no page at all: nothing to draw until one is added.
        m_canvas->setPage(nullptr);
        return;
    }
    keep = std::clamp(keep, 0, int(pages.size()) - 1);
    m_tabs->setCurrentIndex(keep);
    m_canvas->setPage(&pages[size_t(keep)]);
}

void TqnDesignerWindow::keepSelection()
{
    m_keptSelection.clear();
    if (TqnPage *page = m_canvas->page())
        for (size_t i = 0; i < page->Objects.size(); ++i)
            for (TqnView *view : m_canvas->selection())
                if (page->Objects[i].get() == view)
                    m_keptSelection.push_back(i);
}

void TqnDesignerWindow::detachFromLayout()
{
    if (m_detached)
        return;
    keepSelection();
    m_detached = true;
    // Emptying the canvas empties the selection, and with it the inspector.
    m_canvas->setPage(nullptr);
}

void TqnDesignerWindow::showLayout(int page, bool keepSelected)
{
    // The copy read back holds new objects: the selection is found again by position in the list.
    m_detached = false;
    rebuildTabs(page);
    ViewList again;
    if (TqnPage *shown = m_canvas->page(); shown && keepSelected)
        for (size_t i : m_keptSelection)
            if (i < shown->Objects.size())
                again.push_back(shown->Objects[i].get());
    m_keptSelection.clear();
    m_canvas->select(again);
    updateCaption();
}

void TqnDesignerWindow::edited()
{
    m_document->commit();
    m_canvas->update();
    onSelectionChanged();
}

void TqnDesignerWindow::onSelectionChanged()
{
    const ViewList &views = m_canvas->selection();
    m_inspector->setSelection(views);
    // The tool bar's font boxes show the first text box's font; no size without a text box.
    const QSignalBlocker fontBlock(m_fontBox), sizeBlock(m_sizeBox);
    m_sizeBox->setEditText(QString());
    for (const TqnView *view : views)
        if (view->kind() == TqnViewKind::vkMemo) {
            const auto &memo = static_cast<const TqnMemoView &>(*view);
            m_fontBox->setCurrentFont(QFont(memo.FontName));
            m_sizeBox->setEditText(QString::number(memo.FontSize));
            break;
        }
    if (views.empty()) {
        m_selectionLabel->clear();
    } else {
        const TqnView &v = *views.front();
        m_selectionLabel->setText(designerunits::format(v.X, unit()) + QStringLiteral("; ") + designerunits::format(v.Y, unit())
                                  + QStringLiteral("    ") + designerunits::format(v.Width, unit()) + QStringLiteral(" x ")
                                  + designerunits::format(v.Height, unit()) + QLatin1Char(' ')
                                  + designerunits::name(unit()));
    }
    updateCommands();
}

void TqnDesignerWindow::updateCaption()
{
    setWindowTitle(m_files->caption());
}

void TqnDesignerWindow::updateCommands()
{
    const ViewList &selected = m_canvas->selection();
    const bool any = !selected.empty();
    const auto memos = std::count_if(selected.begin(), selected.end(),
                                     [](const TqnView *v) { return v->kind() == TqnViewKind::vkMemo; });
    const auto enable = [this](std::initializer_list<const char *> captions, bool on) {
        for (const char *caption : captions)
            if (QAction *a = action(QString::fromUtf8(caption)))
                a->setEnabled(on);
    };
    // A command that would change nothing for the selection is not offered.
    enable({"Taglia", "Copia", "Cancella", "Elimina", "Porta in primo piano", "Porta in secondo piano",
            "Linea bordo superiore", "Linea bordo sinistro", "Linea bordo inferiore", "Linea bordo destra",
            "Tutto il bordo", "Nessun bordo", "Colore sfondo", "Colore bordo", "Larghezza bordo"}, any);
    enable({"Allinea a sinistra", "Allinea a destra", "Centra", "Giustifica tutto il testo", "Centra in verticale",
            "Allinea in alto", "Allinea in basso", "Testo normale / 90 gradi", "Grassetto", "Corsivo", "Sottolineato",
            "Colore carattere"}, memos > 0);
    enable({"Attributi evidenziatura"}, memos == 1 && selected.size() == 1
                                           && bool(DesignerExtensions::instance().highlight));
    enable({"Allinea i bordi sinistri", "Allinea i bordi destri", "Allinea i bordi superiori", "Allinea i bordi inferiori",
            "Centra orizzontalmente", "Centra verticalmente", "Stessa larghezza", "Stessa altezza"}, selected.size() > 1);
    if (QAction *a = action(QStringLiteral("Modifica...")))
        a->setEnabled(canEditSelection());
    if (QAction *a = action(QStringLiteral("Annulla")))
        a->setEnabled(m_document->canUndo());
    if (QAction *a = action(QStringLiteral("Ripristina")))
        a->setEnabled(m_document->canRedo());
    if (QAction *a = action(QStringLiteral("Rimuovi pagina")))
        a->setEnabled(m_report.layout().Pages.size() > 1);
    if (QAction *a = action(QStringLiteral("Incolla")))
        a->setEnabled(objectclipboard::available() && currentPage() >= 0);
}

void TqnDesignerWindow::setUnit(DesignerUnit unit)
{
    m_settings.units = unit;
    m_inspector->setUnit(unit);
    onSelectionChanged();
}

void TqnDesignerWindow::setGrid(int size, bool align)
{
    m_settings.gridSize = designerunits::validGrid(size);
    m_settings.gridAlign = align;
    m_canvas->setGrid(m_settings.gridSize, align);
}

void TqnDesignerWindow::preview()
{
    // Read back from a copy, so that record sources are bound afresh; building then puts
    // the layout aside and back, so the pages are shown again after it.
    m_inspector->applyPending();
    detachFromLayout();
    m_report.loadFromMemory(writeLayout(m_report.layout(), m_report.selectedPrinter()));
    const bool inspectorShown = m_inspector->isVisible();
    m_inspector->hide();
    m_report.RunPreview();
    m_inspector->setVisible(inspectorShown);
    showLayout(currentPage(), true);
}

void TqnDesignerWindow::closeEvent(QCloseEvent *event)
{
    if (!m_files->askToSave()) {
        event->ignore();
        return;
    }
    saveSettings();
    m_closed = true;
    event->accept();
}

void TqnDesignerWindow::restoreSettings()
{
    m_settings.load(m_bars.keys(), {m_inspector->objectName()});
    if (!m_settings.recentFiles.isEmpty())
        DesignerFiles::recentFiles() = m_settings.recentFiles;
    fillRecentMenu();
    for (auto it = m_bars.begin(); it != m_bars.end(); ++it)
        it.value()->setVisible(m_settings.toolBars.value(it.key(), true));
    const DesignerToolWindow &window = m_settings.toolWindows[m_inspector->objectName()];
    m_inspector->setVisible(window.visible);
    if (!window.geometry.isEmpty()) {
        m_inspector->setFloating(true);
        m_inspector->setGeometry(window.geometry);
    }
    setGrid(m_settings.gridSize, m_settings.gridAlign);
    setUnit(m_settings.units);
    for (const QString &caption : {QStringLiteral("4 punti (circa 1 mm)"), QStringLiteral("8 punti (circa 2 mm)"),
                                  QStringLiteral("19 punti (circa 5 mm)")})
        if (QAction *a = action(caption))
            a->setChecked(caption.startsWith(QString::number(m_settings.gridSize) + QLatin1Char(' ')));
    if (QAction *a = action(QStringLiteral("Allinea alla griglia")))
        a->setChecked(m_settings.gridAlign);
    if (QAction *a = action(designerunits::name(m_settings.units)))
        a->setChecked(true);
}

void TqnDesignerWindow::saveSettings()
{
    for (auto it = m_bars.begin(); it != m_bars.end(); ++it)
        m_settings.toolBars[it.key()] = !it.value()->isHidden();
    DesignerToolWindow &window = m_settings.toolWindows[m_inspector->objectName()];
    window.visible = !m_inspector->isHidden();
    window.geometry = m_inspector->isFloating() ? m_inspector->geometry() : QRect();
    m_settings.recentFiles = DesignerFiles::recentFiles();
    m_settings.save();
}
