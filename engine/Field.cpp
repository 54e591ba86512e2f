#include "engine/Field.h"

#include "engine/Constants.h"
#include "engine/Recordset.h"
#include "engine/TableInfo.h"

namespace dao {

const ColumnInfo &Field::column() const
{
    return m_owner->table().columns.at(size_t(m_index));
}

QString Field::Name() const { return column().name; }
int Field::Type() const { return column().type; }
int Field::Size() const { return column().size; }
int Field::Attributes() const { return column().attributes(m_owner->Updatable()); }
QString Field::DefaultValue() const { return column().defaultText(); }
bool Field::Required() const { return column().required; }

std::optional<QString> Field::Property(const QString &name) const
{
    if (name.compare(QLatin1String("Format"), Qt::CaseInsensitive) == 0 && !column().format.isEmpty())
        return column().format;
    return std::nullopt;
}

Value Field::value() const
{
    return m_owner->currentValue(m_index);
}

void Field::setValue(const Value &value)
{
    m_owner->setEditValue(m_index, value);
}

qint64 Field::FieldSize() const
{
    const Value v = value();
    if (v.isNull())
        return 0;
    return v.isBytes() ? v.asBytes().size() : v.asText().size();
}

} // namespace dao
