#include "tools/cli/ArchiveTransfer.h"

#include "engine/Constants.h"
#include "engine/DBEngine.h"
#include "engine/Database.h"
#include "engine/EngineError.h"
#include "engine/Workspace.h"
#include "tools/cli/ArchiveLocation.h"
#include "tools/cli/CliError.h"
#include "tools/cli/CopySource.h"
#include "tools/cli/TableCopy.h"

#include <QFile>
#include <QFileInfo>

namespace cli {

namespace {

// One commit per this many rows: a file is written at the speed of the storage and a
// server's transaction stays small.
constexpr int kRowsPerTransaction = 5000;

QString transferConnectText(const QString &password)
{
    return QStringLiteral(";UID=Admin;PWD=%1;").arg(password);
}

std::shared_ptr<dao::Workspace> newWorkspace(dao::DBEngine &engine)
{
    return engine.CreateWorkspace(QStringLiteral("DaoWorkspace"), QStringLiteral("Admin"), QString(), dao::dbUseJet);
}

CliError transferRefusal(const QString &target, const QString &reason)
{
    return CliError(ExitCode::Refused, QStringLiteral("Archivio non trasferito in \"%1\": %2").arg(target, reason));
}

// The archive at `from`, through the engine; its refusals in the command's words.
std::unique_ptr<CopySource> openArchive(dao::DBEngine &engine, const TransferSide &from)
{
    // Transactions span every archive of a workspace: the read-only source has its own.
    auto reading = newWorkspace(engine);
    try {
        return std::make_unique<EngineSource>(
            reading->OpenDatabase(from.location, false, true, transferConnectText(from.password)));
    } catch (const dao::EngineError &e) {
        if (e.number() == dao::errNotValidPassword)
            throw CliError(ExitCode::BadPassword,
                           QStringLiteral("Password dell'archivio \"%1\" errata o mancante.").arg(from.location));
        if (std::optional<CliError> failure = serverFailure(from.location, e))
            throw *failure;
        throw CliError(ExitCode::NotAnArchive, notAnArchiveText(from.location, e.description()));
    }
}

// Every this many rows the progress is told, and may cancel.
constexpr int kRowsPerProgress = 250;

} // namespace

ArchiveTransfer::ArchiveTransfer(TransferSide from, TransferSide to) : m_to(std::move(to))
{
    from.location = normalizedLocation(from.location);
    m_sourceName = from.location;
    // The engine outlives the source's workspace and database, which keep pointers into it.
    auto engine = std::make_shared<dao::DBEngine>();
    m_source = [engine, from]() -> std::shared_ptr<CopySource> {
        if (!isServerLocation(from.location) && !QFileInfo(from.location).isFile())
            throw CliError(ExitCode::NotAnArchive, QStringLiteral("File non trovato: \"%1\".").arg(from.location));
        return openArchive(*engine, from);
    };
    m_to.location = normalizedLocation(m_to.location);
}

ArchiveTransfer::ArchiveTransfer(QString sourceName, SourceOpener source, TransferSide to)
    : m_sourceName(std::move(sourceName)), m_source(std::move(source)), m_to(std::move(to))
{
    m_to.location = normalizedLocation(m_to.location);
}

Comparison ArchiveTransfer::run()
{
    const QString &target = m_to.location;
    const bool fileTarget = !isServerLocation(target);
    if (fileTarget && (QFileInfo::exists(target) || QFileInfo(target).isSymLink()))
        throw transferRefusal(target, QStringLiteral("il file esiste già e non viene sovrascritto."));
    try {
        copyInto(target);
        dao::DBEngine engine;
        auto workspace = newWorkspace(engine);
        const std::shared_ptr<CopySource> source = m_source();
        auto copy = workspace->OpenDatabase(target, false, true, transferConnectText(m_to.password));
        Comparison comparison = compareWithSource(*source, *copy);
        copy->Close();
        workspace->Close();
        if (!comparison.differences.isEmpty())
            throw transferRefusal(target, QStringLiteral("la copia non è uguale all'originale:\n  ")
                                      + comparison.differences.join(QLatin1String("\n  ")));
        return comparison;
    } catch (const CliError &e) {
        throw failed(e);
    } catch (const dao::EngineError &e) {
        if (e.number() == dao::errNotValidPassword)
            throw failed(CliError(ExitCode::BadPassword, transferRefusal(target, e.description()).message()));
        // The source was reached already: a server failing now is the target's, unless the
        // target is a file.
        if (std::optional<CliError> failure = serverFailure(fileTarget ? m_sourceName : target, e))
            throw failed(*failure);
        // The engine refuses to create over a file that appeared meanwhile, or in a database
        // that holds tables: those stay as they are.
        if (e.number() == dao::errDatabaseExists && !m_targetMade)
            throw transferRefusal(target, fileTarget ? QStringLiteral("il file esiste già e non viene sovrascritto.")
                                                     : QStringLiteral("il database contiene già delle tabelle e non "
                                                                      "viene sovrascritto."));
        throw failed(transferRefusal(target, e.description()));
    } catch (const std::exception &e) {
        throw failed(transferRefusal(target, QString::fromLocal8Bit(e.what())));
    }
}

CliError ArchiveTransfer::failed(const CliError &error) const
{
    if (!isServerLocation(m_to.location)) {
        if (m_creating)
            QFile::remove(m_to.location);
        return error;
    }
    if (!m_targetMade)
        return error;
    // A server's database is the administrator's: what was copied into it stays.
    return CliError(error.code(), error.message()
                                      + QStringLiteral("\nLe tabelle già copiate restano nel database: svuotarlo prima "
                                                       "di riprovare."));
}

void ArchiveTransfer::copyInto(const QString &target)
{
    const std::shared_ptr<CopySource> source = m_source();
    dao::DBEngine engine;
    auto workspace = newWorkspace(engine);
    m_creating = true;
    auto copy = workspace->CreateDatabase(target, m_to.password);
    m_targetMade = true;
    try {
        // Tables first: a server creates each in a transaction of its own.
        const QStringList tables = source->tables();
        for (const QString &table : tables)
            createTableLike(*source, *copy, table);
        workspace->BeginTrans();
        for (const QString &table : tables) {
            qint64 rows = 0;
            const auto step = [&] {
                if (++rows % kRowsPerTransaction == 0) {
                    workspace->CommitTrans();
                    workspace->BeginTrans();
                }
                if (m_progress && rows % kRowsPerProgress == 0 && !m_progress(table, rows))
                    throw CliError(ExitCode::Refused, QStringLiteral("Copia annullata: \"%1\" non è stato creato.").arg(target));
            };
            copyRows(*source, *copy, table, 1, step);
        }
        for (const dao::QueryDefInfo &query : source->queries())
            copy->CreateQueryDef(query.name, query.sql);
        workspace->CommitTrans();
        // The history came over with the tables; the copy goes on recording what the
        // original recorded.
        for (const dao::TrackedTable &tracked : source->trackedTables())
            copy->TrackChanges(tracked.table, tracked.cardField);
    } catch (...) {
        // Closed before the caller removes the file, so that its lock file goes too.
        try {
            workspace->Rollback();
        } catch (...) {
        }
        copy->Close();
        throw;
    }
    copy->Close();
    workspace->Close();
}

} // namespace cli
