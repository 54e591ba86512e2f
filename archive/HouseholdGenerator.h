#pragma once
// Makes plausible fictional households, the same sequence for the same seed on every
// machine: the demo archive and the large archives of the benchmarks come from here.

#include "archive/Household.h"
#include "archive/Prng.h"

namespace cli {

namespace vocabulary {
struct Origin;
}

class HouseholdGenerator {
public:
    static constexpr quint64 kDemoSeed = 0x7A50'2019ULL;
    static constexpr quint64 kGeneratedSeed = 0x5C4E'DE00ULL;
    static constexpr int kDemoHouseholds = 60;
    // Protocol numbers are "count/yy" in a Text(10) field.
    static constexpr int kMaxHouseholds = 1'000'000;

    explicit HouseholdGenerator(quint64 seed) : m_rng(seed) {}

    // The next household; its protocol number counts from 1.
    Household next();

private:
    const vocabulary::Origin &pickOrigin();
    void addMembers(Household &h, const vocabulary::Origin &origin, const QString &surname,
                    const QString &headName, bool headFemale);
    Member person(const QString &name, const QString &role, bool female, int birthYear);
    QString occupationAt(int age, bool female);
    QString mailbox(const QString &first, const QString &surname);
    QString digits(int count);
    dao::Date dayOfYear(int year);

    Prng m_rng;
    int m_count = 0;
};

} // namespace cli
