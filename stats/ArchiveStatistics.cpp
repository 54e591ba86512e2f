#include "stats/ArchiveStatistics.h"

#include "db/DatabaseError.h"
#include "db/TDataSet.h"
#include "db/TField.h"
#include "store/BodyCaptions.h"
#include "store/TArcTable.h"

#include <QHash>
#include <algorithm>
#include <array>

const QString ArchiveStatistics::kTotals = QStringLiteral("Totali");
const QString ArchiveStatistics::kAges = QStringLiteral("Persone per età");
const QString ArchiveStatistics::kBands = QStringLiteral("Nuclei per fascia");
const QString ArchiveStatistics::kOrigin = QStringLiteral("Nuclei per origine");
const QString ArchiveStatistics::kCountries = QStringLiteral("Nuclei per paese di origine");
const QString ArchiveStatistics::kHousing = QStringLiteral("Nuclei per situazione abitativa");
const QString ArchiveStatistics::kSizes = QStringLiteral("Nuclei per numero di componenti");
const QString ArchiveStatistics::kRoles = QStringLiteral("Persone per ruolo");
const QString ArchiveStatistics::kOccupations = QStringLiteral("Persone per occupazione");
const QString ArchiveStatistics::kBodies = QStringLiteral("Nuclei assistiti anche da");
const QString ArchiveStatistics::kIsee = QStringLiteral("ISEE");

namespace {

using dao::SummaryTerm;

const QString kNotGiven = QStringLiteral("non indicato");

// Counts by a text value, without regard to case or surrounding blanks ("italia " is
// Italia): the values seeded first (a lookup table's, in its order, even when nobody has
// them), then the others, each under the spelling most of its rows have (of equal ones, the
// first in code order, capitals before small letters), then the empty value as `missing`.
class Tally {
public:
    enum class Rest { Alphabetical, MostFirst };

    void seed(const QStringList &values)
    {
        for (const QString &v : values) {
            const QString key = keyOf(v);
            if (!key.isEmpty() && !m_entries.contains(key)) {
                m_entries.insert(key, {v.trimmed(), 0, {}});
                m_seeded << key;
            }
        }
    }
    void add(const QString &value, qint64 count)
    {
        Entry &entry = m_entries[keyOf(value)];
        entry.count += int(count);
        entry.spellings[value.trimmed()] += int(count);
    }

    void appendTo(std::vector<StatisticsRow> &rows, const QString &section, Rest rest, const QString &missing) const
    {
        for (const QString &key : m_seeded)
            rows.push_back({section, m_entries[key].shown, m_entries[key].count});
        std::vector<Entry> others;
        for (auto it = m_entries.cbegin(); it != m_entries.cend(); ++it)
            if (!it.key().isEmpty() && !m_seeded.contains(it.key()))
                others.push_back(withCommonestSpelling(it.value()));
        std::sort(others.begin(), others.end(), [rest](const Entry &a, const Entry &b) {
            if (rest == Rest::MostFirst && a.count != b.count)
                return a.count > b.count;
            return a.shown.compare(b.shown, Qt::CaseInsensitive) < 0;
        });
        for (const Entry &e : others)
            rows.push_back({section, e.shown, e.count});
        if (const int none = m_entries.value(QString()).count; none > 0)
            rows.push_back({section, missing, none});
    }

private:
    struct Entry {
        QString shown;
        int count = 0;
        QHash<QString, int> spellings;
    };
    static QString keyOf(const QString &value) { return value.trimmed().toCaseFolded(); }
    static Entry withCommonestSpelling(Entry entry)
    {
        int most = -1;
        for (auto it = entry.spellings.cbegin(); it != entry.spellings.cend(); ++it) {
            if (it.value() > most || (it.value() == most && it.key() < entry.shown)) {
                most = it.value();
                entry.shown = it.key();
            }
        }
        return entry;
    }

