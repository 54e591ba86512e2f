// A row read or a requery that fails in the storage library leaves the recordset where it
// was, with the values it held, and the failure arrives as an engine error in Italian.

#include "EngineFixture.h"

#include "engine/StorageFaults.h"

namespace {

class ReadFault : public EngineFixture {
protected:
    void SetUp() override { makeArchive({"Anna", "Bruno", "Carla"}); }
    dao::faults::Scope faults;
};

TEST_F(ReadFault, AFailedMoveLeavesTheCursorOnTheRowItHeld)
{
    auto db = open();
    auto rs = db->OpenRecordset("Persone");
    dao::faults::failStatements(QStringLiteral("WHERE rowid = ?"), dao::faults::Fault::Io);
    for (const auto &move : {std::function<void()>([&] { rs->MoveNext(); }), std::function<void()>([&] { rs->MoveLast(); }),
                             std::function<void()>([&] { rs->setAbsolutePosition(2); })}) {
        try {
            move();
            ADD_FAILURE() << "the read did not fail";
        } catch (const dao::EngineError &error) {
            EXPECT_EQ(error.number(), dao::errIoFailure);
            EXPECT_FALSE(error.description().contains(QLatin1String("disk I/O"))) << error.description().toStdString();
        }
        // Before, the cursor had moved onto a row without data and the next field read
        // threw a range error of the C++ library.
        EXPECT_EQ(rs->AbsolutePosition(), 0);
        EXPECT_EQ(rs->field("Nome").value().asText(), QStringLiteral("Anna"));
    }
    dao::faults::clear();
    rs->MoveNext();
    EXPECT_EQ(rs->field("Nome").value().asText(), QStringLiteral("Bruno"));
}

TEST_F(ReadFault, AFailedRequeryKeepsTheKeysetInUse)
{
    auto db = open();
    auto rs = db->OpenRecordset("Persone");
    rs->MoveLast();
    dao::faults::failStatements(QStringLiteral("SELECT rowid FROM"), dao::faults::Fault::Busy);
    EXPECT_ENGINE_ERROR(rs->Requery(), dao::errRecordLocked);
    dao::faults::clear();
    EXPECT_EQ(rs->RecordCount(), 3);
    EXPECT_EQ(rs->field("Nome").value().asText(), QStringLiteral("Carla"));
    EXPECT_EQ(names(*rs), (QStringList{"Anna", "Bruno", "Carla"}));
}

} // namespace

namespace {

// The library's English text never reaches the user: a damaged archive is named as such.
TEST_F(EngineFixture, ADamagedArchiveIsReportedInItalianWithTheLibraryCode)
{
    QStringList many;
    for (int i = 0; i < 400; ++i)
        many << QStringLiteral("Persona %1").arg(i);
    makeArchive(many);
    {
        QFile file(path());
        ASSERT_TRUE(file.open(QIODevice::ReadWrite));
        for (qint64 page = 1; page * 4096 < file.size(); ++page) {
            file.seek(page * 4096);
            file.write(QByteArray(64, '\x5a'));
        }
    }
    try {
        auto db = open();
        auto rs = db->OpenRecordset("Persone");
        for (rs->MoveFirst(); !rs->IsEOF(); rs->MoveNext())
            rs->field("Nome").value();
        ADD_FAILURE() << "the damage went unnoticed";
    } catch (const dao::EngineError &error) {
        EXPECT_EQ(error.number(), dao::errDatabaseCorrupt) << error.description().toStdString();
        EXPECT_TRUE(error.description().startsWith(QStringLiteral("L'archivio è danneggiato"))) << error.description().toStdString();
        EXPECT_TRUE(error.description().contains(QLatin1String("(codice 11)"))) << error.description().toStdString();
    }
}

} // namespace
