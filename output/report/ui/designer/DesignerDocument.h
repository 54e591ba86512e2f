#pragma once
// The layout being designed, seen as a list of saved copies: the first is the layout as it
// was opened or last saved, each edit appends the layout as it stands. Undo and redo move
// along the list and read the copy back into the report, with the file name it had then
// (undoing "Nuovo da modello" gives the file its name back).

#include <QByteArray>
#include <QObject>
#include <QString>
#include <vector>

class TqnReport;
class TqnLayout;

class DesignerDocument final : public QObject {
    Q_OBJECT
public:
    explicit DesignerDocument(TqnReport &report, QObject *parent = nullptr);

    TqnReport &report() const { return m_report; }
    TqnLayout &layout() const;

    // After an edit: the layout as it stands joins the list (an unchanged layout does not),
    // and the copies ahead of the current one are dropped.
    void commit();
    // The list starts again from the layout as it stands (after a load or a save).
    void restart();
    bool canUndo() const { return m_current > 0; }
    bool canRedo() const { return m_current + 1 < m_copies.size(); }
    void undo();
    void redo();
    // Unsaved changes: the layout differs from the first copy.
    bool modified() const;
    // Back to the layout as it was opened or last saved; the list restarts there.
    void revert();
    // The layout as written to a file (the file name is not part of it).
    QByteArray snapshot() const;

signals:
    // The layout is about to be replaced by a copy (pointers into it still hold).
    void aboutToReplace();
    // The layout was replaced by a copy: pointers into it are gone.
    void replaced();
    // The list moved (an edit, an undo, a restart).
    void changed();

private:
    struct Copy {
        QByteArray layout;
        QString fileName;
    };
    Copy current() const;
    void load(size_t index);

    TqnReport &m_report;
    std::vector<Copy> m_copies;
    size_t m_current = 0;
};
