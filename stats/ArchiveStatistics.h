#pragma once
// The figures an office reports to its funders and to the food-aid programmes, counted at a
// reference date over the cards a card dataset accepts: households and persons, persons by
// age class, households by band, origin, country, housing and size, members by role and
// occupation, households also helped by each of the six bodies, and the state of their
// ISEE statements. Every figure the program shows, prints or exports comes from here.
//
// Only what was so at the reference date counts: a household whose "Inizio" is after it is
// left out (one without "Inizio" counts), and so is a member born after it. Ages are the
// card's (store/MemberAge.h) at the reference date; a member without a birth date is counted
// under "età non indicata". An ISEE statement expiring on the reference date is
// still running ("in scadenza"); one that expired the day before is "scaduto".

#include <QDate>
#include <QString>
#include <vector>

class TArcDatabase;
class TDataSet;

struct StatisticsRow {
    QString section;
    QString item;
    int value = 0;
};

class ArchiveStatistics final {
public:
    // Section titles, in the order the rows follow.
    static const QString kTotals, kAges, kBands, kOrigin, kCountries, kHousing, kSizes, kRoles, kOccupations,
        kBodies, kIsee;

    // Counts the cards `cards` (an archive table) accepts, its record filter included, so a
    // list's print criteria apply, and leaves it on the record it was on. The archive counts
    // them itself, with a few statements (storage's own grouped counts), whatever the number
    // of cards; the lookup tables are read through tables of their own on `database`.
    static ArchiveStatistics compute(TDataSet &cards, TArcDatabase &database, const QDate &at);

    const QDate &referenceDate() const { return m_at; }
    const std::vector<StatisticsRow> &rows() const { return m_rows; }
    // The value of the first row with this section and item; -1 when there is none.
    int value(const QString &section, const QString &item) const;

private:
    QDate m_at;
    std::vector<StatisticsRow> m_rows;
};
