#include "tools/cli/ArchiveComparison.h"

#include "engine/Constants.h"
#include "engine/Database.h"
#include "engine/Recordset.h"
#include "engine/TableInfo.h"

#include <QCryptographicHash>

#include <algorithm>
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

QString describe(const dao::ColumnInfo &c)
{
    return QStringLiteral("%1 tipo %2 dimensione %3%4%5")
        .arg(c.name)
        .arg(c.type)
        .arg(c.size)
        .arg(c.autoIncrement ? QStringLiteral(" contatore") : QString(),
             c.required ? QStringLiteral(" obbligatorio") : QString());
}

class TableComparison {
public:
    TableComparison(Comparison &result, int limit) : m_result(result), m_limit(limit) {}

    void run(dao::Database &expected, dao::Database &actual, const QString &table)
    {
        auto a = expected.OpenRecordset(table, dao::dbOpenSnapshot);
        auto b = actual.OpenRecordset(table, dao::dbOpenSnapshot);
        const auto &columns = a->table().columns;
        if (!sameFields(table, columns, b->table().columns))
            return;
        // The next key each copy hands out.
        if (std::any_of(columns.begin(), columns.end(), [](const dao::ColumnInfo &c) { return c.autoIncrement; })) {
            const qint64 want = expected.KeyCounter(table);
            const qint64 got = actual.KeyCounter(table);
            if (want != got)
                note(QStringLiteral("Tabella %1: il contatore della chiave è a %2 invece di %3.").arg(table).arg(got).arg(want));
        }
        if (a->RecordCount() != b->RecordCount()) {
            note(QStringLiteral("Tabella %1: %2 righe invece di %3.").arg(table).arg(b->RecordCount()).arg(a->RecordCount()));
            return;
        }
        for (int row = 1; !a->IsEOF() && !full(); ++row, a->MoveNext(), b->MoveNext()) {
            for (int i = 0; i < int(columns.size()); ++i) {
                const dao::Value want = a->field(columns[size_t(i)].name).value();
                const dao::Value got = b->field(columns[size_t(i)].name).value();
                if (!(want == got))
                    note(QStringLiteral("Tabella %1, riga %2, campo %3: %4 invece di %5.")
                             .arg(table)
                             .arg(row)
                             .arg(columns[size_t(i)].name, shown(got), shown(want)));
            }
            ++m_result.rows;
        }
    }

private:
    bool sameFields(const QString &table, const std::vector<dao::ColumnInfo> &want,
                    const std::vector<dao::ColumnInfo> &got)
    {
        bool same = want.size() == got.size();
        for (size_t i = 0; same && i < want.size(); ++i)
            same = describe(want[i]) == describe(got[i]);
        if (!same) {
            QStringList a, b;
            for (const auto &c : want)
                a << describe(c);
            for (const auto &c : got)
                b << describe(c);
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

Comparison compareArchives(dao::Database &expected, dao::Database &actual, int limit)
{
    Comparison result;
    const QStringList tables = userTables(expected);
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
    for (const dao::QueryDefInfo &q : expected.QueryDefs())
        queries << q.name + QLatin1Char('=') + q.sql;
    for (const dao::QueryDefInfo &q : actual.QueryDefs())
        actualQueries << q.name + QLatin1Char('=') + q.sql;
    if (queries != actualQueries && result.differences.size() < limit)
        result.differences << QStringLiteral("Le interrogazioni salvate sono diverse.");
    return result;
}

} // namespace cli
