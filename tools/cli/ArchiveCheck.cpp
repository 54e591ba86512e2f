#include "tools/cli/ArchiveCheck.h"

#include "archive/ArchiveTransfer.h"
#include "archive/CliError.h"
#include "archive/LocationFailures.h"
#include "engine/ArchiveLocation.h"
#include "engine/Constants.h"
#include "engine/DBEngine.h"
#include "engine/Database.h"
#include "engine/EngineError.h"
#include "engine/Recordset.h"
#include "engine/Workspace.h"
#include "store/Schema.h"

#include <QFileInfo>

namespace cli {

namespace {

CliError notAnArchive(const QString &path, const QString &reason)
{
    return CliError(ExitCode::NotAnArchive, notAnArchiveText(path, reason));
}

TableCount countRows(dao::Database &db, const dao::TableSpec &table)
{
    auto rs = db.OpenRecordset(table.name, dao::dbOpenDynaset);
    // A table with the right name but not our fields would break the windows later on.
    for (const dao::FieldSpec &field : table.fields)
        rs->field(field.name);
    TableCount count{table.name, rs->RecordCount()};
    rs->Close();
    return count;
}

constexpr int kProblemsShown = 10;

QString unfinishedCopyText(const QString &path)
{
    return QStringLiteral("L'archivio \"%1\" è una copia non terminata (trasferisci interrotto): "
                          "non contiene tutti i dati e non va usato. Ripetere il trasferimento.").arg(path);
}

} // namespace

QString damagedText(const QString &path, const QStringList &problems)
{
    QString text = QStringLiteral("L'archivio \"%1\" è danneggiato: il controllo di integrità ha trovato questi problemi:").arg(path);
    for (const QString &problem : problems)
        text += QStringLiteral("\n  ") + problem;
    return text;
}

ArchiveCheck::ArchiveCheck(QString path, QString password)
    : m_path(std::move(path)), m_password(std::move(password))
{
}

CheckReport ArchiveCheck::run() const
{
    // A server's database has no file to look at: the server keeps its own storage sound.
    const bool server = dao::ArchiveLocation(m_path).isServer();
    const QFileInfo info(m_path);
    if (!server && !info.exists())
        throw CliError(ExitCode::NotAnArchive,
                       fileNotFoundText(m_path));
    if (!server && !info.isFile())
        throw notAnArchive(m_path, QStringLiteral("Il percorso indica una cartella, non un file."));

    dao::DBEngine engine;
    CheckReport report;
    QString table;
    try {
        auto workspace = engine.CreateWorkspace(QStringLiteral("DaoWorkspace"),
                                                QStringLiteral("Admin"), QString(), dao::dbUseJet);
        auto db = workspace->OpenDatabase(dao::ArchiveLocation(m_path).normalized(), false, true,
                                          QStringLiteral(";UID=Admin;PWD=%1;").arg(m_password));
        // What a killed trasferisci left: whatever it holds, it is not the archive it copied.
        for (const dao::TableDefInfo &def : db->TableDefs())
            if (def.name.compare(unfinishedCopyMark(), Qt::CaseInsensitive) == 0)
                throw CliError(ExitCode::Damaged, unfinishedCopyText(m_path));
        for (const dao::TableSpec &definition : schema::archiveTables()) {
            table = definition.name;
            report.counts.push_back(countRows(*db, definition));
        }
        table.clear();
        report.problems = db->integrityProblems(kProblemsShown);
        db->Close();
        workspace->Close();
    } catch (const CliError &) {
        throw;
    } catch (const dao::EngineError &e) {
        if (e.number() == dao::errNotValidPassword)
            throw CliError(ExitCode::BadPassword,
                           wrongPasswordText());
        if (std::optional<CliError> failure = serverFailure(m_path, e))
            throw *failure;
        QString reason = e.description();
        if (!table.isEmpty())
            reason = QStringLiteral("Tabella %1: %2").arg(table, reason);
        throw notAnArchive(m_path, reason);
    } catch (const std::exception &e) {
        throw notAnArchive(m_path, QString::fromLocal8Bit(e.what()));
    }
    return report;
}

} // namespace cli
