#include "import/AccessMapping.h"

#include "engine/Constants.h"
#include "import/AccessFile.h"
#include "store/Schema.h"

namespace accessdb {

namespace {

// The Access type that carries each field type of the archive.
int accessTypeFor(const dao::FieldSpec &field)
{
    switch (field.type) {
    case dao::dbBoolean: return int(JetType::Boolean);
    case dao::dbInteger: return int(JetType::Integer);
    case dao::dbLong: return int(JetType::Long);
    case dao::dbDate: return int(JetType::DateTime);
    case dao::dbMemo: return int(JetType::Memo);
    default: return int(JetType::Text);
    }
}

QString archiveTypeName(const dao::FieldSpec &field)
{
    if (field.autoIncrement)
        return QStringLiteral("Contatore");
    if (field.type == dao::dbText)
        return QStringLiteral("Testo(%1)").arg(field.size);
    return jetTypeName(accessTypeFor(field));
}

QString accessTypeName(const AccessColumn &column)
{
    if (column.counter)
        return QStringLiteral("Contatore");
    if (column.type == int(JetType::Text))
        return QStringLiteral("Testo(%1)").arg(column.size);
    return jetTypeName(column.type);
}

int findName(const QStringList &names, const QString &name)
{
    for (int i = 0; i < names.size(); ++i)
        if (names[i].compare(name, Qt::CaseInsensitive) == 0)
            return i;
    return -1;
}

} // namespace

AccessMapping mapToArchive(const AccessFile &file)
{
    AccessMapping mapping;
    const QStringList fileTables = file.tables();
    QStringList used;
    for (const dao::TableSpec &archive : schema::archiveTables()) {
        const int at = findName(fileTables, archive.name);
        if (at < 0) {
            mapping.problems << QStringLiteral("manca la tabella %1").arg(archive.name);
            continue;
        }
        used << fileTables[at];
        const AccessTable table = file.table(fileTables[at]);
        MappedTable mapped{archive, table.name, {}, table.nextCounter};
        QStringList columnNames;
        for (const AccessColumn &c : table.columns)
            columnNames << c.name;
        for (const dao::FieldSpec &field : archive.fields) {
            const int column = findName(columnNames, field.name);
            mapped.columns.push_back(column);
            if (column < 0) {
                mapping.problems << QStringLiteral("manca il campo %1.%2").arg(archive.name, field.name);
                continue;
            }
            const AccessColumn &c = table.columns[size_t(column)];
            // A text field may be longer in the file: its values are checked one by one.
            if (c.type != accessTypeFor(field) || c.counter != field.autoIncrement)
                mapping.problems << QStringLiteral("il campo %1.%2 è di tipo %3 invece di %4")
                                        .arg(archive.name, field.name, accessTypeName(c), archiveTypeName(field));
        }
        for (const AccessColumn &c : table.columns) {
            const bool known = std::any_of(archive.fields.begin(), archive.fields.end(), [&](const dao::FieldSpec &f) {
                return f.name.compare(c.name, Qt::CaseInsensitive) == 0;
            });
            if (!known)
                mapping.extras << QStringLiteral("campo %1.%2 (%3)").arg(archive.name, c.name, accessTypeName(c));
        }
        mapping.tables.push_back(std::move(mapped));
    }
    for (const QString &name : fileTables)
        if (!used.contains(name))
            mapping.extras << QStringLiteral("tabella %1").arg(name);
    return mapping;
}

} // namespace accessdb
