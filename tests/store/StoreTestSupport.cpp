#include "StoreTestSupport.h"

#include "engine/Constants.h"
#include "engine/DBEngine.h"
#include "engine/Database.h"
#include "engine/Field.h"
#include "engine/Recordset.h"
#include "engine/Workspace.h"
#include "platform/CrashPoints.h"
#include "platform/EngineRegistry.h"

#include <QDir>
#include <QFile>

#include "tests/support/Processes.h"

namespace store_test {

void makeArchive(const QString &path, const QString &password, int rows)
{
    dao::DBEngine engine;
    auto ws = engine.CreateWorkspace(QStringLiteral("crea"), QStringLiteral("Admin"), {}, dao::dbUseJet);
    auto db = ws->CreateDatabase(path, password);
    dao::TableSpec definition;
    definition.name = RowTable;
    definition.fields.push_back({QStringLiteral("ID"), dao::dbLong, 0, true, true, {}, {}});
    definition.fields.push_back({QStringLiteral("Nome"), dao::dbText, 40, false, false, {}, {}});
    db->CreateTable(definition);
    auto rs = db->OpenRecordset(RowTable);
    for (int i = 0; i < rows; ++i) {
        rs->AddNew();
        rs->field(QStringLiteral("Nome")).setValue(QStringLiteral("riga %1").arg(i));
        rs->Update();
    }
    rs->Close();
    db->Close();
    ws->Close();
}

int rowCount(const QString &path, const QString &password)
{
    dao::DBEngine engine;
    auto ws = engine.CreateWorkspace(QStringLiteral("conta"), QStringLiteral("Admin"), {}, dao::dbUseJet);
    auto db = ws->OpenDatabase(path, false, true, QStringLiteral(";UID=Admin;PWD=%1;").arg(password));
    auto rs = db->OpenRecordset(RowTable);
    const int count = rs->RecordCount();
    rs->Close();
    db->Close();
    ws->Close();
    return count;
}

QByteArray fileBytes(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

QStringList folderEntries(const QString &folder)
{
    return QDir(folder).entryList(QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden, QDir::Name);
}

int runInChild(const std::function<int()> &body)
{
    return testsupport::ChildProcess::fork(body).wait();
}

void StoreTest::TearDown()
{
    platform::resetEngineRegistry();
    platform::disarmCrashPoints();
}

} // namespace store_test
