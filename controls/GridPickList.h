#pragma once
// The drop-down list of a column's pick list: a pop-up under the in-place editor that
// returns the chosen entry, or nothing when it is closed without a choice.

#include <QListWidget>
#include <functional>

class GridPickList final : public QListWidget {
    Q_OBJECT
public:
    explicit GridPickList(QWidget *owner);

    // Fills and places the list under `anchor` (global rectangle of the editor) and shows
    // it with `current` preselected (-1: none).
    void popUp(const QStringList &entries, int current, int maxRows, const QRect &anchor);
    // Closes the list; with accept, reports the highlighted entry.
    void closeUp(bool accept);

    std::function<void(const QString &entry)> onAccepted;
    std::function<void()> onClosed;

protected:
    void keyPressEvent(QKeyEvent *event) override;
    void mouseReleaseEvent(QMouseEvent *event) override;
    void hideEvent(QHideEvent *event) override;

private:
    bool m_closing = false;
};
