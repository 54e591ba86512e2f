#pragma once
// The card's dataset handlers: the members' computed age, the household summary written
// into the card before every post (and written again inside the save from the members the
// archive holds then, so a desk's stale list never replaces another desk's members), and
// the confirmations asked before a card or a member is deleted. Binding them assigns the datasets' events; destruction takes them back.

#include "store/MemberAge.h"
#include "store/StoredMembers.h"

#include <QDate>
#include <QString>
#include <functional>
#include <optional>
#include <vector>

class TDataSet;
class TMainData;
class TMessageBox;

class CardPageHandlers final {
public:
    using Clock = std::function<QDate()>;

    CardPageHandlers(TMainData &data, const TMessageBox &mymsg);
    ~CardPageHandlers();
    CardPageHandlers(const CardPageHandlers &) = delete;
    CardPageHandlers &operator=(const CardPageHandlers &) = delete;

    // Today's date for the ages; the system date unless a test sets another clock. An empty
    // clock brings the system date back.
    void setClock(Clock clock);
    QDate today() const;

    static QString confirmCardDelete() { return QStringLiteral("   Confermi la cancellazione di questa scheda ?   "); }
    static QString confirmMemberDelete() { return QStringLiteral("   Confermi la cancellazione di questa riga ?   "); }

    void NucleoCalcFields(TDataSet &nucleo);
    void AnagraficaBeforePost(TDataSet &anagrafica);
    void AnagraficaBeforeDelete(TDataSet &anagrafica);
    void NucleoBeforeDelete(TDataSet &nucleo);

    // One line per member from the first to the last, each ended by a lone carriage return;
    // the member dataset is left on its last row.
    static QString householdSummary(TDataSet &nucleo);
    // The same lines from the members as stored.
    static QString householdSummary(const std::vector<StoredMember> &members, const QDate &today);
    // Inside the card's save: the summary from the members stored with the card.
    void AnagraficaSaving(TDataSet &anagrafica);
    // What the desk is told when a card or a member row it shows was saved elsewhere.
    static QString cardChangedElsewhere(TDataSet &card);
    static QString memberChangedElsewhere(TDataSet &member, TDataSet &card);

private:
    // Raises the silent abort unless the user answers Yes.
    void confirmOrAbort(const QString &question) const;

    static QString summaryLine(const QString &name, const QString &role, const QString &job, const QString &age);

    TMainData &m_data;
    const TMessageBox &m_mymsg;
    Clock m_clock;
};
