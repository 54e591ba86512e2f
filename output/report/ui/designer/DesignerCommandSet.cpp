// The designer's menus and tool bars: every command with its caption, hint and key.
#include "output/report/TqnReport.h"
#include "output/report/ui/designer/DesignerDocument.h"
#include "output/report/ui/designer/DesignerFiles.h"
#include "output/report/ui/designer/DesignerIcons.h"
#include "output/report/ui/designer/ObjectInspector.h"
#include "output/report/ui/designer/TqnDesignerWindow.h"

#include <QAction>
#include <QActionGroup>
#include <QComboBox>
#include <QFontComboBox>
#include <QMenu>
#include <QMenuBar>
#include <QStyle>
#include <QToolBar>

using selectionedits::Align;

QAction *TqnDesignerWindow::command(const QString &caption, const QString &hint, std::function<void()> run,
                                    QKeySequence key, int icon)
{
    auto *a = new QAction(caption, this);
    a->setToolTip(hint);
    a->setStatusTip(hint);
    if (!key.isEmpty())
        a->setShortcut(key);
    if (icon >= 0)
        a->setIcon(style()->standardIcon(QStyle::StandardPixmap(icon)));
    if (run)
        connect(a, &QAction::triggered, this, std::move(run));
    m_actions.insert(caption, a);
    addAction(a);
    return a;
}

QToolBar *TqnDesignerWindow::addBar(const QString &caption)
{
    QToolBar *bar = addToolBar(caption);
    bar->setObjectName(caption);
    m_bars.insert(caption, bar);
    return bar;
}

void TqnDesignerWindow::fillRecentMenu()
{
    m_recentMenu->clear();
    for (const QString &file : DesignerFiles::recentFiles())
        m_recentMenu->addAction(file, this, [this, file] { m_files->reopen(file); });
    m_recentMenu->setEnabled(!DesignerFiles::recentFiles().isEmpty());
}

void TqnDesignerWindow::runExtension(const std::function<bool(TqnReport &, QWidget *)> &extension)
{
    if (!extension)
        return;
    const bool changed = extension(m_report, this);
    if (changed)
        m_document->commit();
    // A dialog that replaced the layout (a template, the wizard) left the canvas empty.
    if (changed || m_detached)
        showLayout(currentPage(), false);
}

void TqnDesignerWindow::buildFileMenu(QMenu *menu)
{
    auto &ext = DesignerExtensions::instance();
    auto guarded = [this](const std::function<bool(TqnReport &, QWidget *)> &extension) {
        return [this, extension] {
            if (m_files->askToSave())
                runExtension(extension);
        };
    };
    menu->addAction(command(QStringLiteral("Nuovo report"), QStringLiteral("Nuovo report"), [this] { m_files->newReport(); },
                            QKeySequence::New, QStyle::SP_FileIcon));
    menu->addAction(command(QStringLiteral("Nuovo da modello..."), QStringLiteral("Nuovo da modello..."),
                            [this, &ext] { runExtension(ext.newFromTemplate); }));
    menu->addAction(command(QStringLiteral("Nuovo da autocomposizione..."), QStringLiteral("Nuovo da autocomposizione..."),
                            guarded(ext.wizard)));
    menu->addAction(command(QStringLiteral("Apri..."), QStringLiteral("Apri report"), [this] { m_files->open(); },
                            QKeySequence::Open, QStyle::SP_DialogOpenButton));
    m_recentMenu = menu->addMenu(QStringLiteral("&Riapri"));
    fillRecentMenu();
    menu->addAction(command(QStringLiteral("Salva"), QStringLiteral("Salva report"), [this] { m_files->save(); },
                            QKeySequence::Save, QStyle::SP_DialogSaveButton));
    menu->addAction(command(QStringLiteral("Salva con nome..."), QStringLiteral("Salva con nome..."), [this] { m_files->saveAs(); },
                            QKeySequence::SaveAs));
    menu->addSeparator();
    menu->addAction(command(QStringLiteral("Lista variabili..."), QStringLiteral("Lista variabili..."),
                            [this, &ext] { runExtension(ext.variables); }));
    menu->addAction(command(QStringLiteral("Opzioni report..."), QStringLiteral("Opzioni report..."),
                            [this, &ext] { runExtension(ext.reportOptions); }));
    menu->addAction(command(QStringLiteral("Opzioni pagina..."), QStringLiteral("Opzioni pagina..."), [this, &ext] {
        if (ext.pageOptions)
            runExtension([&ext, this](TqnReport &r, QWidget *w) { return ext.pageOptions(r, currentPage(), w); });
    }));
    menu->addSeparator();
    menu->addAction(command(QStringLiteral("Anteprima"), QStringLiteral("Anteprima report"), [this] { preview(); },
                            QKeySequence(Qt::CTRL | Qt::Key_P), QStyle::SP_FileDialogContentsView));
    menu->addSeparator();
    menu->addAction(command(QStringLiteral("Esci"), QStringLiteral("Chiudi modellatore"), [this] { close(); },
                            QKeySequence(Qt::ALT | Qt::Key_F4)));
    action(QStringLiteral("Nuovo da modello..."))->setEnabled(bool(ext.newFromTemplate));
    action(QStringLiteral("Nuovo da autocomposizione..."))->setEnabled(bool(ext.wizard));
    action(QStringLiteral("Lista variabili..."))->setEnabled(bool(ext.variables));
    action(QStringLiteral("Opzioni report..."))->setEnabled(bool(ext.reportOptions));
    action(QStringLiteral("Opzioni pagina..."))->setEnabled(bool(ext.pageOptions));
}

