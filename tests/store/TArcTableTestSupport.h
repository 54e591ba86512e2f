#pragma once
// Table datasets for tests, set up as the program sets up its seven: the same properties
// and persistent field objects (one per table field in table order, of the matching kind,
// plus the calculated Eta on Nucleo), over an archive made with the program's schema.

#include "db/TDataLink.h"
#include "db/TDataSource.h"
#include "engine/Value.h"
#include "store/TArcDatabase.h"
#include "store/TArcTable.h"

#include <gtest/gtest.h>

#include <QTemporaryDir>
#include <functional>
#include <memory>
#include <vector>

namespace table_test {

// The text of the EDatabaseError an action raises, or "<nothing raised>".
QString messageOf(const std::function<void()> &action);

// A grid's end of a data source: it asks the dataset for a window of rows.
class GridLink final : public TDataLink {};

// Declares the program's persistent fields of table `tableName` on `table`.
void declareFields(TArcTable &table, const QString &tableName);

// The properties the program gives the dataset of `tableName` (all but the master link).
void configureLikeProgram(TArcTable &table, TArcDatabase &db, const QString &tableName);

// The texts a dataset hands the engine, in order ("Sort: ...", "OpenRecordset: ...").
struct EngineLog {
    void attach(TArcTable &table);
    QStringList calls;
    QStringList of(const QString &call) const;
};

// One value of one row of the archive, read past the dataset through an engine of its own.
dao::Value archiveValue(const QString &path, const QString &table, const QString &keyField, qint64 key,
                        const QString &field);
int archiveRowCount(const QString &path, const QString &table, const QString &condition = {});
// Another user's changes: one field of one row written, or the row deleted.
void setArchiveValue(const QString &path, const QString &table, const QString &keyField, qint64 key,
                     const QString &field, const dao::Value &value);
void deleteArchiveRow(const QString &path, const QString &table, const QString &keyField, qint64 key);

// A fresh archive per test with `households` generated cards, and a connection to it.
class TableTest : public ::testing::Test {
protected:
    // With `inMemory` the archive lives on a memory file system where there is one: tests
    // of many writers then measure locking, not the disk's flushes.
    explicit TableTest(int households = 3, bool inMemory = false);
    void SetUp() override;
    void TearDown() override;

    // A dataset of `tableName` configured like the program's, owned by the fixture.
    TArcTable &table(const QString &tableName);
    // The member dataset linked to the card dataset as in the program (ds_anagrafica).
    TArcTable &linkedMembers(TArcTable &cards);
    // The card dataset and its linked member dataset, both open, as the main window has them.
    void openCardsWithMembers(TArcTable *&cards, TArcTable *&members);
    TDataSource &sourceOf(TArcTable &table);

    QString m_path;
    QTemporaryDir m_dir;
    TArcDatabase m_db;
    std::vector<std::unique_ptr<TArcTable>> m_tables;
    std::vector<std::unique_ptr<TDataSource>> m_sources;

private:
    int m_households;
};

} // namespace table_test
