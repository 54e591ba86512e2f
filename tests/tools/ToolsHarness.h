#pragma once
// Shared by the companion's tests: each command run either in this process (through the
// library) or as the real executable, an archive read back through the engine, and raw
// file bytes.

#include "archive/ArchiveCreator.h"

#include "engine/DBEngine.h"
#include "engine/Constants.h"
#include "engine/Database.h"
#include "engine/Workspace.h"
#include "engine/Value.h"

#include <QByteArray>
#include <QString>
#include <QStringList>
#include <memory>
#include <optional>
#include <string>
#include <vector>

namespace dao {
class Database;
class Workspace;
}

namespace toolstest {

enum class Mode { InProcess, Executable };
std::string modeName(Mode mode);

struct CommandResult {
    int exitCode = -1;
    QString out;
    QString err;
};

// verifica FILE; with a password, it is passed as --password-stdin would.
CommandResult verify(Mode mode, const QString &path, const std::optional<QString> &password = {});
// crea-archivio FILE with --demo, --schede N or nothing, as contents say.
CommandResult create(Mode mode, const QString &path, const cli::ArchiveContents &contents,
                     const std::optional<QString> &password = {});
// The executable with any arguments, in workDir, with input on its standard input.
CommandResult runCli(const QStringList &args, const QString &workDir = {},
                     const QByteArray &input = {});

// Opens the archive (a file or a server address) for writing and hands it to `work`.
template <typename F>
void withArchive(const QString &location, const QString &password, F &&work)
{
    dao::DBEngine engine;
    auto ws = engine.CreateWorkspace(QStringLiteral("prova"), QStringLiteral("Admin"), {}, dao::dbUseJet);
    auto db = ws->OpenDatabase(location, false, false, QStringLiteral(";UID=Admin;PWD=%1;").arg(password));
    work(*db);
    db->Close();
    ws->Close();
}

QByteArray fileBytes(const QString &path);
void writeFile(const QString &path, const QByteArray &bytes);

// An archive opened read-only through the engine, for reading back what was written.
class ArchiveProbe {
public:
    // path: a file or a server address.
    explicit ArchiveProbe(const QString &path, const QString &password = {});
    ~ArchiveProbe();

    dao::Database &db() { return *m_db; }
    // Every value of the field, rows in the table's natural order.
    std::vector<dao::Value> column(const QString &table, const QString &field);
    // Every row as its field texts joined by "|", in the table's natural order.
    QStringList dump(const QString &table);

private:
    dao::DBEngine m_engine;
    std::shared_ptr<dao::Workspace> m_workspace;
    std::shared_ptr<dao::Database> m_db;
};

} // namespace toolstest
