#pragma once
// A date edit bound to a date field, with a button that drops down a calendar. The text is
// the field's short date; an empty text is a null date, both ways.

#include "controls/TDBEdit.h"

#include <QCalendarWidget>
#include <QDate>
#include <QPointer>

class QAction;

class TDBDateEdit : public TDBEdit {
    Q_OBJECT
public:
    explicit TDBDateEdit(QWidget *parent = nullptr);
    ~TDBDateEdit() override;

    QAction *calendarButton() const { return m_calendarButton; }
    // Drops the calendar down under the edit, on the shown date (today when empty).
    void dropDown();
    // The open calendar, or null.
    QCalendarWidget *calendar() const { return m_calendar; }
    // What choosing a day in the calendar does: the date becomes the field's value at once.
    void pickDate(const QDate &date);

protected:
    void keyPressEvent(QKeyEvent *event) override;

private:
    QDate shownDate() const;

    QAction *m_calendarButton = nullptr;
    QPointer<QCalendarWidget> m_calendar;
};
