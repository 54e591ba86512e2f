#include "engine/RecordCondition.h"

namespace dao {

namespace {

bool madeOf(const QString &text, QLatin1StringView characters)
{
    for (const QChar c : text)
        if (!characters.contains(c))
            return false;
    return true;
}

// Whether a text read with its letters a to z upper-cased can be found in a column's text
// in this form. A text holding a lower-case letter is found nowhere, so none can.
bool formCanHold(TextForm form, const QString &text)
{
    switch (form) {
    case TextForm::Plain:
        return true;
    case TextForm::Number:
        return madeOf(text, QLatin1StringView("0123456789-"));
    case TextForm::Boolean:
        return QLatin1StringView("TRUE").contains(text) || QLatin1StringView("FALSE").contains(text);
    case TextForm::Date:
        return madeOf(text, QLatin1StringView("0123456789/"));
    case TextForm::DateTime:
        return madeOf(text, QLatin1StringView("0123456789/ :"));
    case TextForm::Time:
        return madeOf(text, QLatin1StringView("0123456789:"));
    }
    return true;
}

} // namespace

std::vector<TextColumn> RecordCondition::Contains::columnsToRead() const
{
    if (text.isEmpty() || text.contains(QLatin1Char(' ')))
        return columns;
    std::vector<TextColumn> read;
    for (const TextColumn &column : columns)
        if (formCanHold(column.form, text))
            read.push_back(column);
    return read;
}

} // namespace dao
