#include "stats/ArchiveStatistics.h"

#include "db/TDataSet.h"
#include "db/TField.h"
#include "store/BodyCaptions.h"
#include "store/MemberAge.h"
#include "store/TArcTable.h"

#include <QHash>
#include <optional>
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

const QString kNotGiven = QStringLiteral("non indicato");

// Counts by a text value, without regard to case or surrounding blanks ("italia " is
// Italia): the values seeded first (a lookup table's, in its order, even when nobody has
// them), then the others, each under its first spelling, then the empty value as `missing`.
class Tally {
public:
    enum class Rest { Alphabetical, MostFirst };

    void seed(const QStringList &values)
    {
        for (const QString &v : values) {
            const QString key = keyOf(v);
            if (!key.isEmpty() && !m_entries.contains(key)) {
                m_entries.insert(key, {v.trimmed(), 0});
                m_seeded << key;
            }
        }
    }
    void add(const QString &value)
    {
        const QString key = keyOf(value);
        auto it = m_entries.find(key);
        if (it == m_entries.end())
            it = m_entries.insert(key, {value.trimmed(), 0});
        ++it->count;
    }

    void appendTo(std::vector<StatisticsRow> &rows, const QString &section, Rest rest, const QString &missing) const
    {
        for (const QString &key : m_seeded)
            rows.push_back({section, m_entries[key].shown, m_entries[key].count});
        std::vector<Entry> others;
        for (auto it = m_entries.cbegin(); it != m_entries.cend(); ++it)
            if (!it.key().isEmpty() && !m_seeded.contains(it.key()))
                others.push_back(it.value());
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
    };
    static QString keyOf(const QString &value) { return value.trimmed().toCaseFolded(); }

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

size_t ageClass(std::optional<int> age)
{
    if (!age || *age < 0)
        return 5;
    if (*age <= 5)
        return 0;
    if (*age <= 15)
        return 1;
    if (*age <= 17)
        return 2;
    return *age <= 64 ? 3 : 4;
}

struct Member {
    QString role;
    QString occupation;
    std::optional<int> age;
};

// A table of the archive of its own, so that walking it moves no window's cursor.
class OwnTable {
public:
    OwnTable(TArcDatabase &database, const char *table, const char *sort = nullptr)
    {
        m_table.setDatabase(&database);
        m_table.setTableName(QString::fromLatin1(table));
        if (sort)
            m_table.setSortedBy({QString::fromLatin1(sort)});
        m_table.open();
    }
    TArcTable &operator*() { return m_table; }
    TArcTable *operator->() { return &m_table; }
    QStringList column(const char *field)
    {
        const TField *f = m_table.fieldByName(QString::fromLatin1(field));
        QStringList values;
        const TDataSet::ReadBatch reads(&m_table);
        for (m_table.first(); !m_table.eof(); m_table.next())
            values << f->asString();
        return values;
    }

private:
    TArcTable m_table;
};

// The value texts of fields for every record of table: read with one statement where the
// storage can tell which records the table shows, else by walking it (the record filter of
// program code decides).
std::vector<QStringList> valueTexts(TDataSet &table, const QStringList &names)
{
    if (auto *stored = qobject_cast<TArcTable *>(&table)) {
        if (auto texts = stored->selectionValueTexts(names))
            return std::move(*texts);
    }
    std::vector<const TField *> fields;
    for (const QString &name : names)
        fields.push_back(table.fieldByName(name));
    std::vector<QStringList> records;
    const TDataSet::ReadBatch reads(&table);
    for (table.first(); !table.eof(); table.next()) {
        QStringList texts;
        for (const TField *field : fields)
            texts << field->valueText();
        records.push_back(std::move(texts));
    }
    return records;
}

std::optional<QDate> dateOf(const QString &valueText)
{
    QDate date;
    int ms = 0;
    if (valueText.isEmpty() || !TField::parseDateTimeParts(valueText, date, ms))
        return std::nullopt;
    return date;
}

bool isTrue(const QString &valueText)
{
    return valueText.compare(QLatin1String("True"), Qt::CaseInsensitive) == 0 || valueText == QLatin1String("-1");
}

QHash<qint64, std::vector<Member>> membersByCard(TArcDatabase &database, const QDate &at)
{
    OwnTable members(database, "Nucleo");
    QHash<qint64, std::vector<Member>> byCard;
    for (const QStringList &m : valueTexts(*members, {QStringLiteral("ID_SCHEDA"), QStringLiteral("Ruolo"),
                                                        QStringLiteral("Lavoro"), QStringLiteral("Data_nascita")})) {
        // Someone born after the date was nobody's member then; without a birth date a
        // member counts, under "età non indicata".
        const std::optional<QDate> birth = dateOf(m[3]);
        if (birth && *birth > at)
            continue;
        const std::optional<int> age = birth ? memberAge(*birth, at) : std::nullopt;
        byCard[m[0].toLongLong()].push_back({m[1], m[2], age});
    }
    return byCard;
}

// Puts the cards back where they were, with their controls, whatever ends the walk.
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
            // The card went away meanwhile: the walk leaves the cards at their end.
        }
        m_cards.enableControls();
    }
    WalkScope(const WalkScope &) = delete;
    WalkScope &operator=(const WalkScope &) = delete;

