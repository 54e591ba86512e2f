// Master and detail (cards and their members), locate and lookup.

#include "TArcTableTestSupport.h"

#include "db/DatabaseError.h"
#include "db/TField.h"
#include "engine/Database.h"
#include "engine/EngineError.h"
#include "engine/Field.h"
#include "engine/Recordset.h"

#include <functional>

namespace {

using table_test::EngineLog;
using table_test::GridLink;
using table_test::TableTest;
using table_test::messageOf;

QString memberSql(qint64 card)
{
    return QStringLiteral("Select * From [Nucleo] Where ([ID_SCHEDA]  = %1) Order By [ID_PERSONA] ASC ;").arg(card);
}

class TArcTableMaster : public TableTest {
protected:
    TArcTableMaster() : TableTest(20) {}

    void SetUp() override
    {
        TableTest::SetUp();
        openCardsWithMembers(m_cards, m_members);
        m_log.attach(*m_members);
    }

    qint64 cardId() const { return m_cards->fieldByName(QStringLiteral("ID_SCHEDA"))->asInteger(); }
    qint64 archiveValueOfFirstMember(qint64 card) const
    {
        auto rs = m_db.database()->OpenRecordset(
            QStringLiteral("Select * From [Nucleo] Where ([ID_SCHEDA]  = %1) Order By [ID_PERSONA] ASC ;").arg(card));
        return rs->field(QStringLiteral("ID_PERSONA")).value().asInt();
    }
    int memberRowsOf(qint64 card) const
    {
        return table_test::archiveRowCount(m_path, QStringLiteral("Nucleo"), QStringLiteral("[ID_SCHEDA] = %1").arg(card));
    }

