#include "store/Schema.h"

#include "engine/Constants.h"
#include "engine/Database.h"

namespace schema {

namespace {

const QString kShortDate = QStringLiteral("Short Date");

dao::FieldSpec text(const char *name, int size)
{
    dao::FieldSpec f;
    f.name = QString::fromLatin1(name);
    f.type = dao::dbText;
    f.size = size;
    return f;
}

dao::FieldSpec ofType(const char *name, int type)
{
    dao::FieldSpec f;
    f.name = QString::fromLatin1(name);
    f.type = type;
    return f;
}

dao::FieldSpec counter(const char *name)
{
    dao::FieldSpec f = ofType(name, dao::dbLong);
    f.autoIncrement = true;
    return f;
}

// Dates of the archive carry no time of day; the format tells the grids and edits so.
dao::FieldSpec date(const char *name)
{
    dao::FieldSpec f = ofType(name, dao::dbDate);
    f.format = kShortDate;
    return f;
}

// A check box that was never touched must read as clear, not as null.
dao::FieldSpec checkBox(const char *name)
{
    dao::FieldSpec f = ofType(name, dao::dbBoolean);
    f.defaultValue = dao::Value(false);
    return f;
}

dao::TableSpec anagrafica()
{
    return {QStringLiteral("Anagrafica"),
            {counter("ID_SCHEDA"), text("Protocollo", 10), text("Fascia", 10),
             text("Referente", 100), text("Capofamiglia", 100), text("Indirizzo", 100),
             text("Citta", 100), text("Telefono", 40), text("Cellulare", 40), text("Email", 40),
             text("Paese_di_origine", 100), text("Figli_in_patria", 10), date("Scad_ISEE"),
             ofType("Nucleo", dao::dbMemo), text("Abitazione", 100), checkBox("G1"),
             checkBox("G2"), checkBox("G3"), checkBox("G4"), checkBox("G5"), checkBox("G6"),
             text("G6_altri", 100), date("Inizio"), ofType("Necessita_alimentari", dao::dbMemo),
             ofType("Note", dao::dbMemo), ofType("Ascolto", dao::dbMemo)}};
}

dao::TableSpec nucleo()
{
    return {QStringLiteral("Nucleo"),
            {counter("ID_PERSONA"), ofType("ID_SCHEDA", dao::dbLong), text("Nome", 100),
             text("Ruolo", 40), text("Lavoro", 40), date("Data_nascita")}};
}

// Fascia, Ruolo and Occupazione share one shape: a value and its display order.
dao::TableSpec lookup(const char *name, int size)
{
    return {QString::fromLatin1(name), {text(name, size), ofType("Ordine", dao::dbInteger)}};
}

std::vector<dao::TableSpec> buildTables()
{
    return {anagrafica(),
            nucleo(),
            lookup("Fascia", 10),
            lookup("Ruolo", 40),
            lookup("Occupazione", 40),
            {QStringLiteral("Gruppi"), {counter("ID"), text("Gruppo", 20)}},
            {QStringLiteral("Stampe"),
             {counter("ID"), text("Nome", 100), text("Tracciato", 100), text("Ordine", 100)}}};
}

} // namespace

const std::vector<dao::TableSpec> &archiveTables()
{
    static const std::vector<dao::TableSpec> tables = buildTables();
    return tables;
}

void createArchiveTables(dao::Database &db)
{
    for (const dao::TableSpec &table : archiveTables())
        db.CreateTable(table);
}

void trackArchiveChanges(dao::Database &db)
{
    for (const char *table : {"Anagrafica", "Nucleo"})
        db.TrackChanges(QString::fromLatin1(table), QStringLiteral("ID_SCHEDA"));
}

} // namespace schema

namespace schema {

void startHistoryWhereMissing(dao::Database &db)
{
    const QStringList tables = db.connection()->tableNames();
    if (tables.contains(QStringLiteral("Anagrafica"), Qt::CaseInsensitive)
        && tables.contains(QStringLiteral("Nucleo"), Qt::CaseInsensitive) && db.TrackedTables().empty())
        trackArchiveChanges(db);
}

} // namespace schema
