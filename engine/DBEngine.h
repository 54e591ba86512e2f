#pragma once
// The engine object: makes workspaces, compacts and repairs closed archive files, and
// keeps the Errors collection of the latest failure.

#include "engine/Errors.h"

#include <QString>
#include <memory>
#include <vector>

namespace dao {

class Workspace;

// Compaction and repair work where the storage lets the program compact (a file); a server
// keeps its own storage. Throws the engine's refusal (3251, in Italian) elsewhere, before
// anything is touched.
void refuseWithoutCompaction(const QString &path);

class DBEngine {
public:
    DBEngine();
    ~DBEngine();

    QString Version() const { return QStringLiteral("3.6"); }
    QString SystemDB() const { return m_systemDb; }
    void setSystemDB(const QString &path) { m_systemDb = path; }
    void setDefaultUser(const QString &user) { m_defaultUser = user; }
    void setDefaultPassword(const QString &password) { m_defaultPassword = password; }
    void setDefaultType(int type) { m_defaultType = type; }
    QString DefaultUser() const { return m_defaultUser; }
    int DefaultType() const { return m_defaultType; }

    std::shared_ptr<Workspace> CreateWorkspace(const QString &name, const QString &user,
                                               const QString &password, int type);
    // The Workspaces collection.
    void appendWorkspace(const std::shared_ptr<Workspace> &workspace);
    int workspaceCount() const { return int(m_workspaces.size()); }
    void refreshWorkspaces() {}
    void refreshProperties() {}

    void Idle(int action);

    // Writes a compacted copy of the closed archive at source to destination (which must
    // not exist), keeping the password given as ";pwd=..." (empty text: none). The source
    // is taken exclusively for the duration and is never modified.
    void CompactDatabase(const QString &source, const QString &destination,
                         const QString &locale, int options, const QString &password);
    // Checks a closed archive's storage for damage; fails when it is not sound.
    void RepairDatabase(const QString &path);

    Errors &errors() { return *m_errors; }
    const ErrorsPtr &errorsPtr() const { return m_errors; }

private:
    ErrorsPtr m_errors;
    QString m_systemDb;
    QString m_defaultUser = QStringLiteral("Admin");
    QString m_defaultPassword;
    int m_defaultType = 2;
    std::vector<std::shared_ptr<Workspace>> m_workspaces;
};

} // namespace dao
