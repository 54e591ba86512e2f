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
    } catch (const CliError &) {
        if (fileTarget)
            QFile::remove(target);
        throw;
    } catch (const dao::EngineError &e) {
        // The engine refuses to create over a file that appeared meanwhile: that one stays.
        if (fileTarget && e.number() != dao::errDatabaseExists)
            QFile::remove(target);
        if (e.number() == dao::errNotValidPassword)
            throw CliError(ExitCode::BadPassword, transferRefusal(target, e.description()).message());
        if (e.number() == dao::errDatabaseExists && !fileTarget)
            throw transferRefusal(target, QStringLiteral("il database contiene già delle tabelle e non viene sovrascritto."));
        throw transferRefusal(target, e.description());
    }
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
        throw CliError(ExitCode::NotAnArchive,
                       QStringLiteral("\"%1\" non è un archivio di Tavorio valido.\n%2").arg(m_from.location, e.description()));
    }
    auto copy = workspace->CreateDatabase(target, m_to.password);
    try {
        workspace->BeginTrans();
        const auto step = [&] {
            workspace->CommitTrans();
            workspace->BeginTrans();
        };
        for (const QString &table : userTables(*source))
            copyTable(*source, *copy, table, kRowsPerTransaction, step);
        for (const dao::QueryDefInfo &query : source->QueryDefs())
            copy->CreateQueryDef(query.name, query.sql);
        workspace->CommitTrans();
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
