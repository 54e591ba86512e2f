#include "tests/tools/ToolsHarness.h"

#include "archive/HouseholdGenerator.h"
#include "engine/ArchiveLocation.h"
#include "engine/Constants.h"
#include "engine/Database.h"
#include "engine/Recordset.h"
#include "engine/Workspace.h"
#include "tests/support/Processes.h"
#include "tests/support/TestArchive.h"
#include "tools/cli/Commands.h"

#include <QFile>
#include <QFileInfo>
#include <QTextStream>
#include <functional>
#include <stdexcept>

namespace toolstest {

namespace {

CommandResult inProcess(const std::function<int(QTextStream &, QTextStream &)> &command)
{
    CommandResult result;
    QTextStream out(&result.out);
    QTextStream err(&result.err);
    result.exitCode = command(out, err);
    out.flush();
    err.flush();
    return result;
}

QByteArray passwordInput(const std::optional<QString> &password)
{
    return password ? password->toUtf8() + '\n' : QByteArray();
}

QStringList withPassword(QStringList args, const std::optional<QString> &password)
{
    if (password)
        args << QStringLiteral("--password-stdin");
    return args;
}

} // namespace

std::string modeName(Mode mode)
{
    return mode == Mode::InProcess ? "InProcess" : "Executable";
}

CommandResult verify(Mode mode, const QString &path, const std::optional<QString> &password)
{
    if (mode == Mode::InProcess)
        return inProcess([&](QTextStream &out, QTextStream &err) {
            return cli::runCheck(path, password.value_or(QString()), out, err);
        });
    return runCli(withPassword({QStringLiteral("verifica"), path}, password), {},
                  passwordInput(password));
}

CommandResult create(Mode mode, const QString &path, const cli::ArchiveContents &contents,
                     const std::optional<QString> &password)
{
    if (mode == Mode::InProcess)
        return inProcess([&](QTextStream &out, QTextStream &err) {
            return cli::runCreate(path, password.value_or(QString()), contents, out, err);
        });
    QStringList args{QStringLiteral("crea-archivio"), path};
    if (contents.seed == cli::HouseholdGenerator::kDemoSeed)
        args << QStringLiteral("--demo");
    else if (contents.seed == cli::HouseholdGenerator::kGeneratedSeed)
        args << QStringLiteral("--schede") << QString::number(contents.households);
    return runCli(withPassword(args, password), {}, passwordInput(password));
}

CommandResult runCli(const QStringList &args, const QString &workDir, const QByteArray &input)
{
    testsupport::ProcessOptions options;
    options.workDir = workDir;
    options.input = input;
    const testsupport::ProcessResult run = testsupport::runCli(args, options);
    if (!run.finished)
        throw std::runtime_error("tavorio-cli did not finish: " + run.errText().toStdString());
    return {run.exitCode, run.outText(), run.errText()};
}

QByteArray fileBytes(const QString &path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        throw std::runtime_error("cannot read " + path.toStdString());
    return file.readAll();
}

void writeFile(const QString &path, const QByteArray &bytes)
{
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate) || file.write(bytes) != bytes.size())
        throw std::runtime_error("cannot write " + path.toStdString());
}

ArchiveProbe::ArchiveProbe(const QString &path, const QString &password)
{
    m_workspace = m_engine.CreateWorkspace(QStringLiteral("DaoWorkspace"), QStringLiteral("Admin"),
                                           QString(), dao::dbUseJet);
    m_db = m_workspace->OpenDatabase(dao::ArchiveLocation(path).normalized(), false, true,
                                     QStringLiteral(";UID=Admin;PWD=%1;").arg(password));
}

ArchiveProbe::~ArchiveProbe()
{
    m_db->Close();
    m_workspace->Close();
}

std::vector<dao::Value> ArchiveProbe::column(const QString &table, const QString &field)
{
    std::vector<dao::Value> values;
    auto rs = m_db->OpenRecordset(table, dao::dbOpenDynaset);
    for (; !rs->IsEOF(); rs->MoveNext())
        values.push_back(rs->field(field).value());
    return values;
}

QStringList ArchiveProbe::dump(const QString &table)
{
    QStringList rows;
    auto rs = m_db->OpenRecordset(table, dao::dbOpenDynaset);
    for (; !rs->IsEOF(); rs->MoveNext()) {
        QStringList fields;
        for (int i = 0; i < rs->fieldCount(); ++i)
            fields << rs->field(i).value().asText();
        rows << fields.join(QLatin1Char('|'));
    }
    return rows;
}

} // namespace toolstest
