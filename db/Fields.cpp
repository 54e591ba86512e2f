#include "db/Fields.h"

#include "db/DatabaseError.h"
#include "db/TDataSet.h"
#include "db/ValueText.h"

#include <QIODevice>
#include <cstdio>

namespace {

struct Range {
    qint64 low;
    qint64 high;
};

Range integerRange(TFieldType type)
{
    if (type == TFieldType::ftSmallint)
        return {-32768, 32767};
    return {-2147483648LL, 2147483647LL};
}

bool isMidnight(const QDateTime &value)
{
    return value.time().msecsSinceStartOfDay() == 0;
}

const QString kDateFormat = QStringLiteral("dd/MM/yyyy");

// Time-only values sit on day 0 of the engine's calendar, as the archive stores them.
const QDate kTimeDay(1899, 12, 30);

} // namespace

// --- integers --------------------------------------------------------------------------

TIntegerField::TIntegerField(TDataSet *ds, const QString &name, TFieldKind kind, TFieldType type)
    : TField(ds, name, type, 0, kind)
{
    setAlignment(Qt::AlignRight);
}

void TIntegerField::setAsString(const QString &value)
{
    if (value.trimmed().isEmpty()) {
        clear();
        return;
    }
    const auto parsed = ValueText::parseInteger(value);
    if (!parsed)
        throw EDatabaseError(dbtext::notInteger(value));
    setAsInteger(*parsed);
}

void TIntegerField::setAsInteger(qint64 value)
{
    const Range range = integerRange(dataType());
    if (value < range.low || value > range.high) {
        throw EDatabaseError(QStringLiteral("%1 is not a valid value for field '%2'. The allowed range is %3 to %4")
                                 .arg(value).arg(displayLabel()).arg(range.low).arg(range.high));
    }
    setValueText(QString::number(value));
}

QVariant TIntegerField::asVariant() const
{
    return isNull() ? QVariant() : QVariant(asInteger());
}

// --- floats ----------------------------------------------------------------------------

TFloatField::TFloatField(TDataSet *ds, const QString &name, TFieldKind kind, TFieldType type)
    : TField(ds, name, type, 0, kind)
{
    setAlignment(Qt::AlignRight);
}

void TFloatField::setAsString(const QString &value)
{
    if (value.trimmed().isEmpty()) {
        clear();
        return;
    }
    const auto parsed = ValueText::parseFloat(value);
    if (!parsed)
        throw EDatabaseError(dbtext::notFloat(value));
    setValueText(ValueText::floatText(*parsed));
}

qint64 TFloatField::asInteger() const
{
    return qRound64(asFloat());
}

QVariant TFloatField::asVariant() const
{
    return isNull() ? QVariant() : QVariant(asFloat());
}

QString TFloatField::displayText() const
{
    if (OnGetText)
        return hookedText(true);
    if (isNull())
        return QString();
    if (dataType() == TFieldType::ftCurrency)
        return QString::number(asFloat(), 'f', 2);
    return QString::number(asFloat(), 'g', 15);
}

// --- Booleans --------------------------------------------------------------------------

TBooleanField::TBooleanField(TDataSet *ds, const QString &name, TFieldKind kind)
    : TField(ds, name, TFieldType::ftBoolean, 0, kind)
{
    setAlignment(Qt::AlignHCenter);
}

QString TBooleanField::asString() const
{
    return isNull() ? QString() : boolText(asBoolean());
}

void TBooleanField::setAsString(const QString &value)
{
    if (value.trimmed().isEmpty()) {
        clear();
        return;
    }
    const auto parsed = parseBool(value);
    if (!parsed)
        throw EDatabaseError(dbtext::notBoolean(value));
    setValueText(boolText(*parsed));
}

QVariant TBooleanField::asVariant() const
{
    return isNull() ? QVariant() : QVariant(asBoolean());
}

// --- dates and times -------------------------------------------------------------------

