#include "output/report/build/ReportScope.h"

#include "db/TDataSet.h"
#include "db/Fields.h"
#include "db/TField.h"
#include "output/report/ComponentDirectory.h"
#include "output/report/expr/Expression.h"
#include "output/report/model/TqnLayout.h"

#include <atomic>

using report::ExprValue;

namespace {

report::ExprFieldKind kindOf(TFieldType type)
{
    switch (type) {
    case TFieldType::ftSmallint: case TFieldType::ftInteger: case TFieldType::ftAutoInc:
    case TFieldType::ftFloat: case TFieldType::ftCurrency:
        return report::ExprFieldKind::Number;
    case TFieldType::ftDate: case TFieldType::ftTime: case TFieldType::ftDateTime:
        return report::ExprFieldKind::DateTime;
    case TFieldType::ftBoolean:
        return report::ExprFieldKind::Flag;
    default:
        return report::ExprFieldKind::Text;
    }
}

// What an event handler gave, as an expression value (invalid: empty).
ExprValue fromVariant(const QVariant &value)
{
    if (!value.isValid())
        return ExprValue();
    switch (value.typeId()) {
    case QMetaType::Bool: return ExprValue(value.toBool());
    case QMetaType::Int: case QMetaType::LongLong: case QMetaType::UInt: case QMetaType::Double:
        return ExprValue(value.toDouble());
    case QMetaType::QDate: case QMetaType::QDateTime: return ExprValue::dateTime(value.toDateTime());
    default: return ExprValue(value.toString());
    }
}

QVariant toVariant(const ExprValue &value)
{
    switch (value.kind()) {
    case ExprValue::Kind::Empty: return QVariant();
    case ExprValue::Kind::Number: return value.number();
    case ExprValue::Kind::Flag: return value.truth();
    case ExprValue::Kind::DateTime: return value.toDateTime();
    case ExprValue::Kind::Text: break;
    }
    return value.rawText();
}

// Variables that name each other in a circle would never end.
constexpr int kMaxVariableDepth = 32;

} // namespace

ReportScope::ReportScope(const TqnLayout &layout, QString windowName, report::ExprSystemValues &system)
    : m_serial([] {
          static std::atomic<quint64> serials{0};
          return ++serials;
      }()),
      m_layout(layout), m_windowName(std::move(windowName)), m_system(system)
{
}

TField *ReportScope::fieldNamed(TDataSet *dataSet, const QString &name)
{
    // A dataset's fields only join at the end of its list or leave it with their lives, so
    // the field a name found is still the first of that name while it lives.
    QPointer<TField> &known = m_fields[FieldKey(dataSet, name)];
    if (!known)
        known = dataSet->findField(name);
    return known;
}

std::optional<ExprValue> ReportScope::fieldOf(TDataSet *dataSet, const QString &name)
{
    if (!dataSet || !dataSet->active())
        return std::nullopt;
    if (TField *field = fieldNamed(dataSet, name))
        return valueOf(*field);
    return std::nullopt;
}

ExprValue ReportScope::valueOf(const TField &field)
{
    const report::ExprFieldKind kind = kindOf(field.dataType());
    if (field.isNull())
        return ExprValue::nullOf(kind);
    switch (kind) {
    case report::ExprFieldKind::Number: return ExprValue(field.asFloat());
    case report::ExprFieldKind::DateTime:
        // A stored date straight from its value text: a list prints dates on every record,
        // and a date-time made for each only to be taken apart again costs more than the rest.
        if (dynamic_cast<const TDateTimeField *>(&field)) {
            QDate date;
            int msecs = 0;
            if (TField::parseDateTimeParts(field.valueText(), date, msecs) && date.year() <= 9999)
                return ExprValue::dateTime(date, msecs);
        }
        return ExprValue::dateTime(field.asDateTime());
    case report::ExprFieldKind::Flag: return ExprValue(field.asBoolean());
    case report::ExprFieldKind::Text: break;
    }
    return ExprValue(field.asString());
}

TDataSet *ReportScope::onReportWindow(const QString &name) const
{
    if (auto *ds = qobject_cast<TDataSet *>(ComponentDirectory::instance().findOn(m_windowName, name)))
        return ds;
    if (auto *entry = qobject_cast<TqnDBDataSet *>(m_layout.DataSets.find(name)))
        return entry->DataSet();
    return nullptr;
}

TDataSet *ReportScope::dataSetNamed(const QString &name) const
{
    if (name.contains(QLatin1Char('.')))
        return qobject_cast<TDataSet *>(ComponentDirectory::instance().find(name));
    return onReportWindow(name);
}

