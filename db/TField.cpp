#include "db/TField.h"

#include "db/DatabaseError.h"
#include "db/TDataSet.h"
#include "db/ValueText.h"

namespace {

// Day 1 is 1 January 0001, so the value text's day number is the Julian day minus this.
qint64 dayZeroJulian()
{
    static const qint64 base = QDate(1, 1, 1).toJulianDay() - 1;
    return base;
}

} // namespace

TField::TField(TDataSet *dataSet, const QString &fieldName, TFieldType type, int size, TFieldKind kind)
    : m_dataSet(dataSet), m_fieldName(fieldName), m_dataType(type), m_size(size), m_kind(kind)
{
    setObjectName(fieldName);
    if (m_dataSet)
        m_dataSet->registerField(this);
}

TField::~TField()
{
    if (m_dataSet)
        m_dataSet->unregisterField(this);
}

int TField::index() const
{
    return m_dataSet ? m_dataSet->fields().indexOf(const_cast<TField *>(this)) : -1;
}

void TField::layoutChanged()
{
    if (m_dataSet && m_dataSet->active())
        m_dataSet->dataEvent(TDataEvent::deLayoutChange);
}

void TField::setDisplayLabel(const QString &label)
{
    if (m_displayLabel == label)
        return;
    m_displayLabel = label;
    layoutChanged();
}

int TField::displayWidth() const
{
    return m_displayWidth > 0 ? m_displayWidth : defaultDisplayWidth();
}

void TField::setDisplayWidth(int width)
{
    if (m_displayWidth == width)
        return;
    m_displayWidth = width;
    layoutChanged();
}

void TField::setVisible(bool visible)
{
    if (m_visible == visible)
        return;
    m_visible = visible;
    layoutChanged();
}

int TField::defaultDisplayWidth() const
{
    switch (m_dataType) {
    case TFieldType::ftString: return m_size > 0 ? m_size : 20;
    case TFieldType::ftSmallint: return 6;
    case TFieldType::ftBoolean: return 5;
    case TFieldType::ftDateTime: return 18;
    case TFieldType::ftBytes:
    case TFieldType::ftVarBytes: return m_size > 0 ? m_size : 10;
    default: return 10;
    }
}

bool TField::canModify() const
{
    return !m_readOnly && m_kind == TFieldKind::fkData && m_dataSet && m_dataSet->canModify();
}

QString TField::valueText() const
{
    return m_dataSet ? m_dataSet->fieldValueText(*this) : QString();
}

void TField::setValueText(const QString &text)
{
    if (!m_dataSet)
        throw EDatabaseError(dbtext::fieldWithoutDataSet(m_fieldName));
    m_dataSet->setFieldValueText(*this, text);
}

bool TField::isNull() const
{
    return valueText().isEmpty();
}

QString TField::asString() const
{
    return valueText();
}

void TField::setAsString(const QString &value)
{
    setValueText(value);
}

qint64 TField::asInteger() const
{
    const QString text = valueText();
    if (text.isEmpty())
        return 0;
    if (const auto value = ValueText::parseInteger(text))
        return *value;
    throw EDatabaseError(dbtext::notInteger(text));
}

void TField::setAsInteger(qint64 value)
{
    setAsString(QString::number(value));
}

double TField::asFloat() const
{
    const QString text = valueText();
    if (text.isEmpty())
        return 0.0;
    if (const auto value = ValueText::parseFloat(text))
        return *value;
    throw EDatabaseError(dbtext::notFloat(text));
}

void TField::setAsFloat(double value)
{
    setAsString(ValueText::floatText(value));
}

bool TField::asBoolean() const
{
    const QString text = valueText();
    if (text.isEmpty())
        return false;
    if (const auto value = parseBool(text))
        return *value;
    throw EDatabaseError(dbtext::notBoolean(text));
}

void TField::setAsBoolean(bool value)
{
    setAsString(boolText(value));
}

QDateTime TField::asDateTime() const
{
    conversionError(QStringLiteral("DateTime"));
}

void TField::setAsDateTime(const QDateTime &value)
{
    setAsString(value.isValid() ? value.toString(QStringLiteral("dd/MM/yyyy hh:mm:ss")) : QString());
}

QVariant TField::asVariant() const
{
    const QString text = asString();
    return text.isEmpty() ? QVariant() : QVariant(text);
}

