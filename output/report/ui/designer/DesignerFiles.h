#pragma once
// The designer's file commands: new, open, reopen, save, save as, and the save question that
// guards the commands which would discard unsaved changes. Saving by "Salva" writes the
// report's bare file name, so the file goes to the process's current folder (or ReportDir).

#include <QObject>
#include <QStringList>

class DesignerDialogs;
class DesignerDocument;

class DesignerFiles final : public QObject {
    Q_OBJECT
public:
    DesignerFiles(DesignerDocument &document, DesignerDialogs &dialogs, QObject *parent = nullptr);
    void setDialogs(DesignerDialogs &dialogs) { m_dialogs = &dialogs; }

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
    bool saveAs();

    // Most recent first, shared by every designer of the run.
    static QStringList &recentFiles();

signals:
    // The layout was replaced as a whole, or its name changed.
    void loaded();

private:
    bool store(const QString &fileName);
    bool saveTemplate(const QString &fileName);
    QString folderName(const QString &name) const;
    void remember(const QString &fileName);

    DesignerDocument &m_document;
    DesignerDialogs *m_dialogs;
};
