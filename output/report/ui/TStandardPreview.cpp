#include "output/report/ui/TStandardPreview.h"

#include "output/report/TqnReport.h"

#include <QApplication>
#include <QComboBox>
#include <QContextMenuEvent>
#include <QKeyEvent>
#include <QLineEdit>
#include <QLocale>
#include <QMenu>
#include <QScreen>
#include <QStyle>
#include <QToolBar>
#include <QToolButton>
#include <QVBoxLayout>

namespace {

QList<TStandardPreview *> &previews()
{
    static QList<TStandardPreview *> list;
    return list;
}

std::unique_ptr<TqnReport> copyOf(TqnReport &report)
{
    auto copy = std::make_unique<TqnReport>(nullptr, report.objectName());
    copy->Title = report.Title;
    copy->ShowProgress = report.ShowProgress;
    copy->ModalPreview = report.ModalPreview;
    copy->setSelectedPrinter(report.selectedPrinter());
    copy->setMessages(&report.messages());
    copy->setPrinterFactory(report.printerFactory());
    copy->preparedPages() = report.preparedPages();
    return copy;
}

} // namespace

TStandardPreview::TStandardPreview(TqnReport &report, bool ownCopy, QWidget *parent)
    : QDialog(parent),
      m_ownReport(ownCopy ? copyOf(report) : nullptr),
      m_report(ownCopy ? m_ownReport.get() : &report),
      m_search(m_report->preparedPages())
{
    setObjectName(QStringLiteral("TStandardPreview"));
    setWindowTitle(report.previewCaption());
    setWindowFlags(Qt::Window | Qt::WindowMinMaxButtonsHint | Qt::WindowCloseButtonHint);
    setSizeGripEnabled(false);
    resize(800, 600);

    m_view = new PreviewView(this);
    buildToolBar();
    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    layout->addWidget(m_toolBar);
    layout->addWidget(m_view, 1);

    m_view->setZoom(PreviewZoom::percent(100));
    showPages();
    m_view->setFocus();
    previews().append(this);
}

TStandardPreview::~TStandardPreview()
{
    // The zoom box loses the focus while the children go, and would zoom a half-gone window.
    m_zoomBox->disconnect(this);
    m_zoomBox->lineEdit()->removeEventFilter(this);
    previews().removeAll(this);
}

QList<TStandardPreview *> TStandardPreview::openPreviews()
{
    return previews();
}

ReportMessages &TStandardPreview::messages() const
{
    return m_report->messages();
}

void TStandardPreview::showPages()
{
    m_search.reset();
    m_lastHit = TextHit();
    m_view->setPages(&m_report->preparedPages());
    // With no page there is nothing to save, print or search.
    for (const char *name : {"SaveBtn", "PrintBtn", "FindBtn"})
        if (QToolButton *b = button(QString::fromUtf8(name)))
            b->setEnabled(hasPages());
}

bool TStandardPreview::hasPages() const
{
    return !m_report->preparedPages().isEmpty();
}

QToolButton *TStandardPreview::addButton(const QString &name, const QString &caption, const QString &hint, int icon)
{
    auto *button = new QToolButton(m_toolBar);
    button->setObjectName(name);
    button->setText(caption);
    button->setToolTip(hint);
    button->setStatusTip(hint);
    button->setIcon(style()->standardIcon(QStyle::StandardPixmap(icon)));
    button->setToolButtonStyle(Qt::ToolButtonTextBesideIcon);
    button->setAutoRaise(true);
    // The page view keeps the focus, so that Space and the paging keys reach it.
    button->setFocusPolicy(Qt::NoFocus);
    m_toolBar->addWidget(button);
    return button;
}

void TStandardPreview::buildToolBar()
{
    m_toolBar = new QToolBar(this);
    m_toolBar->setMovable(false);
    m_zoomBox = new QComboBox(m_toolBar);
    m_zoomBox->setObjectName(QStringLiteral("ZoomBtn"));
    m_zoomBox->setToolTip(QStringLiteral("Ingrandimento"));
    m_zoomBox->setEditable(true);
    // Typed and shown with the Italian decimal comma, whatever the system's locale.
    m_zoomBox->setLocale(QLocale(QLocale::Italian, QLocale::Italy));
    m_zoomBox->setInsertPolicy(QComboBox::NoInsert);
    m_zoomBox->addItems(PreviewZoom::choiceTexts());
    m_zoomBox->setMinimumContentsLength(11);
    m_zoomBox->lineEdit()->installEventFilter(this);
    connect(m_zoomBox, &QComboBox::activated, this, [this](int index) { applyZoom(PreviewZoom::choice(index)); });
    m_toolBar->addWidget(m_zoomBox);
    m_toolBar->addSeparator();

    connect(addButton(QStringLiteral("OpenBtn"), QStringLiteral("&Apri"), QStringLiteral("Apre un report"),
                      QStyle::SP_DialogOpenButton), &QToolButton::clicked, this, &TStandardPreview::openReport);
    connect(addButton(QStringLiteral("SaveBtn"), QStringLiteral("Sal&va"), QStringLiteral("Salva il report"),
                      QStyle::SP_DialogSaveButton), &QToolButton::clicked, this, &TStandardPreview::saveReport);
    connect(addButton(QStringLiteral("PrintBtn"), QStringLiteral("&Stampa"), QStringLiteral("Stampa il report"),
                      QStyle::SP_FileIcon), &QToolButton::clicked, this, &TStandardPreview::printReport);
    connect(addButton(QStringLiteral("FindBtn"), QStringLiteral("&Trova"), QStringLiteral("Trova del testo"),
                      QStyle::SP_FileDialogContentsView), &QToolButton::clicked, this, &TStandardPreview::findText);
    m_toolBar->addSeparator();
    connect(addButton(QStringLiteral("ScreenBtn"), QStringLiteral("Sc&hermo"),
                      QStringLiteral("Visualizza l'anteprima a schermo intero"), QStyle::SP_TitleBarMaxButton),
            &QToolButton::clicked, this, &TStandardPreview::toggleFullScreen);
    connect(addButton(QStringLiteral("CloseBtn"), QStringLiteral("&Chiudi"), QStringLiteral("Chiude il report"),
                      QStyle::SP_DialogCloseButton), &QToolButton::clicked, this, &QDialog::reject);
    showZoom();
}

