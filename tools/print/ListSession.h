#pragma once
// The companion's side of an archive session: the archive checked and opened with the
// commands' exit statuses, the catalogue's lists found by name, the layout's message boxes
// on standard error. The datasets, the report and the print criteria are the windowless
// session's (session/ArchiveSession).

#include "session/ArchiveSession.h"

#include <QDateTime>
#include <functional>
#include <memory>

class QTextStream;

namespace cli {

class ListSession final {
public:
    using Clock = ArchiveSession::Clock;
    using Members = ArchiveSession::Members;

    // The layout's message boxes go to `err`; an empty clock is the system's.
    ListSession(QTextStream &err, Clock clock);
    ~ListSession();
    ListSession(const ListSession &) = delete;
    ListSession &operator=(const ListSession &) = delete;

    // Opens the archive and its tables (the members' as `members` says); throws CliError
    // (2 wrong password, 3 missing or foreign file, 6 an unreachable server).
    void open(const QString &archive, const QString &password, Members members = Members::Closed);

    // Makes the catalogue's list `name` as the print selection window makes it, from the
    // "stampe" folder beside the archive (or the supplied lists, where it lacks the layout); `produce` runs on its loaded layout while the
    // print criteria hold. Throws CliError (64: no such list, the catalogue's names in the
    // message) and EReportError (missing layout).
    void runList(const QString &name, const CardCriteria &criteria, const PrintedListRun::Produce &produce);
    // Runs `work` while the card table accepts only the cards `criteria` select.
    void withCriteria(const CardCriteria &criteria, const std::function<void()> &work)
    {
        m_session.withCriteria(criteria, work);
    }

    TMainData &data() { return m_session.data(); }
    TArcDatabase &database() { return m_session.database(); }
    TqnReport &report() { return m_session.report(); }
    // A layout that could not be read whole (its box went to standard error).
    bool damaged() const;

    // Runs `work` and turns what it throws into the commands' exit status, its text on `err`:
    // a CliError as it says, an unreadable layout 3, an engine's refusal of what a catalogue
    // row asks (an Ordine naming a missing field) kPreparationFailed.
    static int guarded(QTextStream &err, const std::function<int()> &work);

private:
    class Messages;

    // Before the session, whose report shows its boxes through them.
    std::unique_ptr<Messages> m_messages;
    ArchiveSession m_session;
    QString m_archive;
};

} // namespace cli
