#include "archive/ArchiveComparison.h"

#include "archive/CopySource.h"
#include "engine/Constants.h"
#include "engine/Database.h"
#include "engine/Recordset.h"
#include "engine/TableInfo.h"

#include <QCryptographicHash>

#include <memory>

namespace cli {

namespace {

QString shown(const dao::Value &value)
{
    if (value.isNull())
        return QStringLiteral("(vuoto)");
    if (value.isBytes())
        return QStringLiteral("%1 byte [%2]")
            .arg(value.asBytes().size())
            .arg(QString::fromLatin1(QCryptographicHash::hash(value.asBytes(), QCryptographicHash::Sha1).toHex().left(8)));
    return QStringLiteral("\"%1\"").arg(value.asText());
}

// A fixed-size type's size follows from the type: a definition to create may leave it 0.
QString describe(const dao::FieldSpec &c)
{
    const bool sized = c.type == dao::dbText || c.type == dao::dbChar;
    return QStringLiteral("%1 tipo %2%3%4%5")
        .arg(c.name)
        .arg(c.type)
        .arg(sized ? QStringLiteral(" dimensione %1").arg(c.size) : QString())
        .arg(c.autoIncrement ? QStringLiteral(" contatore") : QString(),
             c.required ? QStringLiteral(" obbligatorio") : QString());
}

class TableComparison {
public:
    TableComparison(Comparison &result, int limit) : m_result(result), m_limit(limit) {}

    void run(CopySource &expected, dao::Database &actual, const QString &table)
    {
        const dao::TableSpec definition = expected.definition(table);
        auto b = actual.OpenRecordset(table, dao::dbOpenSnapshot);
        const auto &columns = b->table().columns;
        if (!sameFields(table, definition.fields, columns))
            return;
        // The next key each copy hands out.
        if (hasCounter(definition)) {
            const qint64 want = expected.keyCounter(table);
            const qint64 got = actual.KeyCounter(table);
            if (want != got)
                note(QStringLiteral("Tabella %1: il contatore della chiave è a %2 invece di %3.").arg(table).arg(got).arg(want));
        }
        qint64 want = 0;
        const qint64 before = m_result.rows;
        expected.readRows(table, [&](const std::vector<dao::Value> &row) {
            ++want;
            if (b->IsEOF() || full())
                return !full();
            for (size_t i = 0; i < columns.size(); ++i) {
                const dao::Value got = b->field(int(i)).value();
                if (!(row[i] == got))
                    note(QStringLiteral("Tabella %1, riga %2, campo %3: %4 invece di %5.")
                             .arg(table)
                             .arg(want)
                             .arg(columns[i].name, shown(got), shown(row[i])));
            }
            ++m_result.rows;
            b->MoveNext();
            return true;
        });
        const qint64 got = b->RecordCount();
        if (!full() && want != got)
            note(QStringLiteral("Tabella %1: %2 righe invece di %3.").arg(table).arg(got).arg(want));
        m_result.perTable.push_back({table, m_result.rows - before});
    }

private:
    bool sameFields(const QString &table, const std::vector<dao::FieldSpec> &want,
                    const std::vector<dao::ColumnInfo> &got)
    {
        bool same = want.size() == got.size();
        for (size_t i = 0; same && i < want.size(); ++i)
            same = describe(want[i]) == describe(fieldSpecOf(got[i]));
        if (!same) {
            QStringList a, b;
            for (const auto &c : want)
                a << describe(c);
            for (const auto &c : got)
                b << describe(fieldSpecOf(c));
            note(QStringLiteral("Tabella %1: campi diversi (%2) invece di (%3).").arg(table, b.join(QLatin1String(", ")),
                                                                                       a.join(QLatin1String(", "))));
        }
        return same;
    }

    bool full() const { return m_result.differences.size() >= m_limit; }
    void note(const QString &difference)
    {
        if (!full())
            m_result.differences << difference;
    }

    Comparison &m_result;
    int m_limit;
};

} // namespace

QStringList userTables(dao::Database &db)
{
    QStringList names;
    for (const dao::TableDefInfo &def : db.TableDefs()) {
        if ((def.attributes & dao::dbSystemObject) == 0)
            names << def.name;
    }
    return names;
}

Comparison compareWithSource(CopySource &expected, dao::Database &actual, int limit)
{
    Comparison result;
    const QStringList tables = expected.tables();
    const QStringList actualTables = userTables(actual);
    if (tables != actualTables) {
        result.differences << QStringLiteral("Tabelle diverse: %1 invece di %2.")
                                  .arg(actualTables.join(QLatin1String(", ")), tables.join(QLatin1String(", ")));
        return result;
    }
    TableComparison comparison(result, limit);
    for (const QString &table : tables) {
        comparison.run(expected, actual, table);
        ++result.tables;
    }
    QStringList queries, actualQueries;
    for (const dao::QueryDefInfo &q : expected.queries())
        queries << q.name + QLatin1Char('=') + q.sql;
    for (const dao::QueryDefInfo &q : actual.QueryDefs())
        actualQueries << q.name + QLatin1Char('=') + q.sql;
    if (queries != actualQueries && result.differences.size() < limit)
        result.differences << QStringLiteral("Le interrogazioni salvate sono diverse.");
    return result;
}

Comparison compareArchives(dao::Database &expected, dao::Database &actual, int limit)
{
    // The source is borrowed for the comparison alone.
    EngineSource source(std::shared_ptr<dao::Database>(&expected, [](dao::Database *) {}));
    return compareWithSource(source, actual, limit);
}

} // namespace cli
