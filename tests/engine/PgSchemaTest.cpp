#include "engine/Constants.h"
#include "engine/DBEngine.h"
#include "engine/Database.h"
#include "engine/Workspace.h"
#include "engine/pg/PgSchema.h"
#include "engine/pg/PgSession.h"
#include "store/Schema.h"
#include "tests/support/PgTestServer.h"

#include <QTemporaryDir>
#include <gtest/gtest.h>

using dao::TableSpec;
using dao::Value;
using dao::pg::PgSession;

namespace {

// A table of every field kind with defaults of every kind, and no counter.
TableSpec everyKind()
{
    TableSpec t{QStringLiteral("Tipi"), {}};
    auto add = [&](const char *name, int type, int size = 0, bool required = false, const char *format = "",
                   Value defaultValue = {}) {
        t.fields.push_back({QLatin1String(name), type, size, false, required, QLatin1String(format), defaultValue});
    };
    add("Nome", dao::dbText, 20, true, "", QStringLiteral("l'uno \"e\" l'altro"));
    add("Libero", dao::dbText);
    add("Memo", dao::dbMemo);
    add("Flag", dao::dbBoolean, 0, false, "", Value(true));
    add("Spento", dao::dbBoolean, 0, false, "", Value(false));
    add("Byte", dao::dbByte);
    add("Piccolo", dao::dbInteger, 0, false, "", Value(qint64(-1)));
    add("Lungo", dao::dbLong, 0, true, "", Value(qint64(7)));
    add("Grande", dao::dbBigInt);
    add("Valuta", dao::dbCurrency, 0, false, "", Value(1.5));
    add("Singolo", dao::dbSingle);
    add("Doppio", dao::dbDouble, 0, false, "", Value(-0.25));
    add("Data", dao::dbDate, 0, false, "Short Date", Value(dao::Date{45000}));
    add("Ora", dao::dbDate, 0, false, "Short Time");
    add("Momento", dao::dbDate);
    add("Foto", dao::dbLongBinary);
    add("Bin", dao::dbBinary, 16);
    add("Guid", dao::dbGUID);
    return t;
}

void expectSameTable(const dao::TableInfo &file, const dao::TableInfo &server)
{
    EXPECT_EQ(server.name, file.name);
    ASSERT_EQ(server.columns.size(), file.columns.size()) << file.name.toStdString();
    for (size_t i = 0; i < file.columns.size(); ++i) {
        const dao::ColumnInfo &f = file.columns[i];
        const dao::ColumnInfo &s = server.columns[i];
        SCOPED_TRACE((file.name + QLatin1Char('.') + f.name).toStdString());
        EXPECT_EQ(s.name, f.name);
        EXPECT_EQ(s.type, f.type);
        EXPECT_EQ(s.size, f.size);
        EXPECT_EQ(s.autoIncrement, f.autoIncrement);
        EXPECT_EQ(s.required, f.required);
        EXPECT_EQ(s.format, f.format);
        EXPECT_EQ(s.defaultValue, f.defaultValue);
        EXPECT_EQ(s.defaultText(), f.defaultText());
        EXPECT_EQ(s.attributes(true), f.attributes(true));
    }
    ASSERT_EQ(server.dialectColumns.size(), file.dialectColumns.size());
}

class PgSchemaTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        TAVORIO_REQUIRE_PG();
        session.connect(dao::ServerAddress::parse(testsupport::newPgDatabase()), testsupport::pgOfficePassword());
    }

    void create(const std::vector<TableSpec> &tables)
    {
        for (const QString &statement : dao::pg::createArchiveStatements())
            session.exec(statement);
        for (const TableSpec &table : tables)
            for (const QString &statement : dao::pg::createTableStatements(table))
                session.exec(statement);
    }

    PgSession session;
};

} // namespace