std::optional<ExprValue> ReportScope::variable(const QString &name)
{
    const TqnVariable *v = m_layout.Values.find(name);
    if (!v)
        return std::nullopt;
    if (m_onGetValue) {
        QVariant value;
        m_onGetValue(v->Name, value);
        return fromVariant(value);
    }
    switch (v->Kind) {
    case TqnVariableKind::vkNotAssigned:
        return ExprValue();
    case TqnVariableKind::vkField:
        if (auto value = fieldOf(dataSetNamed(v->DataSet), v->Field))
            return value;
        return ExprValue();
    case TqnVariableKind::vkOther:
        break;
    }
    if (const auto system = systemVariable(v->Text.trimmed().toUpper()))
        return system;
    if (m_depth >= kMaxVariableDepth)
        throw report::ExprError(report::ExprErrorKind::UnknownIdentifier, v->Name);
    ++m_depth;
    struct Leave { int &d; ~Leave() { --d; } } leave{m_depth};
    return report::evaluateExpression(v->Text, *this);
}

std::optional<ExprValue> ReportScope::field(const report::ExprNameRef &ref)
{
    const QStringList &p = ref.parts;
    if (p.isEmpty() || p.size() > 3)
        return std::nullopt;
    // The field this name found the last time, while the components it was found through
    // are as they were (and, for a bare name, the band group reads the same dataset): a
    // name printed on every record is looked up once.
    const ComponentDirectory &directory = ComponentDirectory::instance();
    const void *source = p.size() == 1 ? m_groupSource.data() : nullptr;
    report::ExprNameFound &known = ref.found;
    if (known.owner == m_serial && known.stamp == directory.stamp() && known.source == source && known.found) {
        const auto *field = static_cast<const TField *>(known.found.data());
        if (!field->dataSet()->active())
            return std::nullopt;
        return valueOf(*field);
    }
    TDataSet *dataSet = nullptr;
    bool keep = true;
    if (p.size() == 1) {
        dataSet = m_groupSource;
    } else if (p.size() == 2) {
        dataSet = qobject_cast<TDataSet *>(directory.findOn(m_windowName, p[0]));
        if (!dataSet) {
            // A record source of the layout may be pointed at another dataset at any time.
            dataSet = onReportWindow(p[0]);
            keep = false;
        }
    } else {
        dataSet = qobject_cast<TDataSet *>(directory.findOn(p[0], p[1]));
    }
    if (!dataSet || !dataSet->active())
        return std::nullopt;
    TField *field = fieldNamed(dataSet, p.back());
    if (!field)
        return std::nullopt;
    if (keep)
        known = report::ExprNameFound{m_serial, directory.stamp(), source, field};
    return valueOf(*field);
}

bool ReportScope::namesDataSet(const report::ExprNameRef &ref)
{
    if (ref.parts.size() != 2 || ref.lastQuoted)
        return false;
    return qobject_cast<TDataSet *>(ComponentDirectory::instance().findOn(ref.parts[0], ref.parts[1]));
}

QByteArray ReportScope::fieldBytes(const QString &reference)
{
    // Split at the points outside double quotes.
    report::ExprNameRef ref;
    QString part;
    bool quoted = false;
    for (QChar c : reference) {
        if (c == QLatin1Char('"')) {
            quoted = !quoted;
            ref.lastQuoted = true;
        } else if (c == QLatin1Char('.') && !quoted) {
            ref.parts.append(part.trimmed());
            part.clear();
            ref.lastQuoted = false;
        } else {
            part += c;
        }
    }
    ref.parts.append(part.trimmed());
    TDataSet *dataSet = nullptr;
    if (ref.parts.size() == 1)
        dataSet = m_groupSource;
    else if (ref.parts.size() == 2)
        dataSet = onReportWindow(ref.parts[0]);
    else if (ref.parts.size() == 3)
        dataSet = qobject_cast<TDataSet *>(ComponentDirectory::instance().findOn(ref.parts[0], ref.parts[1]));
    if (!dataSet || !dataSet->active())
        return {};
    TField *field = dataSet->findField(ref.parts.back());
    if (!field || field->isNull())
        return {};
    if (!field->isBlob())
        return field->asString().toLatin1();
    auto stream = dataSet->createBlobStream(field, TBlobStreamMode::bmRead);
    return stream ? stream->readAll() : QByteArray();
}

std::optional<ExprValue> ReportScope::userFunction(const QString &name, const QList<ExprValue> &args)
{
    if (!m_onUserFunction)
        return std::nullopt;
    QVariantList values;
    for (const ExprValue &arg : args)
        values.append(toVariant(arg));
    QVariant result;
    m_onUserFunction(name, values, result);
    if (!result.isValid())
        return std::nullopt;
    return fromVariant(result);
}

std::optional<ExprValue> ReportScope::systemVariable(const QString &upperName)
{
    if (m_holdPageTotal && upperName == QLatin1String("TOTALPAGES"))
        ++m_pageTotalsAsked;
    return m_system.lookup(upperName);
}
