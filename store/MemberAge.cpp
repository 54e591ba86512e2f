#include "store/MemberAge.h"

#include <cmath>

namespace {

constexpr double kDaysPerYear = 365.25;
// A date-time of 0 is the archive's empty date.
const QDate kZeroDate(1899, 12, 30);

} // namespace

std::optional<int> memberAge(const QDate &birth, const QDate &today)
{
    if (!birth.isValid() || birth == kZeroDate)
        return std::nullopt;
    return int(std::trunc(double(birth.daysTo(today)) / kDaysPerYear));
}