    QHash<QString, Entry> m_entries;
    QStringList m_seeded;
};

// Fixed classes counted by their index.
template <size_t N>
struct Classes {
    std::array<const char *, N> names;
    std::array<int, N> counts{};
    void appendTo(std::vector<StatisticsRow> &rows, const QString &section) const
    {
        for (size_t i = 0; i < N; ++i)
            rows.push_back({section, QString::fromUtf8(names[i]), counts[i]});
    }
};

// A table of the archive of its own, so that reading it moves no window's cursor.
QStringList column(TArcDatabase &database, const char *table, const char *field, const char *sort)
{
    TArcTable own;
    own.setDatabase(&database);
    own.setTableName(QString::fromLatin1(table));
    own.setSortedBy({QString::fromLatin1(sort)});
    own.open();
    const TField *f = own.fieldByName(QString::fromLatin1(field));
    QStringList values;
    const TDataSet::ReadBatch reads(&own);
    for (own.first(); !own.eof(); own.next())
        values << f->asString();
    return values;
}

QStringList bodies(TArcDatabase &database)
{
    TArcTable groups;
    groups.setDatabase(&database);
    groups.setTableName(QStringLiteral("Gruppi"));
    groups.open();
    return bodyCaptions(groups);
}

// Puts the cards back where they were, with their controls, whatever ends the reading.
class WalkScope {
public:
    explicit WalkScope(TDataSet &cards) : m_cards(cards), m_mark(cards.isEmpty() ? TBookmark() : cards.getBookmark())
    {
        m_cards.disableControls();
    }
    ~WalkScope()
    {
        try {
            if (!m_mark.isEmpty() && m_cards.bookmarkValid(m_mark))
                m_cards.gotoBookmark(m_mark);
        } catch (...) {
            // The card went away meanwhile: the cards stay at their end.
        }
        m_cards.enableControls();
    }
    WalkScope(const WalkScope &) = delete;
    WalkScope &operator=(const WalkScope &) = delete;

private:
    TDataSet &m_cards;
    TBookmark m_mark;
};

// The cards' figures: a household whose assistance began after the date was not assisted
// then; one without a beginning counts (it is on the cards, and nothing says it came later).
// An ISEE statement expiring on the date is running: bands of days from the date up to -1
// (expired), up to 30, beyond.
enum CardTerm { Band, Country, Home, Isee };
dao::Summary cardSummary(const QDate &at)
{
    dao::Summary s;
    s.reference = at;
    s.terms = {{SummaryTerm::Measure::Stored, QStringLiteral("Fascia"), {}},
               {SummaryTerm::Measure::Stored, QStringLiteral("Paese_di_origine"), {}},
               {SummaryTerm::Measure::Stored, QStringLiteral("Abitazione"), {}},
               {SummaryTerm::Measure::DaysFrom, QStringLiteral("Scad_ISEE"), {-1, 30}}};
    for (int g = 1; g <= 6; ++g)
        s.yesCounts << QStringLiteral("G%1").arg(g);
    s.selectionNotAfter = {QStringLiteral("Inizio")};
    return s;
}

// The members of those cards, less anyone born after the date (nobody's member then); in
// the same pass, the cards by their number of such members.
dao::Summary memberSummary(const QDate &at)
{
    dao::Summary s;
    s.reference = at;
    s.selectionNotAfter = {QStringLiteral("Inizio")};
    s.details = dao::Summary::Details{QStringLiteral("Nucleo"), QStringLiteral("ID_SCHEDA"), QStringLiteral("ID_SCHEDA"),
                                      {QStringLiteral("Data_nascita")}, true};
    s.terms = {{SummaryTerm::Measure::Stored, QStringLiteral("Ruolo"), {}},
               {SummaryTerm::Measure::Stored, QStringLiteral("Lavoro"), {}},
               {SummaryTerm::Measure::Age, QStringLiteral("Data_nascita"), {-1, 5, 15, 17, 64}}};
    return s;
}
enum MemberTerm { Role, Job, Age };

// The age class of a member's band of age: a member without a birth date (or one older
// than the date, which cannot be counted as born) under "età non indicata".
size_t ageClass(const dao::Value &band)
{
    return band.isNull() || band.asInt() == 0 ? 5 : size_t(band.asInt() - 1);
}

} // namespace

