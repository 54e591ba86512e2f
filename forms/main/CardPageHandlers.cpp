#include "forms/main/CardPageHandlers.h"

#include "controls/TMessageBox.h"
#include "db/DatabaseError.h"
#include "db/TField.h"
#include "session/MemberAges.h"
#include "session/TMainData.h"
#include "store/TArcDatabase.h"

CardPageHandlers::CardPageHandlers(TMainData &data, const TMessageBox &mymsg) : m_data(data), m_mymsg(mymsg)
{
    m_data.Nucleo().OnCalcFields = [this](TDataSet &ds) { NucleoCalcFields(ds); };
    m_data.Anagrafica().BeforePost = [this](TDataSet &ds) { AnagraficaBeforePost(ds); };
    m_data.Anagrafica().OnSaving = [this](TDataSet &ds) { AnagraficaSaving(ds); };
    m_data.Anagrafica().OnChangedElsewhere = [](TDataSet &card) { return cardChangedElsewhere(card); };
    m_data.Nucleo().OnChangedElsewhere = [this](TDataSet &member) {
        return memberChangedElsewhere(member, m_data.Anagrafica());
    };
    m_data.Anagrafica().BeforeDelete = [this](TDataSet &ds) { AnagraficaBeforeDelete(ds); };
    m_data.Nucleo().BeforeDelete = [this](TDataSet &ds) { NucleoBeforeDelete(ds); };
}

CardPageHandlers::~CardPageHandlers()
{
    m_data.Nucleo().OnCalcFields = nullptr;
    m_data.Anagrafica().BeforePost = nullptr;
    m_data.Anagrafica().OnSaving = nullptr;
    m_data.Anagrafica().OnChangedElsewhere = nullptr;
    m_data.Nucleo().OnChangedElsewhere = nullptr;
    m_data.Anagrafica().BeforeDelete = nullptr;
    m_data.Nucleo().BeforeDelete = nullptr;
}

void CardPageHandlers::setClock(Clock clock) { m_clock = std::move(clock); }

QDate CardPageHandlers::today() const { return m_clock ? m_clock() : QDate::currentDate(); }

void CardPageHandlers::NucleoCalcFields(TDataSet &nucleo) { fillMemberAge(nucleo, today()); }

QString CardPageHandlers::householdSummary(TDataSet &nucleo)
{
    const TField *name = nucleo.fieldByName(QStringLiteral("Nome"));
    const TField *role = nucleo.fieldByName(QStringLiteral("Ruolo"));
    const TField *job = nucleo.fieldByName(QStringLiteral("Lavoro"));
    const TField *age = nucleo.fieldByName(QStringLiteral("Eta"));
    QString summary;
    for (nucleo.first(); !nucleo.eof(); nucleo.next())
        summary += summaryLine(name->asString(), role->asString(), job->asString(), age->asString());
    return summary;
}

QString CardPageHandlers::summaryLine(const QString &name, const QString &role, const QString &job, const QString &age)
{
    return name + QStringLiteral(" (") + role + QLatin1Char(',') + job + QStringLiteral(") ") + age + QLatin1Char('\r');
}

QString CardPageHandlers::householdSummary(const std::vector<StoredMember> &members, const QDate &today)
{
    QString summary;
    for (const StoredMember &member : members) {
        const std::optional<int> age = memberAge(member.birth, today);
        summary += summaryLine(member.name, member.role, member.job, age ? QString::number(*age) : QString());
    }
    return summary;
}

void CardPageHandlers::AnagraficaSaving(TDataSet &anagrafica)
{
    const TField *card = anagrafica.fieldByName(QStringLiteral("ID_SCHEDA"));
    // A card not yet saved has no members in the archive: the desk's own list stands.
    const TArcDatabase *database = m_data.Anagrafica().Database();
    if (card->isNull() || !database)
        return;
    const QString summary = householdSummary(storedMembers(*database, card->asInteger()), today());
    TField *memo = anagrafica.fieldByName(QStringLiteral("Nucleo"));
    if (memo->asString() != summary)
        memo->setAsString(summary);
}

void CardPageHandlers::AnagraficaBeforePost(TDataSet &anagrafica)
{
    anagrafica.fieldByName(QStringLiteral("Nucleo"))->setAsString(householdSummary(m_data.Nucleo()));
}

namespace {
QString savedElsewhere(const QString &what)
{
    return QStringLiteral("%1 è stata salvata da un'altra postazione dopo che era stata mostrata qui: ora sono "
                          "mostrati i dati salvati.\nQuanto era stato scritto non è perso: Ctrl+Z nel campo lo "
                          "riporta.").arg(what);
}

QString cardName(TDataSet &card)
{
    return QStringLiteral("La scheda \"%1\" (protocollo %2)")
        .arg(card.fieldByName(QStringLiteral("Capofamiglia"))->asString(),
             card.fieldByName(QStringLiteral("Protocollo"))->asString());
}
} // namespace

QString CardPageHandlers::cardChangedElsewhere(TDataSet &card)
{
    return savedElsewhere(cardName(card));
}

QString CardPageHandlers::memberChangedElsewhere(TDataSet &member, TDataSet &card)
{
    return savedElsewhere(QStringLiteral("La riga di \"%1\" nel nucleo della scheda \"%2\"")
                              .arg(member.fieldByName(QStringLiteral("Nome"))->asString(),
                                   card.fieldByName(QStringLiteral("Capofamiglia"))->asString()));
}

void CardPageHandlers::confirmOrAbort(const QString &question) const
{
    if (!m_mymsg.confirm(question))
        throw EAbort();
}

void CardPageHandlers::AnagraficaBeforeDelete(TDataSet &) { confirmOrAbort(confirmCardDelete()); }

void CardPageHandlers::NucleoBeforeDelete(TDataSet &) { confirmOrAbort(confirmMemberDelete()); }