private:
    TDataSet &m_cards;
    TBookmark m_mark;
};

} // namespace

ArchiveStatistics ArchiveStatistics::compute(TDataSet &cards, TArcDatabase &database, const QDate &at)
{
    ArchiveStatistics result;
    result.m_at = at;
    const QHash<qint64, std::vector<Member>> members = membersByCard(database, at);

    Tally bands, countries, housing, roles, occupations;
    bands.seed(OwnTable(database, "Fascia", "[Ordine] ASC").column("Fascia"));
    roles.seed(OwnTable(database, "Ruolo", "[Ordine] ASC").column("Ruolo"));
    occupations.seed(OwnTable(database, "Occupazione", "[Ordine] ASC").column("Occupazione"));
    QStringList bodies = [&] {
        OwnTable groups(database, "Gruppi");
        return bodyCaptions(*groups);
    }();
    Classes<6> ages{{"0-5 anni", "6-15 anni", "16-17 anni", "18-64 anni", "65 anni e oltre", "età non indicata"}};
    Classes<3> origin{{"Italia", "Altri paesi", "Paese non indicato"}};
    Classes<7> sizes{{"Nessun componente", "1 componente", "2 componenti", "3 componenti", "4 componenti",
                      "5 componenti", "6 componenti e più"}};
    Classes<4> isee{{"Scaduto", "In scadenza entro 30 giorni", "Valido oltre 30 giorni", "Non indicato"}};
    std::array<int, 6> helped{};
    int households = 0;
    int persons = 0;

    enum CardField { Id, Band, Country, Home, Expiry, Begun, FirstFlag };
    QStringList names{QStringLiteral("ID_SCHEDA"), QStringLiteral("Fascia"), QStringLiteral("Paese_di_origine"),
                      QStringLiteral("Abitazione"), QStringLiteral("Scad_ISEE"), QStringLiteral("Inizio")};
    for (size_t g = 0; g < helped.size(); ++g)
        names << QStringLiteral("G%1").arg(g + 1);
    const std::vector<QStringList> cardTexts = [&] {
        const WalkScope walk(cards);
        return valueTexts(cards, names);
    }();
    static const std::vector<Member> kNobody;
    for (const QStringList &card : cardTexts) {
        // A household whose assistance began after the date was not assisted then. One
        // without a beginning counts: it is on the cards, and nothing says it came later.
        if (const std::optional<QDate> begun = dateOf(card[Begun]); begun && *begun > at)
            continue;
        ++households;
        const auto found = members.constFind(card[Id].toLongLong());
        const std::vector<Member> &household = found == members.cend() ? kNobody : *found;
        persons += int(household.size());
        for (const Member &m : household) {
            ++ages.counts[ageClass(m.age)];
            roles.add(m.role);
            occupations.add(m.occupation);
        }
        ++sizes.counts[std::min<size_t>(household.size(), 6)];
        bands.add(card[Band]);
        const QString from = card[Country].trimmed();
        countries.add(from);
        ++origin.counts[from.isEmpty() ? 2 : from.compare(QLatin1String("Italia"), Qt::CaseInsensitive) == 0 ? 0 : 1];
        housing.add(card[Home]);
        for (size_t g = 0; g < helped.size(); ++g)
            helped[g] += isTrue(card[FirstFlag + int(g)]) ? 1 : 0;
        if (const std::optional<QDate> expiry = dateOf(card[Expiry]); !expiry) {
            ++isee.counts[3];
        } else {
            const qint64 days = at.daysTo(*expiry);
            ++isee.counts[days < 0 ? 0 : days <= 30 ? 1 : 2];
        }
    }

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
        const QString caption = bodies.value(int(g)).trimmed();
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
