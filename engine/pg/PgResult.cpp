#include "engine/pg/PgResult.h"

#include "engine/pg/PgTypes.h"

#include <cmath>
#include <libpq-fe.h>
#include <utility>

namespace dao::pg {

namespace {

double doubleFromServerText(const char *text, int length)
{
    const QByteArray t = QByteArray::fromRawData(text, length);
    if (t == "NaN")
        return std::nan("");
    if (t == "Infinity")
        return HUGE_VAL;
    if (t == "-Infinity")
        return -HUGE_VAL;
    return t.toDouble();
}

} // namespace

PgResult::PgResult(pg_result *result) : m_result(result) {}

PgResult::~PgResult()
{
    PQclear(m_result);
}

PgResult::PgResult(PgResult &&other) noexcept : m_result(std::exchange(other.m_result, nullptr)) {}

PgResult &PgResult::operator=(PgResult &&other) noexcept
{
    if (this != &other) {
        PQclear(m_result);
        m_result = std::exchange(other.m_result, nullptr);
    }
    return *this;
}

int PgResult::rowCount() const
{
    return m_result ? PQntuples(m_result) : 0;
}

int PgResult::columnCount() const
{
    return m_result ? PQnfields(m_result) : 0;
}

QString PgResult::columnName(int column) const
{
    return QString::fromUtf8(PQfname(m_result, column));
}

Value PgResult::value(int row, int column) const
{
    if (PQgetisnull(m_result, row, column))
        return {};
    const char *text = PQgetvalue(m_result, row, column);
    const int length = PQgetlength(m_result, row, column);
    switch (PQftype(m_result, column)) {
    case kBoolOid:
        return Value(text[0] == 't');
    case kInt2Oid: case kInt4Oid: case kInt8Oid: case kOidOid:
        return Value(QByteArray::fromRawData(text, length).toLongLong());
    case kFloat4Oid: case kFloat8Oid: case kNumericOid:
        return Value(doubleFromServerText(text, length));
    case kByteaOid: {
        // The session asks for the hex form: "\x" then two digits a byte.
        const QByteArray hex = QByteArray::fromRawData(text, length);
        return Value(QByteArray::fromHex(hex.mid(2)));
    }
    default:
        return Value(QString::fromUtf8(text, length));
    }
}

qint64 PgResult::rowsAffected() const
{
    return m_result ? QByteArray(PQcmdTuples(m_result)).toLongLong() : 0;
}

} // namespace dao::pg
