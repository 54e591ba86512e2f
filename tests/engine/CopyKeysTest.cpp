// A whole-archive copy keeps every row's key and every counter, gaps included: copied
// rows keep their numbers, and the copy's next new row gets the number the original's
// would have got. Runs on both storages (the server run crosses them too).

#include "EngineFixture.h"

namespace {

class CopyKeys : public EngineFixture {
protected:
    std::vector<std::vector<dao::Value>> rows(dao::Database &db)
    {
        std::vector<std::vector<dao::Value>> out;
        auto rs = db.OpenRecordset(QStringLiteral("Select * From [Persone] Order By [ID];"));
        for (; !rs->IsEOF(); rs->MoveNext()) {
            std::vector<dao::Value> row;
            for (int i = 0; i < rs->fieldCount(); ++i)
                row.push_back(rs->field(i).value());
            out.push_back(row);
        }
        return out;
    }
};

TEST_F(CopyKeys, RowsKeepTheirKeysAndTheCounterItsPlace)
{
    makeArchive({"Anna", "Bruno", "Carla", "Dario", "Elena"});
    auto source = open();
    {
        auto rs = source->OpenRecordset(QStringLiteral("Select * From [Persone] Where [Nome] = \"Bruno\" Or [Nome] = \"Elena\";"));
        for (; !rs->IsEOF(); rs->MoveNext())
            rs->Delete();
    }
    ASSERT_EQ(source->KeyCounter("Persone"), 5);

    auto target = ws->CreateDatabase(path("copia.mdb"), {});
    target->CreateTable(peopleSpec());
    for (const auto &row : rows(*source))
        target->AppendRowWithKeys("Persone", row);
    target->SetKeyCounter("Persone", source->KeyCounter("Persone"));

    EXPECT_EQ(rows(*target), rows(*source));
    auto rs = target->OpenRecordset("Persone");
    rs->AddNew();
    rs->field("Nome").setValue(QStringLiteral("Franca"));
    rs->Update();
    rs->setBookmark(rs->LastModified());
    EXPECT_EQ(rs->field("ID").value().asInt(), 6);
    EXPECT_ENGINE_ERROR(target->AppendRowWithKeys("Persone", {dao::Value(qint64(9))}), 3001);
    EXPECT_ENGINE_ERROR(target->KeyCounter("Assente"), dao::errTableNotFound);
}

// Inside a transaction the rows travel in groups: all of them land with their keys at the
// commit, a row the archive refuses fails the transaction, and a rollback leaves none.
TEST_F(CopyKeys, RowsAppendedInATransactionLandWholeOrNotAtAll)
{
    makeArchive({});
    auto target = open();
    std::vector<std::vector<dao::Value>> many;
    for (int i = 1; i <= 450; ++i)
        many.push_back({dao::Value(qint64(i * 2)), dao::Value(QStringLiteral("P%1").arg(i)), dao::Value(i % 90),
                        dao::Value(i % 2 == 0), dao::Value(), dao::Value(QStringLiteral("nota %1").arg(i))});
    ws->BeginTrans();
    for (const auto &row : many)
        target->AppendRowWithKeys("Persone", row);
    ws->CommitTrans();
    ASSERT_EQ(rows(*target).size(), many.size());
    EXPECT_EQ(rows(*target)[449][0].asInt(), 900);
    EXPECT_EQ(rows(*target)[449][5].asText(), "nota 450");

    ws->BeginTrans();
    target->AppendRowWithKeys("Persone", {dao::Value(qint64(1001)), dao::Value("Nuovo"), dao::Value(), dao::Value(false),
                                          dao::Value(), dao::Value()});
    target->AppendRowWithKeys("Persone", many[3]);   // its key is taken
    EXPECT_THROW(ws->CommitTrans(), dao::EngineError);
    ws->Rollback();
    EXPECT_EQ(rows(*target).size(), many.size());

    ws->BeginTrans();
    target->AppendRowWithKeys("Persone", {dao::Value(qint64(1003)), dao::Value("Annullato"), dao::Value(),
                                          dao::Value(false), dao::Value(), dao::Value()});
    ws->Rollback();
    EXPECT_EQ(rows(*target).size(), many.size());
}

} // namespace
