#include "AccessRows.h"

#include <cstring>
#include <stdexcept>

namespace testsupport::jet {
namespace {

struct TypeInfo {
    quint8 code;
    int length; // 0: variable
};

TypeInfo typeInfo(const AccessColumn &column)
{
    switch (column.type) {
    case JetType::Text: return {0x0a, 0};
    case JetType::Memo: return {0x0c, 0};
    case JetType::OleObject: return {0x0b, 0};
    case JetType::YesNo: return {0x01, 1};
    case JetType::Byte: return {0x02, 1};
    case JetType::Integer: return {0x03, 2};
    case JetType::Long:
    case JetType::Counter: return {0x04, 4};
    case JetType::DateTime: return {0x08, 8};
    case JetType::Double: return {0x07, 8};
    }
    throw std::invalid_argument("unknown column type");
}

[[noreturn]] void refuse(const AccessTable &table, const AccessColumn &column, const char *what)
{
    throw std::invalid_argument(QStringLiteral("%1.%2: %3").arg(table.name, column.name, QLatin1String(what))
                                    .toStdString());
}

bool isInteger(const QVariant &value)
{
    switch (value.metaType().id()) {
    case QMetaType::Int: case QMetaType::UInt: case QMetaType::LongLong: case QMetaType::ULongLong:
    case QMetaType::Short: case QMetaType::UShort: case QMetaType::Long: case QMetaType::ULong:
    case QMetaType::Char: case QMetaType::SChar: case QMetaType::UChar:
        return true;
    default:
        return false;
    }
}

const QVariant kNull;

void appendDouble(QByteArray &out, double value)
{
    quint64 bits;
    std::memcpy(&bits, &value, sizeof bits);
    append32(out, quint32(bits));
    append32(out, quint32(bits >> 32));
}

} // namespace

TableLayout::TableLayout(const AccessTable &table, bool compressText)
{
    for (const AccessColumn &definition : table.columns) {
        const TypeInfo info = typeInfo(definition);
        ColumnLayout column;
        column.typeCode = info.code;
        column.fixed = info.length > 0;
        column.flags = 0x02; // may be null
        if (column.fixed) {
            column.flags |= 0x01;
            column.length = info.length;
            column.fixedOffset = fixedSize_;
            if (definition.type != JetType::YesNo) // a Yes/No lives in the null mask
                fixedSize_ += info.length;
            if (definition.type == JetType::Counter)
                column.flags |= 0x04;
        } else {
            if (definition.type == JetType::Text && (definition.size < 1 || definition.size > 255))
                refuse(table, definition, "a text column holds 1 to 255 characters");
            column.length = definition.type == JetType::Text ? 2 * definition.size : 0;
            column.varIndex = varCount_++;
        }
        columns_.push_back(column);
    }
    compressed_ = compressText;
}

QByteArray jetText(const QString &text, bool compress)
{
    QByteArray plain(2 * text.size(), Qt::Uninitialized);
    bool compressible = compress;
    char *to = plain.data();
    for (QChar c : text) {
        *to++ = char(c.unicode() & 0xff);
        *to++ = char(c.unicode() >> 8);
        if ((c.unicode() & 0xff) == 0)
            compressible = false;
    }
    if (!compressible)
        return plain;
    QByteArray packed("\xff\xfe", 2);
    packed.reserve(2 * text.size());
    bool oneByte = true;
    for (QChar c : text) {
        const bool small = c.unicode() < 0x100;
        if (small != oneByte) {
            packed.append('\0');
            oneByte = small;
        }
        if (small)
            packed.append(char(c.unicode()));
        else
            append16(packed, c.unicode());
    }
    return packed.size() < plain.size() ? packed : plain;
}

RowEncoder::RowEncoder(const AccessTable &table, const TableLayout &layout, RowPacker &longValues)
    : table_(table), layout_(layout), longValues_(longValues)
{
}

QByteArray RowEncoder::longValue(const QByteArray &data) const
{
    const quint32 length = quint32(data.size());
    QByteArray field;
    if (data.size() <= kInlineMemo) {
        append32(field, length | 0x80000000u);
        append32(field, 0);
        append32(field, 0);
        return field + data;
    }
    if (data.size() <= RowPacker::kMaxRow) {
        append32(field, length | 0x40000000u);
        append32(field, longValues_.add(data));
        append32(field, 0);
        return field;
    }
    // Longer: a chain of rows, each alone on its page, each starting with the next one's address.
    constexpr int chunk = RowPacker::kMaxRow - 4;
    std::vector<int> pages;
    for (qsizetype at = 0; at < data.size(); at += chunk)
        pages.push_back(longValues_.reservePage());
    for (size_t i = 0; i < pages.size(); ++i) {
        QByteArray row;
        append32(row, i + 1 < pages.size() ? rowPointer(pages[i + 1], 0) : 0);
        row.append(data.mid(qsizetype(i) * chunk, chunk));
        longValues_.addOnPage(pages[i], row);
    }
    append32(field, length);
    append32(field, rowPointer(pages.front(), 0));
    append32(field, 0);
    return field;
}

void RowEncoder::fixedValue(QByteArray &out, const ColumnLayout &column, const AccessColumn &definition,
                            const QVariant &value) const
{
    char *at = out.data() + 2 + column.fixedOffset;
    QByteArray bytes;
    switch (definition.type) {
    case JetType::Byte:
    case JetType::Integer:
    case JetType::Long:
    case JetType::Counter: {
        if (!isInteger(value))
            refuse(table_, definition, "expects an integer");
        const qint64 number = value.toLongLong();
        const qint64 low = definition.type == JetType::Byte ? 0 : definition.type == JetType::Integer ? -32768 : INT32_MIN;
        const qint64 high = definition.type == JetType::Byte ? 255 : definition.type == JetType::Integer ? 32767 : INT32_MAX;
        if (number < low || number > high)
            refuse(table_, definition, "integer out of range");
        if (column.length == 1)
            bytes.append(char(number));
        else if (column.length == 2)
            append16(bytes, quint16(number));
        else
            append32(bytes, quint32(number));
        break;
    }
    case JetType::DateTime:
        if (value.metaType().id() == QMetaType::QDateTime)
            appendDouble(bytes, accessDays(value.toDateTime()));
        else if (value.metaType().id() == QMetaType::QDate)
            appendDouble(bytes, accessDays(value.toDate().startOfDay(Qt::UTC)));
        else if (value.metaType().id() == QMetaType::Double)
            appendDouble(bytes, value.toDouble());
        else
            refuse(table_, definition, "expects a date");
        break;
    case JetType::Double:
        if (value.metaType().id() != QMetaType::Double && !isInteger(value))
            refuse(table_, definition, "expects a number");
        appendDouble(bytes, value.toDouble());
        break;
    default:
        break;
    }
    std::memcpy(at, bytes.constData(), size_t(bytes.size()));
}

QByteArray RowEncoder::varValue(const AccessColumn &definition, const QVariant &value) const
{
    if (definition.type == JetType::OleObject) {
        if (value.metaType().id() != QMetaType::QByteArray)
            refuse(table_, definition, "expects bytes");
        return longValue(value.toByteArray());
    }
    if (value.metaType().id() != QMetaType::QString)
        refuse(table_, definition, "expects a text");
    const QString text = value.toString();
    if (definition.type == JetType::Text) {
        if (text.size() > definition.size)
            refuse(table_, definition, "text longer than its column");
        return jetText(text, layout_.compressed());
    }
    // A memo over 1024 characters is always kept uncompressed.
    return longValue(jetText(text, layout_.compressed() && text.size() <= 1024));
}

QByteArray RowEncoder::encode(const AccessRow &row) const
{
    const auto &columns = layout_.columns();
    if (row.values.size() > qsizetype(columns.size()))
        throw std::invalid_argument(QStringLiteral("%1: a row has more values than columns").arg(table_.name)
                                        .toStdString());
    const int count = int(columns.size());
    QByteArray nullMask((count + 7) / 8, '\0');
    QByteArray out;
    out.reserve(512);
    append16(out, quint16(count));
    out.append(QByteArray(layout_.fixedSize(), '\0'));
    std::vector<quint16> starts(size_t(layout_.varCount()), 0);
    // Fixed columns first, at their offsets; then the variable ones in column order.
    for (int i = 0; i < count; ++i) {
        const AccessColumn &definition = table_.columns[size_t(i)];
        const ColumnLayout &column = columns[size_t(i)];
        const QVariant &value = i < row.values.size() ? row.values[i] : kNull;
        if (definition.type == JetType::YesNo) {
            if (!value.isNull() && value.metaType().id() != QMetaType::Bool)
                refuse(table_, definition, "expects a bool");
            if (value.toBool())
                nullMask[i / 8] = char(nullMask[i / 8] | (1 << (i % 8)));
            continue;
        }
        if (!column.fixed || value.isNull())
            continue;
        fixedValue(out, column, definition, value);
        nullMask[i / 8] = char(nullMask[i / 8] | (1 << (i % 8)));
    }
    for (int i = 0; i < count; ++i) {
        const AccessColumn &definition = table_.columns[size_t(i)];
        const ColumnLayout &column = columns[size_t(i)];
        if (column.fixed)
            continue;
        starts[size_t(column.varIndex)] = quint16(out.size());
        const QVariant &value = i < row.values.size() ? row.values[i] : kNull;
        if (value.isNull())
            continue;
        out.append(varValue(definition, value));
        nullMask[i / 8] = char(nullMask[i / 8] | (1 << (i % 8)));
    }
    // The tail, read from the end: null mask, variable count, each variable column's start
    // (the first column's nearest), the end of the variable data.
    if (layout_.varCount() > 0) {
        append16(out, quint16(out.size()));
        for (auto start = starts.rbegin(); start != starts.rend(); ++start)
            append16(out, *start);
        append16(out, quint16(layout_.varCount()));
    }
    out.append(nullMask);
    if (out.size() > RowPacker::kMaxRow)
        throw std::invalid_argument(QStringLiteral("%1: a row does not fit on a page").arg(table_.name)
                                        .toStdString());
    return out;
}

} // namespace testsupport::jet
