// Every failure the storage can report while a row is saved reaches the user as the engine
// error it means, in Italian with the storage's own code appended, and the row being added
// keeps its values, so that the save can be tried again. On the file the failures come from
// the storages' fault seam, which the file storage turns into its library's result codes;
// on the server a trigger raises each SQLSTATE for real.

#include "EngineFixture.h"

#include "engine/EngineError.h"
#include "engine/StorageFaults.h"

#include <sqlite3.h>

namespace {

struct Mapping {
    const char *name;
    QString code;   // the library's result code, or the server's SQLSTATE
    int number;
    QString text;
};

class StorageErrors : public EngineFixture {
protected:
    // Adds a row, which the storage refuses as the case says; then, the cause gone, saves it.
    void expectMappedAndKept(const QString &location, const QString &password, const Mapping &mapping,
                             const std::function<void()> &cause, const std::function<void()> &cure)
    {
        auto db = ws->OpenDatabase(location, false, false, QStringLiteral(";UID=Admin;PWD=%1;").arg(password));
        auto rs = db->OpenRecordset(QStringLiteral("Persone"));
        rs->AddNew();
        rs->field(QStringLiteral("Nome")).setValue(QString::fromLatin1(mapping.name));
        cause();
        try {
            rs->Update();
            ADD_FAILURE() << mapping.name << ": saved in spite of the failure";
        } catch (const dao::EngineError &error) {
            EXPECT_EQ(error.number(), mapping.number) << mapping.name;
            EXPECT_EQ(error.description(), mapping.text + QStringLiteral(" (codice %1)").arg(mapping.code)) << mapping.name;
        }
        cure();
        EXPECT_EQ(rs->EditMode(), dao::dbEditAdd) << mapping.name;
        EXPECT_EQ(rs->field(QStringLiteral("Nome")).value().asText(), QString::fromLatin1(mapping.name));
        rs->Update();
        EXPECT_TRUE(names(*db->OpenRecordset(QStringLiteral("Persone"))).contains(QString::fromLatin1(mapping.name)));
        db->Close();
    }

