#include "forms/main/CardPageHandlers.h"

#include "controls/TMessageBox.h"
#include "db/DatabaseError.h"
#include "db/TField.h"
#include "forms/main/TMainData.h"

CardPageHandlers::CardPageHandlers(TMainData &data, const TMessageBox &mymsg) : m_data(data), m_mymsg(mymsg)
{
    m_data.Nucleo().OnCalcFields = [this](TDataSet &ds) { NucleoCalcFields(ds); };
    m_data.Anagrafica().BeforePost = [this](TDataSet &ds) { AnagraficaBeforePost(ds); };
    m_data.Anagrafica().BeforeDelete = [this](TDataSet &ds) { AnagraficaBeforeDelete(ds); };
    m_data.Nucleo().BeforeDelete = [this](TDataSet &ds) { NucleoBeforeDelete(ds); };
}

CardPageHandlers::~CardPageHandlers()
{
    m_data.Nucleo().OnCalcFields = nullptr;
    m_data.Anagrafica().BeforePost = nullptr;
    m_data.Anagrafica().BeforeDelete = nullptr;
    m_data.Nucleo().BeforeDelete = nullptr;
}

void CardPageHandlers::setClock(Clock clock) { m_clock = std::move(clock); }

QDate CardPageHandlers::today() const { return m_clock ? m_clock() : QDate::currentDate(); }

void CardPageHandlers::NucleoCalcFields(TDataSet &nucleo) { fillAge(nucleo, today()); }

void CardPageHandlers::fillAge(TDataSet &nucleo, const QDate &today)
{
    const QDateTime birth = nucleo.fieldByName(QStringLiteral("Data_nascita"))->asDateTime();
    TField *age = nucleo.fieldByName(QStringLiteral("Eta"));
    if (const auto years = memberAge(birth.date(), today))
        age->setAsInteger(*years);
}

QString CardPageHandlers::householdSummary(TDataSet &nucleo)
{
    const TField *name = nucleo.fieldByName(QStringLiteral("Nome"));
    const TField *role = nucleo.fieldByName(QStringLiteral("Ruolo"));
    const TField *job = nucleo.fieldByName(QStringLiteral("Lavoro"));
    const TField *age = nucleo.fieldByName(QStringLiteral("Eta"));
    QString summary;
    for (nucleo.first(); !nucleo.eof(); nucleo.next()) {
        summary += name->asString() + QStringLiteral(" (") + role->asString() + QLatin1Char(',') + job->asString()
            + QStringLiteral(") ") + age->asString() + QLatin1Char('\r');
    }
    return summary;
}

void CardPageHandlers::AnagraficaBeforePost(TDataSet &anagrafica)
{
    anagrafica.fieldByName(QStringLiteral("Nucleo"))->setAsString(householdSummary(m_data.Nucleo()));
}

void CardPageHandlers::confirmOrAbort(const QString &question) const
{
    if (!m_mymsg.confirm(question))
        throw EAbort();
}

void CardPageHandlers::AnagraficaBeforeDelete(TDataSet &) { confirmOrAbort(confirmCardDelete()); }

void CardPageHandlers::NucleoBeforeDelete(TDataSet &) { confirmOrAbort(confirmMemberDelete()); }
