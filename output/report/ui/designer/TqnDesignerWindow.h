#pragma once
// The designer window "Modellatore": the layout pages of the report as tabs, each drawn on a
// canvas, with menus, six tool bars, the object inspector and a status bar. Every edit ends
// in one undo step; the file commands and the save question live in DesignerFiles.

#include "output/report/ui/designer/DesignerCanvas.h"
#include "output/report/ui/designer/DesignerDialogs.h"
#include "output/report/ui/designer/DesignerSettings.h"

#include <QHash>
#include <QMainWindow>

class DesignerDocument;
class DesignerFiles;
class ObjectInspector;
class QActionGroup;
class QFontComboBox;
class QComboBox;
class QLabel;
class QMenu;
class QTabBar;
class QToolBar;
class TqnReport;

class TqnDesignerWindow final : public QMainWindow {
    Q_OBJECT
public:
    explicit TqnDesignerWindow(TqnReport &report, QWidget *parent = nullptr);
    ~TqnDesignerWindow() override;

    // Shows the window modally and returns when it has closed.
    void exec();
    // The designer open now, or null.
    static TqnDesignerWindow *instance();

    // The dialogs asked through; the real ones unless a test gives its own (kept by the caller).
    void setDialogs(DesignerDialogs *dialogs);
    // A command by its caption ("Salva", "Annulla", ...).
    QAction *action(const QString &caption) const;
    QToolBar *toolBar(const QString &caption) const;
    DesignerCanvas *canvas() const { return m_canvas; }
    ObjectInspector *inspector() const { return m_inspector; }
    DesignerDocument &document() const { return *m_document; }
    DesignerFiles &files() const { return *m_files; }
    QTabBar *pageTabs() const { return m_tabs; }
    QLabel *positionLabel() const { return m_mouseLabel; }
    QLabel *selectionLabel() const { return m_selectionLabel; }
    int currentPage() const;
    void showPage(int page);
    DesignerUnit unit() const { return m_settings.units; }

    // --- commands that take a choice (the menus and tool bars call them too) ---------
    void insertBand(TqnBandType type);
    void insertObject(DesignerCanvas::Tool tool, QRect box);
    void setUnit(DesignerUnit unit);
    void setGrid(int size, bool align);
    void preview();

protected:
    void closeEvent(QCloseEvent *event) override;

private:
    // Construction, in DesignerCommandSet.cpp.
    void buildCommands();
    QAction *command(const QString &caption, const QString &hint, std::function<void()> run,
                     QKeySequence key = {}, int icon = -1);
    void buildFileMenu(QMenu *menu);
    void buildEditMenu(QMenu *menu);
    void buildToolsMenu(QMenu *menu);
    void buildTextBar();
    void buildFrameBar();
    QToolBar *addBar(const QString &caption);
    void fillRecentMenu();

    // Commands, in DesignerEditCommands.cpp.
    void edited();
    void cut();
    void copy();
    void paste();
    void deleteSelection();
    void editObject();
    bool canEditSelection() const;
    void chooseBand();
    void addPage();
    void removePage();
    void managePages();
    void chooseFrameWidth();
    void chooseColor(int which);   // 0 font, 1 fill, 2 frame
    void runExtension(const std::function<bool(TqnReport &, QWidget *)> &extension);
    void onSelectionChanged();

    // Around a replacement of the layout: before it the canvas, the selection and the inspector
    // let go of the pages (the selection is kept by its places in the page); after it they
    // show the page `page` again, with the kept selection when `keepSelected`.
    void keepSelection();
    void detachFromLayout();
    void showLayout(int page, bool keepSelected);
    void rebuildTabs(int keep);
    void updateCaption();
    void updateCommands();
    void restoreSettings();
    void saveSettings();

    TqnReport &m_report;
    DesignerDialogs m_realDialogs;
    DesignerDialogs *m_dialogs = &m_realDialogs;
    DesignerDocument *m_document;
    DesignerFiles *m_files;
    DesignerSettings m_settings;
    DesignerCanvas *m_canvas;
    ObjectInspector *m_inspector;
    QTabBar *m_tabs;
    QLabel *m_mouseLabel;
    QLabel *m_selectionLabel;
    QMenu *m_recentMenu = nullptr;
    QFontComboBox *m_fontBox = nullptr;
    QComboBox *m_sizeBox = nullptr;
    QHash<QString, QAction *> m_actions;
    QHash<QString, QToolBar *> m_bars;
    QActionGroup *m_toolGroup = nullptr;
    bool m_closed = false;
    bool m_detached = false;
    std::vector<size_t> m_keptSelection;
};
