#include "output/criteria/CardCriteria.h"

#include "db/RecordText.h"
#include "db/TDataSet.h"
#include "db/TField.h"

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
