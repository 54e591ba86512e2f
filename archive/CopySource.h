#pragma once
// Where a whole-archive copy takes its tables and rows from: an open archive of the engine,
// or a file of another format read into the archive's tables. The copy and the check of the
// finished copy read the source through this alone.

#include "engine/Database.h"
#include "engine/TableSpec.h"

#include <QString>
#include <QStringList>
#include <functional>
#include <memory>
#include <vector>

namespace dao {
struct ColumnInfo;
}

namespace cli {

class CopySource {
public:
    virtual ~CopySource() = default;
    // The tables to copy, in order.
    virtual QStringList tables() = 0;
    virtual dao::TableSpec definition(const QString &table) = 0;
    // The last key the table's counter handed out.
    virtual qint64 keyCounter(const QString &table) = 0;
    // Every row in the table's order, values in the definition's field order; stops when
    // `row` returns false.
    virtual void readRows(const QString &table, const std::function<bool(const std::vector<dao::Value> &)> &row) = 0;
    virtual QList<dao::QueryDefInfo> queries() = 0;
    // The tables whose changes the source records; a file of another format records none.
    virtual std::vector<dao::TrackedTable> trackedTables() { return {}; }
};

// An archive opened through the engine.
class EngineSource final : public CopySource {
public:
    explicit EngineSource(std::shared_ptr<dao::Database> db) : m_db(std::move(db)) {}
    QStringList tables() override;
    dao::TableSpec definition(const QString &table) override;
    qint64 keyCounter(const QString &table) override;
    void readRows(const QString &table, const std::function<bool(const std::vector<dao::Value> &)> &row) override;
    QList<dao::QueryDefInfo> queries() override;
    std::vector<dao::TrackedTable> trackedTables() override { return m_db->TrackedTables(); }
    dao::Database &db() { return *m_db; }

private:
    std::shared_ptr<dao::Database> m_db;
};

// The definition a created table gets from a column the engine reports.
dao::FieldSpec fieldSpecOf(const dao::ColumnInfo &column);
bool hasCounter(const dao::TableSpec &table);

} // namespace cli
