#include "TArcTableTestSupport.h"

#include "db/DatabaseError.h"
#include "db/Fields.h"
#include "engine/Constants.h"
#include "engine/DBEngine.h"
#include "engine/Database.h"
#include "engine/Recordset.h"
#include "engine/Workspace.h"
#include "store/Schema.h"
#include "tests/support/PgTestServer.h"
#include "tests/support/TestArchive.h"

#include <QDir>
#include <QFileInfo>

namespace table_test {

namespace {

const dao::TableSpec &specOf(const QString &tableName)
{
    for (const dao::TableSpec &definition : schema::archiveTables()) {
        if (definition.name.compare(tableName, Qt::CaseInsensitive) == 0)
            return definition;
    }
    throw std::invalid_argument("no such table");
}

void declareField(TArcTable &table, const dao::FieldSpec &f)
{
    switch (f.type) {
    case dao::dbLong:
        if (f.autoIncrement)
            new TAutoIncField(&table, f.name);
        else
            new TIntegerField(&table, f.name);
        break;
    case dao::dbInteger: new TSmallintField(&table, f.name); break;
    case dao::dbText: new TStringField(&table, f.name, f.size); break;
    case dao::dbMemo: new TMemoField(&table, f.name); break;
    case dao::dbBoolean: new TBooleanField(&table, f.name); break;
    case dao::dbDate:
        if (f.format.isEmpty())
            new TDateTimeField(&table, f.name);
        else
            new TDateField(&table, f.name);
        break;
    default: throw std::invalid_argument("field kind not declared by the program");
    }
}

// The program's own recordset access, for reading the archive behind a dataset's back.
template <typename F>
auto withArchive(const QString &path, F &&work, bool readOnly = true)
{
    dao::DBEngine engine;
    auto ws = engine.CreateWorkspace(QStringLiteral("verifica"), QStringLiteral("Admin"), {}, dao::dbUseJet);
    auto db = ws->OpenDatabase(path, false, readOnly, QStringLiteral(";UID=Admin;PWD=;"));
    auto result = work(*db);
    db->Close();
    ws->Close();
    return result;
}

} // namespace

QString messageOf(const std::function<void()> &action)
{
    try {
        action();
    } catch (const EDatabaseError &error) {
        return error.message();
    }
    return QStringLiteral("<nothing raised>");
}

void declareFields(TArcTable &table, const QString &tableName)
{
    for (const dao::FieldSpec &f : specOf(tableName).fields)
        declareField(table, f);
    if (tableName == QLatin1String("Nucleo"))
        new TIntegerField(&table, QStringLiteral("Eta"), TFieldKind::fkCalculated);
}

void configureLikeProgram(TArcTable &table, TArcDatabase &db, const QString &tableName)
{
    table.setName(tableName == QLatin1String("Stampe") ? QStringLiteral("stampe") : tableName);
    table.setDatabase(&db);
    table.setTableName(tableName);
    const bool lookup = tableName == QLatin1String("Fascia") || tableName == QLatin1String("Ruolo")
        || tableName == QLatin1String("Occupazione");
    if (tableName != QLatin1String("Stampe") && tableName != QLatin1String("Gruppi"))
        table.setOpenOptions(TArcOpenOption::dbSeeChanges);
    if (lookup)
        table.SortedByList() = QStringList{QStringLiteral("[Ordine] ASC")};
    if (tableName == QLatin1String("Nucleo")) {
        table.SortedByList() = QStringList{QStringLiteral("[ID_PERSONA] ASC")};
        table.setMasterAutoActivate(false);
    }
    declareFields(table, tableName);
}

void EngineLog::attach(TArcTable &table)
{
    table.OnEngineText = [this](const QString &call, const QString &text) { calls << call + QStringLiteral(": ") + text; };
}

QStringList EngineLog::of(const QString &call) const
{
    QStringList texts;
    const QString prefix = call + QStringLiteral(": ");
    for (const QString &entry : calls) {
        if (entry.startsWith(prefix))
            texts << entry.mid(prefix.size());
    }
    return texts;
}

dao::Value archiveValue(const QString &path, const QString &table, const QString &keyField, qint64 key,
                        const QString &field)
{
    return withArchive(path, [&](dao::Database &db) {
        auto rs = db.OpenRecordset(QStringLiteral("Select * From [%1] Where [%2] = %3;").arg(table, keyField).arg(key));
        const dao::Value value = rs->IsEOF() ? dao::Value() : rs->field(field).value();
        rs->Close();
        return value;
    });
}

int archiveRowCount(const QString &path, const QString &table, const QString &condition)
{
    return withArchive(path, [&](dao::Database &db) {
        auto rs = condition.isEmpty()
            ? db.OpenRecordset(table)
            : db.OpenRecordset(QStringLiteral("Select * From [%1] Where %2;").arg(table, condition));
        const int count = rs->RecordCount();
        rs->Close();
        return count;
    });
}

void setArchiveValue(const QString &path, const QString &table, const QString &keyField, qint64 key,
                     const QString &field, const dao::Value &value)
{
    withArchive(path, [&](dao::Database &db) {
        auto rs = db.OpenRecordset(QStringLiteral("Select * From [%1] Where [%2] = %3;").arg(table, keyField).arg(key));
        rs->Edit();
        rs->field(field).setValue(value);
        rs->Update();
        rs->Close();
        return 0;
    }, false);
}

void deleteArchiveRow(const QString &path, const QString &table, const QString &keyField, qint64 key)
{
    withArchive(path, [&](dao::Database &db) {
        auto rs = db.OpenRecordset(QStringLiteral("Select * From [%1] Where [%2] = %3;").arg(table, keyField).arg(key));
        rs->Delete();
        rs->Close();
        return 0;
    }, false);
}

namespace {

QString folderTemplate(bool inMemory)
{
    const QFileInfo shared(QStringLiteral("/dev/shm"));
    const QString base = inMemory && shared.isDir() && shared.isWritable() ? shared.filePath() : QDir::tempPath();
    return base + QStringLiteral("/tavorio-tabella-XXXXXX");
}

} // namespace

TableTest::TableTest(int households, bool inMemory)
    : m_dir(folderTemplate(inMemory)), m_households(households)
{
}

void TableTest::SetUp()
{
    ASSERT_TRUE(m_dir.isValid());
    m_path = testsupport::newArchiveLocation(m_dir.path(), QStringLiteral("tavorio.mdb"));
    testsupport::createArchive(m_path, QString(), m_households);
    m_db.setDatabase(m_path);
    m_db.Open();
}

void TableTest::TearDown()
{
    m_tables.clear();
    m_sources.clear();
    m_db.Close();
}

TArcTable &TableTest::table(const QString &tableName)
{
    m_tables.push_back(std::make_unique<TArcTable>());
    configureLikeProgram(*m_tables.back(), m_db, tableName);
    return *m_tables.back();
}

TDataSource &TableTest::sourceOf(TArcTable &table)
{
    for (const auto &source : m_sources) {
        if (source->dataSet() == &table)
            return *source;
    }
    m_sources.push_back(std::make_unique<TDataSource>());
    m_sources.back()->setDataSet(&table);
    return *m_sources.back();
}

TArcTable &TableTest::linkedMembers(TArcTable &cards)
{
    TArcTable &members = table(QStringLiteral("Nucleo"));
    members.setMasterSource(&sourceOf(cards));
    members.setMasterFields({QStringLiteral("ID_SCHEDA -> ID_SCHEDA")});
    return members;
}

void TableTest::openCardsWithMembers(TArcTable *&cards, TArcTable *&members)
{
    cards = &table(QStringLiteral("Anagrafica"));
    cards->open();
    members = &linkedMembers(*cards);
    members->open();
}

} // namespace table_test