QToolButton *TStandardPreview::button(const QString &name) const
{
    return m_toolBar->findChild<QToolButton *>(name);
}

void TStandardPreview::applyZoom(const PreviewZoom &zoom)
{
    m_view->setZoom(zoom);
    showZoom();
    m_view->setFocus();
}

void TStandardPreview::showZoom()
{
    m_zoomBox->setEditText(m_view->zoom().text());
}

void TStandardPreview::applyTypedZoom()
{
    const QString separator = m_zoomBox->locale().decimalPoint();
    const auto zoom = PreviewZoom::parse(m_zoomBox->currentText(), separator.isEmpty() ? QChar('.') : separator[0]);
    if (!zoom) {
        messages().beep();
        showZoom();
        return;
    }
    applyZoom(*zoom);
}

bool TStandardPreview::zoomBoxKey(QKeyEvent *event)
{
    switch (event->key()) {
    case Qt::Key_Return:
    case Qt::Key_Enter:
        applyTypedZoom();
        return true;
    case Qt::Key_Backspace:
    case Qt::Key_Left:
    case Qt::Key_Right:
    case Qt::Key_Home:
    case Qt::Key_End:
    case Qt::Key_Up:
    case Qt::Key_Down:
    case Qt::Key_Tab:
    case Qt::Key_Escape:
        return false;
    default:
        break;
    }
    if (event->text().isEmpty() || (event->modifiers() & (Qt::ControlModifier | Qt::AltModifier)))
        return false;
    // Only what makes a percentage is typed into the box; everything else is swallowed.
    const QString separator = m_zoomBox->locale().decimalPoint();
    for (QChar c : event->text())
        if (!PreviewZoom::acceptsCharacter(c, separator.isEmpty() ? QChar('.') : separator[0]))
            return true;
    return false;
}

bool TStandardPreview::eventFilter(QObject *watched, QEvent *event)
{
    if (watched == m_zoomBox->lineEdit() && event->type() == QEvent::KeyPress)
        return zoomBoxKey(static_cast<QKeyEvent *>(event));
    return QDialog::eventFilter(watched, event);
}

void TStandardPreview::toggleFullScreen()
{
    if (!m_fullScreen) {
        m_stateBeforeFullScreen = windowState();
        m_geometryBeforeFullScreen = geometry();
        m_toolBarWasVisible = m_toolBar->isVisible() || !isVisible();
        m_fullScreen = true;
        m_toolBar->hide();
        m_view->setBarsVisible(false);
        // Without a window manager nobody else would size the window to the screen.
        if (screen())
            setGeometry(screen()->geometry());
        showFullScreen();
    } else {
        m_fullScreen = false;
        m_toolBar->setVisible(m_toolBarWasVisible);
        m_view->setBarsVisible(true);
        setGeometry(m_geometryBeforeFullScreen);
        setWindowState(m_stateBeforeFullScreen);
        show();
    }
    m_view->setFocus();
}

void TStandardPreview::keyPressEvent(QKeyEvent *event)
{
    switch (event->key()) {
    case Qt::Key_F10: openReport(); break;
    case Qt::Key_F11: if (hasPages()) saveReport(); break;
    case Qt::Key_F2: if (hasPages()) printReport(); break;
    case Qt::Key_F3: if (hasPages()) findText(); break;
    case Qt::Key_Space: toggleFullScreen(); break;
    case Qt::Key_Escape:
        // In full screen the first Esc only leaves it.
        if (m_fullScreen)
            toggleFullScreen();
        else
            reject();
        break;
    case Qt::Key_Return:
    case Qt::Key_Enter: break;
    default: QDialog::keyPressEvent(event); return;
    }
    event->accept();
}

QMenu *TStandardPreview::makeContextMenu(QWidget *parent)
{
    auto *menu = new QMenu(parent);
    menu->addAction(QStringLiteral("&Apri"), this, &TStandardPreview::openReport);
    for (QAction *a : {menu->addAction(QStringLiteral("Sal&va"), this, &TStandardPreview::saveReport),
                       menu->addAction(QStringLiteral("&Stampa"), this, &TStandardPreview::printReport),
                       menu->addAction(QStringLiteral("&Trova"), this, &TStandardPreview::findText)})
        a->setEnabled(hasPages());
    menu->addSeparator();
    const QStringList zooms = PreviewZoom::choiceTexts();
    for (int i = 0; i < zooms.size(); ++i)
        menu->addAction(zooms[i], this, [this, i] { applyZoom(PreviewZoom::choice(i)); });
    return menu;
}

void TStandardPreview::contextMenuEvent(QContextMenuEvent *event)
{
    // The menu belongs to the pages, not to the tool bar.
    if (!m_view->geometry().contains(event->pos())) {
        event->ignore();
        return;
    }
    QMenu *menu = makeContextMenu(this);
    menu->setAttribute(Qt::WA_DeleteOnClose);
    menu->popup(event->globalPos());
    event->accept();
}
