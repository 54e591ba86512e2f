#pragma once
// The program's objects as the main window holds them, without the window, for the
// commands that read lists and figures: the connection, the main window's datasets (the
// statistics among them) reachable as "frm_main.<dataset>", qnReport1, the card filter that
// applies print criteria, and the members' ages at the session's clock.

#include "forms/main/TMainData.h"
#include "forms/selezione/PrintedListRun.h"
#include "output/report/ComponentDirectory.h"
#include "output/report/TqnReport.h"
#include "store/TArcDatabase.h"

#include <QDateTime>
#include <QObject>
#include <functional>
#include <memory>

class QTextStream;

namespace cli {

class ListSession final {
public:
    using Clock = std::function<QDateTime()>;

    // The layout's message boxes go to `err`; an empty clock is the system's.
    ListSession(QTextStream &err, Clock clock);
    ~ListSession();
    ListSession(const ListSession &) = delete;
    ListSession &operator=(const ListSession &) = delete;

    // Whether the members' table opens with the others. Open, it follows every card a list
    // walks, as in the program; closed, a list that prints members opens it for its detail
    // band alone.
    enum class Members { Closed, Open };

    // Opens the archive and its tables; throws CliError (2 wrong password, 3 missing or
    // foreign file).
    void open(const QString &archive, const QString &password, Members members = Members::Closed);

    // Makes the catalogue's list `name` as the print selection window makes it, from the
    // "stampe" folder beside the archive (or the supplied lists, where it lacks the layout); `produce` runs on its loaded layout while the
    // print criteria hold. Throws CliError (64: no such list, the catalogue's names in the
    // message) and EReportError (missing layout).
    void runList(const QString &name, const CardCriteria &criteria, const PrintedListRun::Produce &produce);
    // Runs `work` while the card table accepts only the cards `criteria` select.
    void withCriteria(const CardCriteria &criteria, const std::function<void()> &work);

    TMainData &data() { return m_data; }
    TArcDatabase &database() { return m_database; }
    TqnReport &report() { return m_report; }
    // A layout that could not be read whole (its box went to standard error).
    bool damaged() const;

    // Runs `work` and turns what it throws into the commands' exit status, its text on `err`:
    // a CliError as it says, an unreadable layout 3, an engine's refusal of what a catalogue
    // row asks (an Ordine naming a missing field) kPreparationFailed.
    static int guarded(QTextStream &err, const std::function<int()> &work);

private:
    class Messages;

    QDate today() const;

    Clock m_clock;
    mutable qint64 m_todayAt = -1;
    mutable QDate m_today;
    QString m_archive;
    TArcDatabase m_database;
    TMainData m_data{m_database};
    QObject m_window;
    const ComponentDirectory::Registration m_registration;
    std::unique_ptr<Messages> m_messages;
    TqnReport m_report;
    const CardCriteria *m_criteria = nullptr;
};

} // namespace cli
