#include "tools/cli/Household.h"

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
    static const QDate epoch(1899, 12, 30);
    return dao::Date{double(epoch.daysTo(QDate(year, month, day)))};
}

} // namespace cli
