#include "engine/pg/PgStorage.h"

#include "engine/Constants.h"

namespace dao::pg {

Storage storageOf(int fieldType)
{
    switch (fieldType) {
    case dbBoolean: case dbByte: case dbInteger: case dbLong: case dbBigInt:
        return Storage::Integer;
    case dbCurrency: case dbSingle: case dbDate:
        return Storage::WholeOrReal;
    case dbDouble:
        return Storage::Real;
    case dbBinary: case dbLongBinary: case dbVarBinary:
        return Storage::Binary;
    default:
        return Storage::Text;
    }
}

bool isNumeric(Storage storage)
{
    return storage != Storage::Text;
}

QString columnText(const QString &quotedName, Storage storage)
{
    switch (storage) {
    case Storage::Integer:
        return quotedName + QStringLiteral("::text");
    case Storage::WholeOrReal:
        return QStringLiteral("jet_number_text(%1, true)").arg(quotedName);
    case Storage::Real:
        return QStringLiteral("jet_real_text(%1, true)").arg(quotedName);
    case Storage::Binary:
        return QStringLiteral("encode(%1, 'escape')").arg(quotedName);
    case Storage::Text:
        break;
    }
    return quotedName;
}

QString parameter(const Value &value, std::vector<Value> &params)
{
    if (value.isNull())
        return QStringLiteral("NULL");
    if (value.isText()) {
        params.push_back(value);
        return QStringLiteral("?::text");
    }
    if (value.isBytes()) {
        params.push_back(value);
        return QStringLiteral("?::bytea");
    }
    if (value.isDouble() || value.isDate()) {
        params.push_back(Value(value.asDouble()));
        return QStringLiteral("?::double precision");
    }
    params.push_back(Value(value.asInt()));
    return QStringLiteral("?::bigint");
}

} // namespace dao::pg