    TArcTable *m_cards = nullptr;
    TArcTable *m_members = nullptr;
    EngineLog m_log;
};

TEST_F(TArcTableMaster, MembersAreReadAgainWhenTheCardChanges)
{
    m_cards->moveBy(16);
    ASSERT_EQ(cardId(), 17);
    EXPECT_EQ(m_members->lastSql(), memberSql(17));
    m_cards->next();
    m_cards->prior();
    EXPECT_EQ(m_log.of(QStringLiteral("OpenRecordset")).mid(m_log.of(QStringLiteral("OpenRecordset")).size() - 2),
              (QStringList{memberSql(18), memberSql(17)}));
    EXPECT_EQ(m_members->recordCount(), memberRowsOf(17));
}

// A printed list walks every card inside one batch of reads and reads each card's members.
// Each card shows its own members exactly as card-by-card moves outside a batch show them,
// another desk's changes made between two walks are seen, and so is a member this desk adds
// in the middle of a walk; the members keep one recordset through the walk.
TEST_F(TArcTableMaster, AWalkInOneBatchShowsEachCardsMembersAsItIsNow)
{
    const auto walk = [&](const std::function<void(qint64)> &atCard = {}) {
        QStringList seen;
        const TDataSet::ReadBatch reads(m_cards);
        for (m_cards->first(); !m_cards->eof(); m_cards->next()) {
            if (atCard)
                atCard(cardId());
            QStringList names;
            for (m_members->first(); !m_members->eof(); m_members->next())
                names << m_members->fieldByName(QStringLiteral("Nome"))->asString();
            seen << QStringLiteral("%1: %2").arg(cardId()).arg(names.join(QLatin1Char(',')));
        }
        return seen;
    };
    QStringList oneByOne;
    for (m_cards->first(); !m_cards->eof(); m_cards->next()) {
        QStringList names;
        for (m_members->first(); !m_members->eof(); m_members->next())
            names << m_members->fieldByName(QStringLiteral("Nome"))->asString();
        oneByOne << QStringLiteral("%1: %2").arg(cardId()).arg(names.join(QLatin1Char(',')));
    }
    ASSERT_EQ(oneByOne.size(), 20);
    ASSERT_GT(memberRowsOf(3), 0);
    const dao::Recordset *recordset = m_members->EngineRecordset();
    EXPECT_EQ(walk(), oneByOne);
    EXPECT_EQ(m_members->EngineRecordset(), recordset);

    // Another desk renames the first member of card 3 and deletes the members of card 5.
    const qint64 person = archiveValueOfFirstMember(3);
    table_test::setArchiveValue(m_path, QStringLiteral("Nucleo"), QStringLiteral("ID_PERSONA"), person,
                                QStringLiteral("Nome"), dao::Value(QStringLiteral("Cambiato")));
    while (memberRowsOf(5) > 0)
        table_test::deleteArchiveRow(m_path, QStringLiteral("Nucleo"), QStringLiteral("ID_PERSONA"),
                                     archiveValueOfFirstMember(5));
    // At card 8 this desk adds a member to card 9, whose members are read next.
    const QStringList changed = walk([&](qint64 card) {
        if (card != 8)
            return;
        auto added = m_db.database()->OpenRecordset(QStringLiteral("Nucleo"));
        added->AddNew();
        added->field(QStringLiteral("ID_SCHEDA")).setValue(9);
        added->field(QStringLiteral("Nome")).setValue(QStringLiteral("Mio"));
        added->Update();
    });
    ASSERT_EQ(changed.size(), 20);
    EXPECT_TRUE(changed[2].startsWith(QStringLiteral("3: Cambiato"))) << changed[2].toStdString();
    EXPECT_EQ(changed[4], QStringLiteral("5: "));
    EXPECT_TRUE(changed[8].endsWith(QStringLiteral(",Mio")) || changed[8] == QStringLiteral("9: Mio"))
        << changed[8].toStdString();
    EXPECT_EQ(changed[10], oneByOne[10]);
}

TEST_F(TArcTableMaster, NewMemberHoldsTheCardKeyBeforeAnyInput)
{
    m_cards->moveBy(16);
    const int before = m_members->recordCount();
    m_members->insert();
    EXPECT_EQ(m_members->fieldByName(QStringLiteral("ID_SCHEDA"))->asInteger(), 17);
    EXPECT_TRUE(m_members->fieldByName(QStringLiteral("ID_PERSONA"))->isNull());
    m_members->fieldByName(QStringLiteral("Nome"))->setAsString(QStringLiteral("Nuovo Membro"));
    m_members->post();
    EXPECT_FALSE(m_members->fieldByName(QStringLiteral("ID_PERSONA"))->isNull());
    EXPECT_EQ(m_members->fieldByName(QStringLiteral("Nome"))->asString(), QStringLiteral("Nuovo Membro"));
    EXPECT_EQ(memberRowsOf(17), before + 1);
    EXPECT_EQ(m_members->recordCount(), before + 1);
}

TEST_F(TArcTableMaster, CardBeingInsertedHasNoMembers)
{
    m_cards->insert();
    EXPECT_EQ(m_members->lastSql(),
              QStringLiteral("Select * From [Nucleo] Where ([ID_SCHEDA] IS NULL) Order By [ID_PERSONA] ASC ;"));
    EXPECT_TRUE(m_members->isEmpty());
    m_cards->cancel();
}

TEST_F(TArcTableMaster, EditingACardDoesNotRequeryPostingDoes)
{
    m_cards->moveBy(2);
    const int opens = m_log.of(QStringLiteral("OpenRecordset")).size();
    m_cards->edit();
    m_cards->fieldByName(QStringLiteral("Capofamiglia"))->setAsString(QStringLiteral("Modificato"));
    EXPECT_EQ(m_log.of(QStringLiteral("OpenRecordset")).size(), opens);
    m_cards->post();
    EXPECT_EQ(m_log.of(QStringLiteral("OpenRecordset")).size(), opens + 1);
    EXPECT_EQ(m_members->lastSql(), memberSql(3));
}

TEST_F(TArcTableMaster, PostingANewCardGivesItsMembersTheNewKey)
{
    m_cards->insert();
    m_cards->fieldByName(QStringLiteral("Capofamiglia"))->setAsString(QStringLiteral("Famiglia Nuova"));
    m_cards->post();   // as entering the member grid does
    EXPECT_EQ(cardId(), 21);
    EXPECT_EQ(m_members->lastSql(), memberSql(21));
    m_members->insert();
    EXPECT_EQ(m_members->fieldByName(QStringLiteral("ID_SCHEDA"))->asInteger(), 21);
    m_members->fieldByName(QStringLiteral("Nome"))->setAsString(QStringLiteral("Primo"));
    m_members->post();
    EXPECT_EQ(memberRowsOf(21), 1);
}

TEST_F(TArcTableMaster, TextMasterValueDoublesItsQuotes)
{
    const QString head = QStringLiteral("Rossi \"Il Faro\" Mario");
    m_cards->edit();
    m_cards->fieldByName(QStringLiteral("Capofamiglia"))->setAsString(head);
    m_cards->post();
    table_test::setArchiveValue(m_path, QStringLiteral("Nucleo"), QStringLiteral("ID_PERSONA"), 1, QStringLiteral("Nome"),
                                dao::Value(head));

    TArcTable &namesakes = table(QStringLiteral("Nucleo"));
    namesakes.setName(QStringLiteral("Omonimi"));
    namesakes.SortedByList().clear();
    namesakes.setMasterSource(&sourceOf(*m_cards));
    namesakes.setMasterFields({QStringLiteral("Nome -> Capofamiglia")});
    namesakes.open();
    EXPECT_EQ(namesakes.lastSql(),
              QStringLiteral("Select * From [Nucleo] Where ([Nome]  = \"Rossi \"\"Il Faro\"\" Mario\");"));
    ASSERT_EQ(namesakes.recordCount(), 1);
    EXPECT_EQ(namesakes.fieldByName(QStringLiteral("Nome"))->asString(), head);
}

TEST_F(TArcTableMaster, TextFilterJoinsTheMasterCondition)
{
    TArcTable &members = *m_members;
    members.setFilter(QStringLiteral("[Ruolo] IS NOT NULL"));
    members.setFiltered(true);
    EXPECT_EQ(members.lastSql(), QStringLiteral("Select * From [Nucleo] Where (([ID_SCHEDA]  = 1)) AND ([Ruolo] IS NOT NULL) "
                                                "Order By [ID_PERSONA] ASC ;"));
}

TEST_F(TArcTableMaster, CircularLinksAreRefused)
{
    EXPECT_EQ(messageOf([&] { m_cards->setMasterSource(&sourceOf(*m_members)); }),
              QStringLiteral("Circular links not allowed!"));
    EXPECT_EQ(m_cards->MasterSource(), nullptr);
    EXPECT_EQ(messageOf([&] { m_cards->setMasterSource(&sourceOf(*m_cards)); }),
              QStringLiteral("Circular links not allowed!"));
}

// ---- locate and lookup ----

class TArcTableLocate : public TableTest {
protected:
    void SetUp() override
    {
        TableTest::SetUp();
        m_bands = &table(QStringLiteral("Fascia"));
        m_bands->open();
        m_log.attach(*m_bands);
    }
    QString band() const { return m_bands->fieldByName(QStringLiteral("Fascia"))->asString(); }
    void addBand(const QString &name, int order)
    {
        m_bands->append();
        m_bands->fieldByName(QStringLiteral("Fascia"))->setAsString(name);
        m_bands->fieldByName(QStringLiteral("Ordine"))->setAsInteger(order);
        m_bands->post();
        m_bands->first();
    }