void TField::setAsVariant(const QVariant &value)
{
    if (!value.isValid() || value.isNull()) {
        clear();
        return;
    }
    switch (value.typeId()) {
    case QMetaType::Bool:
        setAsBoolean(value.toBool());
        break;
    case QMetaType::Int:
    case QMetaType::UInt:
    case QMetaType::Short:
    case QMetaType::UShort:
    case QMetaType::Long:
    case QMetaType::LongLong:
    case QMetaType::ULongLong:
        setAsInteger(value.toLongLong());
        break;
    case QMetaType::Double:
    case QMetaType::Float:
        setAsFloat(value.toDouble());
        break;
    case QMetaType::QDateTime:
        setAsDateTime(value.toDateTime());
        break;
    case QMetaType::QDate:
        setAsDateTime(QDateTime(value.toDate(), QTime(0, 0)));
        break;
    case QMetaType::QTime:
        setAsDateTime(QDateTime(QDate(1899, 12, 30), value.toTime()));
        break;
    default:
        setAsString(value.toString());
        break;
    }
}

QString TField::hookedText(bool displayText) const
{
    QString result;
    OnGetText(const_cast<TField &>(*this), result, displayText);
    return result;
}

QString TField::displayText() const
{
    return OnGetText ? hookedText(true) : asString();
}

QString TField::text() const
{
    return OnGetText ? hookedText(false) : asString();
}

void TField::setText(const QString &text)
{
    if (OnSetText)
        OnSetText(*this, text);
    else
        setAsString(text);
}

void TField::bind(int fieldNo, int calculatedSlot)
{
    m_fieldNo = fieldNo;
    m_calculatedSlot = calculatedSlot;
}

void TField::unbind()
{
    m_fieldNo = 0;
    m_calculatedSlot = -1;
}

std::optional<bool> TField::parseBool(QString text)
{
    text = text.trimmed();
    if (text.startsWith(QLatin1Char('=')))
        text.remove(0, 1);
    static const char *const trueTexts[] = {"true", "yes", "on", "-1"};
    static const char *const falseTexts[] = {"false", "no", "off"};
    for (const char *t : trueTexts) {
        if (text.compare(QLatin1String(t), Qt::CaseInsensitive) == 0)
            return true;
    }
    for (const char *t : falseTexts) {
        if (text.compare(QLatin1String(t), Qt::CaseInsensitive) == 0)
            return false;
    }
    return std::nullopt;
}

QString TField::dateTimeText(const QDateTime &value)
{
    if (!value.isValid())
        return QString();
    return QStringLiteral("%1 %2")
        .arg(value.date().toJulianDay() - dayZeroJulian())
        .arg(value.time().msecsSinceStartOfDay());
}

// Runs for every date of every card a search looks at: read in place, without splitting the
// text into a list of new strings.
bool TField::parseDateTimeParts(const QString &text, QDate &date, int &msecs)
{
    const QStringView view = QStringView(text).trimmed();
    const qsizetype blank = view.indexOf(QLatin1Char(' '));
    const QStringView dayPart = blank < 0 ? view : view.left(blank);
    const QStringView msPart = blank < 0 ? QStringView() : view.mid(blank + 1).trimmed();
    if (dayPart.isEmpty() || msPart.contains(QLatin1Char(' ')))
        return false;
    bool ok = false;
    const qint64 day = dayPart.toLongLong(&ok);
    if (!ok || day < 1)
        return false;
    msecs = 0;
    if (!msPart.isEmpty()) {
        msecs = msPart.toInt(&ok);
        if (!ok || msecs < 0 || msecs >= 24 * 3600 * 1000)
            return false;
    }
    date = QDate::fromJulianDay(day + dayZeroJulian());
    return date.isValid();
}

// Stored dates are wall-clock values of no time zone. A local date-time would ask the
// system's zone rules for every value read (a print reads tens of thousands) and would move
// a time that falls in the hour skipped when summer time starts; one in UTC keeps the
// calendar date and the clock time exactly as stored.
QDateTime TField::parseDateTimeText(const QString &text)
{
    QDate date;
    int msecs = 0;
    if (!parseDateTimeParts(text, date, msecs))
        return QDateTime();
    return QDateTime(date, QTime::fromMSecsSinceStartOfDay(msecs), Qt::UTC);
}

void TField::conversionError(const QString &typeName) const
{
    throw EDatabaseError(QStringLiteral("Cannot access field '%1' as type %2").arg(m_fieldName, typeName));
}
