#include "tools/print/ListSession.h"

#include "engine/ArchiveLocation.h"
#include "engine/Constants.h"
#include "engine/EngineError.h"
#include "forms/ProcessValues.h"
#include "forms/main/ArchiveConnection.h"
#include "forms/main/CardPageHandlers.h"
#include "output/report/file/LayoutReader.h"
#include "tools/cli/LocationFailures.h"
#include "tools/cli/CliError.h"
#include "tools/cli/SuppliedLookup.h"
#include "tools/print/PrintCommand.h"

#include <QDir>
#include <QFileInfo>
#include <QTextStream>

namespace cli {

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

// The layout's boxes go to standard error; a damaged layout is remembered.
class ListSession::Messages final : public ReportMessages {
public:
    explicit Messages(QTextStream &err) : m_err(err) {}
    void show(const QString &text, const QString &caption, TqnMessageIcon) override
    {
        if (text == layouttext::damaged())
            damaged = true;
        QString flat = text;
        flat.replace(QLatin1String("\r\n"), QLatin1String("\n")).replace(QLatin1String("\n\r"), QLatin1String("\n"));
        flat.replace(QLatin1Char('\r'), QLatin1Char('\n'));
        m_err << (caption.isEmpty() ? QString() : caption + QStringLiteral(": ")) << flat << Qt::endl;
    }
    bool damaged = false;

private:
    QTextStream &m_err;
};

ListSession::ListSession(QTextStream &err, Clock clock)
    : m_clock(std::move(clock)), m_registration(kSessionWindow), m_messages(std::make_unique<Messages>(err)),
      m_report(&m_window)
{
    m_window.setObjectName(kSessionWindow);
    registerReportDataSets(kSessionWindow, m_data);
    configureReport(m_report);
    m_report.setMessages(m_messages.get());
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
    m_data.Nucleo().OnCalcFields = [this](TDataSet &members) { CardPageHandlers::fillAge(members, today()); };
}

ListSession::~ListSession()
{
    m_data.Anagrafica().OnFilterRecord = nullptr;
    m_data.Anagrafica().FilterCriteria = nullptr;
    m_data.Nucleo().OnCalcFields = nullptr;
}

QDate ListSession::today() const
{
    return (m_clock ? m_clock() : QDateTime::currentDateTime()).date();
}

bool ListSession::damaged() const
{
    return m_messages->damaged;
}

void ListSession::open(const QString &archive, const QString &password, Members members)
{
    if (dao::ArchiveLocation(archive).isFile() && !QFileInfo(archive).isFile())
        throw CliError(ExitCode::NotAnArchive, QStringLiteral("File non trovato: \"%1\".").arg(archive));
    m_archive = archive;
    configureArchiveConnection(m_database);
    m_database.setDatabase(dao::ArchiveLocation(archive).normalized());
    m_database.setDatabasePassword(password);
    try {
        m_database.setConnected(true);
        // The member table stays closed: open, it would follow every card a list walks with a
        // query of its own (the members' table has no index on its card key). A list that
        // prints members opens it for its detail band and closes it afterwards.
        for (TArcTable *table : {&m_data.Anagrafica(), &m_data.Fascia(), &m_data.Ruolo(), &m_data.Occupazione(),
                                 &m_data.stampe(), &m_data.Gruppi()})
            table->open();
        if (members == Members::Open)
            m_data.Nucleo().open();
    } catch (const dao::EngineError &e) {
        if (e.number() == dao::errNotValidPassword)
            throw CliError(ExitCode::BadPassword, QStringLiteral("Password dell'archivio errata o mancante."));
        if (std::optional<CliError> failure = serverFailure(archive, e))
            throw *failure;
        throw CliError(ExitCode::NotAnArchive, notAnArchiveText(archive, e.description()));
    } catch (const std::exception &e) {
        throw CliError(ExitCode::NotAnArchive, notAnArchiveText(archive, QString::fromLocal8Bit(e.what())));
    }
}

void ListSession::runList(const QString &name, const CardCriteria &criteria, const PrintedListRun::Produce &produce)
{
    TDataSet &catalogue = m_data.stampe();
    QStringList names;
    for (catalogue.first(); !catalogue.eof(); catalogue.next()) {
        const PrintedListEntry entry = PrintedListEntry::current(catalogue);
        if (entry.nome != name) {
            names << QStringLiteral("  ") + entry.nome;
            continue;
        }
        const QString folder = layoutFolderFor(m_archive, entry.tracciato);
        PrintedListRun run(m_data.Anagrafica(), m_report, [this](const CardCriteria *c) { m_criteria = c; });
        run.run(entry, folder, criteria, [this, &produce](TqnReport &report) {
            if (!damaged())
                produce(report);
        });
        return;
    }
    throw CliError(ExitCode::Usage, QStringLiteral("L'archivio non ha un elenco chiamato \"%1\". Elenchi:\n%2")
                                        .arg(name, names.join(QLatin1Char('\n'))));
}

int ListSession::guarded(QTextStream &err, const std::function<int()> &work)
{
    try {
        return work();
    } catch (const CliError &e) {
        err << e.message() << Qt::endl;
        return int(e.code());
    } catch (const EReportError &e) {
        err << e.message() << Qt::endl;
        return int(ExitCode::NotAnArchive);
    } catch (const dao::EngineError &e) {
        err << e.description() << Qt::endl;
        return kPreparationFailed;
    }
}

void ListSession::withCriteria(const CardCriteria &criteria, const std::function<void()> &work)
{
    const CriteriaScope scope(m_criteria, criteria);
    work();
}

} // namespace cli
