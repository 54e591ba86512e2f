// The seven tables as written down here, independently of Schema.cpp, checked against the
// schema's descriptions and against what the engine reports for a freshly created archive.

#include "store/Schema.h"

#include "engine/Constants.h"
#include "engine/DBEngine.h"
#include "engine/Database.h"
#include "engine/Recordset.h"
#include "engine/Workspace.h"

#include <gtest/gtest.h>

#include <QTemporaryDir>

namespace {

struct ExpectedTable {
    const char *name;
    const char *fields;   // "Name Kind" joined by ", "
};

const ExpectedTable kExpected[] = {
    {"Anagrafica",
     "ID_SCHEDA Counter, Protocollo Text(10), Fascia Text(10), Referente Text(100), "
     "Capofamiglia Text(100), Indirizzo Text(100), Citta Text(100), Telefono Text(40), "
     "Cellulare Text(40), Email Text(40), Paese_di_origine Text(100), Figli_in_patria Text(10), "
     "Scad_ISEE ShortDate, Nucleo Memo, Abitazione Text(100), G1 YesNo, G2 YesNo, G3 YesNo, "
     "G4 YesNo, G5 YesNo, G6 YesNo, G6_altri Text(100), Inizio ShortDate, "
     "Necessita_alimentari Memo, Note Memo, Ascolto Memo"},
    {"Nucleo",
     "ID_PERSONA Counter, ID_SCHEDA Long, Nome Text(100), Ruolo Text(40), Lavoro Text(40), "
     "Data_nascita ShortDate"},
    {"Fascia", "Fascia Text(10), Ordine Integer"},
    {"Ruolo", "Ruolo Text(40), Ordine Integer"},
    {"Occupazione", "Occupazione Text(40), Ordine Integer"},
    {"Gruppi", "ID Counter, Gruppo Text(20)"},
    {"Stampe", "ID Counter, Nome Text(100), Tracciato Text(100), Ordine Text(100)"},
};

QString kind(int type, int size, bool autoIncrement, const QString &format)
{
    switch (type) {
    case dao::dbLong: return autoIncrement ? QStringLiteral("Counter") : QStringLiteral("Long");
    case dao::dbText: return QStringLiteral("Text(%1)").arg(size);
    case dao::dbDate:
        return format == QLatin1String("Short Date") ? QStringLiteral("ShortDate") : QStringLiteral("Date");
    case dao::dbMemo: return QStringLiteral("Memo");
    case dao::dbBoolean: return QStringLiteral("YesNo");
    case dao::dbInteger: return QStringLiteral("Integer");
    default: return QStringLiteral("Type%1").arg(type);
    }
}

class SchemaTables : public testing::TestWithParam<int> {
protected:
    const ExpectedTable &expected() const { return kExpected[GetParam()]; }
    const dao::TableSpec &definition() const { return schema::archiveTables().at(size_t(GetParam())); }
};

TEST(SchemaTableList, AreTheSevenInOrder)
{
    ASSERT_EQ(schema::archiveTables().size(), std::size(kExpected));
}

TEST_P(SchemaTables, DescribeTheFieldsInOrder)
{
    ASSERT_EQ(definition().name, QLatin1String(expected().name));
    QStringList fields;
    for (const dao::FieldSpec &f : definition().fields)
        fields << f.name + QLatin1Char(' ') + kind(f.type, f.size, f.autoIncrement, f.format);
    EXPECT_EQ(fields.join(QStringLiteral(", ")).toStdString(), expected().fields);
}

TEST_P(SchemaTables, RequireNothingAndDefaultOnlyTheCheckBoxes)
{
    for (const dao::FieldSpec &f : definition().fields) {
        EXPECT_FALSE(f.required) << f.name.toStdString();
        if (f.type == dao::dbBoolean)
            EXPECT_EQ(f.defaultValue, dao::Value(false)) << f.name.toStdString();
        else
            EXPECT_TRUE(f.defaultValue.isNull()) << f.name.toStdString();
    }
}

// The engine writes the declarations itself; what it reports back is what the windows see.
class SchemaInArchive : public SchemaTables {
protected:
    static void SetUpTestSuite()
    {
        s_dir = new QTemporaryDir;
        dao::DBEngine engine;
        auto ws = engine.CreateWorkspace("DaoWorkspace", "Admin", "", dao::dbUseJet);
        auto db = ws->CreateDatabase(s_dir->filePath("schema.mdb"), {});
        schema::createArchiveTables(*db);
        db->Close();
    }
    static void TearDownTestSuite()
    {
        delete s_dir;
        s_dir = nullptr;
    }

    void SetUp() override
    {
        m_ws = m_engine.CreateWorkspace("DaoWorkspace", "Admin", "", dao::dbUseJet);
        m_db = m_ws->OpenDatabase(s_dir->filePath("schema.mdb"), false, false, ";UID=Admin;PWD=;");
    }
    void TearDown() override { m_db->Close(); }

    static QTemporaryDir *s_dir;
    dao::DBEngine m_engine;
    std::shared_ptr<dao::Workspace> m_ws;
    std::shared_ptr<dao::Database> m_db;
};

QTemporaryDir *SchemaInArchive::s_dir = nullptr;

TEST_P(SchemaInArchive, EngineReportsTheFieldsInOrder)
{
    auto rs = m_db->OpenRecordset(QString::fromLatin1(expected().name), dao::dbOpenDynaset);
    QStringList fields;
    for (int i = 0; i < rs->fieldCount(); ++i) {
        dao::Field &f = rs->field(i);
        fields << f.Name() + QLatin1Char(' ')
                + kind(f.Type(), f.Size(), (f.Attributes() & dao::dbAutoIncrField) != 0,
                       f.Property(QStringLiteral("Format")).value_or(QString()));
        EXPECT_FALSE(f.Required()) << f.Name().toStdString();
    }
    EXPECT_EQ(fields.join(QStringLiteral(", ")).toStdString(), expected().fields);
}

TEST_P(SchemaInArchive, ARowAddedWithNothingSetHasClearCheckBoxesAndNullElsewhere)
{
    auto rs = m_db->OpenRecordset(QString::fromLatin1(expected().name), dao::dbOpenDynaset);
    rs->AddNew();
    rs->Update();
    rs->setBookmark(rs->LastModified());
    for (int i = 0; i < rs->fieldCount(); ++i) {
        dao::Field &f = rs->field(i);
        const dao::Value v = f.value();
        if (f.Type() == dao::dbBoolean)
            EXPECT_TRUE(!v.isNull() && !v.asBool()) << f.Name().toStdString();
        else if (f.Attributes() & dao::dbAutoIncrField)
            EXPECT_GT(v.asInt(), 0) << f.Name().toStdString();
        else
            EXPECT_TRUE(v.isNull()) << f.Name().toStdString() << " = " << v.asText().toStdString();
    }
}

std::string tableName(const testing::TestParamInfo<int> &info)
{
    return kExpected[info.param].name;
}

INSTANTIATE_TEST_SUITE_P(Archive, SchemaTables, testing::Range(0, int(std::size(kExpected))), tableName);
INSTANTIATE_TEST_SUITE_P(Archive, SchemaInArchive, testing::Range(0, int(std::size(kExpected))), tableName);

} // namespace
