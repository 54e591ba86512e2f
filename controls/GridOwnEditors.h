#pragma once
// The grid's own in-place editors for the fields that text editing does not suit: a date
// picker that writes its date and posts on Enter or Tab, and a memo editor. Escape, or
// leaving the date picker, gives up; the grid decides what giving up means.

#include "controls/GridTypes.h"

#include <QDateEdit>
#include <QTextEdit>
#include <functional>

class GridDateEditor final : public QDateEdit {
    Q_OBJECT
public:
    explicit GridDateEditor(QWidget *parent);

    std::function<void(const QDate &date)> onAccept;
    std::function<void()> onCancel;

protected:
    void keyPressEvent(QKeyEvent *event) override;
    void focusOutEvent(QFocusEvent *event) override;
    bool event(QEvent *event) override;

private:
    void finish(bool accept);
    bool m_finishing = false;
};

class GridMemoEditor final : public QTextEdit {
    Q_OBJECT
public:
    explicit GridMemoEditor(QWidget *parent);

    void configure(TMemoInplaceEditor kind, TMemoViewType view);
    // Opens with the whole text selected, or with the caret at its end.
    void open(const QString &text, bool selectAll);

    std::function<void(const QString &text)> onLeave;
    std::function<void()> onCancel;
    std::function<void(QKeyEvent *event)> onKeyToGrid;

protected:
    bool event(QEvent *event) override;
    void keyPressEvent(QKeyEvent *event) override;
    void focusOutEvent(QFocusEvent *event) override;

private:
    bool m_closing = false;
};
