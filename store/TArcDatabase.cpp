#include "store/TArcDatabase.h"

#include "store/Schema.h"

#include "engine/Constants.h"
#include "engine/DBEngine.h"
#include "engine/Connection.h"
#include "engine/Database.h"
#include "engine/ServerAddress.h"
#include "engine/EngineError.h"
#include "engine/Workspace.h"
#include "platform/ComRuntime.h"
#include "platform/EngineRegistry.h"
#include "platform/FileOps.h"
#include "store/CompactInPlace.h"
#include "store/Quietly.h"

#include <exception>

namespace {

using store::quietly;

const QString Access = QStringLiteral("Access");
const QString Odbc = QStringLiteral("ODBC");
const QString Version35 = QStringLiteral("3.5");
const QString Version36 = QStringLiteral("3.6");
constexpr int DefaultQueryTimeout = 60;

const char *const NoRuntime = "Unable to init OLE objects!";
const char *const NoEngine = "Cannot find DAO on your system!";
const char *const OldEngine = "You does not have Microsoft DAO installed ot it is an OLD Version!";
const char *const NotConnected = "Database is not connected!";

[[noreturn]] void fail(const char *message)
{
    throw EDatabaseError(QString::fromLatin1(message));
}

QString progIdFor(const QString &version, bool privateEngine)
{
    const QString suffix = version == Version35 ? QStringLiteral("35") : QStringLiteral("36");
    return (privateEngine ? QStringLiteral("DAO.PrivateDBEngine.") : QStringLiteral("DAO.DBEngine.")) + suffix;
}

// An engine object from the class, or none when the class cannot give one.
std::shared_ptr<dao::DBEngine> tryCreateEngine(const QString &progId)
{
    if (!platform::canCreateEngine(progId))
        return nullptr;
    try {
        return std::make_shared<dao::DBEngine>();
    } catch (...) {
        return nullptr;
    }
}

// Registry value of the engine's default workgroup file for an engine version.
QString registeredSystemDb(const QString &version)
{
    return platform::engineSystemDbDefault(version == Version35 ? Version35 : QStringLiteral("4.0"));
}

// The runtime answers 0 (initialised now) or 1 (already initialised) on success.
bool initialiseRuntime()
{
    const int result = platform::coInitialize();
    return result == 0 || result == 1;
}

} // namespace

TArcDatabase::TArcDatabase()
{
    if (!initialiseRuntime())
        fail(NoRuntime);
    m_runtimeFlag = true;

    try {
        for (const QString &version : {Version35, Version36}) {
            const QString progId = progIdFor(version, m_privateEngine);
            if (platform::isEngineClassRegistered(progId) && tryCreateEngine(progId))
                m_engineVersionList.append(version);
        }
        if (m_engineVersionList.isEmpty())
            fail(NoEngine);
        m_version = m_engineVersionList.first() == Version35 ? Version35 : Version36;
        createEngineObject();
    } catch (...) {
        // No destructor runs for a failed construction: balance the runtime here.
        platform::coUninitialize();
        throw;
    }

    m_systemDatabase = registeredSystemDb(m_version);
    if (!m_systemDatabase.isEmpty())
        m_engine->setSystemDB(m_systemDatabase);
    m_engine->setDefaultUser(m_userName);
    m_engine->setDefaultPassword(m_password);
    m_engine->setDefaultType(m_engineType);
    m_versionDetails = m_engine->Version();
}

TArcDatabase::~TArcDatabase()
{
    if (Connected()) {
        quietly([this] { disconnect(); });
    }
    m_tableNames.clear();
    m_queryNames.clear();
    m_openTables.clear();
    if (m_workspace) {
        quietly([this] { m_workspace->Close(); });
    }
    m_database.reset();
    m_workspace.reset();
    m_engine.reset();
    if (m_runtimeFlag)
        platform::coUninitialize();
}

void TArcDatabase::beginLoading()
{
    m_loading = true;
}

void TArcDatabase::endLoading()
{
    m_loading = false;
    if (Connected())
        return;
    // A bad stored configuration must not stop the owner from being created; the next
    // connect starts the engine again and reports.
    quietly([this] { startEngine(); });
}

