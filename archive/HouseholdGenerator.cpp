#include "archive/HouseholdGenerator.h"

#include "archive/DemoVocabulary.h"
#include "archive/StandardRows.h"

#include <algorithm>

namespace cli {

namespace {

// Ages are worked out against a fixed year, never the clock, so that the output of a
// seed never changes.
constexpr int kReferenceYear = 2024;

// Mailbox names keep only plain lower-case letters ("Nicolò D'Angelo" -> "nicolo.dangelo").
QString asciiLetters(const QString &text)
{
    QString out;
    for (QChar c : text.normalized(QString::NormalizationForm_D).toLower()) {
        if (c >= QLatin1Char('a') && c <= QLatin1Char('z'))
            out += c;
    }
    return out;
}

} // namespace

Household HouseholdGenerator::next()
{
    ++m_count;
    Household h;
    const vocabulary::Origin &origin = pickOrigin();
    const bool italian = &origin == &vocabulary::origins().front();
    const QString surname = m_rng.pick(origin.surnames);
    const bool headFemale = m_rng.percent(45);
    const QString first = m_rng.pick(headFemale ? origin.female : origin.male);
    const int startYear = m_rng.between(2012, kReferenceYear);

    h.protocollo = QStringLiteral("%1/%2").arg(m_count).arg(startYear % 100, 2, 10, QLatin1Char('0'));
    h.fascia = m_rng.pick(standard::bands());
    if (m_rng.percent(40))
        h.referente = m_rng.pick(vocabulary::referents());
    h.capofamiglia = surname + QLatin1Char(' ') + first;

    h.indirizzo = m_rng.pick(vocabulary::streets()) + QStringLiteral(", ")
        + QString::number(m_rng.between(1, 180));
    if (m_rng.percent(12))
        h.indirizzo += QLatin1Char('/') + QChar(QLatin1Char('A').unicode() + m_rng.below(3));
    const vocabulary::Town &town = m_rng.pick(vocabulary::towns());
    h.citta = town.name;
    if (m_rng.percent(45))
        h.telefono = town.areaCode + QLatin1Char(' ') + digits(10 - int(town.areaCode.size()));
    if (m_rng.percent(85))
        h.cellulare = QStringLiteral("3%1 %2").arg(m_rng.between(20, 93)).arg(digits(7));
    if (m_rng.percent(35))
        h.email = mailbox(first, surname);

    h.paeseDiOrigine = origin.country;
    if (!italian && m_rng.percent(30))
        h.figliInPatria = QString::number(m_rng.between(1, 3));
    if (m_rng.percent(88))
        h.scadIsee = dayOfYear(m_rng.between(kReferenceYear, kReferenceYear + 2));
    if (m_rng.percent(90))
        h.abitazione = m_rng.pick(vocabulary::housing());

    static constexpr int kGroupShare[6] = {70, 30, 40, 10, 25, 10};
    for (int g = 0; g < 6; ++g)
        h.gruppi[size_t(g)] = m_rng.percent(kGroupShare[g]);
    if (h.gruppi[5])
        h.g6Altri = m_rng.pick(vocabulary::otherBodies());
    if (m_rng.percent(92))
        h.inizio = dayOfYear(startYear);

    if (m_rng.percent(60))
        h.necessitaAlimentari = m_rng.pick(vocabulary::foodNeeds());
    if (m_rng.percent(50))
        h.note = m_rng.pick(vocabulary::notes());
    if (m_rng.percent(30))
        h.ascolto = m_rng.pick(vocabulary::listening());

    addMembers(h, origin, surname, h.capofamiglia, headFemale);
    return h;
}

const vocabulary::Origin &HouseholdGenerator::pickOrigin()
{
    const auto &all = vocabulary::origins();
    int total = 0;
    for (const auto &o : all)
        total += o.weight;
    int draw = m_rng.below(total);
    for (const auto &o : all) {
        if (draw < o.weight)
            return o;
        draw -= o.weight;
    }
    return all.front();
}

void HouseholdGenerator::addMembers(Household &h, const vocabulary::Origin &origin,
                                    const QString &surname, const QString &headName,
                                    bool headFemale)
{
    const bool partner = m_rng.percent(60);
    const bool elder = m_rng.percent(10);
    const int room = 6 - 1 - int(partner) - int(elder);
    const int children = std::min(m_rng.between(0, 4), room);
    const int headYear = m_rng.between(1948, 2001);

    // Two members of one household never share a name: the card would be ambiguous. The
    // pools are large enough for the largest household of one surname and sex.
    const auto freshName = [&](const QString &familyName, bool female) {
        std::vector<QString> candidates;
        for (const QString &given : female ? origin.female : origin.male) {
            QString name = familyName + QLatin1Char(' ') + given;
            if (std::none_of(h.members.begin(), h.members.end(),
                             [&](const Member &m) { return m.nome == name; }))
                candidates.push_back(std::move(name));
        }
        if (candidates.empty())
            return familyName + QLatin1Char(' ') + m_rng.pick(female ? origin.female : origin.male);
        return m_rng.pick(candidates);
    };
    const auto parentRole = [&](bool female) {
        if (children == 0)
            return QStringLiteral("Capofamiglia");
        return female ? QStringLiteral("Madre") : QStringLiteral("Padre");
    };
    h.members.push_back(person(headName, parentRole(headFemale), headFemale, headYear));

    if (partner) {
        const bool female = !headFemale;
        const QString name = freshName(m_rng.pick(origin.surnames), female);
        const QString role = children == 0 ? QStringLiteral("Coniuge") : parentRole(female);
        h.members.push_back(person(name, role, female, std::min(headYear + m_rng.between(-6, 6), 2004)));
    }
    for (int i = 0; i < children; ++i) {
        const bool female = m_rng.percent(50);
        const QString name = freshName(surname, female);
        const int year = std::min(headYear + m_rng.between(18, 40), kReferenceYear);
        h.members.push_back(person(name, female ? QStringLiteral("Figlia") : QStringLiteral("Figlio"),
                                   female, year));
    }
    if (elder) {
        const bool female = m_rng.percent(60);
        const QString name = freshName(m_rng.pick(origin.surnames), female);
        QString role = QStringLiteral("Altro");
        if (children > 0)
            role = female ? QStringLiteral("Nonna") : QStringLiteral("Nonno");
        h.members.push_back(person(name, role, female, std::max(headYear - m_rng.between(20, 30), 1930)));
    }
}

Member HouseholdGenerator::person(const QString &name, const QString &role, bool female,
                                  int birthYear)
{
    Member m;
    m.nome = name;
    m.ruolo = role;
    m.lavoro = occupationAt(kReferenceYear - birthYear, female);
    // An office does not always have the birth date on file.
    if (m_rng.percent(95))
        m.nascita = dayOfYear(birthYear);
    return m;
}

QString HouseholdGenerator::occupationAt(int age, bool female)
{
    if (age < 6)
        return {};
    if (age < 19)
        return QStringLiteral("Studente");
    if (age >= 67)
        return QStringLiteral("Pensionato");
    static const std::vector<QString> working = {
        QStringLiteral("Disoccupato"), QStringLiteral("Operaio"), QStringLiteral("Impiegato"),
        QStringLiteral("Colf/Badante"), QStringLiteral("Lavoro saltuario"),
        QStringLiteral("Invalido"), QStringLiteral("Altro")};
    if (female && m_rng.percent(20))
        return QStringLiteral("Casalinga");
    return m_rng.pick(working);
}

QString HouseholdGenerator::mailbox(const QString &first, const QString &surname)
{
    const QString domain = m_rng.pick(vocabulary::mailDomains());
    QString local = asciiLetters(first) + QLatin1Char('.') + asciiLetters(surname);
    if (m_rng.percent(40))
        local += QString::number(m_rng.between(10, 99));
    // Email is Text(40).
    local.truncate(40 - 1 - int(domain.size()));
    return local + QLatin1Char('@') + domain;
}

QString HouseholdGenerator::digits(int count)
{
    QString out;
    for (int i = 0; i < count; ++i)
        out += QChar(QLatin1Char('0').unicode() + m_rng.below(10));
    return out;
}

dao::Date HouseholdGenerator::dayOfYear(int year)
{
    const dao::Date first = engineDate(year, 1, 1);
    return dao::Date{first.days + m_rng.below(365)};
}

} // namespace cli
