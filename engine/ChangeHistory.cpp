#include "engine/ChangeHistory.h"

#include "engine/Constants.h"

namespace dao {

namespace {

FieldSpec field(const char *name, int type, int size = 0)
{
    FieldSpec f;
    f.name = QString::fromLatin1(name);
    f.type = type;
    f.size = size;
    return f;
}

} // namespace

TableSpec historyTableSpec()
{
    FieldSpec key = field("ID", dbLong);
    key.autoIncrement = true;
    return {QString::fromLatin1(kHistoryTable),
            {key, field("Quando", dbDate), field("Utente", dbText, 64), field("Tabella", dbText, 64),
             field("ID_record", dbLong), field("ID_scheda", dbLong), field("Azione", dbText, 20),
             field("Campo", dbText, 64), field("Prima", dbMemo), field("Dopo", dbMemo)}};
}

TableSpec historyRegistrySpec()
{
    return {QString::fromLatin1(kHistoryRegistry), {field("Tabella", dbText, 64), field("Scheda", dbText, 64)}};
}

HistoryValueKind historyValueKind(const ColumnInfo &column)
{
    switch (column.type) {
    case dbDate:
        return column.format == QLatin1String("Short Date") ? HistoryValueKind::Date : HistoryValueKind::DateTime;
    case dbBoolean:
        return HistoryValueKind::Boolean;
    case dbBinary:
    case dbLongBinary:
    case dbGUID:
        return HistoryValueKind::Bytes;
    default:
        return HistoryValueKind::Text;
    }
}

std::vector<const ColumnInfo *> recordedColumns(const TableInfo &table)
{
    std::vector<const ColumnInfo *> columns;
    for (const ColumnInfo &c : table.columns)
        if (!c.autoIncrement)
            columns.push_back(&c);
    return columns;
}

QString sqlTextLiteral(const QString &text)
{
    return u'\'' + QString(text).replace(u'\'', QStringLiteral("''")) + u'\'';
}

QString historyInsertColumns()
{
    return QStringLiteral("\"Quando\", \"Utente\", \"Tabella\", \"ID_record\", \"ID_scheda\", \"Azione\", \"Campo\", "
                          "\"Prima\", \"Dopo\"");
}

} // namespace dao
