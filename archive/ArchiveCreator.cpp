#include "archive/ArchiveCreator.h"

#include "archive/ArchiveWriter.h"
#include "archive/CliError.h"
#include "archive/HouseholdGenerator.h"
#include "archive/LocationFailures.h"
#include "engine/ArchiveLocation.h"
#include "engine/Constants.h"
#include "engine/DBEngine.h"
#include "engine/Database.h"
#include "engine/EngineError.h"
#include "engine/People.h"
#include "engine/Workspace.h"
#include "store/Schema.h"

#include <QFile>
#include <QFileInfo>

namespace cli {

namespace {

// Without a transaction every Update is its own durable commit; with one per batch a large
// archive is written at the speed of the storage, and the journal stays small.
constexpr int kHouseholdsPerTransaction = 2000;

QString refusal(const QString &path, const QString &reason)
{
    return QStringLiteral("Impossibile creare l'archivio \"%1\": %2").arg(path, reason);
}

} // namespace

ArchiveContents ArchiveContents::demo()
{
    return {HouseholdGenerator::kDemoHouseholds, HouseholdGenerator::kDemoSeed};
}

ArchiveContents ArchiveContents::generated(int n)
{
    return {n, HouseholdGenerator::kGeneratedSeed};
}

ArchiveCreator::ArchiveCreator(QString path, QString password)
    : m_path(dao::ArchiveLocation(path).normalized()), m_password(std::move(password))
{
}

void ArchiveCreator::create(const ArchiveContents &contents)
{
    // A server's database is made by its administrator; the engine refuses one that holds tables.
    const bool server = dao::ArchiveLocation(m_path).isServer();
    if (!server && (QFileInfo::exists(m_path) || QFileInfo(m_path).isSymLink()))
        throw CliError(ExitCode::Refused,
                       refusal(m_path, existingFileKeptText()));
    try {
        fill(contents);
    } catch (const dao::EngineError &e) {
        // The engine refuses to create over a file that appeared meanwhile: that file is
        // someone else's and must stay.
        if (e.number() == dao::errNotValidPassword)
            throw CliError(ExitCode::BadPassword, refusal(m_path, e.description()));
        if (std::optional<CliError> failure = serverFailure(m_path, e))
            throw CliError(failure->code(), failure->message() + leftover());
        if (e.number() == dao::errDatabaseExists && server)
            throw CliError(ExitCode::Refused,
                           refusal(m_path, QStringLiteral("il database contiene già delle tabelle e non viene "
                                                          "sovrascritto.")));
        if (e.number() != dao::errDatabaseExists && !server)
            QFile::remove(m_path);
        throw CliError(ExitCode::Refused, refusal(m_path, e.description()) + leftover());
    } catch (const std::exception &e) {
        if (!server)
            QFile::remove(m_path);
        throw CliError(ExitCode::Refused, refusal(m_path, QString::fromLocal8Bit(e.what())) + leftover());
    }
}

QString ArchiveCreator::leftover() const
{
    // A server's database is the administrator's: what was made in it stays.
    if (!m_made || dao::ArchiveLocation(m_path).isFile())
        return {};
    return QStringLiteral("\nLe tabelle già create restano nel database: svuotarlo prima di riprovare.");
}

void ArchiveCreator::fill(const ArchiveContents &contents)
{
    const bool server = dao::ArchiveLocation(m_path).isServer();
    dao::DBEngine engine;
    auto workspace = engine.CreateWorkspace(QStringLiteral("DaoWorkspace"), QStringLiteral("Admin"),
                                            QString(), dao::dbUseJet);
    auto db = workspace->CreateDatabase(m_path, m_password);
    m_made = true;
    try {
        schema::createArchiveTables(*db);
        ArchiveWriter writer(*db);
        workspace->BeginTrans();
        writer.writeStandardRows();
        HouseholdGenerator generator(contents.seed);
        for (int i = 0; i < contents.households; ++i) {
            if (i > 0 && i % kHouseholdsPerTransaction == 0) {
                workspace->CommitTrans();
                workspace->BeginTrans();
            }
            writer.writeHousehold(generator.next());
        }
        workspace->CommitTrans();
        // The history starts with the archive's use: the rows it was made with are not changes.
        schema::trackArchiveChanges(*db);
        // On a server, the archive's Operatore and Responsabile groups, the maker a
        // Responsabile; a login that may not create roles leaves that to server-prepara.
        if (server)
            dao::ArchivePeople(*db).prepareRoles();
    } catch (...) {
        // Close before the caller removes the file, so that the lock file goes too.
        try {
            workspace->Rollback();
        } catch (...) {
        }
        try {
            db->Close();
        } catch (...) {
        }
        throw;
    }
    db->Close();
    workspace->Close();
}

} // namespace cli
