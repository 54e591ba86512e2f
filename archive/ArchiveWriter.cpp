#include "archive/ArchiveWriter.h"

#include "archive/StandardRows.h"
#include "engine/Constants.h"
#include "engine/Database.h"
#include "engine/Recordset.h"

namespace cli {

namespace {

// Empty texts and absent dates stay null, as when the office leaves a box blank.
void setText(dao::Recordset &rs, const char *field, const QString &text)
{
    if (!text.isEmpty())
        rs.field(QString::fromLatin1(field)).setValue(dao::Value(text));
}

void setDate(dao::Recordset &rs, const char *field, const std::optional<dao::Date> &date)
{
    if (date)
        rs.field(QString::fromLatin1(field)).setValue(dao::Value(*date));
}

void writeOrdered(dao::Database &db, const char *table, const std::vector<QString> &values)
{
    auto rs = db.OpenRecordset(QString::fromLatin1(table), dao::dbOpenDynaset);
    int order = 0;
    for (const QString &value : values) {
        rs->AddNew();
        rs->field(QString::fromLatin1(table)).setValue(dao::Value(value));
        rs->field(QStringLiteral("Ordine")).setValue(dao::Value(++order));
        rs->Update();
    }
    rs->Close();
}

} // namespace

ArchiveWriter::ArchiveWriter(dao::Database &db) : m_db(db) {}

ArchiveWriter::~ArchiveWriter() = default;

void ArchiveWriter::writeStandardRows()
{
    {
        auto rs = m_db.OpenRecordset(QStringLiteral("Gruppi"), dao::dbOpenDynaset);
        for (const QString &group : standard::groups()) {
            rs->AddNew();
            rs->field(QStringLiteral("Gruppo")).setValue(dao::Value(group));
            rs->Update();
        }
        rs->Close();
    }
    writeOrdered(m_db, "Fascia", standard::bands());
    writeOrdered(m_db, "Ruolo", standard::roles());
    writeOrdered(m_db, "Occupazione", standard::occupations());

    auto rs = m_db.OpenRecordset(QStringLiteral("Stampe"), dao::dbOpenDynaset);
    for (const standard::PrintedList &list : standard::printedLists()) {
        rs->AddNew();
        rs->field(QStringLiteral("Nome")).setValue(dao::Value(list.nome));
        rs->field(QStringLiteral("Tracciato")).setValue(dao::Value(list.tracciato));
        rs->field(QStringLiteral("Ordine")).setValue(dao::Value(list.ordine));
        rs->Update();
    }
    rs->Close();
}

qint64 ArchiveWriter::writeHousehold(const Household &h)
{
    if (!m_cards) {
        m_cards = m_db.OpenRecordset(QStringLiteral("Anagrafica"), dao::dbOpenDynaset);
        m_members = m_db.OpenRecordset(QStringLiteral("Nucleo"), dao::dbOpenDynaset);
    }
    dao::Recordset &rs = *m_cards;
    rs.AddNew();
    setText(rs, "Protocollo", h.protocollo);
    setText(rs, "Fascia", h.fascia);
    setText(rs, "Referente", h.referente);
    setText(rs, "Capofamiglia", h.capofamiglia);
    setText(rs, "Indirizzo", h.indirizzo);
    setText(rs, "Citta", h.citta);
    setText(rs, "Telefono", h.telefono);
    setText(rs, "Cellulare", h.cellulare);
    setText(rs, "Email", h.email);
    setText(rs, "Paese_di_origine", h.paeseDiOrigine);
    setText(rs, "Figli_in_patria", h.figliInPatria);
    setDate(rs, "Scad_ISEE", h.scadIsee);
    setText(rs, "Nucleo", nucleoSummary(h.members));
    setText(rs, "Abitazione", h.abitazione);
    static const char *const kGroupFields[6] = {"G1", "G2", "G3", "G4", "G5", "G6"};
    for (size_t g = 0; g < h.gruppi.size(); ++g)
        rs.field(QString::fromLatin1(kGroupFields[g])).setValue(dao::Value(h.gruppi[g]));
    setText(rs, "G6_altri", h.g6Altri);
    setDate(rs, "Inizio", h.inizio);
    setText(rs, "Necessita_alimentari", h.necessitaAlimentari);
    setText(rs, "Note", h.note);
    setText(rs, "Ascolto", h.ascolto);
    rs.Update();

    // The new row is not current after Update; its bookmark leads to the key the engine gave.
    rs.setBookmark(rs.LastModified());
    const qint64 card = rs.field(QStringLiteral("ID_SCHEDA")).value().asInt();

    dao::Recordset &members = *m_members;
    for (const Member &m : h.members) {
        members.AddNew();
        members.field(QStringLiteral("ID_SCHEDA")).setValue(dao::Value(card));
        setText(members, "Nome", m.nome);
        setText(members, "Ruolo", m.ruolo);
        setText(members, "Lavoro", m.lavoro);
        setDate(members, "Data_nascita", m.nascita);
        members.Update();
    }
    return card;
}

} // namespace cli
