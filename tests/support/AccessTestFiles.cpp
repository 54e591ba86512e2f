#include "AccessTestFiles.h"

#include <QRandomGenerator>

namespace testsupport {
namespace {

AccessColumn textField(const char *name, int size)
{
    return {QString::fromLatin1(name), JetType::Text, size};
}

AccessColumn typedField(const char *name, JetType type)
{
    return {QString::fromLatin1(name), type, 0};
}

QDateTime utcTime(int y, int m, int d, int h = 0, int min = 0, int s = 0)
{
    return QDateTime(QDate(y, m, d), QTime(h, min, s), Qt::UTC);
}

const QVariant kNullCell; // a null cell

// A card: key, then every field of Anagrafica after it, in order.
AccessRow cardRow(int key, const QVariantList &fields, bool deleted = false)
{
    AccessRow row{{key}, deleted};
    row.values.append(fields);
    return row;
}

QVariantList groupFlags(bool g1, bool g2, bool g3, bool g4, bool g5, bool g6)
{
    return {g1, g2, g3, g4, g5, g6};
}

QString repeatedText(const QString &piece, int times)
{
    QString all;
    for (int i = 0; i < times; ++i)
        all += piece;
    return all;
}

void fillLookups(AccessDatabase &db)
{
    findTable(db, "Fascia")->rows = {{{"A", 1}}, {{"B", 2}}, {{"B", 2}}, {{"Zeta", qint16(-32768)}},
                                     {{"Ultima", qint16(32767)}}};
    findTable(db, "Ruolo")->rows = {{{"Padre", 1}}, {{"Madre", 2}}, {{"Figlio", 3}}, {{"Figlia", 4}}, {{"Nonno", 5}}};
    findTable(db, "Occupazione")->rows = {{{"Disoccupato", 1}}, {{"Operaio", 2}}, {{"Badante", 3}},
                                          {{"Studente", 4}}, {{"Pensionato", 5}}};
    findTable(db, "Gruppi")->rows = {{{1, "Caritas"}}, {{2, "Croce Rossa"}}, {{3, "San Vincenzo"}},
                                     {{4, "Banco alimentare"}}, {{5, "Comune"}}, {{6, "Altri"}}};
    findTable(db, "Stampe")->rows = {{{1, "Elenco famiglie", "elenco_famiglie.rep", "Capofamiglia"}},
                                     {{2, "Scadenze ISEE", "scadenze.rep", "Scad_ISEE,Capofamiglia"}}};
}

} // namespace

AccessDatabase archiveTables()
{
    AccessDatabase db;
    db.tables.push_back({"Anagrafica",
                         {typedField("ID_SCHEDA", JetType::Counter), textField("Protocollo", 10), textField("Fascia", 10),
                          textField("Referente", 100), textField("Capofamiglia", 100), textField("Indirizzo", 100),
                          textField("Citta", 100), textField("Telefono", 40), textField("Cellulare", 40), textField("Email", 40),
                          textField("Paese_di_origine", 100), textField("Figli_in_patria", 10),
                          typedField("Scad_ISEE", JetType::DateTime), typedField("Nucleo", JetType::Memo),
                          textField("Abitazione", 100), typedField("G1", JetType::YesNo), typedField("G2", JetType::YesNo),
                          typedField("G3", JetType::YesNo), typedField("G4", JetType::YesNo), typedField("G5", JetType::YesNo),
                          typedField("G6", JetType::YesNo), textField("G6_altri", 100), typedField("Inizio", JetType::DateTime),
                          typedField("Necessita_alimentari", JetType::Memo), typedField("Note", JetType::Memo),
                          typedField("Ascolto", JetType::Memo)},
                         {}});
    db.tables.push_back({"Nucleo",
                         {typedField("ID_PERSONA", JetType::Counter), typedField("ID_SCHEDA", JetType::Long),
                          textField("Nome", 100), textField("Ruolo", 40), textField("Lavoro", 40),
                          typedField("Data_nascita", JetType::DateTime)},
                         {}});
    db.tables.push_back({"Fascia", {textField("Fascia", 10), typedField("Ordine", JetType::Integer)}, {}});
    db.tables.push_back({"Ruolo", {textField("Ruolo", 40), typedField("Ordine", JetType::Integer)}, {}});
    db.tables.push_back({"Occupazione", {textField("Occupazione", 40), typedField("Ordine", JetType::Integer)}, {}});
    db.tables.push_back({"Gruppi", {typedField("ID", JetType::Counter), textField("Gruppo", 20)}, {}});
    db.tables.push_back({"Stampe",
                         {typedField("ID", JetType::Counter), textField("Nome", 100), textField("Tracciato", 100),
                          textField("Ordine", 100)},
                         {}});
    return db;
}

AccessTable *findTable(AccessDatabase &database, const QString &name)
{
    for (AccessTable &table : database.tables)
        if (table.name == name)
            return &table;
    return nullptr;
}

AccessDatabase sampleArchive()
{
    AccessDatabase db = archiveTables();
    const QString longItalian = repeatedText("Pasta, latte, olio d'oliva; pannolini per il più piccolo. ", 120);
    const QString longGreek = repeatedText("Γάλα και ψωμί για την οικογένεια. ", 110);
    const QString shortMixed = "Famiglia di 4 persone:\r\n- José (padre)\r\n- María (madre)\r\n- due figli, 3 e 7 anni";
    auto &cards = findTable(db, "Anagrafica")->rows;
    cards.push_back(cardRow(1, QVariantList{"2024/001", "A", "Zoë Müller", "José Núñez Peña", "Via dell'Orsa, 3",
                                         "Forlì", "0543 123456", "", kNullCell, "Perù", "2", utcTime(2031, 6, 30),
                                         shortMixed, "Affitto \"in nero\""}
                                + groupFlags(true, false, true, false, false, true)
                                + QVariantList{"Parrocchia S. Rocco", utcTime(1899, 12, 31, 9, 15, 30), longItalian,
                                               "Nota breve: ok.", kNullCell}));
    cards.push_back(cardRow(2, QVariantList{"2024/002", "B", "Ελένη", "Γιώργος Παπαδόπουλος", "Οδός Αθηνάς 12",
                                         "Αθήνα", kNullCell, "+30 210 1234567", "giorgos@example.gr", "Ελλάδα", "0",
                                         utcTime(2040, 2, 29, 23, 59, 59), "Γιώργος, Ελένη (Athína)", "Casa popolare"}
                                + groupFlags(false, true, false, false, true, false)
                                + QVariantList{kNullCell, utcTime(1899, 12, 30), longGreek, "", "Ascolto del 3/5"}));
    cards.push_back(cardRow(3, QVariantList{"2024/003", "A", "", "Сергей Смирнов", "", "Москва", "", "", "", "Россия",
                                         "", kNullCell, kNullCell, ""}
                                + groupFlags(false, false, false, false, false, false)
                                + QVariantList{"", kNullCell, kNullCell, kNullCell, kNullCell},
                         true));
    cards.push_back(cardRow(5, QVariantList{"2024/005", kNullCell, "Ольга", "Иван Петрович Сидоров", "ул. Ленина, 7",
                                         "Rimini", "", "", "", "Україна", "1", utcTime(2025, 1, 15, 8, 30),
                                         "Иван, Ольга, Наташа", "Ospite"}
                                + groupFlags(false, false, false, true, false, false)
                                + QVariantList{"", utcTime(2035, 1, 1), "Хлеб и молоко", kNullCell, kNullCell}));
    cards.push_back(cardRow(9, QVariantList{"2024/009", "Zeta", "فاطمة", "محمد عبد الله", "شارع الحرية 5",
                                         "Cesena", "0547 000000", kNullCell, "", "المغرب", "3", kNullCell,
                                         "محمد، فاطمة، علي", ""}
                                + groupFlags(true, true, true, true, true, true)
                                + QVariantList{"Moschea (علي)", utcTime(2010, 10, 10, 10, 10, 10),
                                               repeatedText("طعام للأطفال ", 400), "Marocco — نعم", ""}));
    cards.push_back(cardRow(10, QVariantList{"2024/010", "B", "x", "Eliminato", "", "", "", "", "", "", "", kNullCell,
                                          kNullCell, kNullCell}
                                 + groupFlags(false, false, false, false, false, false)
                                 + QVariantList{kNullCell, kNullCell, kNullCell, kNullCell, kNullCell},
                          true));
    cards.push_back(cardRow(12, QVariantList{kNullCell, kNullCell, kNullCell, kNullCell, kNullCell, kNullCell, kNullCell, kNullCell, kNullCell, kNullCell, kNullCell, kNullCell,
                                          kNullCell, kNullCell}
                                 + groupFlags(false, false, false, false, false, false)
                                 + QVariantList{kNullCell, kNullCell, kNullCell, kNullCell, kNullCell}));
    cards.push_back(cardRow(14, QVariantList{"2024/014", "A", "", "Ultima eliminata", "", "", "", "", "", "", "",
                                          kNullCell, kNullCell, kNullCell}
                                 + groupFlags(false, false, false, false, false, false)
                                 + QVariantList{kNullCell, kNullCell, kNullCell, kNullCell, kNullCell},
                          true));
    auto &members = findTable(db, "Nucleo")->rows;
    members = {{{1, 1, "José Núñez Peña", "Padre", "Operaio", utcTime(1975, 4, 12)}},
               {{2, 1, "María Peña", "Madre", "Badante", utcTime(1979, 11, 3, 14, 20)}},
               {{3, 2, "Γιώργος Παπαδόπουλος", "Padre", "", utcTime(1899, 12, 30, 12)}},
               {{4, 3, "Сергей Смирнов", "Padre", kNullCell, kNullCell}, true},
               // U+0100 and U+0400: a low byte of 0, which the compressed form cannot carry.
               {{5, 1, "Āboliņš Ѐrik (Rīga)", "Figlio", "Studente", utcTime(2012, 1, 1)}},
               {{6, 5, "Иван Петрович Сидоров", "Nonno", "Pensionato", utcTime(1940, 2, 29)}},
               {{7, 5, "Наташа", "Figlia", "Studente", utcTime(2031, 12, 31, 23, 0)}},
               {{8, 9, "محمد عبد الله", "Padre", "Disoccupato", kNullCell}},
               {{100000, 9, "علي", "Figlio", "", utcTime(2015, 6, 1)}},
               {{100001, 12, "", "", "", kNullCell}},
               {{100002, 2147483647, "Senza scheda", kNullCell, kNullCell, kNullCell}}};
    fillLookups(db);
    return db;
}

AccessDatabase largeArchive(int cards)
{
    static const char *towns[] = {"Forlì", "Cesena", "Rimini", "Ravenna", "Faenza"};
    static const char *roles[] = {"Padre", "Madre", "Figlio"};
    AccessDatabase db = archiveTables();
    auto &cardRows = findTable(db, "Anagrafica")->rows;
    auto &memberRows = findTable(db, "Nucleo")->rows;
    cardRows.reserve(size_t(cards));
    memberRows.reserve(size_t(cards) * 3);
    for (int id = 1; id <= cards; ++id) {
        const QString family = QStringLiteral("Famiglia Nò %1").arg(id);
        QString summary;
        for (int m = 0; m < 3; ++m) {
            const QString name = QStringLiteral("%1 %2").arg(QLatin1String(roles[m]), family);
            summary += name + QStringLiteral("\r\n");
            memberRows.push_back({{3 * id - 2 + m, id, name, QLatin1String(roles[m]), "Operaio",
                                   utcTime(1950 + id % 60, 1 + id % 12, 1 + id % 28)}});
        }
        cardRows.push_back(cardRow(id, QVariantList{QStringLiteral("%1").arg(id), "A", "Referente", family,
                                                 QStringLiteral("Via Roma %1").arg(id), towns[id % 5],
                                                 "0543 000000", kNullCell, kNullCell, "Italia", "0",
                                                 utcTime(2026, 1 + id % 12, 1), summary, "Affitto"}
                                    + groupFlags(id % 2 == 0, false, false, false, false, id % 7 == 0)
                                    + QVariantList{kNullCell, utcTime(2020, 1, 1 + id % 28), "Alimenti.", kNullCell, kNullCell}));
    }
    fillLookups(db);
    return db;
}

AccessDatabase archiveWithExtraField()
{
    AccessDatabase db = sampleArchive();
    AccessTable *cards = findTable(db, "Anagrafica");
    cards->columns.push_back(textField("Codice_fiscale", 16));
    for (AccessRow &row : cards->rows)
        row.values.append(QStringLiteral("RSSMRA80A01D704X"));
    return db;
}

AccessDatabase archiveWithoutTable(const QString &name)
{
    AccessDatabase db = sampleArchive();
    std::erase_if(db.tables, [&](const AccessTable &table) { return table.name == name; });
    return db;
}

QByteArray truncatedAccessFile(const QByteArray &whole)
{
    constexpr int page = 4096;
    return whole.left(whole.size() / page * 2 / 3 * page + page / 3);
}

QByteArray randomBytes(int size, quint32 seed)
{
    QRandomGenerator random(seed);
    QByteArray bytes(size, '\0');
    for (char &b : bytes)
        b = char(random.bounded(256));
    return bytes;
}

AccessDatabase foreignDatabase()
{
    AccessDatabase db;
    db.tables.push_back({"Clienti",
                         {typedField("IDCliente", JetType::Counter), textField("RagioneSociale", 80), textField("PartitaIVA", 11)},
                         {{{1, "Rossi S.r.l.", "01234567890"}}, {{2, "Bianchi & C.", "09876543210"}}}});
    db.tables.push_back({"Fatture",
                         {typedField("IDFattura", JetType::Counter), typedField("IDCliente", JetType::Long),
                          typedField("Data", JetType::DateTime), typedField("Importo", JetType::Double),
                          typedField("Pagata", JetType::YesNo)},
                         {{{1, 1, utcTime(2023, 3, 1), 1250.5, true}}, {{2, 2, utcTime(2023, 4, 2), 99.0, false}}}});
    return db;
}

QByteArray foreignAccessFile()
{
    return accessFileBytes(foreignDatabase());
}

} // namespace testsupport
