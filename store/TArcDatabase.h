#pragma once
// The archive connection: the one object through which the program reaches the archive
// file. It drives the engine (engine object, named workspace, database object), keeps the
// list of open table datasets, and runs the maintenance of the closed file: repair,
// compaction and the change of the archive password.

#include "db/DatabaseError.h"
#include "engine/ArchiveLocation.h"
#include "engine/Errors.h"
#include "engine/StorageCapabilities.h"
#include "store/TArcOpenTable.h"

#include <QList>
#include <QPair>
#include <QString>
#include <QStringList>
#include <functional>
#include <memory>

namespace dao {
class DBEngine;
class Workspace;
class Database;
}

struct TDaoErrRec {
    int Number = 0;
    QString Source;
    QString Description;
    QString HelpFile;
    int HelpContext = 0;
};

class TArcDatabase {
public:
    using TConnectEvent = std::function<void(TArcDatabase &)>;
    using TLoginEvent = std::function<void(TArcDatabase &, QStringList &)>;

    // Construction: finds the engine versions, creates the engine object; throws
    // EDatabaseError with the construction messages when no engine can be had.
    TArcDatabase();
    ~TArcDatabase();
    TArcDatabase(const TArcDatabase &) = delete;
    TArcDatabase &operator=(const TArcDatabase &) = delete;

    // The stored configuration is applied between these two calls: property changes only
    // store their value; at the end the engine starts, its errors ignored.
    void beginLoading();
    void endLoading();
    bool isLoading() const { return m_loading; }

    // State.
    bool Connected() const { return m_database != nullptr; }
    void setConnected(bool connected);
    void Open() { setConnected(true); }
    void Close() { setConnected(false); }

    // Configuration (setters raise EDatabaseError while connected, where refused).
    QString Database() const { return m_databasePath; }
    void setDatabase(const QString &path);
    // Where Database points: a file, or a server's address (no file to look for or lock, and
    // the password is the server's).
    dao::ArchiveLocation location() const { return dao::ArchiveLocation(m_databasePath); }
    // What the archive's storage allows (the password's change and absence, compaction),
    // asked of the engine; known before connecting too.
    dao::StorageCapabilities capabilities() const;
    QString DatabasePassword() const { return m_databasePassword; }
    void setDatabasePassword(const QString &password);
    // On a server, the person who signs in (the login replacing the address's role); empty:
    // the address's own role.
    QString ServerUser() const { return m_serverUser; }
    void setServerUser(const QString &user) { m_serverUser = user; }
    QString DatabaseType() const { return m_databaseType; }
    void setDatabaseType(const QString &type);
    bool Exclusive() const { return m_exclusive; }
    void setExclusive(bool exclusive);
    bool ReadOnly() const { return m_readOnly; }
    void setReadOnly(bool readOnly);
    QString UserName() const { return m_userName; }
    void setUserName(const QString &name);
    QString Password() const { return m_password; }
    void setPassword(const QString &password);
    QString SystemDatabase() const { return m_systemDatabase; }
    void setSystemDatabase(const QString &path);
    QString Workspace() const { return m_workspaceName; }
    void setWorkspace(const QString &name);
    int EngineType() const { return m_engineType; }
    void setEngineType(int type);
    bool PrivateEngine() const { return m_privateEngine; }
    void setPrivateEngine(bool on);
    QString Version() const { return m_version; }
    void setVersion(const QString &version);
    QString DatabaseParameters() const { return m_databaseParameters; }
    void setDatabaseParameters(const QString &parameters);
    int QueryTimeout() const { return m_queryTimeout; }
    void setQueryTimeout(int seconds) { m_queryTimeout = seconds; }
    bool SmartOpen() const { return m_smartOpen; }
    void setSmartOpen(bool on) { m_smartOpen = on; }
    bool ShowSystemObjects() const { return m_showSystemObjects; }
    void setShowSystemObjects(bool on);
    bool LoginPrompt() const { return m_loginPrompt; }
    void setLoginPrompt(bool on);
    bool SaveUserName() const { return m_saveUserName; }
    void setSaveUserName(bool on) { m_saveUserName = on; }
    bool TrackTransactions() const { return m_trackTransactions; }
    void setTrackTransactions(bool on);
    bool MdbVersionAutoDetect() const { return m_mdbVersionAutoDetect; }
    void setMdbVersionAutoDetect(bool on) { m_mdbVersionAutoDetect = on; }
    int DefaultCursorDriver() const { return m_defaultCursorDriver; }
    void setDefaultCursorDriver(int driver);
    bool UseODBCDialog() const { return m_useOdbcDialog; }
    void setUseODBCDialog(bool on) { m_useOdbcDialog = on; }
    bool UsesDynaDao() const { return m_usesDynaDao; }
    void setUsesDynaDao(bool) {}
    QString ComponentVersion() const { return QStringLiteral("8.20"); }
    void setComponentVersion(const QString &) {}
    QString VersionDetails() const { return m_versionDetails; }
    void setVersionDetails(const QString &) {}
    QString VersionInfo() const;
    void setVersionInfo(const QString &) {}
    QString DatabaseVersionInfo() const { return m_databaseVersionInfo; }
    void setDatabaseVersionInfo(const QString &) {}

