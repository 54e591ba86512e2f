#pragma once
// A named session of the engine in which archives are opened and created.

#include "engine/Errors.h"

#include <QString>
#include <memory>
#include <vector>

namespace dao {

class Database;

class Workspace {
public:
    Workspace(QString name, QString user, int type, ErrorsPtr errors);
    ~Workspace();

    QString Name() const { return m_name; }
    int Type() const { return m_type; }
    bool isClosed() const { return m_closed; }

    // Opens the archive at path with the connect text ";UID=user;PWD=password;...".
    // Fails for a missing, unreadable, foreign or damaged file, a wrong password, or a
    // file another process holds exclusively (or any holder, when exclusive is asked).
    std::shared_ptr<Database> OpenDatabase(const QString &path, bool exclusive, bool readOnly,
                                           const QString &connect);
    // Creates a new empty archive (never over an existing file), encrypted when the
    // password is not empty, and returns it opened exclusively.
    std::shared_ptr<Database> CreateDatabase(const QString &path, const QString &password);

    // Transactions over every archive open in this workspace.
    void BeginTrans();
    void CommitTrans();
    void Rollback();

    void Close();
    void setDefaultCursorDriver(int driver) { m_defaultCursorDriver = driver; }
    int DefaultCursorDriver() const { return m_defaultCursorDriver; }
    void refreshUsers() {}
    void refreshGroups() {}
    void refreshDatabases() {}
    void refreshProperties() {}

private:
    void adopt(const std::shared_ptr<Database> &db);

    QString m_name;
    QString m_user;
    int m_type;
    int m_defaultCursorDriver = -1;
    bool m_closed = false;
    ErrorsPtr m_errors;
    std::vector<std::weak_ptr<Database>> m_databases;
};

} // namespace dao