// ---- Engine objects ----

void TArcDatabase::createEngineObject()
{
    m_usesDynaDao = true;
    std::shared_ptr<dao::DBEngine> engine = tryCreateEngine(progIdFor(m_version, m_privateEngine));
    if (!engine && m_version == Version35) {
        engine = tryCreateEngine(progIdFor(Version36, m_privateEngine));
        if (engine)
            m_version = Version36;
    }
    if (!engine)
        fail(OldEngine);
    m_engine = std::move(engine);
}

void TArcDatabase::startEngine()
{
    if (m_workspace) {
        m_workspace->Close();
        m_workspace.reset();
    }
    m_engine.reset();

    if (m_runtimeFlag) {
        platform::coUninitialize();
        m_runtimeFlag = false;
    }
    if (!initialiseRuntime())
        fail(NoRuntime);
    m_runtimeFlag = true;

    createEngineObject();
    m_engine->setSystemDB(m_systemDatabase);
    m_versionDetails = m_engine->Version();
    m_engine->setDefaultUser(m_userName);
    m_engine->setDefaultPassword(m_password);

    std::shared_ptr<dao::Workspace> workspace =
        m_engine->CreateWorkspace(m_workspaceName, m_userName, m_password, m_engineType);
    m_engine->appendWorkspace(workspace);
    if (m_engineType == dao::dbUseODBC)
        workspace->setDefaultCursorDriver(m_defaultCursorDriver);
    m_workspaceName = workspace->Name();
    m_workspace = std::move(workspace);
}

void TArcDatabase::startEngineWithRestore(const std::function<void()> &restore)
{
    try {
        startEngine();
    } catch (...) {
        const std::exception_ptr failure = std::current_exception();
        restore();
        quietly([this] { startEngine(); });
        std::rethrow_exception(failure);
    }
}

// ---- Connect and disconnect ----

void TArcDatabase::setConnected(bool connected)
{
    if (connected == Connected())
        return;
    if (connected)
        connect();
    else
        disconnect();
}

QString TArcDatabase::connectText() const
{
    // One-pass substitution: a "%2" inside the user name must stay as written.
    return QStringLiteral(";UID=%1;PWD=%2;%3").arg(m_userName, m_databasePassword, m_databaseParameters);
}

void TArcDatabase::connect()
{
    if (m_databasePath.isEmpty())
        fail("TArcDatabase.F_Set_Active: Database property is not defined!");
    if (m_databaseType.isEmpty())
        fail("TArcDatabase.F_Set_Active: DatabaseType property is not defined!");

    if (OnBeforeConnect)
        OnBeforeConnect(*this);

    // There is no login dialog; a handler may still supply the user and password.
    if (OnLogin) {
        QStringList parameters{QStringLiteral("USER NAME=") + m_userName, QStringLiteral("PASSWORD=") + m_password};
        OnLogin(*this, parameters);
        for (const QString &parameter : parameters) {
            const QString key = parameter.section(u'=', 0, 0);
            const QString value = parameter.section(u'=', 1);
            if (key.compare(QLatin1String("USER NAME"), Qt::CaseInsensitive) == 0)
                m_userName = value;
            else if (key.compare(QLatin1String("PASSWORD"), Qt::CaseInsensitive) == 0)
                m_password = value;
        }
    }

    startEngine();

    if (m_databaseType.compare(Access, Qt::CaseInsensitive) != 0)
        throw dao::EngineError(dao::errOperationNotSupported, QStringLiteral("DAO.Workspace"),
                               QStringLiteral("Tipo di database non supportato: %1.").arg(m_databaseType));

    // An archive on a server is no file: the server says whether it exists.
    const bool onServer = location().isServer();
    if (!onServer && m_smartOpen && !platform::fileExists(m_databasePath))
        m_databasePath = platform::executableFolder() + platform::fileNameOf(m_databasePath);
    if (!onServer && !platform::fileExists(m_databasePath))
        throw EDatabaseError(QStringLiteral("Cannot find Database:\r\n") + m_databasePath);
    if (m_engineType != dao::dbUseJet)
        fail("TArcDatabase.F_Set_Active: ODBC direct workspaces\r\nare NOT supported for MS Access Databases!");

    std::shared_ptr<dao::Database> database =
        m_workspace->OpenDatabase(onServer && !m_serverUser.isEmpty() ? dao::addressWithRole(m_databasePath, m_serverUser)
                                                                       : m_databasePath,
                                  m_exclusive, m_readOnly, connectText());

    // The object counts as connected only once it is fully set up, so a failure here
    // closes it again and leaves the connection cleanly disconnected.
    try {
        if (m_queryTimeout != DefaultQueryTimeout)
            database->setQueryTimeout(m_queryTimeout);
        if (m_databaseType != Odbc)
            m_databaseVersionInfo = database->Version();
        // A file made before the history starts one at its first writable open; on a server
        // the archive's owner does (server-prepara).
        if (!onServer && !m_readOnly)
            schema::startHistoryWhereMissing(*database);
    } catch (...) {
        quietly([&] { database->Close(); });
        throw;
    }
    m_database = std::move(database);

    RefreshCatalogue();
    IdleEngine();
    if (OnAfterConnect)
        OnAfterConnect(*this);
}

