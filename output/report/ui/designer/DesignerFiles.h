#pragma once
// The designer's file commands: new, open, reopen, save, save as, and the save question that
// guards the commands which would discard unsaved changes. Saving by "Salva" writes the
// report's bare file name, so the file goes to the process's current folder (or ReportDir).

#include <QObject>
#include <QStringList>
#include <functional>

class DesignerDialogs;
class DesignerDocument;

class DesignerFiles final : public QObject {
    Q_OBJECT
public:
    DesignerFiles(DesignerDocument &document, DesignerDialogs &dialogs, QObject *parent = nullptr);
    void setDialogs(DesignerDialogs &dialogs) { m_dialogs = &dialogs; }
    // Runs before anything is saved or the save question is asked: edits still held by a
    // window (the inspector's field being typed in) reach the layout first.
    void setBeforeSaving(std::function<void()> apply) { m_beforeSaving = std::move(apply); }

    // "Modellatore", then " - " and the file name up to its first point when it holds ".qnf".
    QString caption() const;
    static QString caption(const QString &fileName);

    // The save question; false when the command is to be abandoned.
    bool askToSave();
    void newReport();
    void open();
    void reopen(const QString &fileName);
    // Loads `fileName`; a missing file is reported and leaves the layout as it was.
    bool openFile(const QString &fileName);
    bool save();
    // `asLayout`: only the layout entry is offered (the save question saves the layout, never
    // a template).
    bool saveAs(bool asLayout = false);

    // Full paths, most recent first, shared by every designer of the run.
    static QStringList &recentFiles();

signals:
    // The layout was replaced as a whole.
    void loaded();
    // The layout was saved, perhaps under a new name.
    void saved();

private:
    bool store(const QString &fileName);
    bool saveTemplate(const QString &fileName);
    bool saveLayout(bool asLayout);
    // Where the report reads or writes `fileName`: in ReportDir when that is set and the
    // name holds no folder, else from the current folder.
    QString fullPath(const QString &fileName) const;
    void remember(const QString &fileName);

    DesignerDocument &m_document;
    DesignerDialogs *m_dialogs;
    std::function<void()> m_beforeSaving;
};