void TqnDesignerWindow::buildEditMenu(QMenu *menu)
{
    menu->addAction(command(QStringLiteral("Taglia"), QStringLiteral("Taglia"), [this] { cut(); }, QKeySequence::Cut));
    menu->addAction(command(QStringLiteral("Copia"), QStringLiteral("Copia"), [this] { copy(); }, QKeySequence::Copy));
    menu->addAction(command(QStringLiteral("Incolla"), QStringLiteral("Incolla"), [this] { paste(); }, QKeySequence::Paste));
    menu->addSeparator();
    menu->addAction(command(QStringLiteral("Annulla"), QStringLiteral("Annulla"), [this] { m_document->undo(); },
                            QKeySequence(Qt::CTRL | Qt::Key_Z), QStyle::SP_ArrowBack));
    menu->addAction(command(QStringLiteral("Ripristina"), QStringLiteral("Ripristina"), [this] { m_document->redo(); },
                            QKeySequence(Qt::CTRL | Qt::Key_Y), QStyle::SP_ArrowForward));
    menu->addSeparator();
    menu->addAction(command(QStringLiteral("Cancella"), QStringLiteral("Cancella"), [this] { deleteSelection(); },
                            QKeySequence::Delete));
    menu->addAction(command(QStringLiteral("Selziona tutto"), QStringLiteral("Seleziona tutto"), [this] { m_canvas->selectAll(); },
                            QKeySequence::SelectAll));
    menu->addSeparator();
    menu->addAction(command(QStringLiteral("Porta in primo piano"), QStringLiteral("Porta in primo piano"), [this] {
        selectionedits::toFront(*m_canvas->page(), m_canvas->selection());
        edited();
    }));
    menu->addAction(command(QStringLiteral("Porta in secondo piano"), QStringLiteral("Porta in secondo piano"), [this] {
        selectionedits::toBack(*m_canvas->page(), m_canvas->selection());
        edited();
    }));
    menu->addAction(command(QStringLiteral("Elimina"), QStringLiteral("Elimina"), [this] { deleteSelection(); }));
    menu->addAction(command(QStringLiteral("Modifica..."), QStringLiteral("Modifica..."), [this] { editObject(); },
                            QKeySequence(Qt::CTRL | Qt::Key_Return)));
}