TDateTimeField::TDateTimeField(TDataSet *ds, const QString &name, TFieldKind kind, TFieldType type)
    : TField(ds, name, type, 0, kind)
{
}

QDateTime TDateTimeField::asDateTime() const
{
    const QString text = valueText();
    if (text.isEmpty())
        return QDateTime();
    const QDateTime value = parseDateTimeText(text);
    if (!value.isValid())
        throw EDatabaseError(dbtext::notDateTime(text));
    return value;
}

void TDateTimeField::setAsDateTime(const QDateTime &value)
{
    if (!value.isValid()) {
        clear();
        return;
    }
    switch (dataType()) {
    case TFieldType::ftDate:
        setValueText(dateTimeText(QDateTime(value.date(), QTime(0, 0))));
        break;
    case TFieldType::ftTime:
        setValueText(dateTimeText(QDateTime(kTimeDay, value.time())));
        break;
    default:
        setValueText(dateTimeText(value));
        break;
    }
}

QString TDateTimeField::asString() const
{
    return text();
}

void TDateTimeField::setAsString(const QString &value)
{
    if (value.trimmed().isEmpty()) {
        clear();
        return;
    }
    const auto typed = ValueText::parseTyped(value);
    switch (dataType()) {
    case TFieldType::ftDate:
        if (!typed || !typed->date)
            throw EDatabaseError(QStringLiteral("'%1' is not a valid date").arg(value));
        setAsDateTime(QDateTime(*typed->date, QTime(0, 0)));
        break;
    case TFieldType::ftTime:
        if (!typed || !typed->time)
            throw EDatabaseError(QStringLiteral("'%1' is not a valid time").arg(value));
        setAsDateTime(QDateTime(kTimeDay, *typed->time));
        break;
    default:
        if (!typed || !typed->date)
            throw EDatabaseError(dbtext::notDateTime(value));
        setAsDateTime(QDateTime(*typed->date, typed->time.value_or(QTime(0, 0))));
        break;
    }
}

QVariant TDateTimeField::asVariant() const
{
    return isNull() ? QVariant() : QVariant(asDateTime());
}

QString TDateTimeField::displayText() const
{
    if (OnGetText)
        return hookedText(true);
    const QDateTime value = asDateTime();
    if (dataType() == TFieldType::ftDateTime && value.isValid() && isMidnight(value))
        return value.toString(kDateFormat);
    return text();
}

QString TDateTimeField::text() const
{
    if (OnGetText)
        return hookedText(false);
    // Formatted by hand: the card search formats two dates of every card it considers, and
    // a date-time object would consult the time zone each time for a calendar value.
    QDate date;
    int msecs = 0;
    if (!parseDateTimeParts(valueText(), date, msecs))
        return QString();
    const int seconds = msecs / 1000;
    char buffer[32];
    switch (dataType()) {
    case TFieldType::ftDate:
        std::snprintf(buffer, sizeof buffer, "%02d/%02d/%04d", date.day(), date.month(), date.year());
        break;
    case TFieldType::ftTime:
        std::snprintf(buffer, sizeof buffer, "%02d:%02d:%02d", seconds / 3600, seconds / 60 % 60, seconds % 60);
        break;
    default:
        std::snprintf(buffer, sizeof buffer, "%02d/%02d/%04d %02d:%02d:%02d", date.day(), date.month(), date.year(),
                      seconds / 3600, seconds / 60 % 60, seconds % 60);
        break;
    }
    return QString::fromLatin1(buffer);
}

void TDateTimeField::setText(const QString &text)
{
    TField::setText(text);
}

// --- memos and blobs -------------------------------------------------------------------

TBlobField::TBlobField(TDataSet *ds, const QString &name, TFieldType type)
    : TField(ds, name, type, 0, TFieldKind::fkData)
{
}