void TArcDatabase::disconnect()
{
    if (OnBeforeDisconnect)
        OnBeforeDisconnect(*this);

    m_tableNames.clear();
    m_queryNames.clear();

    // The mark keeps each table from looking itself up in the list while it closes; one
    // table failing to close must not keep the others open.
    const QList<QPair<QString, TArcOpenTable *>> tables = m_openTables;
    for (const auto &entry : tables) {
        entry.second->setClosingForDisconnect(true);
        quietly([&] { entry.second->closeForDisconnect(); });
    }
    m_openTables.clear();

    // A database object whose Close failed is of no further use: it is released all the
    // same, and the failure reaches the caller without the after-disconnect hook.
    const std::shared_ptr<dao::Database> database = std::move(m_database);
    database->Close();

    if (OnAfterDisconnect)
        OnAfterDisconnect(*this);
}

// ---- Open tables ----

void TArcDatabase::addOpenTable(const QString &name, TArcOpenTable *table)
{
    m_openTables.append({name, table});
}

void TArcDatabase::removeOpenTable(TArcOpenTable *table)
{
    for (qsizetype i = 0; i < m_openTables.size(); ++i) {
        if (m_openTables.at(i).second == table) {
            m_openTables.removeAt(i);
            return;
        }
    }
}

// ---- Properties ----

void TArcDatabase::refuseWhileConnected(const char *message) const
{
    if (Connected())
        fail(message);
}

void TArcDatabase::setDatabase(const QString &path)
{
    refuseWhileConnected("TArcDatabase.F_Set_Database: Cannot set Database while Database is connected!");
    m_databasePath = path;
}

dao::StorageCapabilities TArcDatabase::capabilities() const
{
    return m_database ? m_database->capabilities() : dao::Connection::capabilitiesAt(location());
}

void TArcDatabase::setDatabasePassword(const QString &password)
{
    refuseWhileConnected(
        "TArcDatabase.F_Set_DatabasePassword: Cannot change Database Password while Database is connected!");
    m_databasePassword = password;
}

void TArcDatabase::setDatabaseType(const QString &type)
{
    refuseWhileConnected("TArcDatabase.F_Set_DatabaseType: Cannot set Database Type while Database is connected!");
    m_databaseType = type;
    m_databasePath.clear();
}

void TArcDatabase::setExclusive(bool exclusive)
{
    refuseWhileConnected("TArcDatabase.F_Set_Exclusive: Cannot change Exclusive mode while Database is connected!");
    m_exclusive = exclusive;
}

void TArcDatabase::setReadOnly(bool readOnly)
{
    refuseWhileConnected("TArcDatabase.F_Set_ReadOnly: Cannot change mode while Database is connected!");
    m_readOnly = readOnly;
    if (readOnly && !m_loading) {
        for (const auto &entry : std::as_const(m_openTables))
            entry.second->forceReadOnly();
    }
}