void TqnDesignerWindow::buildToolsMenu(QMenu *menu)
{
    QMenu *grid = menu->addMenu(QStringLiteral("Griglia"));
    auto *gridGroup = new QActionGroup(this);
    for (int size : {4, 8, 19}) {
        const QString caption = size == 4 ? QStringLiteral("4 punti (circa 1 mm)")
            : size == 8 ? QStringLiteral("8 punti (circa 2 mm)") : QStringLiteral("19 punti (circa 5 mm)");
        QAction *a = command(caption, caption, [this, size] { setGrid(size, m_settings.gridAlign); });
        a->setCheckable(true);
        gridGroup->addAction(a);
        grid->addAction(a);
    }
    QAction *align = command(QStringLiteral("Allinea alla griglia"), QStringLiteral("Allinea alla griglia"), nullptr);
    align->setCheckable(true);
    connect(align, &QAction::toggled, this, [this](bool on) { setGrid(m_settings.gridSize, on); });
    menu->addAction(align);
    QMenu *bars = menu->addMenu(QStringLiteral("Barra degli strumenti"));
    for (const QString &caption : {QStringLiteral("Predefinito"), QStringLiteral("Testo"), QStringLiteral("Rettangolo"),
                                   QStringLiteral("Oggetti"), QStringLiteral("Controllo Oggetto"),
                                   QStringLiteral("Strumenti di allineamento")})
        bars->addAction(m_bars.value(caption)->toggleViewAction());
    menu->addAction(m_inspector->toggleViewAction());
    QMenu *units = menu->addMenu(QStringLiteral("Unità di misura"));
    auto *unitGroup = new QActionGroup(this);
    for (DesignerUnit unit : {DesignerUnit::Points, DesignerUnit::Millimetres, DesignerUnit::Inches}) {
        QAction *a = command(designerunits::name(unit), designerunits::name(unit), [this, unit] { setUnit(unit); });
        a->setCheckable(true);
        unitGroup->addAction(a);
        units->addAction(a);
    }
}

void TqnDesignerWindow::buildTextBar()
{
    QToolBar *bar = addBar(QStringLiteral("Testo"));
    auto memoCommand = [this, bar](const QString &caption, std::function<void(TqnMemoView &)> change) {
        bar->addAction(command(caption, caption, [this, change] {
            selectionedits::forMemos(m_canvas->selection(), change);
            edited();
        }));
    };
    auto horizontal = [](quint16 a) { return [a](TqnMemoView &m) { m.Alignment = (m.Alignment & ~taHorizontalMask) | a; }; };
    auto vertical = [](quint16 a) { return [a](TqnMemoView &m) { m.Alignment = (m.Alignment & ~(taVCenter | taBottom)) | a; }; };
    memoCommand(QStringLiteral("Allinea a sinistra"), horizontal(taLeft));
    memoCommand(QStringLiteral("Allinea a destra"), horizontal(taRight));
    memoCommand(QStringLiteral("Centra"), horizontal(taCenter));
    memoCommand(QStringLiteral("Giustifica tutto il testo"), horizontal(taJustify));
    memoCommand(QStringLiteral("Centra in verticale"), vertical(taVCenter));
    memoCommand(QStringLiteral("Allinea in alto"), vertical(0));
    memoCommand(QStringLiteral("Allinea in basso"), vertical(taBottom));
    memoCommand(QStringLiteral("Testo normale / 90 gradi"), [](TqnMemoView &m) { m.Alignment ^= taRotate90; });
    bar->addSeparator();
    for (auto [caption, style] : {std::pair{QStringLiteral("Grassetto"), fsBold}, std::pair{QStringLiteral("Corsivo"), fsItalic},
                                  std::pair{QStringLiteral("Sottolineato"), fsUnderline}}) {
        QAction *a = command(caption, caption, [this, style = style] {
            selectionedits::toggleFontStyle(m_canvas->selection(), style);
            edited();
        });
        bar->addAction(a);
    }
    action(QStringLiteral("Grassetto"))->setShortcut(QKeySequence::Bold);
    action(QStringLiteral("Corsivo"))->setShortcut(QKeySequence::Italic);
    action(QStringLiteral("Sottolineato"))->setShortcut(QKeySequence::Underline);
    bar->addAction(command(QStringLiteral("Colore carattere"), QStringLiteral("Colore carattere"), [this] { chooseColor(0); }));
    m_fontBox = new QFontComboBox(bar);
    m_fontBox->setToolTip(QStringLiteral("Nome tipo di carattere"));
    bar->addWidget(m_fontBox);
    connect(m_fontBox, &QFontComboBox::textActivated, this, [this](const QString &family) {
        selectionedits::forMemos(m_canvas->selection(), [&](TqnMemoView &m) { m.FontName = family; });
        edited();
    });
    m_sizeBox = new QComboBox(bar);
    m_sizeBox->setEditable(true);
    m_sizeBox->setToolTip(QStringLiteral("Dimenzione carattere"));
    for (int size : {6, 7, 8, 9, 10, 11, 12, 14, 16, 18, 20, 24, 28, 36, 48, 72})
        m_sizeBox->addItem(QString::number(size));
    bar->addWidget(m_sizeBox);
    connect(m_sizeBox, &QComboBox::textActivated, this, [this](const QString &text) {
        const int size = text.toInt();
        if (size <= 0)
            return;
        selectionedits::forMemos(m_canvas->selection(), [size](TqnMemoView &m) { m.FontSize = size; });
        edited();
    });
    bar->addAction(command(QStringLiteral("Attributi evidenziatura"), QStringLiteral("Attributi evidenziatura"), [this] {
        auto &highlight = DesignerExtensions::instance().highlight;
        if (highlight && m_canvas->selection().size() == 1 && highlight(m_report, *m_canvas->selection().front(), this))
            edited();
    }));
    action(QStringLiteral("Attributi evidenziatura"))->setEnabled(bool(DesignerExtensions::instance().highlight));
}

