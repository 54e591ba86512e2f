// The change history on the storage under test (a file, or the test server in the server
// run): a card and a member inserted, changed and deleted through recordsets leave one row
// per field with who, which record and card, the action and the values as text; a change
// rolled back leaves none; a file opened again goes on recording.

#include "EngineFixture.h"

#include "engine/ChangeHistory.h"
#include "engine/People.h"

#include <pwd.h>
#include <unistd.h>

namespace {

struct Entry {
    QString user, table;
    qint64 record = 0, card = 0;
    QString action, field, before, after;
    bool operator==(const Entry &) const = default;
};

void PrintTo(const Entry &e, std::ostream *os)
{
    *os << QStringList{e.user, e.table, QString::number(e.record), QString::number(e.card), e.action, e.field,
                       e.before, e.after}.join(u'|').toStdString();
}

class ChangeHistoryTest : public EngineFixture {
protected:
    static dao::TableSpec cards()
    {
        return {QStringLiteral("Schede"),
                {{"ID_SCHEDA", dao::dbLong, 0, true}, {"Capo", dao::dbText, 40},
                 {"Attivo", dao::dbBoolean, 0, false, false, {}, dao::Value(false)},
                 {"Scadenza", dao::dbDate, 0, false, false, "Short Date"}}};
    }
    static dao::TableSpec members()
    {
        return {QStringLiteral("Membri"),
                {{"ID_PERSONA", dao::dbLong, 0, true}, {"ID_SCHEDA", dao::dbLong}, {"Nome", dao::dbText, 40}}};
    }

    // Who the storage names: the login of the server's session, or the computer's user.
    static QString expectedUser()
    {
        if (testsupport::onServer())
            return testsupport::pgOfficeRole();
        return QString::fromLocal8Bit(::getpwuid(::geteuid())->pw_name);
    }

    std::shared_ptr<dao::Database> openArchive() { return ws->OpenDatabase(path(), false, false, ";UID=Admin;PWD=;"); }

    static std::vector<Entry> history(dao::Database &db)
    {
        std::vector<Entry> entries;
        auto rs = db.OpenRecordset(QStringLiteral("Select * From [Storia] Order By [ID];"));
        for (; !rs->IsEOF(); rs->MoveNext()) {
            EXPECT_FALSE(rs->field("Quando").value().isNull());
            entries.push_back({rs->field("Utente").value().asText(), rs->field("Tabella").value().asText(),
                               rs->field("ID_record").value().asInt(), rs->field("ID_scheda").value().asInt(),
                               rs->field("Azione").value().asText(), rs->field("Campo").value().asText(),
                               rs->field("Prima").value().asText(), rs->field("Dopo").value().asText()});
        }
        return entries;
    }
};

TEST_F(ChangeHistoryTest, EveryInsertChangeAndDeleteOfCardAndMemberIsRecordedWithWhoAndValues)
{
    const QString me = expectedUser();
    qint64 card = 0, member = 0;
    {
        auto db = ws->CreateDatabase(path(), {});
        db->CreateTable(cards());
        db->CreateTable(members());
        db->TrackChanges("Schede", "ID_SCHEDA");
        db->TrackChanges("Membri", "ID_SCHEDA");
        db->TrackChanges("Membri", "ID_SCHEDA");   // a second call changes nothing
        ASSERT_EQ(db->TrackedTables().size(), 2u);

        auto rs = db->OpenRecordset("Schede");
        rs->AddNew();
        rs->field("Capo").setValue("Rossi");
        rs->field("Attivo").setValue(true);
        rs->field("Scadenza").setValue(dao::Date{double(dao::engineDayOf(QDate(2026, 3, 31)))});
        rs->Update();
        rs->MoveLast();
        card = rs->field("ID_SCHEDA").value().asInt();
        auto ms = db->OpenRecordset("Membri");
        ms->AddNew();
        ms->field("ID_SCHEDA").setValue(card);
        ms->field("Nome").setValue("Maria");
        ms->Update();
        ms->MoveLast();
        member = ms->field("ID_PERSONA").value().asInt();

        // A change rolled back is no change.
        ws->BeginTrans();
        ms->Edit();
        ms->field("Nome").setValue("Marta");
        ms->Update();
        ws->Rollback();
        db->Close();
    }
    // Opened again, the archive goes on recording.
    auto db = openArchive();
    auto rs = db->OpenRecordset("Schede");
    rs->Edit();
    rs->field("Capo").setValue("Rossi Mario");
    rs->field("Attivo").setValue(false);
    rs->Update();
    auto ms = db->OpenRecordset("Membri");
    ms->Delete();
    rs->Delete();

    const QString c = QString::number(card);
    const std::vector<Entry> expected{
        {me, "Schede", card, card, "inserimento", "Capo", "", "Rossi"},
        {me, "Schede", card, card, "inserimento", "Attivo", "", "Sì"},
        {me, "Schede", card, card, "inserimento", "Scadenza", "", "31/03/2026"},
        {me, "Membri", member, card, "inserimento", "ID_SCHEDA", "", c},
        {me, "Membri", member, card, "inserimento", "Nome", "", "Maria"},
        {me, "Schede", card, card, "modifica", "Capo", "Rossi", "Rossi Mario"},
        {me, "Schede", card, card, "modifica", "Attivo", "Sì", "No"},
        {me, "Membri", member, card, "cancellazione", "ID_SCHEDA", c, ""},
        {me, "Membri", member, card, "cancellazione", "Nome", "Maria", ""},
        {me, "Schede", card, card, "cancellazione", "Capo", "Rossi Mario", ""},
        {me, "Schede", card, card, "cancellazione", "Attivo", "No", ""},
        {me, "Schede", card, card, "cancellazione", "Scadenza", "31/03/2026", ""},
    };
    EXPECT_EQ(history(*db), expected);

    // On a file whoever opens the archive may remove old history; the removal is recorded.
    // (On a server only a Responsabile may: the companion's people test covers it.)
    if (!testsupport::onServer()) {
        EXPECT_EQ(dao::ArchivePeople(*db).purgeHistory(QDate(2100, 1, 1)), qint64(expected.size()));
        EXPECT_EQ(history(*db), (std::vector<Entry>{{me, "Storia", 0, 0, "rimozione storia", "Quando", "",
                                                     "prima del 01/01/2100: 12 righe"}}));
    }
    db->Close();
}

} // namespace
