#include "output/word/CardPlaceholders.h"

#include "db/TDataSet.h"
#include "db/TField.h"
#include "output/word/Application.h"

#include <stdexcept>

namespace word {

QString documentValueText(const QString &fieldText)
{
    if (fieldText == QLatin1String("True"))
        return QStringLiteral("X");
    if (fieldText == QLatin1String("False"))
        return QString();
    QString value = fieldText;
    value.remove(QLatin1Char('\n'));
    return value;
}

std::vector<Placeholder> cardPlaceholders(const TDataSet &cards, const QStringList &fieldNames)
{
    std::vector<Placeholder> placeholders;
    const QList<TField *> &fields = cards.fields();
    placeholders.reserve(size_t(fields.size()));
    for (qsizetype i = 0; i < fields.size(); ++i) {
        if (i >= fieldNames.size())
            throw std::out_of_range("List index out of bounds (" + std::to_string(i) + ")");
        placeholders.push_back({QLatin1Char('[') + fieldNames[i] + QLatin1Char(']'),
                                documentValueText(fields[i]->asString())});
    }
    return placeholders;
}

void replacePlaceholders(Application &application, const std::vector<Placeholder> &placeholders)
{
    FindObject &find = application.Selection().Find();
    find.ClearFormatting();
    find.Forward = true;
    find.Wrap = wdFindContinue;
    find.Format = false;
    find.MatchCase = false;
    find.MatchWholeWord = false;
    find.MatchWildcards = false;
    find.MatchSoundsLike = false;
    find.MatchAllWordForms = false;
    for (const Placeholder &placeholder : placeholders) {
        find.Text = placeholder.text;
        find.Replacement().Text = placeholder.value;
        find.Execute(wdReplaceAll);
    }
}

} // namespace word
