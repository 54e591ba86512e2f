#include "engine/sqlite/CopyFigures.h"

#include "engine/sqlite/Sqlite.h"

#include <QFileInfo>
#include <QRegularExpression>

namespace dao::sqlite {

namespace {

qint64 pragmaValue(sqlite3 *handle, const QString &schema, const char *pragma)
{
    Statement st(handle, QStringLiteral("PRAGMA %1.%2").arg(quoteIdentifier(schema), QLatin1String(pragma)));
    return st.step() ? st.int64(0) : 0;
}

} // namespace

CopyFigures CopyFigures::of(sqlite3 *handle, const QString &schema)
{
    static const QRegularExpression withoutRowid(QStringLiteral("WITHOUT\\s+ROWID\\s*$"),
                                                 QRegularExpression::CaseInsensitiveOption);
    const QString quotedSchema = quoteIdentifier(schema);
    CopyFigures figures;
    Statement objects(handle, QStringLiteral("SELECT type, name, coalesce(sql, '') FROM %1.sqlite_master").arg(quotedSchema));
    while (objects.step()) {
        const QString type = objects.raw(0).asText();
        const QString name = objects.raw(1).asText();
        if (type == QLatin1String("index")) {
            figures.m_figures[QStringLiteral("indice %1").arg(name)] = QStringLiteral("presente");
        } else if (name == QLatin1String("sqlite_sequence")) {
            QStringList counters;
            Statement st(handle, QStringLiteral("SELECT name, seq FROM %1.sqlite_sequence ORDER BY name").arg(quotedSchema));
            while (st.step())
                counters << st.raw(0).asText() + QLatin1Char('=') + st.raw(1).asText();
            figures.m_figures[QStringLiteral("contatori delle chiavi")] = counters.join(QLatin1Char(' '));
        } else if (withoutRowid.match(objects.raw(2).asText()).hasMatch()) {
            figures.m_figures[QStringLiteral("tabella %1").arg(name)] = QStringLiteral("presente");
        } else {
            // The last key is at the right edge of the table's tree: a few pages, not the table.
            Statement st(handle, QStringLiteral("SELECT max(rowid) FROM %1.%2").arg(quotedSchema, quoteIdentifier(name)));
            const bool any = st.step() && !st.isNull(0);
            figures.m_figures[QStringLiteral("tabella %1").arg(name)] =
                any ? QStringLiteral("chiave più alta %1").arg(st.int64(0)) : QStringLiteral("vuota");
        }
    }
    figures.m_figures[QStringLiteral("versione del formato")] = QString::number(pragmaValue(handle, schema, "user_version"));
    return figures;
}

QString CopyFigures::differencesIn(const CopyFigures &copy) const
{
    QStringList differences;
    for (const auto &[what, value] : m_figures) {
        const auto found = copy.m_figures.find(what);
        if (found == copy.m_figures.end())
            differences << QStringLiteral("%1: manca nella copia").arg(what);
        else if (found->second != value)
            differences << QStringLiteral("%1: %2 nell'archivio, %3 nella copia").arg(what, value, found->second);
    }
    for (const auto &[what, value] : copy.m_figures)
        if (!m_figures.count(what))
            differences << QStringLiteral("%1: solo nella copia").arg(what);
    return differences.join(QLatin1String("; "));
}

QString pageCountDifference(sqlite3 *handle, const QString &schema, const QString &file)
{
    const qint64 pages = pragmaValue(handle, schema, "page_count");
    const qint64 pageSize = pragmaValue(handle, schema, "page_size");
    const qint64 size = QFileInfo(file).size();
    if (pageSize <= 0 || pages * pageSize != size)
        return QStringLiteral("la copia dichiara %1 pagine da %2 byte, il suo file è di %3 byte")
            .arg(pages)
            .arg(pageSize)
            .arg(size);
    return {};
}

} // namespace dao::sqlite
