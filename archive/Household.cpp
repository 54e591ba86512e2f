#include "archive/Household.h"

#include <QDate>

namespace cli {

QString nucleoSummary(const std::vector<Member> &members)
{
    QString text;
    for (const Member &m : members)
        text += m.nome + QStringLiteral(" - ") + m.ruolo + QLatin1Char('\r');
    return text;
}

dao::Date engineDate(int year, int month, int day)
{
    return dao::Date{double(dao::engineDayOf(QDate(year, month, day)))};
}

} // namespace cli