void TqnDesignerWindow::buildFrameBar()
{
    QToolBar *bar = addBar(QStringLiteral("Rettangolo"));
    for (auto [caption, line] : {std::pair{QStringLiteral("Linea bordo superiore"), flTop},
                                 std::pair{QStringLiteral("Linea bordo sinistro"), flLeft},
                                 std::pair{QStringLiteral("Linea bordo inferiore"), flBottom},
                                 std::pair{QStringLiteral("Linea bordo destra"), flRight}})
        bar->addAction(command(caption, caption, [this, line = line] {
            selectionedits::toggleFrameLine(m_canvas->selection(), line);
            edited();
        }));
    for (auto [caption, lines] : {std::pair{QStringLiteral("Tutto il bordo"), quint16(flTop | flLeft | flBottom | flRight)},
                                  std::pair{QStringLiteral("Nessun bordo"), quint16(0)}})
        bar->addAction(command(caption, caption, [this, lines = lines] {
            selectionedits::forAll(m_canvas->selection(), [lines](TqnView &v) { v.FrameLines = lines; });
            edited();
        }));
    bar->addAction(command(QStringLiteral("Colore sfondo"), QStringLiteral("Colore sfondo"), [this] { chooseColor(1); }));
    bar->addAction(command(QStringLiteral("Colore bordo"), QStringLiteral("Colore bordo"), [this] { chooseColor(2); }));
    bar->addAction(command(QStringLiteral("Larghezza bordo"), QStringLiteral("Larghezza bordo"), [this] { chooseFrameWidth(); }));
}

