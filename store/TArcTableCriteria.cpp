// The record filter's criteria handed to the engine as a condition: each field the criteria
// read becomes a column with the text form its field object shows, so the engine compares
// and searches the very texts the record filter would.

#include "store/TArcTable.h"

#include "db/TField.h"
#include "engine/Recordset.h"

namespace {

// The engine's reading of a field's text, when the field object shows the stored value in a
// form the engine knows; none for calculated fields, hooked texts, binary and real numbers.
std::optional<dao::TextColumn> textColumnOf(const TField &field)
{
    if (field.isCalculated() || field.fieldNo() <= 0 || field.OnGetText)
        return std::nullopt;
    dao::TextForm form;
    switch (field.dataType()) {
    case TFieldType::ftString: case TFieldType::ftMemo: form = dao::TextForm::Plain; break;
    case TFieldType::ftSmallint: case TFieldType::ftInteger: case TFieldType::ftAutoInc:
        form = dao::TextForm::Number;
        break;
    case TFieldType::ftBoolean: form = dao::TextForm::Boolean; break;
    case TFieldType::ftDate: form = dao::TextForm::Date; break;
    case TFieldType::ftDateTime: form = dao::TextForm::DateTime; break;
    case TFieldType::ftTime: form = dao::TextForm::Time; break;
    default: return std::nullopt;
    }
    return dao::TextColumn{field.fieldName(), form};
}

constexpr int kSpareFirstKeys = 16;

// The records the controls show at once, and a few more for the first moves down: the rest
// of a selection is looked for only when something needs it, unless a walk is about to
// need all of it.
int firstKeysShown(bool wholeSelection, int buffers)
{
    return wholeSelection ? dao::Recordset::kAllKeys : buffers + kSpareFirstKeys;
}

} // namespace

std::optional<TFilterCriteria> TArcTable::currentCriteria() const
{
    if (!filtered() || !OnFilterRecord || !FilterCriteria)
        return std::nullopt;
    return FilterCriteria();
}

std::optional<dao::RecordCondition> TArcTable::engineCondition(const TFilterCriteria &criteria) const
{
    // A detail's recordset is replaced by its own select at every move of the master; a
    // dataset opening without persistent fields has none yet to read the record text from.
    if (m_tableName.isEmpty() || m_masterSource || fields().isEmpty())
        return std::nullopt;
    dao::RecordCondition condition;
    for (const TFilterCriteria::FieldEquals &equals : criteria.equals) {
        const TField *field = findField(equals.fieldName);
        const auto column = field ? textColumnOf(*field) : std::nullopt;
        if (!column)
            return std::nullopt;
        condition.equals.push_back({*column, equals.text});
    }
    if (!criteria.recordTextContains.isEmpty()) {
        // Compared as UTF-8 by the engine, which a lone surrogate would not survive.
        if (!criteria.recordTextContains.isValidUtf16())
            return std::nullopt;
        dao::RecordCondition::Contains contains;
        for (const TField *field : fields()) {
            const auto column = textColumnOf(*field);
            if (!column)
                return std::nullopt;
            contains.columns.push_back(*column);
        }
        contains.text = criteria.recordTextContains;
        condition.contains.push_back(std::move(contains));
    }
    return condition;
}

void TArcTable::applyCriteria()
{
    m_appliedCriteria = currentCriteria();
    m_criteriaInEngine = false;
    const std::optional<dao::RecordCondition> condition =
        m_appliedCriteria ? engineCondition(*m_appliedCriteria) : std::nullopt;
    if (!condition || condition->isEmpty()) {
        m_rs->setCondition({});
        // A sort left to the selection (TArcTable::openRecordset) is applied here, as the
        // recordset is shown without one. On a failure the recordset stays in place, so the
        // caller can go back to it.
        if (!m_rs->Sort().trimmed().isEmpty()) {
            if (OnEngineText)
                OnEngineText(QStringLiteral("OpenRecordset"), QString());
            m_rs->setFirstKeys(firstKeysShown(m_readsWholeSelection, bufferCount()));
            std::unique_ptr<dao::Recordset> ordered = m_rs->OpenRecordset(m_tableType, OpenOptionsValue());
            m_rs->Close();
            m_rs = std::move(ordered);
        }
        m_criteriaInEngine = condition.has_value();
        return;
    }
    if (OnEngineText)
        OnEngineText(QStringLiteral("Condition"), QString());
    m_rs->setCondition(*condition);
    m_rs->setFirstKeys(firstKeysShown(m_readsWholeSelection, bufferCount()));
    std::unique_ptr<dao::Recordset> selected = m_rs->OpenRecordset(m_tableType, OpenOptionsValue());
    m_criteriaBase = std::move(m_rs);
    m_rs = std::move(selected);
    m_criteriaInEngine = true;
}

bool TArcTable::criteriaChanged() const
{
    return m_rs && currentCriteria() != m_appliedCriteria;
}

// As a reopen, but from the recordset the old criteria were applied on: the new selection
// is one pass of the engine. Accepting every card shows the base's records themselves, as
// the record filter showed them after a move to the first record.
void TArcTable::reselect()
{
    replaceRecordset([this](RecordsetInUse &previous) {
        // The selection in use came from the base, or is the base itself when the engine
        // applied no criteria; the base goes back where it was if the selection fails.
        std::unique_ptr<dao::Recordset> &base = previous.criteriaBase ? previous.criteriaBase : previous.rs;
        m_rs = std::move(base);
        try {
            applyCriteria();
        } catch (...) {
            base = std::move(m_criteriaBase ? m_criteriaBase : m_rs);
            throw;
        }
    });
}