    TArcTable *m_bands = nullptr;
    EngineLog m_log;
};

TEST_F(TArcTableLocate, FindsByKeyAndMovesThere)
{
    m_bands->last();
    const QString lastBand = band();
    m_bands->first();
    ASSERT_NE(band(), lastBand);
    EXPECT_TRUE(m_bands->locate(QStringLiteral("Fascia"), {lastBand}, 0));
    EXPECT_EQ(band(), lastBand);
    EXPECT_EQ(m_log.of(QStringLiteral("FindFirst")), QStringList{QStringLiteral("([Fascia]  = \"%1\")").arg(lastBand)});
    EXPECT_EQ(m_bands->recNo(), m_bands->recordCount());
}

TEST_F(TArcTableLocate, PartialKeyIgnoringCase)
{
    addBand(QStringLiteral("Zeta*Uno"), 90);
    EXPECT_TRUE(m_bands->locate(QStringLiteral("Fascia"), {QStringLiteral("zeta*")},
                                int(TLocateOption::loCaseInsensitive) | int(TLocateOption::loPartialKey)));
    EXPECT_EQ(band(), QStringLiteral("Zeta*Uno"));
    EXPECT_EQ(m_bands->lastFindText(), QStringLiteral("([Fascia]  LIKE LCASE(\"zeta[*]*\"))"));
}

TEST_F(TArcTableLocate, TypedDoubleQuotesAreDoubled)
{
    addBand(QStringLiteral("A\"B"), 91);
    EXPECT_TRUE(m_bands->locate(QStringLiteral("Fascia"), {QStringLiteral("A\"B")}, 0));
    EXPECT_EQ(band(), QStringLiteral("A\"B"));
    EXPECT_EQ(m_bands->lastFindText(), QStringLiteral("([Fascia]  = \"A\"\"B\")"));

    m_bands->first();
    EXPECT_TRUE(m_bands->locate(QStringLiteral("Fascia"), {QStringLiteral("a\"")},
                                int(TLocateOption::loCaseInsensitive) | int(TLocateOption::loPartialKey)));
    EXPECT_EQ(band(), QStringLiteral("A\"B"));

    // Typed text that would close the literal and add a condition finds nothing.
    m_bands->first();
    const QString first = band();
    EXPECT_FALSE(m_bands->locate(QStringLiteral("Fascia"), {QStringLiteral("x\" OR \"1\"=\"1")}, 0));
    EXPECT_EQ(band(), first);
}

TEST_F(TArcTableLocate, NumericKeysAndMisses)
{
    EXPECT_TRUE(m_bands->locate(QStringLiteral("Ordine"), {3}, 0));
    EXPECT_EQ(m_bands->fieldByName(QStringLiteral("Ordine"))->asInteger(), 3);
    EXPECT_EQ(m_bands->lastFindText(), QStringLiteral("([Ordine]  = 3)"));
    EXPECT_FALSE(m_bands->locate(QStringLiteral("Fascia"), {QStringLiteral("Inesistente")}, 0));
    EXPECT_EQ(m_bands->fieldByName(QStringLiteral("Ordine"))->asInteger(), 3);
    EXPECT_EQ(messageOf([&] { m_bands->locate(QStringLiteral("Fascia;Ordine"), {QStringLiteral("x")}, 0); }),
              QStringLiteral("Number of elements in the KeyValues array must be equal to the number of fields."));
}

} // namespace
