#include "tools/print/PrintCommand.h"

#include "db/TDataSet.h"
#include "db/TField.h"
#include "engine/Constants.h"
#include "engine/EngineError.h"
#include "forms/ProcessValues.h"
#include "forms/main/ArchiveConnection.h"
#include "forms/main/CardPageHandlers.h"
#include "forms/main/TMainData.h"
#include "forms/selezione/PrintedListRun.h"
#include "output/report/ComponentDirectory.h"
#include "output/report/TqnReport.h"
#include "output/report/file/LayoutReader.h"
#include "output/report/print/PdfOutput.h"
#include "store/TArcDatabase.h"
#include "tools/cli/CliError.h"
#include "tools/cli/SuppliedLookup.h"

#include <QDir>
#include <QFileInfo>
#include <QObject>
#include <QTextStream>

namespace cli {

namespace {

const QString kWindow = QStringLiteral("frm_main");

// The layout's boxes go to standard error; a damaged layout is remembered for the exit status.
class StderrMessages final : public ReportMessages {
public:
    explicit StderrMessages(QTextStream &err) : m_err(err) {}
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

void openArchive(TArcDatabase &database, TMainData &data, const QString &path, const QString &password)
{
    if (!QFileInfo(path).isFile())
        throw CliError(ExitCode::NotAnArchive, QStringLiteral("File non trovato: \"%1\".").arg(path));
    configureArchiveConnection(database);
    database.setDatabase(QFileInfo(path).absoluteFilePath());
    database.setDatabasePassword(password);
    try {
        database.setConnected(true);
        for (TArcTable *table : {&data.Anagrafica(), &data.Nucleo(), &data.Fascia(), &data.Ruolo(),
                                 &data.Occupazione(), &data.stampe(), &data.Gruppi()})
            table->open();
    } catch (const dao::EngineError &e) {
        if (e.number() == dao::errNotValidPassword)
            throw CliError(ExitCode::BadPassword, QStringLiteral("Password dell'archivio errata o mancante."));
        throw CliError(ExitCode::NotAnArchive,
                       QStringLiteral("Il file \"%1\" non è un archivio di Tavorio valido.\n%2").arg(path, e.description()));
    } catch (const std::exception &e) {
        throw CliError(ExitCode::NotAnArchive, QStringLiteral("Il file \"%1\" non è un archivio di Tavorio valido.\n%2")
                                                   .arg(path, QString::fromLocal8Bit(e.what())));
    }
}

// The catalogue row named `name`, current in the catalogue; the catalogue's names in the error.
PrintedListEntry findList(TDataSet &catalogue, const QString &name)
{
    QStringList names;
    for (catalogue.first(); !catalogue.eof(); catalogue.next()) {
        const PrintedListEntry entry = PrintedListEntry::current(catalogue);
        if (entry.nome == name)
            return entry;
        names << QStringLiteral("  ") + entry.nome;
    }
    throw CliError(ExitCode::Usage, QStringLiteral("L'archivio non ha un elenco chiamato \"%1\". Elenchi:\n%2")
                                        .arg(name, names.join(QLatin1Char('\n'))));
}

// The program's objects as the main window holds them, without the window.
class PrintSession final {
public:
    PrintSession(const PrintRequest &request, QTextStream &err)
        : m_request(request), m_messages(err), m_report(&m_window)
    {
        m_window.setObjectName(kWindow);
        registerReportDataSets(kWindow, m_data);
        configureReport(m_report);
        m_report.setMessages(&m_messages);
        if (request.clock)
            m_report.setClock(request.clock);
        // The card table's record filter: every card, but the print criteria while a list is made.
        m_data.Anagrafica().OnFilterRecord = [this](TDataSet &cards, bool &accept) {
            if (ProcessValues::printFilterMode() && m_criteria)
                accept = m_criteria->accepts(cards);
        };
        m_data.Anagrafica().FilterCriteria = [this] {
            return ProcessValues::printFilterMode() && m_criteria ? m_criteria->filterCriteria() : TFilterCriteria();
        };
        m_data.Nucleo().OnCalcFields = [this](TDataSet &members) {
            CardPageHandlers::fillAge(members, (m_request.clock ? m_request.clock() : QDateTime::currentDateTime()).date());
        };
    }
    ~PrintSession()
    {
        m_data.Anagrafica().OnFilterRecord = nullptr;
        m_data.Anagrafica().FilterCriteria = nullptr;
        m_data.Nucleo().OnCalcFields = nullptr;
    }

    // Loads and builds; throws CliError or EReportError.
    void build()
    {
        openArchive(m_database, m_data, m_request.archive, m_request.password);
        if (m_request.listName.isEmpty()) {
            m_report.OpenLayout(m_request.layout);
            if (!m_messages.damaged)
                m_report.BuildPages();
            return;
        }
        const PrintedListEntry entry = findList(m_data.stampe(), m_request.listName);
        const QString folder = layoutFolderFor(m_request.archive, entry.tracciato);
        PrintedListRun run(m_data.Anagrafica(), m_report, [this](const CardCriteria *c) { m_criteria = c; });
        run.run(entry, folder, m_request.criteria, [this](TqnReport &report) {
            if (!m_messages.damaged)
                report.BuildPages();
        });
    }

    bool damaged() const { return m_messages.damaged; }
    TqnReport &report() { return m_report; }

private:
    const PrintRequest &m_request;
    TArcDatabase m_database;
    TMainData m_data{m_database};
    QObject m_window;
    const ComponentDirectory::Registration m_registration{kWindow};
    StderrMessages m_messages;
    TqnReport m_report;
    const CardCriteria *m_criteria = nullptr;
};

} // namespace

int runPrint(const PrintRequest &request, QTextStream &out, QTextStream &err)
{
    PrintSession session(request, err);
    try {
        session.build();
    } catch (const CliError &e) {
        err << e.message() << Qt::endl;
        return int(e.code());
    } catch (const EReportError &e) {
        err << e.message() << Qt::endl;
        return int(ExitCode::NotAnArchive);
    } catch (const dao::EngineError &e) {
        // The engine refused what the catalogue row asks (an Ordine naming a missing field).
        err << e.description() << Qt::endl;
        return kPreparationFailed;
    }
    if (session.damaged())
        return int(ExitCode::NotAnArchive);
    TqnReport &report = session.report();
    if (!report.preparationError().isEmpty()) {
        QString text = report.preparationError();
        err << text.replace(QChar(13), QChar(10)) << Qt::endl;
        return kPreparationFailed;
    }
    if (!writePdf(report.preparedPages(), request.pdf, report.Title)) {
        err << QStringLiteral("Non è stato possibile scrivere il file \"%1\".").arg(request.pdf) << Qt::endl;
        return int(ExitCode::Refused);
    }
    out << QStringLiteral("Stampate %1 pagine in %2.").arg(report.preparedPages().size()).arg(request.pdf) << Qt::endl;
    return int(ExitCode::Ok);
}

} // namespace cli
