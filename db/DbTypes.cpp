#include "db/DbTypes.h"
#include "db/TFieldDef.h"

#include <QtEndian>

const char *fieldTypeName(TFieldType type)
{
    switch (type) {
    case TFieldType::ftString: return "String";
    case TFieldType::ftSmallint: return "Smallint";
    case TFieldType::ftInteger: return "Integer";
    case TFieldType::ftAutoInc: return "AutoInc";
    case TFieldType::ftBoolean: return "Boolean";
    case TFieldType::ftFloat: return "Float";
    case TFieldType::ftCurrency: return "Currency";
    case TFieldType::ftDate: return "Date";
    case TFieldType::ftTime: return "Time";
    case TFieldType::ftDateTime: return "DateTime";
    case TFieldType::ftBytes: return "Bytes";
    case TFieldType::ftVarBytes: return "VarBytes";
    case TFieldType::ftBlob: return "Blob";
    case TFieldType::ftMemo: return "Memo";
    case TFieldType::ftUnknown: break;
    }
    return "Unknown";
}

TBookmark bookmarkFromId(qint32 id)
{
    TBookmark bytes(4, '\0');
    qToLittleEndian<qint32>(id, bytes.data());
    return bytes;
}

qint32 bookmarkToId(const TBookmark &bookmark)
{
    if (bookmark.size() < 4)
        return 0;
    return qFromLittleEndian<qint32>(bookmark.constData());
}

TFieldDef &TFieldDefs::add(const QString &name, TFieldType type, int size, bool required)
{
    TFieldDef def;
    def.name = name;
    def.dataType = type;
    def.size = size;
    def.required = required;
    def.fieldNo = count() + 1;
    m_defs.push_back(def);
    return m_defs.back();
}

int TFieldDefs::indexOf(const QString &name) const
{
    for (int i = 0; i < count(); ++i) {
        if (m_defs[size_t(i)].name.compare(name, Qt::CaseInsensitive) == 0)
            return i;
    }
    return -1;
}