ArchiveStatistics ArchiveStatistics::compute(TDataSet &cards, TArcDatabase &database, const QDate &at)
{
    auto *table = qobject_cast<TArcTable *>(&cards);
    if (!table)
        throw EDatabaseError(QStringLiteral("The statistics count the cards of an archive table"));
    ArchiveStatistics result;
    result.m_at = at;

    Tally bands, countries, housing, roles, occupations;
    bands.seed(column(database, "Fascia", "Fascia", "[Ordine] ASC"));
    roles.seed(column(database, "Ruolo", "Ruolo", "[Ordine] ASC"));
    occupations.seed(column(database, "Occupazione", "Occupazione", "[Ordine] ASC"));
    const QStringList bodyNames = bodies(database);
    Classes<6> ages{{"0-5 anni", "6-15 anni", "16-17 anni", "18-64 anni", "65 anni e oltre", "età non indicata"}};
    Classes<3> origin{{"Italia", "Altri paesi", "Paese non indicato"}};
    Classes<7> sizes{{"Nessun componente", "1 componente", "2 componenti", "3 componenti", "4 componenti",
                      "5 componenti", "6 componenti e più"}};
    Classes<4> isee{{"Scaduto", "In scadenza entro 30 giorni", "Valido oltre 30 giorni", "Non indicato"}};
    std::array<int, 6> helped{};
    int households = 0;
    int persons = 0;

    std::vector<dao::SummaryGroup> cardGroups, memberGroups;
    {
        const WalkScope walk(cards);
        // One read of the archive: both counts see the same cards.
        const TDataSet::ReadBatch reads(&cards);
        cardGroups = table->selectionSummary(cardSummary(at));
        memberGroups = table->selectionSummary(memberSummary(at));
    }

    for (const dao::SummaryGroup &g : cardGroups) {
        households += int(g.rows);
        bands.add(g.terms[Band].asText(), g.rows);
        const QString from = g.terms[Country].asText().trimmed();
        countries.add(from, g.rows);
        origin.counts[from.isEmpty() ? 2 : from.compare(QLatin1String("Italia"), Qt::CaseInsensitive) == 0 ? 0 : 1] +=
            int(g.rows);
        housing.add(g.terms[Home].asText(), g.rows);
        isee.counts[g.terms[Isee].isNull() ? 3 : size_t(g.terms[Isee].asInt())] += int(g.rows);
        for (size_t i = 0; i < helped.size(); ++i)
            helped[i] += int(g.yes[i]);
    }
    int withMembers = 0;
    for (const dao::SummaryGroup &g : memberGroups) {
        if (g.perSelectedRow) {
            sizes.counts[size_t(std::clamp<qint64>(g.terms[0].asInt(), 1, 6))] += int(g.rows);
            withMembers += int(g.rows);
            continue;
        }
        persons += int(g.rows);
        ages.counts[ageClass(g.terms[Age])] += int(g.rows);
        roles.add(g.terms[Role].asText(), g.rows);
        occupations.add(g.terms[Job].asText(), g.rows);
    }
    sizes.counts[0] = households - withMembers;

    std::vector<StatisticsRow> &rows = result.m_rows;
    rows.push_back({kTotals, QStringLiteral("Nuclei familiari"), households});
    rows.push_back({kTotals, QStringLiteral("Persone"), persons});
    ages.appendTo(rows, kAges);
    bands.appendTo(rows, kBands, Tally::Rest::Alphabetical, QStringLiteral("non indicata"));
    origin.appendTo(rows, kOrigin);
    countries.appendTo(rows, kCountries, Tally::Rest::MostFirst, kNotGiven);
    housing.appendTo(rows, kHousing, Tally::Rest::MostFirst, QStringLiteral("non indicata"));
    sizes.appendTo(rows, kSizes);
    roles.appendTo(rows, kRoles, Tally::Rest::Alphabetical, kNotGiven);
    occupations.appendTo(rows, kOccupations, Tally::Rest::Alphabetical, kNotGiven);
    for (size_t g = 0; g < helped.size(); ++g) {
        const QString caption = bodyNames.value(int(g)).trimmed();
        rows.push_back({kBodies, caption.isEmpty() ? QStringLiteral("Ente %1").arg(g + 1) : caption, helped[g]});
    }
    isee.appendTo(rows, kIsee);
    return result;
}

int ArchiveStatistics::value(const QString &section, const QString &item) const
{
    for (const StatisticsRow &row : m_rows)
        if (row.section == section && row.item == item)
            return row.value;
    return -1;
}