TEST_F(PgSchemaTest, TheArchiveTablesReadBackAsOnTheFile)
{
    std::vector<TableSpec> tables = schema::archiveTables();
    tables.push_back(everyKind());

    QTemporaryDir dir;
    dao::DBEngine engine;
    auto ws = engine.CreateWorkspace("DaoWorkspace", "Admin", "", dao::dbUseJet);
    auto file = ws->CreateDatabase(dir.filePath(QStringLiteral("tavorio.mdb")), {});
    for (const TableSpec &table : tables)
        file->CreateTable(table);

    EXPECT_TRUE(dao::pg::isEmptyDatabase(session));
    EXPECT_FALSE(dao::pg::isArchive(session));
    create(tables);
    EXPECT_FALSE(dao::pg::isEmptyDatabase(session));
    EXPECT_TRUE(dao::pg::isArchive(session));

    const std::vector<dao::TableInfo> read = dao::pg::readTables(session);
    ASSERT_EQ(read.size(), tables.size());
    for (size_t i = 0; i < tables.size(); ++i) {
        const auto fileTable = file->connection()->table(tables[i].name);
        ASSERT_TRUE(fileTable) << tables[i].name.toStdString();
        expectSameTable(*fileTable, read[i]);
    }
    EXPECT_EQ(read[0].name, QStringLiteral("Anagrafica"));
    EXPECT_EQ(read[0].rowid, QStringLiteral("\"ID_SCHEDA\""));
    EXPECT_EQ(read.back().rowid, QStringLiteral("\"engine_rowid\""));
    EXPECT_EQ(read.back().indexOf(QStringLiteral("engine_rowid")), -1);

    // The defaults the declarations promise are the server's own.
    session.exec(QStringLiteral("INSERT INTO \"Tipi\" (\"Libero\") VALUES ('x')"));
    const dao::pg::PgResult row = session.exec(
        QStringLiteral("SELECT \"Nome\", \"Flag\", \"Piccolo\", \"Lungo\", \"Data\" FROM \"Tipi\""));
    EXPECT_EQ(row.value(0, 0), Value(QStringLiteral("l'uno \"e\" l'altro")));
    EXPECT_EQ(row.value(0, 1), Value(qint64(-1)));
    EXPECT_EQ(row.value(0, 2), Value(qint64(-1)));
    EXPECT_EQ(row.value(0, 3), Value(qint64(7)));
    EXPECT_EQ(row.value(0, 4), Value(45000.0));
}

TEST_F(PgSchemaTest, KeyCountersCarryOverAndGoOnFromTheValueSet)
{
    create({schema::archiveTables()[5], everyKind()});   // Gruppi (a counter) and a table without one
    const QString gruppi = QStringLiteral("Gruppi");
    EXPECT_EQ(dao::pg::keyCounter(session, gruppi), 0);
    session.exec(QStringLiteral("INSERT INTO \"Gruppi\" (\"Gruppo\") VALUES ('a'), ('b')"));
    EXPECT_EQ(dao::pg::keyCounter(session, QStringLiteral("gruppi")), 2);

    // A copied archive brings its rows with their keys, then the counter where it stood.
    session.exec(QStringLiteral("INSERT INTO \"Gruppi\" (\"ID\", \"Gruppo\") VALUES (40, 'c')"));
    dao::pg::setKeyCounter(session, gruppi, 57);
    EXPECT_EQ(dao::pg::keyCounter(session, gruppi), 57);
    EXPECT_EQ(session.exec(QStringLiteral("INSERT INTO \"Gruppi\" (\"Gruppo\") VALUES ('d') RETURNING \"ID\"")).value(0, 0),
              Value(qint64(58)));

    const QString tipi = QStringLiteral("Tipi");
    dao::pg::setKeyCounter(session, tipi, 5);
    dao::pg::setKeyCounter(session, tipi, 0);
    EXPECT_EQ(dao::pg::keyCounter(session, tipi), 0);
    EXPECT_EQ(session.exec(QStringLiteral("INSERT INTO \"Tipi\" (\"Nome\") VALUES ('x') RETURNING engine_rowid")).value(0, 0),
              Value(qint64(1)));

    try {
        dao::pg::keyCounter(session, QStringLiteral("Nessuna"));
        ADD_FAILURE() << "a missing table has no counter";
    } catch (const dao::EngineError &e) {
        EXPECT_EQ(e.number(), dao::errTableNotFound);
    }
}

TEST_F(PgSchemaTest, ATableMadeByOtherMeansIsReadByItsServerTypes)
{
    session.exec(QStringLiteral("CREATE TABLE esterna (k integer GENERATED ALWAYS AS IDENTITY, nome varchar(12) NOT NULL "
                                "DEFAULT 'x''y', n bigint DEFAULT -3, r real, note text, foto bytea)"));
    const std::vector<dao::TableInfo> read = dao::pg::readTables(session);
    ASSERT_EQ(read.size(), 1u);
    const dao::TableInfo &t = read[0];
    EXPECT_EQ(t.rowid, QStringLiteral("\"k\""));
    ASSERT_EQ(t.columns.size(), 6u);
    EXPECT_TRUE(t.columns[0].autoIncrement);
    EXPECT_EQ(t.columns[1].type, dao::dbText);
    EXPECT_EQ(t.columns[1].size, 12);
    EXPECT_TRUE(t.columns[1].required);
    EXPECT_EQ(t.columns[1].defaultValue, Value(QStringLiteral("x'y")));
    EXPECT_EQ(t.columns[2].type, dao::dbBigInt);
    EXPECT_EQ(t.columns[2].defaultValue, Value(qint64(-3)));
    EXPECT_EQ(t.columns[3].type, dao::dbSingle);
    EXPECT_EQ(t.columns[4].type, dao::dbMemo);
    EXPECT_EQ(t.columns[5].type, dao::dbLongBinary);
}