void TArcDatabase::setDatabaseParameters(const QString &parameters)
{
    refuseWhileConnected(
        "TArcDatabase.F_Set_DatabaseParameters: Cannot set DatabaseParameters while Database is connected!");
    m_databaseParameters = parameters;
}

void TArcDatabase::setLoginPrompt(bool on)
{
    refuseWhileConnected("TArcDatabase.F_Set_LoginPrompt: Cannot change LoginPrompt while Database is connected!");
    m_loginPrompt = on;
}

void TArcDatabase::setTrackTransactions(bool on)
{
    refuseWhileConnected("Cannot set TrackTransactions property when Database is connected!");
    m_trackTransactions = on;
}

void TArcDatabase::setUserName(const QString &name)
{
    refuseWhileConnected("TArcDatabase.F_Set_UserName: Cannot change User Name while Database is connected!");
    m_userName = name;
    if (!m_loading)
        quietly([this] { startEngine(); });
}

void TArcDatabase::setPassword(const QString &password)
{
    refuseWhileConnected("TArcDatabase.F_Set_Password: Cannot change Password while Database is connected!");
    m_password = password;
    if (!m_loading)
        quietly([this] { startEngine(); });
}

void TArcDatabase::setSystemDatabase(const QString &path)
{
    refuseWhileConnected(
        "TArcDatabase.F_Set_SystemDatabase: Cannot set SystemDatabase while Database is connected!");
    const QString previous = m_systemDatabase;
    m_systemDatabase = path.isEmpty() ? registeredSystemDb(m_version) : path;
    if (!m_loading)
        startEngineWithRestore([&] { m_systemDatabase = previous; });
}

void TArcDatabase::setVersion(const QString &version)
{
    refuseWhileConnected("TArcDatabase.F_Set_DaoVersion: Cannot set Dao Version while Database is connected!");
    const QString previous = m_version;
    m_version = version.left(3);
    if (m_loading)
        return;
    startEngineWithRestore([&] { m_version = previous; });
    m_versionDetails = m_engine->Version();
}

void TArcDatabase::setWorkspace(const QString &name)
{
    refuseWhileConnected("TArcDatabase.F_Set_Workspace: Cannot set Workspace while Database is connected!");
    const QString previous = m_workspaceName;
    m_workspaceName = name;
    if (!m_loading)
        startEngineWithRestore([&] { m_workspaceName = previous; });
}

void TArcDatabase::setEngineType(int type)
{
    refuseWhileConnected("TArcDatabase.F_Set_EngineType: Cannot set EngineType Type while Database is connected!");
    const int previous = m_engineType;
    m_engineType = type;
    if (!m_loading)
        startEngineWithRestore([&] { m_engineType = previous; });
}

void TArcDatabase::setPrivateEngine(bool on)
{
    refuseWhileConnected(
        "TArcDatabase.F_Set_EngineType: Cannot set PrivateEngine Type while Database is connected!");
    const bool previous = m_privateEngine;
    m_privateEngine = on;
    if (!m_loading)
        startEngineWithRestore([&] { m_privateEngine = previous; });
}

void TArcDatabase::setShowSystemObjects(bool on)
{
    m_showSystemObjects = on;
    if (Connected())
        RefreshCatalogue();
}

void TArcDatabase::setDefaultCursorDriver(int driver)
{
    m_defaultCursorDriver = driver;
    if (!m_loading && m_engineType == dao::dbUseODBC && m_workspace)
        m_workspace->setDefaultCursorDriver(driver);
}

QString TArcDatabase::VersionInfo() const
{
    if (m_versionDetails.size() < 3)
        return {};
    switch (m_versionDetails.at(2).unicode()) {
    case u'5':
        return QStringLiteral("(In Access'97 mode)");
    case u'6':
        return QStringLiteral("(In Access'2000 mode)");
    default:
        return {};
    }
}

// ---- Catalogue and engine services ----

