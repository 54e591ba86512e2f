#include "tools/cli/ArchiveTransfer.h"

#include "engine/Constants.h"
#include "engine/DBEngine.h"
#include "engine/Database.h"
#include "engine/EngineError.h"
#include "engine/Workspace.h"
#include "tools/cli/ArchiveLocation.h"
#include "tools/cli/CliError.h"
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

} // namespace

ArchiveTransfer::ArchiveTransfer(TransferSide from, TransferSide to) : m_from(std::move(from)), m_to(std::move(to))
{
    m_from.location = normalizedLocation(m_from.location);
    m_to.location = normalizedLocation(m_to.location);
}

Comparison ArchiveTransfer::run()
{
    const QString &target = m_to.location;
    const bool fileTarget = !isServerLocation(target);
    if (fileTarget && (QFileInfo::exists(target) || QFileInfo(target).isSymLink()))
        throw transferRefusal(target, QStringLiteral("il file esiste già e non viene sovrascritto."));
    if (!isServerLocation(m_from.location) && !QFileInfo(m_from.location).isFile())
        throw CliError(ExitCode::NotAnArchive, QStringLiteral("File non trovato: \"%1\".").arg(m_from.location));
    try {
        copyInto(target);
        dao::DBEngine engine;
        auto workspace = newWorkspace(engine);
        auto source = workspace->OpenDatabase(m_from.location, false, true, transferConnectText(m_from.password));
        auto copy = workspace->OpenDatabase(target, false, true, transferConnectText(m_to.password));
        Comparison comparison = compareArchives(*source, *copy);
        copy->Close();
        source->Close();
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
        if (std::optional<CliError> failure = serverFailure(fileTarget ? m_from.location : target, e))
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
    // Transactions span every archive of a workspace: the read-only source has its own.
    dao::DBEngine engine;
    auto reading = newWorkspace(engine);
    auto workspace = newWorkspace(engine);
    std::shared_ptr<dao::Database> source;
    try {
        source = reading->OpenDatabase(m_from.location, false, true, transferConnectText(m_from.password));
    } catch (const dao::EngineError &e) {
        if (e.number() == dao::errNotValidPassword)
            throw CliError(ExitCode::BadPassword,
                           QStringLiteral("Password dell'archivio \"%1\" errata o mancante.").arg(m_from.location));
        if (std::optional<CliError> failure = serverFailure(m_from.location, e))
            throw *failure;
        throw CliError(ExitCode::NotAnArchive, notAnArchiveText(m_from.location, e.description()));
    }
    m_creating = true;
    auto copy = workspace->CreateDatabase(target, m_to.password);
    m_targetMade = true;
    try {
        // Tables first: a server creates each in a transaction of its own.
        const QStringList tables = userTables(*source);
        for (const QString &table : tables)
            createTableLike(*source, *copy, table);
        workspace->BeginTrans();
        const auto step = [&] {
            workspace->CommitTrans();
            workspace->BeginTrans();
        };
        for (const QString &table : tables)
            copyRows(*source, *copy, table, kRowsPerTransaction, step);
        for (const dao::QueryDefInfo &query : source->QueryDefs())
            copy->CreateQueryDef(query.name, query.sql);
        workspace->CommitTrans();
        // The history came over with the tables; the copy goes on recording what the
        // original recorded.
        for (const dao::TrackedTable &tracked : source->TrackedTables())
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
    source->Close();
    workspace->Close();
    reading->Close();
}

} // namespace cli
