#include "session/ArchiveSession.h"

#include "session/ArchiveConnection.h"
#include "session/MemberAges.h"
#include "session/ProcessValues.h"

namespace {

const QString kSessionWindow = QStringLiteral("frm_main");

// Print-filter mode with the given criteria, whatever leaves the scope.
class CriteriaScope final {
public:
    CriteriaScope(const CardCriteria *&slot, const CardCriteria &criteria) : m_slot(slot)
    {
        m_slot = &criteria;
        ProcessValues::setPrintFilterMode(true);
    }
    ~CriteriaScope()
    {
        ProcessValues::setPrintFilterMode(false);
        m_slot = nullptr;
    }
    CriteriaScope(const CriteriaScope &) = delete;
    CriteriaScope &operator=(const CriteriaScope &) = delete;

private:
    const CardCriteria *&m_slot;
};

} // namespace

ArchiveSession::ArchiveSession(Clock clock)
    : m_clock(std::move(clock)), m_registration(kSessionWindow), m_report(&m_window)
{
    m_window.setObjectName(kSessionWindow);
    registerReportDataSets(kSessionWindow, m_data);
    configureReport(m_report);
    if (m_clock)
        m_report.setClock(m_clock);
    m_data.Statistiche().setClock([this] { return today(); });
    m_data.Anagrafica().OnFilterRecord = [this](TDataSet &cards, bool &accept) {
        if (ProcessValues::printFilterMode() && m_criteria)
            accept = m_criteria->accepts(cards);
    };
    m_data.Anagrafica().FilterCriteria = [this] {
        return ProcessValues::printFilterMode() && m_criteria ? m_criteria->filterCriteria() : TFilterCriteria();
    };
    m_data.Nucleo().OnCalcFields = [this](TDataSet &members) { fillMemberAge(members, today()); };
}

ArchiveSession::~ArchiveSession()
{
    m_data.Anagrafica().OnFilterRecord = nullptr;
    m_data.Anagrafica().FilterCriteria = nullptr;
    m_data.Nucleo().OnCalcFields = nullptr;
}

QDate ArchiveSession::today() const
{
    if (m_clock)
        return m_clock().date();
    // Every member's age asks for the date: the local date is read again only when the
    // second has changed, as reading it consults the time zone's files each time.
    const qint64 now = QDateTime::currentSecsSinceEpoch();
    if (now != m_todayAt) {
        m_todayAt = now;
        m_today = QDate::currentDate();
    }
    return m_today;
}

void ArchiveSession::open(const QString &location, const QString &password, Members members)
{
    configureArchiveConnection(m_database);
    m_database.setDatabase(location);
    m_database.setDatabasePassword(password);
    m_database.setConnected(true);
    for (TArcTable *table : {&m_data.Anagrafica(), &m_data.Fascia(), &m_data.Ruolo(), &m_data.Occupazione(),
                             &m_data.stampe(), &m_data.Gruppi()})
        table->open();
    if (members == Members::Open)
        m_data.Nucleo().open();
}

void ArchiveSession::runList(const PrintedListEntry &entry, const QString &layoutFolder, const CardCriteria &criteria,
                             const PrintedListRun::Produce &produce)
{
    PrintedListRun run(m_data.Anagrafica(), m_report, [this](const CardCriteria *c) { m_criteria = c; });
    run.run(entry, layoutFolder, criteria, produce);
}

void ArchiveSession::withCriteria(const CardCriteria &criteria, const std::function<void()> &work)
{
    const CriteriaScope scope(m_criteria, criteria);
    work();
}