void TArcDatabase::RefreshCatalogue()
{
    m_tableNames.clear();
    m_queryNames.clear();
    const bool jet = m_engineType == dao::dbUseJet;

    if (dao::Database *db = m_database.get()) {
        if (jet)
            quietly([db] { db->refreshTableDefs(); });
        quietly([db] { db->refreshQueryDefs(); });
        if (m_databaseType == Access)
            quietly([db] { db->refreshOther(); }); // Containers, Relations
        quietly([db] { db->refreshOther(); });     // Recordsets
        if (jet)
            quietly([db] { db->refreshOther(); }); // Properties
    }
    if (dao::DBEngine *engine = m_engine.get()) {
        quietly([engine] { engine->errors().Refresh(); });
        quietly([engine] { engine->refreshWorkspaces(); });
        quietly([engine] { engine->refreshProperties(); });
    }
    if (dao::Workspace *ws = m_workspace.get()) {
        if (jet) {
            quietly([ws] { ws->refreshUsers(); });
            quietly([ws] { ws->refreshGroups(); });
        }
        quietly([ws] { ws->refreshDatabases(); });
        quietly([ws] { ws->refreshProperties(); });
    }
    if (dao::Database *db = m_database.get()) {
        if (jet) {
            quietly([&] {
                for (const dao::TableDefInfo &table : db->TableDefs()) {
                    if (m_showSystemObjects || (table.attributes & dao::dbSystemObject) == 0)
                        m_tableNames.append(table.name);
                }
            });
        }
        quietly([&] {
            for (const dao::QueryDefInfo &query : db->QueryDefs())
                m_queryNames.append(query.name);
        });
    }
}

void TArcDatabase::IdleEngine()
{
    if (!m_engine)
        return;
    quietly([this] { m_engine->Idle(1); });
    quietly([this] { m_engine->Idle(8); });
}

TDaoErrRec TArcDatabase::LastEngineError() const
{
    TDaoErrRec record;
    if (!m_engine || m_engine->errors().Count() == 0)
        return record;
    const dao::ErrorRecord &item = m_engine->errors().Item(0);
    record.Number = item.number;
    record.Source = item.source;
    record.Description = item.description;
    record.HelpFile = item.helpFile;
    record.HelpContext = item.helpContext;
    return record;
}

bool TArcDatabase::CreateQueryDefinition(const QString &name, const QString &sql)
{
    if (!m_database)
        fail(NotConnected);
    m_database->CreateQueryDef(name, sql);
    RefreshCatalogue();
    return true;
}

void TArcDatabase::SetQueryDefinitionSql(const QString &name, const QString &sql)
{
    RefreshCatalogue();
    if (!m_database)
        fail(NotConnected);
    m_database->setQueryDefSql(name, sql);
    RefreshCatalogue();
}

QString TArcDatabase::GetQueryDefinitionSql(const QString &name)
{
    try {
        return m_database ? m_database->queryDefSql(name) : QString();
    } catch (...) {
        return {};
    }
}

// ---- Maintenance ----

dao::DBEngine &TArcDatabase::maintenanceEngine()
{
    // After a failed engine start there may be no engine object; maintenance needs one.
    if (!m_engine)
        createEngineObject();
    return *m_engine;
}

void TArcDatabase::RepairDatabaseFile(const QString &path, const QString &password)
{
    if (m_version == Version35)
        maintenanceEngine().RepairDatabase(path);
    else
        CompactDatabaseFile(path, password);
}

void TArcDatabase::CompactDatabaseFile(const QString &path, const QString &password)
{
    store::compactInPlace(maintenanceEngine(), path, password);
}

bool TArcDatabase::ChangeDatabasePassword(const QString &oldPassword, const QString &newPassword)
{
    if (!Connected())
        fail(NotConnected);
    // A file is rewritten and needs to be alone; a server changes its role's password while
    // others work on.
    if (!m_exclusive && capabilities().passwordChangeNeedsExclusive)
        fail("Database must be opened in exclusive mode!");
    try {
        m_database->NewPassword(oldPassword, newPassword);
        return true;
    } catch (const dao::EngineError &) {
        return false;
    }
}
