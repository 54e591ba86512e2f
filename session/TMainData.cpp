#include "session/TMainData.h"

#include "db/Fields.h"

#include <initializer_list>

namespace {

enum class Kind { AutoInc, String, Smallint, Integer, Boolean, Date, Memo, CalculatedInteger };

struct FieldSpec {
    const char *name;
    Kind kind;
    int size = 0;           // text size, String only
    int displayWidth = 0;   // characters; 0 keeps the kind's default
};

// Display widths are the grids' starting column widths: the wide text fields start narrow
// so that the card list fits the window.
const std::initializer_list<FieldSpec> kAnagrafica = {
    {"ID_SCHEDA", Kind::AutoInc},
    {"Protocollo", Kind::String, 10},
    {"Fascia", Kind::String, 10},
    {"Referente", Kind::String, 100, 5},
    {"Capofamiglia", Kind::String, 100, 5},
    {"Indirizzo", Kind::String, 100, 5},
    {"Citta", Kind::String, 100, 5},
    {"Telefono", Kind::String, 40, 1},
    {"Cellulare", Kind::String, 40, 1},
    {"Email", Kind::String, 40, 1},
    {"Paese_di_origine", Kind::String, 100, 5},
    {"Figli_in_patria", Kind::String, 10},
    {"Scad_ISEE", Kind::Date},
    {"Nucleo", Kind::Memo},
    {"Abitazione", Kind::String, 100, 5},
    {"G1", Kind::Boolean},
    {"G2", Kind::Boolean},
    {"G3", Kind::Boolean},
    {"G4", Kind::Boolean},
    {"G5", Kind::Boolean},
    {"G6", Kind::Boolean},
    {"G6_altri", Kind::String, 100},
    {"Inizio", Kind::Date},
    {"Necessita_alimentari", Kind::Memo},
    {"Note", Kind::Memo},
    {"Ascolto", Kind::Memo},
};

const std::initializer_list<FieldSpec> kNucleo = {
    {"ID_PERSONA", Kind::AutoInc, 0, 2},
    {"ID_SCHEDA", Kind::Integer, 0, 2},
    {"Nome", Kind::String, 100, 25},
    {"Ruolo", Kind::String, 40, 9},
    {"Lavoro", Kind::String, 40, 9},
    {"Data_nascita", Kind::Date, 0, 4},
    {"Eta", Kind::CalculatedInteger, 0, 2},
};

const std::initializer_list<FieldSpec> kFascia = {{"Fascia", Kind::String, 10}, {"Ordine", Kind::Smallint}};
const std::initializer_list<FieldSpec> kRuolo = {{"Ruolo", Kind::String, 40}, {"Ordine", Kind::Smallint}};
const std::initializer_list<FieldSpec> kOccupazione = {{"Occupazione", Kind::String, 40},
                                                       {"Ordine", Kind::Smallint}};
const std::initializer_list<FieldSpec> kStampe = {
    {"ID", Kind::AutoInc},
    {"Nome", Kind::String, 100},
    {"Tracciato", Kind::String, 100},
    {"Ordine", Kind::String, 100},
};
const std::initializer_list<FieldSpec> kGruppi = {{"ID", Kind::AutoInc}, {"Gruppo", Kind::String, 20}};

TField *makeField(TArcTable &table, const FieldSpec &definition)
{
    const QString name = QString::fromLatin1(definition.name);
    switch (definition.kind) {
    case Kind::AutoInc: return new TAutoIncField(&table, name);
    case Kind::String: return new TStringField(&table, name, definition.size);
    case Kind::Smallint: return new TSmallintField(&table, name);
    case Kind::Integer: return new TIntegerField(&table, name);
    case Kind::Boolean: return new TBooleanField(&table, name);
    case Kind::Date: return new TDateField(&table, name);
    case Kind::Memo: return new TMemoField(&table, name);
    case Kind::CalculatedInteger: return new TIntegerField(&table, name, TFieldKind::fkCalculated);
    }
    return nullptr;
}

void declareFields(TArcTable &table, std::initializer_list<FieldSpec> definitions)
{
    for (const FieldSpec &definition : definitions) {
        TField *field = makeField(table, definition);
        field->setObjectName(table.name() + field->fieldName());
        field->setParent(&table);
        if (definition.displayWidth > 0)
            field->setDisplayWidth(definition.displayWidth);
    }
}

// What every dataset of the window shares; the rest are per-table differences.
void configure(TArcTable &table, TArcDatabase &database, const char *componentName, const char *tableName,
               TDataSource &source, std::initializer_list<FieldSpec> fields)
{
    table.setName(QString::fromLatin1(componentName));
    table.setDatabase(&database);
    table.setTableName(QString::fromLatin1(tableName));
    table.setTableType(2);
    table.setLockType(3);
    source.setDataSet(&table);
    declareFields(table, fields);
}

} // namespace

