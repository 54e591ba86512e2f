// Editing, inserting, posting, cancelling and deleting, and the memo streams.

#include "TArcTableTestSupport.h"

#include "db/DatabaseError.h"
#include "db/TField.h"
#include "engine/EngineError.h"

#include <functional>

namespace {

using table_test::GridLink;
using table_test::TableTest;
using table_test::messageOf;

class TArcTableEdit : public TableTest {
protected:
    TArcTableEdit() : TableTest(6) {}

    void SetUp() override
    {
        TableTest::SetUp();
        m_cards = &table(QStringLiteral("Anagrafica"));
        m_cards->open();
    }

    TField &field(const char *name) const { return *m_cards->fieldByName(QString::fromLatin1(name)); }
    qint64 cardId() const { return field("ID_SCHEDA").asInteger(); }
    dao::Value stored(qint64 card, const char *name) const
    {
        return table_test::archiveValue(m_path, QStringLiteral("Anagrafica"), QStringLiteral("ID_SCHEDA"), card,
                                        QString::fromLatin1(name));
    }

    TArcTable *m_cards = nullptr;
};

TEST_F(TArcTableEdit, PostedInsertReturnsItsKeyAndStaysOnIt)
{
    m_cards->moveBy(2);
    m_cards->insert();
    EXPECT_TRUE(field("ID_SCHEDA").isNull());
    field("Capofamiglia").setAsString(QStringLiteral("Bianchi Anna"));
    m_cards->post();
    EXPECT_EQ(m_cards->state(), TDataSetState::dsBrowse);
    EXPECT_EQ(cardId(), 7);
    EXPECT_EQ(field("Capofamiglia").asString(), QStringLiteral("Bianchi Anna"));
    EXPECT_EQ(m_cards->recordCount(), 7);
    EXPECT_EQ(stored(7, "Capofamiglia").asText(), QStringLiteral("Bianchi Anna"));
    // The added card stands where the recordset puts added records: at its end.
    m_cards->next();
    EXPECT_TRUE(m_cards->eof());
}

TEST_F(TArcTableEdit, EmptyTextStoresNull)
{
    m_cards->edit();
    field("Citta").setAsString(QString());
    field("Note").setAsString(QString());
    m_cards->post();
    EXPECT_TRUE(stored(1, "Citta").isNull());
    EXPECT_TRUE(stored(1, "Note").isNull());
    EXPECT_TRUE(field("Citta").isNull());
}

TEST_F(TArcTableEdit, ValuesGoBackWithTheirTypes)
{
    m_cards->edit();
    field("Scad_ISEE").setAsString(QStringLiteral("31/12/2025"));
    field("G4").setAsBoolean(true);
    field("Figli_in_patria").setAsString(QStringLiteral("2"));
    m_cards->post();
    EXPECT_EQ(stored(1, "Scad_ISEE").asDouble(), QDate(1899, 12, 30).daysTo(QDate(2025, 12, 31)));
    EXPECT_TRUE(stored(1, "G4").asBool());
    EXPECT_EQ(field("Scad_ISEE").asString(), QStringLiteral("31/12/2025"));
    EXPECT_EQ(field("G4").asString(), QStringLiteral("True"));
}

TEST_F(TArcTableEdit, FailedPostKeepsTheUsersValuesAndASecondPostWorks)
{
    const QString band = stored(1, "Fascia").asText();
    m_cards->edit();
    field("Capofamiglia").setAsString(QStringLiteral("Verdi Luca"));
    field("Fascia").setAsString(QStringLiteral("troppo lunga per il campo"));
    try {
        m_cards->post();
        FAIL() << "the engine took a text longer than its field";
    } catch (const dao::EngineError &error) {
        EXPECT_NE(error.number(), 0);
    }
    EXPECT_EQ(m_cards->state(), TDataSetState::dsEdit);
    EXPECT_EQ(field("Capofamiglia").asString(), QStringLiteral("Verdi Luca"));
    EXPECT_EQ(field("Fascia").asString(), QStringLiteral("troppo lunga per il campo"));
    EXPECT_EQ(stored(1, "Fascia").asText(), band);

    field("Fascia").setAsString(QStringLiteral("Media"));
    m_cards->post();
    EXPECT_EQ(stored(1, "Fascia").asText(), QStringLiteral("Media"));
    EXPECT_EQ(stored(1, "Capofamiglia").asText(), QStringLiteral("Verdi Luca"));
}

TEST_F(TArcTableEdit, MemoReadDuringInsertGivesWhatWasWrittenOrTheDefault)
{
    field("Ascolto").setDefaultExpression(QStringLiteral("\"da ascoltare\""));
    m_cards->close();
    m_cards->open();
    m_cards->insert();
    EXPECT_EQ(field("Ascolto").asString(), QStringLiteral("da ascoltare"));
    EXPECT_EQ(field("Note").asString(), QString());
    field("Note").setAsString(QStringLiteral("scritta adesso"));
    EXPECT_EQ(field("Note").asString(), QStringLiteral("scritta adesso"));
    m_cards->post();
    EXPECT_EQ(stored(7, "Note").asText(), QStringLiteral("scritta adesso"));
    EXPECT_EQ(field("Note").asString(), QStringLiteral("scritta adesso"));
}

TEST_F(TArcTableEdit, MemoReadDuringEditGivesTheStoredTextUntilPosted)
{
    const QString before = stored(1, "Nucleo").asText();
    m_cards->edit();
    field("Nucleo").setAsString(QStringLiteral("Rossi Mario - Capofamiglia\r"));
    EXPECT_EQ(field("Nucleo").asString(), before);
    m_cards->post();
    EXPECT_EQ(stored(1, "Nucleo").asText(), QStringLiteral("Rossi Mario - Capofamiglia\r"));
    EXPECT_EQ(field("Nucleo").asString(), QStringLiteral("Rossi Mario - Capofamiglia\r"));
}

TEST_F(TArcTableEdit, BeforePostRewritingAMemoIsPosted)
{
    m_cards->BeforePost = [](TDataSet &ds) {
        ds.fieldByName(QStringLiteral("Nucleo"))->setAsString(QStringLiteral("riassunto nuovo"));
    };
    m_cards->edit();
    field("Email").setAsString(QStringLiteral("a@b.it"));
    m_cards->post();
    EXPECT_EQ(stored(1, "Nucleo").asText(), QStringLiteral("riassunto nuovo"));
    EXPECT_EQ(stored(1, "Email").asText(), QStringLiteral("a@b.it"));
}

TEST_F(TArcTableEdit, SilentAbortInBeforePostChangesNothing)
{
    m_cards->BeforePost = [](TDataSet &) { throw EAbort(); };
    m_cards->edit();
    field("Capofamiglia").setAsString(QStringLiteral("Non salvato"));
    EXPECT_THROW(m_cards->post(), EAbort);
    EXPECT_EQ(m_cards->state(), TDataSetState::dsEdit);
    EXPECT_EQ(field("Capofamiglia").asString(), QStringLiteral("Non salvato"));
    EXPECT_NE(stored(1, "Capofamiglia").asText(), QStringLiteral("Non salvato"));
    m_cards->BeforePost = nullptr;
    m_cards->post();
    EXPECT_EQ(stored(1, "Capofamiglia").asText(), QStringLiteral("Non salvato"));
}

TEST_F(TArcTableEdit, SilentAbortInBeforeDeleteChangesNothing)
{
    m_cards->BeforeDelete = [](TDataSet &) { throw EAbort(); };
    m_cards->moveBy(2);
    EXPECT_EQ(m_cards->recordCount(), 6);
    EXPECT_THROW(m_cards->deleteRecord(), EAbort);
    EXPECT_EQ(cardId(), 3);
    EXPECT_EQ(m_cards->state(), TDataSetState::dsBrowse);
    EXPECT_EQ(m_cards->recordCount(), 6);
    EXPECT_EQ(table_test::archiveRowCount(m_path, QStringLiteral("Anagrafica")), 6);
}

TEST_F(TArcTableEdit, DeleteMovesToTheNextRecord)
{
    m_cards->moveBy(2);
    m_cards->deleteRecord();
    EXPECT_EQ(cardId(), 4);
    EXPECT_EQ(m_cards->recordCount(), 5);
    EXPECT_TRUE(stored(3, "ID_SCHEDA").isNull());
    m_cards->last();
    m_cards->deleteRecord();
    EXPECT_EQ(cardId(), 5);
    EXPECT_EQ(m_cards->recordCount(), 4);
}

TEST_F(TArcTableEdit, DeletingARecordAlreadyDeletedElsewhereRefreshesQuietly)
{
    m_cards->moveBy(3);
    table_test::deleteArchiveRow(m_path, QStringLiteral("Anagrafica"), QStringLiteral("ID_SCHEDA"), 4);
    EXPECT_NO_THROW(m_cards->deleteRecord());
    EXPECT_EQ(m_cards->state(), TDataSetState::dsBrowse);
    EXPECT_EQ(cardId(), 5);
    EXPECT_EQ(m_cards->recordCount(), 5);
    QList<qint64> ids;
    for (m_cards->first(); !m_cards->eof(); m_cards->next())
        ids << cardId();
    EXPECT_EQ(ids, (QList<qint64>{1, 2, 3, 5, 6}));
}

TEST_F(TArcTableEdit, ReadOnlyTablesRefuseWrites)
{
    m_cards->setReadOnly(true);
    EXPECT_EQ(messageOf([&] { m_cards->edit(); }), QStringLiteral("Cannot modify a read-only dataset"));
    EXPECT_EQ(messageOf([&] { m_cards->createBlobStream(&field("Note"), TBlobStreamMode::bmWrite); }),
              QStringLiteral("Cannot write to ReadOnly table!"));
    EXPECT_EQ(messageOf([&] { m_cards->post(); }), QStringLiteral("Dataset not in edit or insert mode"));
}

TEST_F(TArcTableEdit, NoRowsAreFetchedDuringAnEdit)
{
    m_cards->moveBy(1);
    m_cards->edit();
    field("Citta").setAsString(QStringLiteral("Altrove"));
    GridLink grid;
    grid.setDataSource(&sourceOf(*m_cards));
    grid.setBufferCount(4);
    EXPECT_EQ(m_cards->state(), TDataSetState::dsEdit);
    EXPECT_EQ(m_cards->bufferedRecordCount(), 1);
    EXPECT_EQ(field("Citta").asString(), QStringLiteral("Altrove"));
    m_cards->post();
    EXPECT_EQ(m_cards->bufferedRecordCount(), 4);
    EXPECT_EQ(cardId(), 2);
    EXPECT_EQ(stored(2, "Citta").asText(), QStringLiteral("Altrove"));
}

TEST_F(TArcTableEdit, BlobStreamsWriteAtTheirPosition)
{
    m_cards->edit();
    {
        std::unique_ptr<QIODevice> stream = m_cards->createBlobStream(&field("Note"), TBlobStreamMode::bmWrite);
        stream->write("abcdef");
        stream->seek(3);
        stream->write("XY");
        EXPECT_EQ(stream->size(), 5);
    }
    field("Capofamiglia").setAsString(QStringLiteral("Con flusso"));
    m_cards->post();
    EXPECT_EQ(stored(1, "Note").asText(), QStringLiteral("abcXY"));
    std::unique_ptr<QIODevice> reader = m_cards->createBlobStream(&field("Note"), TBlobStreamMode::bmRead);
    reader->seek(2);
    EXPECT_EQ(reader->readAll(), QByteArray("cXY"));
}

} // namespace
