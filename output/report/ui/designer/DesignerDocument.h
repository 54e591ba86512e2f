#pragma once
// The layout being designed, seen as a list of saved copies: the first is the layout as it
// was opened or last saved, each edit appends the layout as it stands. Undo and redo move
// along the list and read the copy back into the report.

#include <QByteArray>
#include <QObject>
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
    QByteArray snapshot() const;

signals:
    // The layout was replaced by a copy: pointers into it are gone.
    void replaced();
    // The list moved (an edit, an undo, a restart).
    void changed();

private:
    void load(size_t index);

    TqnReport &m_report;
    std::vector<QByteArray> m_copies;
    size_t m_current = 0;
};