void TqnDesignerWindow::buildCommands()
{
    QMenu *file = menuBar()->addMenu(QStringLiteral("&File"));
    buildFileMenu(file);
    buildEditMenu(menuBar()->addMenu(QStringLiteral("&Modifica")));
    QMenu *pages = menuBar()->addMenu(QStringLiteral("&Pagine"));
    pages->addAction(command(QStringLiteral("Aggiungi pagina"), QStringLiteral("Aggiungi pagina"), [this] { addPage(); }));
    pages->addAction(command(QStringLiteral("Rimuovi pagina"), QStringLiteral("Rimuovi pagina"), [this] { removePage(); }));
    pages->addAction(command(QStringLiteral("Opzioni pagina"), QStringLiteral("Opzioni pagina"),
                             [this] { action(QStringLiteral("Opzioni pagina..."))->trigger(); }));
    action(QStringLiteral("Opzioni pagina"))->setEnabled(bool(DesignerExtensions::instance().pageOptions));
    pages->addAction(command(QStringLiteral("Gestione pagine"), QStringLiteral("Gestione pagine"), [this] { managePages(); }));

    QToolBar *standard = addBar(QStringLiteral("Predefinito"));
    for (const char *caption : {"Nuovo report", "Apri...", "Salva", "Anteprima", "Taglia", "Copia", "Incolla", "Annulla", "Ripristina"})
        standard->addAction(action(QString::fromUtf8(caption)));

    QMenu *objects = menuBar()->addMenu(QStringLiteral("&Oggetti"));
    QToolBar *objectBar = addBar(QStringLiteral("Oggetti"));
    m_toolGroup = new QActionGroup(this);
    const std::pair<QString, DesignerCanvas::Tool> tools[] = {
        {QStringLiteral("Seleziona oggetto"), DesignerCanvas::Tool::Select},
        {QStringLiteral("Inserisci rettangolo"), DesignerCanvas::Tool::Memo},
        {QStringLiteral("Inserisci immagine"), DesignerCanvas::Tool::Picture},
        {QStringLiteral("Inserisci sottoreport"), DesignerCanvas::Tool::SubReport}};
    for (const auto &[caption, tool] : tools) {
        QAction *a = command(caption, caption, [this, tool = tool] { m_canvas->setTool(tool); });
        a->setCheckable(true);
        a->setChecked(tool == DesignerCanvas::Tool::Select);
        m_toolGroup->addAction(a);
        objectBar->addAction(a);
        objects->addAction(a);
        if (tool == DesignerCanvas::Tool::Memo) {
            QAction *band = command(QStringLiteral("Inserisci banda"), QStringLiteral("Inserisci banda"), [this] { chooseBand(); });
            objectBar->addAction(band);
            objects->addAction(band);
        }
    }

    QToolBar *control = addBar(QStringLiteral("Controllo Oggetto"));
    for (const char *caption : {"Porta in primo piano", "Porta in secondo piano", "Modifica...", "Elimina"})
        control->addAction(action(QString::fromUtf8(caption)));
    addToolBarBreak();
    buildTextBar();
    addToolBarBreak();
    buildFrameBar();

    QToolBar *alignBar = addBar(QStringLiteral("Strumenti di allineamento"));
    const std::pair<QString, Align> aligns[] = {
        {QStringLiteral("Allinea i bordi sinistri"), Align::Lefts}, {QStringLiteral("Allinea i bordi destri"), Align::Rights},
        {QStringLiteral("Allinea i bordi superiori"), Align::Tops}, {QStringLiteral("Allinea i bordi inferiori"), Align::Bottoms},
        {QStringLiteral("Centra orizzontalmente"), Align::HCentres}, {QStringLiteral("Centra verticalmente"), Align::VCentres},
        {QStringLiteral("Stessa larghezza"), Align::SameWidth}, {QStringLiteral("Stessa altezza"), Align::SameHeight}};
    for (const auto &[caption, how] : aligns)
        alignBar->addAction(command(caption, caption, [this, how = how] {
            selectionedits::align(m_canvas->selection(), how);
            edited();
        }));

    buildToolsMenu(menuBar()->addMenu(QStringLiteral("&Strumenti")));

    // Alignment, order and size commands show drawn pictures, their captions as tool tips.
    for (auto it = m_actions.begin(); it != m_actions.end(); ++it)
        if (const QIcon icon = designericons::forCommand(it.key()); !icon.isNull())
            it.value()->setIcon(icon);
    // Short words on the other buttons keep each bar within one row; the hint gives the full caption.
    const std::pair<const char *, const char *> shortWords[] = {
        {"Testo normale / 90 gradi", "90°"}, {"Grassetto", "G"}, {"Corsivo", "C"}, {"Sottolineato", "S"},
        {"Colore carattere", "Colore"}, {"Attributi evidenziatura", "Evidenzia"},
        {"Linea bordo superiore", "Sopra"}, {"Linea bordo sinistro", "Sinistro"}, {"Linea bordo inferiore", "Sotto"},
        {"Linea bordo destra", "Destro"}, {"Tutto il bordo", "Tutto"}, {"Nessun bordo", "Nessuno"},
        {"Colore sfondo", "Sfondo"}, {"Colore bordo", "Col. bordo"}, {"Larghezza bordo", "Spessore"},
        {"Seleziona oggetto", "Seleziona"},
        {"Inserisci rettangolo", "Testo"}, {"Inserisci banda", "Banda"}, {"Inserisci immagine", "Immagine"},
        {"Inserisci sottoreport", "Sottoreport"}};
    for (const auto &[caption, word] : shortWords)
        if (QAction *a = action(QString::fromUtf8(caption)))
            a->setIconText(QString::fromUtf8(word));
    for (const char *bold : {"Grassetto"}) {
        QFont font = this->font();
        font.setBold(true);
        action(QString::fromUtf8(bold))->setFont(font);
    }
}