TMainData::TMainData(TArcDatabase &database) : m_statistiche(m_anagrafica, database)
{
    m_dsAnagrafica.setObjectName(QStringLiteral("ds_anagrafica"));
    m_dsNucleo.setObjectName(QStringLiteral("ds_nucleo"));
    m_dsFascia.setObjectName(QStringLiteral("ds_fascia"));
    m_dsRuolo.setObjectName(QStringLiteral("ds_Ruolo"));
    m_dsOccupazione.setObjectName(QStringLiteral("ds_occupazione"));
    m_dsStampe.setObjectName(QStringLiteral("ds_stampe"));
    m_dsGruppi.setObjectName(QStringLiteral("ds_gruppi"));

    configure(m_anagrafica, database, "Anagrafica", "Anagrafica", m_dsAnagrafica, kAnagrafica);
    configure(m_nucleo, database, "Nucleo", "Nucleo", m_dsNucleo, kNucleo);
    configure(m_fascia, database, "Fascia", "Fascia", m_dsFascia, kFascia);
    configure(m_ruolo, database, "Ruolo", "Ruolo", m_dsRuolo, kRuolo);
    configure(m_occupazione, database, "Occupazione", "Occupazione", m_dsOccupazione, kOccupazione);
    configure(m_stampe, database, "stampe", "Stampe", m_dsStampe, kStampe);
    configure(m_gruppi, database, "Gruppi", "Gruppi", m_dsGruppi, kGruppi);

    // Edits made by other users must be seen on the tables the office works in; the catalogue
    // and the bodies are read as they were at open.
    for (TArcTable *table : {&m_anagrafica, &m_nucleo, &m_fascia, &m_ruolo, &m_occupazione})
        table->setOpenOptions(TArcOpenOption::dbSeeChanges);

    const QStringList byOrder{QStringLiteral("[Ordine] ASC")};
    for (TArcTable *table : {&m_fascia, &m_ruolo, &m_occupazione})
        table->setSortedBy(byOrder);
    m_nucleo.setSortedBy({QStringLiteral("[ID_PERSONA] ASC")});

    m_anagrafica.setFiltered(true);

    // The members follow the current card; the card table is opened by the start-up itself.
    m_nucleo.setMasterSource(&m_dsAnagrafica);
    m_nucleo.setMasterFields({QStringLiteral("ID_SCHEDA -> ID_SCHEDA")});
    m_nucleo.setMasterAutoActivate(false);
}

TField *TMainData::persistentField(const QString &objectName)
{
    for (TArcTable *table : {&m_anagrafica, &m_nucleo, &m_fascia, &m_ruolo, &m_occupazione, &m_stampe, &m_gruppi}) {
        if (auto *field = table->findChild<TField *>(objectName, Qt::FindDirectChildrenOnly))
            return field;
    }
    return nullptr;
}

QStringList TMainData::columnTexts(TDataSet &dataSet, const QString &fieldName)
{
    QStringList texts;
    dataSet.first();
    TField *field = dataSet.fieldByName(fieldName);
    while (!dataSet.eof()) {
        texts << field->asString();
        dataSet.next();
    }
    dataSet.first();
    return texts;
}