    dao::faults::Scope m_faults;
};

const QString kLocked = QStringLiteral("Impossibile aggiornare: l'archivio è bloccato da un altro utente. Riprovare.");
const QString kRequired = QStringLiteral("Un campo obbligatorio non contiene un valore: ");
const QString kStopped = QStringLiteral("Operazione interrotta.");

TEST_F(StorageErrors, EveryFileFailureIsTheEngineErrorItMeans)
{
    using dao::faults::Fault;
    const auto code = [](int c) { return QString::number(c); };
    const std::pair<Fault, Mapping> mappings[] = {
        {Fault::Busy, {"Occupato", code(SQLITE_BUSY), dao::errRecordLocked, kLocked}},
        {Fault::Locked, {"Bloccato", code(SQLITE_LOCKED), dao::errRecordLocked, kLocked}},
        {Fault::NotArchive, {"NonArchivio", code(SQLITE_NOTADB), dao::errUnrecognizedFormat,
                             QStringLiteral("Formato di database non riconosciuto.")}},
        {Fault::Corrupt, {"Danneggiato", code(SQLITE_CORRUPT), dao::errDatabaseCorrupt,
                          QStringLiteral("L'archivio è danneggiato e non può essere letto.")}},
        {Fault::Constraint, {"Vincolo", code(SQLITE_CONSTRAINT), dao::errFieldRequired, kRequired + u'.'}},
        {Fault::ReadOnly, {"SolaLettura", code(SQLITE_READONLY), dao::errNotUpdatable,
                           QStringLiteral("Impossibile aggiornare: l'archivio è di sola lettura.")}},
        {Fault::Full, {"DiscoPieno", code(SQLITE_FULL), dao::errDiskFull,
                       QStringLiteral("Spazio su disco esaurito: impossibile scrivere nell'archivio.")}},
        {Fault::CannotOpen, {"FileSparito", code(SQLITE_CANTOPEN), dao::errIoFailure,
                             QStringLiteral("Impossibile aprire il file dell'archivio.")}},
        {Fault::Io, {"Disco", code(SQLITE_IOERR), dao::errIoFailure, QStringLiteral("Errore di lettura o scrittura del disco.")}},
        {Fault::NoMemory, {"Memoria", code(SQLITE_NOMEM), dao::errOutOfMemory, QStringLiteral("Memoria insufficiente.")}},
        {Fault::Interrupted, {"Interrotto", code(SQLITE_INTERRUPT), 3000, kStopped}},
        {Fault::Aborted, {"Annullato", code(SQLITE_ABORT), 3000, kStopped}},
        {Fault::Other, {"Altro", code(SQLITE_ERROR), 3000, QStringLiteral("Errore del motore di database.")}},
    };
    const QString file = dir.filePath(QStringLiteral("errori.mdb"));
    makeArchive({"Anna"}, {}, file);
    for (const auto &[fault, mapping] : mappings)
        expectMappedAndKept(
            file, {}, mapping, [&] { dao::faults::failStatements(QStringLiteral("INSERT INTO"), fault); },
            [] { dao::faults::clear(); });
}

TEST_F(StorageErrors, EveryServerFailureIsTheEngineErrorItMeans)
{
    TAVORIO_REQUIRE_PG();
    const Mapping mappings[] = {
        {"Serializzazione", QStringLiteral("40001"), dao::errRecordLocked,
         QStringLiteral("Impossibile aggiornare: il record è bloccato da un altro utente. Riprovare.")},
        {"Stallo", QStringLiteral("40P01"), dao::errRecordLocked,
         QStringLiteral("Impossibile aggiornare: il record è bloccato da un altro utente. Riprovare.")},
        {"AttesaBlocco", QStringLiteral("55P03"), dao::errRecordLocked,
         QStringLiteral("Impossibile aggiornare: il record è bloccato da un altro utente. Riprovare.")},
        {"Obbligatorio", QStringLiteral("23502"), dao::errFieldRequired, kRequired + QStringLiteral("Persone.Nome.")},
        {"Doppio", QStringLiteral("23505"), 3022,
         QStringLiteral("Impossibile salvare: la modifica creerebbe valori duplicati nella chiave primaria.")},
        {"TroppoLungo", QStringLiteral("22001"), 3163,
         QStringLiteral("Il campo è troppo piccolo per accettare la quantità di dati che si è tentato di aggiungere.")},
        {"Traboccamento", QStringLiteral("22003"), 3349, QStringLiteral("Overflow numerico.")},
        {"SolaLettura", QStringLiteral("42501"), dao::errNotUpdatable,
         QStringLiteral("Impossibile aggiornare: l'archivio sul server è di sola lettura per questo utente.")},
        {"DiscoPieno", QStringLiteral("53100"), dao::errDiskFull,
         QStringLiteral("Spazio su disco esaurito sul server: impossibile scrivere nell'archivio.")},
        {"Memoria", QStringLiteral("53200"), dao::errOutOfMemory, QStringLiteral("Memoria insufficiente sul server dell'archivio.")},
        {"Interrotto", QStringLiteral("57014"), 3000, kStopped},
        {"Altro", QStringLiteral("XX000"), 3000, QStringLiteral("Errore del server dell'archivio: guasto di prova")},
    };
    const QString address = testsupport::newPgDatabase();
    const QString database = testsupport::pgDatabaseOf(address);
    makeArchive({"Anna"}, testsupport::pgOfficePassword(), address);
    testsupport::pgAdminQuery(QStringLiteral("CREATE FUNCTION guasto() RETURNS trigger LANGUAGE plpgsql AS $$ BEGIN "
                                             "RAISE EXCEPTION 'guasto di prova' USING ERRCODE = TG_ARGV[0], "
                                             "TABLE = 'Persone', COLUMN = 'Nome'; END $$"),
                              database);
    for (const Mapping &mapping : mappings)
        expectMappedAndKept(
            address, testsupport::pgOfficePassword(), mapping,
            [&] {
                testsupport::pgAdminQuery(QStringLiteral("CREATE TRIGGER guasto BEFORE INSERT ON \"Persone\" "
                                                         "FOR EACH ROW EXECUTE FUNCTION guasto('%1')")
                                              .arg(mapping.code),
                                          database);
            },
            [&] { testsupport::pgAdminQuery(QStringLiteral("DROP TRIGGER guasto ON \"Persone\""), database); });
}

} // namespace
