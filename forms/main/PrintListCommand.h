#pragma once
// "Stampa elenchi" and "Modifica i tracciati di stampa": the main window's printed lists.
// The first shows the selection window and produces the chosen list through the preview
// (or the designer while Scroll Lock is on); the second opens the designer on whatever
// layout the report holds, without sorting, filtering or loading anything.

#include <QDate>
#include <QPointer>
#include <functional>

class Tfrm_main;
class Tfrm_stampa;

class PrintListCommand final {
public:
    explicit PrintListCommand(Tfrm_main &window) : m_window(window) {}
    // A selection window made here goes before the datasets its grid shows.
    ~PrintListCommand();
    PrintListCommand(const PrintListCommand &) = delete;
    PrintListCommand &operator=(const PrintListCommand &) = delete;

    // The selection window the program created at start; without one the command makes its
    // own the first time and keeps it.
    void setSelectionWindow(Tfrm_stampa *window);
    Tfrm_stampa *selectionWindow();

    // A list of the statistics first asks their reference date: today the first time, then
    // the date last chosen.
    void run();
    void editLayouts();

    // Today's date for that question; the system's unless a test sets another clock.
    void setClock(std::function<QDate()> clock) { m_clock = std::move(clock); }

private:
    Tfrm_main &m_window;
    QPointer<Tfrm_stampa> m_selection;
    bool m_ownsSelection = false;
    std::function<QDate()> m_clock;
    QDate m_statisticsDate;

    QDate today() const { return m_clock ? m_clock() : QDate::currentDate(); }
};
