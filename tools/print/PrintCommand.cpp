#include "tools/print/PrintCommand.h"

#include "engine/Constants.h"
#include "engine/EngineError.h"
#include "forms/main/ArchiveConnection.h"
#include "forms/main/TMainData.h"
#include "output/report/ComponentDirectory.h"
#include "output/report/TqnReport.h"
#include "output/report/file/LayoutReader.h"
#include "output/report/print/PdfOutput.h"
#include "store/TArcDatabase.h"
#include "tools/cli/CliError.h"

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

} // namespace

int runPrint(const QString &archive, const QString &layout, const QString &pdf, const QString &password,
             QTextStream &out, QTextStream &err)
{
    TArcDatabase database;
    TMainData data(database);
    QObject window;
    window.setObjectName(kWindow);
    const ComponentDirectory::Registration registration(kWindow);
    registerReportDataSets(kWindow, data);
    StderrMessages messages(err);
    TqnReport report(&window);
    configureReport(report);
    report.setMessages(&messages);
    try {
        openArchive(database, data, archive, password);
        report.OpenLayout(layout);
    } catch (const CliError &e) {
        err << e.message() << Qt::endl;
        return int(e.code());
    } catch (const EReportError &e) {
        err << e.message() << Qt::endl;
        return int(ExitCode::NotAnArchive);
    }
    if (messages.damaged)
        return int(ExitCode::NotAnArchive);
    report.BuildPages();
    if (!report.preparationError().isEmpty()) {
        QString text = report.preparationError();
        err << text.replace(QChar(13), QChar(10)) << Qt::endl;
        return kPreparationFailed;
    }
    if (!writePdf(report.preparedPages(), pdf, report.Title)) {
        err << QStringLiteral("Non è stato possibile scrivere il file \"%1\".").arg(pdf) << Qt::endl;
        return int(ExitCode::Refused);
    }
    out << QStringLiteral("Stampate %1 pagine in %2.").arg(report.preparedPages().size()).arg(pdf) << Qt::endl;
    return int(ExitCode::Ok);
}

} // namespace cli
