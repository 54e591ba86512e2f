#include "controls/GridFieldKind.h"

#include "db/TField.h"

GridFieldKind gridFieldKind(const TField *field)
{
    if (!field)
        return GridFieldKind::Text;
    switch (field->dataType()) {
    case TFieldType::ftSmallint:
    case TFieldType::ftInteger:
    case TFieldType::ftAutoInc:
    case TFieldType::ftFloat:
    case TFieldType::ftCurrency:
        return GridFieldKind::Number;
    case TFieldType::ftBoolean:
        return GridFieldKind::Boolean;
    case TFieldType::ftDate:
    case TFieldType::ftTime:
    case TFieldType::ftDateTime:
        return GridFieldKind::Date;
    case TFieldType::ftMemo:
        return GridFieldKind::Memo;
    case TFieldType::ftBytes:
    case TFieldType::ftVarBytes:
    case TFieldType::ftBlob:
        return GridFieldKind::Picture;
    case TFieldType::ftUnknown:
    case TFieldType::ftString:
        break;
    }
    return GridFieldKind::Text;
}
