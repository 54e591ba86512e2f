#include "AccessTestFiles.h"

#include <QRandomGenerator>

namespace testsupport {
namespace {

AccessColumn text(const char *name, int size)
{
    return {QString::fromLatin1(name), JetType::Text, size};
}

AccessColumn column(const char *name, JetType type)
{
    return {QString::fromLatin1(name), type, 0};
}

QDateTime at(int y, int m, int d, int h = 0, int min = 0, int s = 0)
{
    return QDateTime(QDate(y, m, d), QTime(h, min, s), Qt::UTC);
}

const QVariant null;

// A card: key, then every field of Anagrafica after it, in order.
AccessRow card(int key, const QVariantList &fields, bool deleted = false)
{
    AccessRow row{{key}, deleted};
    row.values.append(fields);
    return row;
}

QVariantList groups(bool g1, bool g2, bool g3, bool g4, bool g5, bool g6)
{
    return {g1, g2, g3, g4, g5, g6};
}

QString repeated(const QString &piece, int times)
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
                         {column("ID_SCHEDA", JetType::Counter), text("Protocollo", 10), text("Fascia", 10),
                          text("Referente", 100), text("Capofamiglia", 100), text("Indirizzo", 100),
                          text("Citta", 100), text("Telefono", 40), text("Cellulare", 40), text("Email", 40),
                          text("Paese_di_origine", 100), text("Figli_in_patria", 10),
                          column("Scad_ISEE", JetType::DateTime), column("Nucleo", JetType::Memo),
                          text("Abitazione", 100), column("G1", JetType::YesNo), column("G2", JetType::YesNo),
                          column("G3", JetType::YesNo), column("G4", JetType::YesNo), column("G5", JetType::YesNo),
                          column("G6", JetType::YesNo), text("G6_altri", 100), column("Inizio", JetType::DateTime),
                          column("Necessita_alimentari", JetType::Memo), column("Note", JetType::Memo),
                          column("Ascolto", JetType::Memo)},
                         {}});
    db.tables.push_back({"Nucleo",
                         {column("ID_PERSONA", JetType::Counter), column("ID_SCHEDA", JetType::Long),
                          text("Nome", 100), text("Ruolo", 40), text("Lavoro", 40),
                          column("Data_nascita", JetType::DateTime)},
                         {}});
    db.tables.push_back({"Fascia", {text("Fascia", 10), column("Ordine", JetType::Integer)}, {}});
    db.tables.push_back({"Ruolo", {text("Ruolo", 40), column("Ordine", JetType::Integer)}, {}});
    db.tables.push_back({"Occupazione", {text("Occupazione", 40), column("Ordine", JetType::Integer)}, {}});
    db.tables.push_back({"Gruppi", {column("ID", JetType::Counter), text("Gruppo", 20)}, {}});
    db.tables.push_back({"Stampe",
                         {column("ID", JetType::Counter), text("Nome", 100), text("Tracciato", 100),
                          text("Ordine", 100)},
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
    const QString longItalian = repeated("Pasta, latte, olio d'oliva; pannolini per il più piccolo. ", 120);
    const QString longGreek = repeated("Γάλα και ψωμί για την οικογένεια. ", 110);
    const QString shortMixed = "Famiglia di 4 persone:\r\n- José (padre)\r\n- María (madre)\r\n- due figli, 3 e 7 anni";
    auto &cards = findTable(db, "Anagrafica")->rows;
    cards.push_back(card(1, QVariantList{"2024/001", "A", "Zoë Müller", "José Núñez Peña", "Via dell'Orsa, 3",
                                         "Forlì", "0543 123456", "", null, "Perù", "2", at(2031, 6, 30),
                                         shortMixed, "Affitto \"in nero\""}
                                + groups(true, false, true, false, false, true)
                                + QVariantList{"Parrocchia S. Rocco", at(1899, 12, 31, 9, 15, 30), longItalian,
                                               "Nota breve: ok.", null}));
    cards.push_back(card(2, QVariantList{"2024/002", "B", "Ελένη", "Γιώργος Παπαδόπουλος", "Οδός Αθηνάς 12",
                                         "Αθήνα", null, "+30 210 1234567", "giorgos@example.gr", "Ελλάδα", "0",
                                         at(2040, 2, 29, 23, 59, 59), "Γιώργος, Ελένη (Athína)", "Casa popolare"}
                                + groups(false, true, false, false, true, false)
                                + QVariantList{null, at(1899, 12, 30), longGreek, "", "Ascolto del 3/5"}));
    cards.push_back(card(3, QVariantList{"2024/003", "A", "", "Сергей Смирнов", "", "Москва", "", "", "", "Россия",
                                         "", null, null, ""}
                                + groups(false, false, false, false, false, false)
                                + QVariantList{"", null, null, null, null},
                         true));
    cards.push_back(card(5, QVariantList{"2024/005", null, "Ольга", "Иван Петрович Сидоров", "ул. Ленина, 7",
                                         "Rimini", "", "", "", "Україна", "1", at(2025, 1, 15, 8, 30),
                                         "Иван, Ольга, Наташа", "Ospite"}
                                + groups(false, false, false, true, false, false)
                                + QVariantList{"", at(2035, 1, 1), "Хлеб и молоко", null, null}));
    cards.push_back(card(9, QVariantList{"2024/009", "Zeta", "فاطمة", "محمد عبد الله", "شارع الحرية 5",
                                         "Cesena", "0547 000000", null, "", "المغرب", "3", null,
                                         "محمد، فاطمة، علي", ""}
                                + groups(true, true, true, true, true, true)
                                + QVariantList{"Moschea (علي)", at(2010, 10, 10, 10, 10, 10),
                                               repeated("طعام للأطفال ", 400), "Marocco — نعم", ""}));
    cards.push_back(card(10, QVariantList{"2024/010", "B", "x", "Eliminato", "", "", "", "", "", "", "", null,
                                          null, null}
                                 + groups(false, false, false, false, false, false)
                                 + QVariantList{null, null, null, null, null},
                          true));
    cards.push_back(card(12, QVariantList{null, null, null, null, null, null, null, null, null, null, null, null,
                                          null, null}
                                 + groups(false, false, false, false, false, false)
                                 + QVariantList{null, null, null, null, null}));
    cards.push_back(card(14, QVariantList{"2024/014", "A", "", "Ultima eliminata", "", "", "", "", "", "", "",
                                          null, null, null}
                                 + groups(false, false, false, false, false, false)
                                 + QVariantList{null, null, null, null, null},
                          true));
    auto &members = findTable(db, "Nucleo")->rows;
    members = {{{1, 1, "José Núñez Peña", "Padre", "Operaio", at(1975, 4, 12)}},
               {{2, 1, "María Peña", "Madre", "Badante", at(1979, 11, 3, 14, 20)}},
               {{3, 2, "Γιώργος Παπαδόπουλος", "Padre", "", at(1899, 12, 30, 12)}},
               {{4, 3, "Сергей Смирнов", "Padre", null, null}, true},
               {{6, 5, "Иван Петрович Сидоров", "Nonno", "Pensionato", at(1940, 2, 29)}},
               {{7, 5, "Наташа", "Figlia", "Studente", at(2031, 12, 31, 23, 0)}},
               {{8, 9, "محمد عبد الله", "Padre", "Disoccupato", null}},
               {{100000, 9, "علي", "Figlio", "", at(2015, 6, 1)}},
               {{100001, 12, "", "", "", null}},
               {{100002, 2147483647, "Senza scheda", null, null, null}}};
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
                                   at(1950 + id % 60, 1 + id % 12, 1 + id % 28)}});
        }
        cardRows.push_back(card(id, QVariantList{QStringLiteral("%1").arg(id), "A", "Referente", family,
                                                 QStringLiteral("Via Roma %1").arg(id), towns[id % 5],
                                                 "0543 000000", null, null, "Italia", "0",
                                                 at(2026, 1 + id % 12, 1), summary, "Affitto"}
                                    + groups(id % 2 == 0, false, false, false, false, id % 7 == 0)
                                    + QVariantList{null, at(2020, 1, 1 + id % 28), "Alimenti.", null, null}));
    }
    fillLookups(db);
    return db;
}

AccessDatabase archiveWithExtraField()
{
    AccessDatabase db = sampleArchive();
    AccessTable *cards = findTable(db, "Anagrafica");
    cards->columns.push_back(text("Codice_fiscale", 16));
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

QByteArray foreignAccessFile()
{
    AccessDatabase db;
    db.tables.push_back({"Clienti",
                         {column("IDCliente", JetType::Counter), text("RagioneSociale", 80), text("PartitaIVA", 11)},
                         {{{1, "Rossi S.r.l.", "01234567890"}}, {{2, "Bianchi & C.", "09876543210"}}}});
    db.tables.push_back({"Fatture",
                         {column("IDFattura", JetType::Counter), column("IDCliente", JetType::Long),
                          column("Data", JetType::DateTime), column("Importo", JetType::Double),
                          column("Pagata", JetType::YesNo)},
                         {{{1, 1, at(2023, 3, 1), 1250.5, true}}, {{2, 2, at(2023, 4, 2), 99.0, false}}}});
    return accessFileBytes(db);
}

} // namespace testsupport