QByteArray TBlobField::asBytes() const
{
    const QString length = valueText();
    if (length.isEmpty() || length == QLatin1String("0") || !dataSet())
        return QByteArray();
    const std::unique_ptr<QIODevice> stream = dataSet()->createBlobStream(const_cast<TBlobField *>(this), TBlobStreamMode::bmRead);
    return stream ? stream->readAll() : QByteArray();
}

void TBlobField::setAsBytes(const QByteArray &value)
{
    if (!dataSet())
        throw EDatabaseError(dbtext::fieldWithoutDataSet(fieldName()));
    dataSet()->checkFieldWritable(*this);
    {
        const std::unique_ptr<QIODevice> stream = dataSet()->createBlobStream(this, TBlobStreamMode::bmWrite);
        if (!stream)
            throw EDatabaseError(dbtext::fieldReadOnly(displayLabel()));
        if (stream->write(value) != value.size())
            throw EDatabaseError(QStringLiteral("Field '%1' could not be written").arg(displayLabel()));
    }   // the stream hands the content over when it goes
    setValueText(value.isEmpty() ? QString() : QString::number(value.size()));
}

QString TBlobField::asString() const
{
    const QByteArray bytes = asBytes();
    return dataType() == TFieldType::ftMemo ? QString::fromUtf8(bytes) : QString::fromLatin1(bytes);
}

void TBlobField::setAsString(const QString &value)
{
    setAsBytes(dataType() == TFieldType::ftMemo ? value.toUtf8() : value.toLatin1());
}

QString TBlobField::displayText() const
{
    if (OnGetText)
        return hookedText(true);
    const QString length = valueText();
    const bool hasContent = !length.isEmpty() && length != QLatin1String("0");
    if (dataType() == TFieldType::ftMemo)
        return hasContent ? QStringLiteral("(MEMO)") : QStringLiteral("(memo)");
    return hasContent ? QStringLiteral("(BLOB)") : QStringLiteral("(blob)");
}

QVariant TBlobField::asVariant() const
{
    if (isNull())
        return QVariant();
    if (dataType() == TFieldType::ftMemo)
        return QVariant(asString());
    return QVariant(asBytes());
}

void TBlobField::setAsVariant(const QVariant &value)
{
    if (value.isValid() && value.typeId() == QMetaType::QByteArray)
        setAsBytes(value.toByteArray());
    else
        TField::setAsVariant(value);
}

// --- default field objects -------------------------------------------------------------

TField *createField(TDataSet *ds, const TFieldDef &def)
{
    TField *field = nullptr;
    switch (def.dataType) {
    case TFieldType::ftString: field = new TStringField(ds, def.name, def.size); break;
    case TFieldType::ftSmallint: field = new TSmallintField(ds, def.name); break;
    case TFieldType::ftInteger: field = new TIntegerField(ds, def.name); break;
    case TFieldType::ftAutoInc: field = new TAutoIncField(ds, def.name); break;
    case TFieldType::ftBoolean: field = new TBooleanField(ds, def.name); break;
    case TFieldType::ftFloat: field = new TFloatField(ds, def.name); break;
    case TFieldType::ftCurrency: field = new TCurrencyField(ds, def.name); break;
    case TFieldType::ftDate: field = new TDateField(ds, def.name); break;
    case TFieldType::ftTime: field = new TTimeField(ds, def.name); break;
    case TFieldType::ftDateTime: field = new TDateTimeField(ds, def.name); break;
    case TFieldType::ftBytes:
    case TFieldType::ftVarBytes: field = new TBytesField(ds, def.name, def.size, def.dataType); break;
    case TFieldType::ftBlob: field = new TBlobField(ds, def.name); break;
    case TFieldType::ftMemo: field = new TMemoField(ds, def.name); break;
    case TFieldType::ftUnknown: field = new TField(ds, def.name, TFieldType::ftUnknown, def.size); break;
    }
    // The engine fills an AutoInc itself, so a new record may leave it empty.
    field->setRequired(def.required && def.dataType != TFieldType::ftAutoInc);
    return field;
}
