#include "archive/ArchiveTransfer.h"

#include "archive/CliError.h"
#include "archive/CopySource.h"
#include "archive/LocationFailures.h"
#include "archive/TableCopy.h"
#include "engine/ArchiveLocation.h"
#include "engine/Constants.h"
#include "engine/DBEngine.h"
#include "engine/Database.h"
#include "engine/EngineError.h"
#include "engine/Workspace.h"

#include "platform/CrashPoints.h"
#include "platform/LockFile.h"

#include <QFile>
#include <QFileInfo>

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <fcntl.h>
#include <unistd.h>

namespace cli {

namespace {

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

CliError existingFile(const QString &target)
{
    return transferRefusal(target, existingFileKeptText());
}

void removeWorkingFile(const QString &working)
{
    for (const QString &path : {working, working + QLatin1String("-journal"), working + QLatin1String("-wal"),
                                working + QLatin1String("-shm"), platform::LockFile::pathFor(working)})
        QFile::remove(path);
}

// Named points where the tests kill a run: the names carry the table where rows are copied.
void stopPoint(const QString &name)
{
    platform::crashPoint(name.toUtf8().constData());
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

QString unfinishedCopyMark()
{
    return QStringLiteral("CopiaNonTerminata");
}

QString workingFileFor(const QString &target)
{
    return target + QLatin1String(".parziale");
}

ArchiveTransfer::ArchiveTransfer(TransferSide from, TransferSide to) : m_to(std::move(to))
{
    from.location = dao::ArchiveLocation(from.location).normalized();
    m_sourceName = from.location;
    // The engine outlives the source's workspace and database, which keep pointers into it.
    auto engine = std::make_shared<dao::DBEngine>();
    m_source = [engine, from]() -> std::shared_ptr<CopySource> {
        if (dao::ArchiveLocation(from.location).isFile() && !QFileInfo(from.location).isFile())
            throw CliError(ExitCode::NotAnArchive, fileNotFoundText(from.location));
        return openArchive(*engine, from);
    };
    m_to.location = dao::ArchiveLocation(m_to.location).normalized();
}

ArchiveTransfer::ArchiveTransfer(QString sourceName, SourceOpener source, TransferSide to)
    : m_sourceName(std::move(sourceName)), m_source(std::move(source)), m_to(std::move(to))
{
    m_to.location = dao::ArchiveLocation(m_to.location).normalized();
}

Comparison ArchiveTransfer::run()
{
    const QString &target = m_to.location;
    const bool fileTarget = dao::ArchiveLocation(target).isFile();
    if (fileTarget && (QFileInfo::exists(target) || QFileInfo(target).isSymLink()))
        throw existingFile(target);
    // What a killed run left under the working name is this command's own, never a desk's.
    if (fileTarget)
        removeWorkingFile(workingFileFor(target));
    try {
        const Comparison comparison = copyInto(fileTarget ? workingFileFor(target) : target);
        if (fileTarget)
            publish(workingFileFor(target));
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
        // The engine refuses to create in a database that holds tables: it stays as it is.
        if (e.number() == dao::errDatabaseExists && !m_targetMade && !fileTarget)
            throw transferRefusal(target, QStringLiteral("il database contiene già delle tabelle e non "
                                                         "viene sovrascritto."));
        throw failed(transferRefusal(target, e.description()));
    } catch (const std::exception &e) {
        throw failed(transferRefusal(target, QString::fromLocal8Bit(e.what())));
    }
}

void ArchiveTransfer::publish(const QString &working) const
{
    const QByteArray from = QFile::encodeName(working);
    const QByteArray to = QFile::encodeName(m_to.location);
    // One step that never replaces: the target appears whole, or the run fails.
    if (::renameat2(AT_FDCWD, from.constData(), AT_FDCWD, to.constData(), RENAME_NOREPLACE) == 0)
        return;
    if (errno == EEXIST)
        throw existingFile(m_to.location);
    // A file system without that rename: a hard link is made as atomically, never over a file.
    if (::link(from.constData(), to.constData()) == 0) {
        ::unlink(from.constData());
        return;
    }
    if (errno == EEXIST)
        throw existingFile(m_to.location);
    throw transferRefusal(m_to.location, QString::fromLocal8Bit(std::strerror(errno)));
}

CliError ArchiveTransfer::failed(const CliError &error) const
{
    if (dao::ArchiveLocation(m_to.location).isFile()) {
        if (m_creating)
            removeWorkingFile(workingFileFor(m_to.location));
        return error;
    }
    if (!m_targetMade)
        return error;
    // A server's database is the administrator's: the empty archive made in it stays, marked
    // as an unfinished copy, and no desk can work in it.
    return CliError(error.code(), error.message()
                                      + QStringLiteral("\nNel database resta un archivio vuoto, segnato come copia non "
                                                       "terminata: svuotarlo prima di riprovare."));
}

Comparison ArchiveTransfer::copyInto(const QString &where)
{
    const std::shared_ptr<CopySource> source = m_source();
    dao::DBEngine engine;
    auto workspace = newWorkspace(engine);
    m_creating = true;
    auto copy = workspace->CreateDatabase(where, m_to.password);
    m_targetMade = true;
    Comparison comparison;
    try {
        // The mark lands first and alone; the copy's one transaction takes it away.
        copy->CreateTable({unfinishedCopyMark(), {{QStringLiteral("Da"), dao::dbText, 255, false, false, {}, {}}}});
        stopPoint(QStringLiteral("trasferimento.segnato"));
        workspace->BeginTrans();
        const QStringList tables = source->tables();
        for (const QString &table : tables) {
            stopPoint(QStringLiteral("trasferimento.tabella.") + table);
            createTableLike(*source, *copy, table);
            const QByteArray midTable = (QStringLiteral("trasferimento.righe.") + table).toUtf8();
            qint64 rows = 0;
            copyRows(*source, *copy, table, 1, [&] {
                platform::crashPoint(midTable.constData());
                if (m_progress && ++rows % kRowsPerProgress == 0 && !m_progress(table, rows))
                    throw CliError(ExitCode::Refused,
                                   QStringLiteral("Copia annullata: \"%1\" non è stato creato.").arg(m_to.location));
            });
        }
        for (const dao::QueryDefInfo &query : source->queries())
            copy->CreateQueryDef(query.name, query.sql);
        copy->DeleteTable(unfinishedCopyMark());
        stopPoint(QStringLiteral("trasferimento.prima_del_confronto"));
        // Read back through the copy's own connection: what it would commit.
        comparison = compareWithSource(*source, *copy);
        if (!comparison.differences.isEmpty())
            throw transferRefusal(m_to.location, QStringLiteral("la copia non è uguale all'originale:\n  ")
                                                     + comparison.differences.join(QLatin1String("\n  ")));
        stopPoint(QStringLiteral("trasferimento.dopo_il_confronto"));
        workspace->CommitTrans();
        stopPoint(QStringLiteral("trasferimento.confermato"));
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
    return comparison;
}

} // namespace cli
