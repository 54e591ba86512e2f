#pragma once
// Shared by the dialect tests: the sample table's columns, readable values in failure
// messages, and the number of the engine error a call raises.

#include "engine/EngineError.h"
#include "engine/Value.h"
#include "engine/jet/JetDialect.h"

#include <ostream>

namespace dao {

inline void PrintTo(const Value &value, std::ostream *out)
{
    if (value.isNull())
        *out << "Null";
    else if (value.isText())
        *out << '"' << value.asText().toStdString() << '"';
    else if (value.isDate())
        *out << "Date(" << value.asDouble() << ')';
    else if (value.isInt())
        *out << "int(" << value.asInt() << ')';
    else
        *out << value.asText().toStdString();
}

} // namespace dao

namespace jettest {

inline const dao::jet::Columns &personColumns()
{
    static const dao::jet::Columns columns = {
        {QStringLiteral("ID_SCHEDA"), 4},    {QStringLiteral("ID_PERSONA"), 4}, {QStringLiteral("Nome"), 10},
        {QStringLiteral("Cognome"), 10},     {QStringLiteral("Fascia"), 10},    {QStringLiteral("Capofamiglia"), 1},
        {QStringLiteral("DataNascita"), 8},  {QStringLiteral("Importo"), 7},    {QStringLiteral("Ordine"), 4},
        {QStringLiteral("Strano\"Nome"), 10},
    };
    return columns;
}

// The engine error number `call` raises, 0 when it returns normally.
template <typename Call>
int errorNumberOf(Call &&call)
{
    try {
        call();
    } catch (const dao::EngineError &error) {
        return error.number();
    }
    return 0;
}

} // namespace jettest
