#include "session/MemberAges.h"

#include "db/TDataSet.h"
#include "db/TField.h"
#include "store/MemberAge.h"

#include <QDateTime>

void fillMemberAge(TDataSet &nucleo, const QDate &today)
{
    const QDateTime birth = nucleo.fieldByName(QStringLiteral("Data_nascita"))->asDateTime();
    TField *age = nucleo.fieldByName(QStringLiteral("Eta"));
    if (const auto years = memberAge(birth.date(), today))
        age->setAsInteger(*years);
}
