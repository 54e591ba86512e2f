#include "output/criteria/CardCriteria.h"

#include "db/RecordText.h"
#include "db/TDataSet.h"
#include "db/TField.h"

#include <QStringList>

bool CardCriteria::accepts(const TDataSet &cards) const
{
    if (!band.isEmpty() && cards.fieldByName(QStringLiteral("Fascia"))->asString() != band)
        return false;
    if (!country.isEmpty() && cards.fieldByName(QStringLiteral("Paese_di_origine"))->asString() != country)
        return false;
    return searchText.isEmpty() || recordText(cards).contains(searchText);
}

TFilterCriteria CardCriteria::filterCriteria() const
{
    TFilterCriteria criteria;
    if (!band.isEmpty())
        criteria.equals.push_back({QStringLiteral("Fascia"), band});
    if (!country.isEmpty())
        criteria.equals.push_back({QStringLiteral("Paese_di_origine"), country});
    criteria.recordTextContains = searchText;
    return criteria;
}

QString CardCriteria::description() const
{
    QStringList parts;
    if (!band.isEmpty())
        parts << QStringLiteral("fascia %1").arg(band);
    if (!country.isEmpty())
        parts << QStringLiteral("paese %1").arg(country);
    if (!searchText.isEmpty())
        parts << QStringLiteral("ricerca \"%1\"").arg(searchText);
    if (parts.isEmpty())
        return QStringLiteral("Tutte le schede");
    QString text = parts.join(QStringLiteral(", "));
    text[0] = text[0].toUpper();
    return text;
}