    // Hooks.
    TConnectEvent OnBeforeConnect, OnAfterConnect, OnBeforeDisconnect, OnAfterDisconnect;
    TLoginEvent OnLogin;

    // Lists.
    const QStringList &EngineVersionList() const { return m_engineVersionList; }
    const QStringList &TableNameList() const { return m_tableNames; }
    const QStringList &QueryNameList() const { return m_queryNames; }
    const QList<QPair<QString, TArcOpenTable *>> &OpenTableList() const { return m_openTables; }
    void addOpenTable(const QString &name, TArcOpenTable *table);
    void removeOpenTable(TArcOpenTable *table);

    // Operations.
    void RepairDatabaseFile(const QString &path, const QString &password);
    void CompactDatabaseFile(const QString &path, const QString &password);
    bool ChangeDatabasePassword(const QString &oldPassword, const QString &newPassword);
    void RefreshCatalogue();
    void IdleEngine();
    TDaoErrRec LastEngineError() const;
    bool CreateQueryDefinition(const QString &name, const QString &sql);
    void SetQueryDefinitionSql(const QString &name, const QString &sql);
    QString GetQueryDefinitionSql(const QString &name);

    // The engine objects, for the table datasets (the database object exists exactly
    // while connected).
    dao::DBEngine *engine() const { return m_engine.get(); }
    dao::Workspace *workspace() const { return m_workspace.get(); }
    dao::Database *database() const { return m_database.get(); }
    // The same objects shared, for a caller that must keep one alive past the next engine start.
    std::shared_ptr<dao::DBEngine> engineObject() const { return m_engine; }
    std::shared_ptr<dao::Workspace> workspaceObject() const { return m_workspace; }

    // The connect text sent to the engine: ";UID=user;PWD=password;parameters".
    QString connectText() const;

private:
    void connect();
    void disconnect();
    void createEngineObject();
    dao::DBEngine &maintenanceEngine();
    void startEngine();
    void startEngineWithRestore(const std::function<void()> &restore);
    void refuseWhileConnected(const char *message) const;

    bool m_loading = false;
    bool m_runtimeFlag = false;
    std::shared_ptr<dao::DBEngine> m_engine;
    std::shared_ptr<dao::Workspace> m_workspace;
    std::shared_ptr<dao::Database> m_database;

    QString m_databasePath;
    QString m_databasePassword;
    QString m_serverUser;
    QString m_databaseType = QStringLiteral("Access");
    bool m_exclusive = false;
    bool m_readOnly = false;
    QString m_userName = QStringLiteral("Admin");
    QString m_password;
    QString m_systemDatabase;
    QString m_workspaceName = QStringLiteral("DaoWorkspace");
    int m_engineType = 2;
    bool m_privateEngine = false;
    QString m_version;
    QString m_databaseParameters;
    int m_queryTimeout = 60;
    bool m_smartOpen = true;
    bool m_showSystemObjects = false;
    bool m_loginPrompt = false;
    bool m_saveUserName = true;
    bool m_trackTransactions = true;
    bool m_mdbVersionAutoDetect = false;
    int m_defaultCursorDriver = -1;
    bool m_useOdbcDialog = true;
    bool m_usesDynaDao = true;
    QString m_versionDetails;
    QString m_databaseVersionInfo;

    QStringList m_engineVersionList;
    QStringList m_tableNames;
    QStringList m_queryNames;
    QList<QPair<QString, TArcOpenTable *>> m_openTables;
};
