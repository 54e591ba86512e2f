#pragma once
// The program's archive and datasets without a window, for whatever reads lists and
// figures: the connection configured as the main window configures it, the seven datasets
// and the statistics reachable by the report engine as "frm_main.<dataset>", qnReport1, the
// card filter that applies print criteria, and the members' ages at the session's clock.

#include "output/report/ComponentDirectory.h"
#include "output/report/TqnReport.h"
#include "session/PrintedListRun.h"
#include "session/TMainData.h"
#include "store/TArcDatabase.h"

#include <QDate>
#include <QDateTime>
#include <QObject>
#include <functional>

class ArchiveSession final {
public:
    using Clock = std::function<QDateTime()>;

    // An empty clock is the system's.
    explicit ArchiveSession(Clock clock = {});
    ~ArchiveSession();
    ArchiveSession(const ArchiveSession &) = delete;
    ArchiveSession &operator=(const ArchiveSession &) = delete;

    // Whether the members' table opens with the others. Open, it follows every card a list
    // walks, as in the program, taking the members of a block of cards at once; closed, a
    // list that prints members opens it for its detail band alone, reading the whole table
    // for each card, which only suits work that never walks the members.
    enum class Members { Closed, Open };

    // Connects to `location` (a file path or a server address as the engine reads it) and
    // opens the tables; the engine's failures go to the caller as it throws them.
    void open(const QString &location, const QString &password, Members members = Members::Closed);

    // Produces the catalogue row `entry` from its layout in `layoutFolder` as the print
    // selection window does, while the card table accepts only the cards `criteria` select.
    void runList(const PrintedListEntry &entry, const QString &layoutFolder, const CardCriteria &criteria,
                 const PrintedListRun::Produce &produce);
    // Runs `work` while the card table accepts only the cards `criteria` select.
    void withCriteria(const CardCriteria &criteria, const std::function<void()> &work);

    TMainData &data() { return m_data; }
    TArcDatabase &database() { return m_database; }
    TqnReport &report() { return m_report; }
    QDate today() const;

private:
    Clock m_clock;
    mutable qint64 m_todayAt = -1;
    mutable QDate m_today;
    TArcDatabase m_database;
    TMainData m_data{m_database};
    QObject m_window;
    const ComponentDirectory::Registration m_registration;
    TqnReport m_report;
    const CardCriteria *m_criteria = nullptr;
};
