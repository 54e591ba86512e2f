#pragma once
// The preview window: the prepared pages of a report with a tool bar (zoom box, open, save,
// print, find, full screen, close), paging by keys, page buttons and wheel, a right-click
// menu, and full screen. A modal preview shows the report's own pages; a non-modal one works
// on its own copy of the report, so it outlives the run that made it.

#include "output/report/ui/PreviewDialogs.h"
#include "output/report/ui/PreviewView.h"
#include "output/report/ui/TextSearch.h"

#include <QDialog>
#include <QPrinter>
#include <memory>

class QComboBox;
class QMenu;
class QToolBar;
class QToolButton;
class TqnReport;
class ReportMessages;

class TStandardPreview final : public QDialog {
    Q_OBJECT
public:
    // With `ownCopy` the window copies the report's settings and prepared pages.
    TStandardPreview(TqnReport &report, bool ownCopy, QWidget *parent = nullptr);
    ~TStandardPreview() override;

    // The windows open now, oldest first.
    static QList<TStandardPreview *> openPreviews();

    TqnReport &report() const { return *m_report; }
    PreviewView *view() const { return m_view; }
    QComboBox *zoomBox() const { return m_zoomBox; }
    QToolBar *toolBar() const { return m_toolBar; }
    // "OpenBtn", "SaveBtn", "PrintBtn", "FindBtn", "ScreenBtn", "CloseBtn".
    QToolButton *button(const QString &name) const;
    // The dialogs asked through; the real ones unless a test gives its own (kept by the caller).
    void setDialogs(PreviewDialogs *dialogs) { m_dialogs = dialogs ? dialogs : &m_realDialogs; }
    // The printer the print dialog set up; it keeps the user's choices between prints.
    QPrinter &printer();

    // --- commands --------------------------------------------------------------------
    void openReport();
    void saveReport();
    void printReport();
    void findText();
    void toggleFullScreen();
    bool fullScreenMode() const { return m_fullScreen; }
    void applyZoom(const PreviewZoom &zoom);
    // The right-click menu: open, save, print, find, a separator, the nine zoom choices.
    QMenu *makeContextMenu(QWidget *parent);

protected:
    void keyPressEvent(QKeyEvent *event) override;
    void contextMenuEvent(QContextMenuEvent *event) override;
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void buildToolBar();
    QToolButton *addButton(const QString &name, const QString &caption, const QString &hint, int icon);
    bool zoomBoxKey(QKeyEvent *event);
    void applyTypedZoom();
    void showZoom();
    void print(int first, int last, bool collate, int copies);
    void showPages();
    bool hasPages() const;
    ReportMessages &messages() const;

    std::unique_ptr<TqnReport> m_ownReport;
    TqnReport *m_report;
    PreviewDialogs m_realDialogs;
    PreviewDialogs *m_dialogs = &m_realDialogs;
    std::unique_ptr<QPrinter> m_printer;
    QToolBar *m_toolBar = nullptr;
    QComboBox *m_zoomBox = nullptr;
    PreviewView *m_view = nullptr;
    TextSearch m_search;
    FindRequest m_lastFind;
    TextHit m_lastHit;
    bool m_fullScreen = false;
    Qt::WindowStates m_stateBeforeFullScreen;
    QRect m_geometryBeforeFullScreen;
    bool m_toolBarWasVisible = true;
};
