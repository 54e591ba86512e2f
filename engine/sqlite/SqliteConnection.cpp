#include "engine/sqlite/SqliteConnection.h"

#include "engine/ArchiveFormat.h"
#include "engine/Constants.h"
#include "engine/jet/Names.h"
#include "engine/sqlite/ArchiveCopy.h"
#include "engine/sqlite/GatheredWrites.h"
#include "engine/sqlite/SqlFunctions.h"
#include "engine/sqlite/SqliteDialect.h"
#include "engine/sqlite/SqliteHistory.h"
#include "engine/sqlite/SummaryTally.h"
#include "platform/CrashPoints.h"
#include "platform/FileOps.h"
#include "platform/LockFile.h"

#include <QFile>
#include <QFileInfo>
#include <sqlite3.h>

namespace dao::sqlite {

namespace {

const QString kConnectionSource = QStringLiteral("DAO.Workspace");

enum class FileKind { Missing, Plain, Encrypted, Foreign };

// What the first bytes of a file say about it. An encrypted archive shows nothing but
// random-looking pages, so a file is taken as one only when its size is a whole number
// of pages and it carries none of the signatures of other formats.
FileKind classify(const QString &path)
{
    QFile file(path);
    if (!file.exists())
        return FileKind::Missing;
    if (!file.open(QIODevice::ReadOnly))
        return FileKind::Foreign;
    const QByteArray head = file.read(32);
    const qint64 size = file.size();
    if (head.startsWith(QByteArray(format::kPlainHeader, 16)))
        return FileKind::Plain;
    static const char *const foreign[] = {"Standard Jet DB", "Standard ACE DB", "%PDF", "PK\x03\x04",
                                          "\x7f" "ELF", "SQLite format"};
    for (const char *signature : foreign)
        if (head.contains(signature))
            return FileKind::Foreign;
    if (size < format::kCipherPageSize || size % format::kCipherPageSize != 0)
        return FileKind::Foreign;
    return FileKind::Encrypted;
}

[[noreturn]] void refuse(int number, const QString &text)
{
    throw EngineError(number, kConnectionSource, text);
}

QString unrecognized(const QString &path)
{
    return QStringLiteral("Formato di database non riconosciuto: '%1'.").arg(path);
}

} // namespace

// The library's own message is English and says nothing more to the user than the result
// code does: the user reads the Italian text, and the code travels with it for support.
EngineError SqliteConnection::translate(const StorageFailure &failure, const QString &source)
{
    const QString code = QStringLiteral(" (codice %1)").arg(failure.code);
    switch (failure.code & 0xff) {
    case SQLITE_BUSY:
    case SQLITE_LOCKED:
        return EngineError(errRecordLocked, source,
                           QStringLiteral("Impossibile aggiornare: l'archivio è bloccato da un altro utente. Riprovare.") + code);
    case SQLITE_NOTADB:
        return EngineError(errUnrecognizedFormat, source, msg::unrecognizedFormat.text() + code);
    case SQLITE_CORRUPT:
        return EngineError(errDatabaseCorrupt, source, msg::damaged.text() + code);
    case SQLITE_CONSTRAINT:
        return EngineError(errFieldRequired, source,
                           msg::fieldRequired.text(failure.message.section(QLatin1String(": "), 1)) + code);
    case SQLITE_READONLY:
        return EngineError(errNotUpdatable, source, QStringLiteral("Impossibile aggiornare: l'archivio è di sola lettura.") + code);
    case SQLITE_FULL:
        return EngineError(errDiskFull, source, QStringLiteral("Spazio su disco esaurito: impossibile scrivere nell'archivio.") + code);
    case SQLITE_CANTOPEN:
        return EngineError(errIoFailure, source, QStringLiteral("Impossibile aprire il file dell'archivio.") + code);
    case SQLITE_IOERR:
        return EngineError(errIoFailure, source, QStringLiteral("Errore di lettura o scrittura del disco.") + code);
    case SQLITE_NOMEM:
        return EngineError(errOutOfMemory, source, msg::outOfMemory.text() + code);
    case SQLITE_INTERRUPT:
    case SQLITE_ABORT:
        return EngineError(errEngineFailure, source, msg::interrupted.text() + code);
    default:
        // A damaged schema is reported by the library as a plain error with this message.
        if (failure.message.contains(QLatin1String("malformed")))
            return EngineError(errDatabaseCorrupt, source, msg::damaged.text() + code);
        return EngineError(errEngineFailure, source, msg::engineFailure.text() + code);
    }
}

SqliteConnection::SqliteConnection(Options options) : Connection(std::move(options)) {}

SqliteConnection::~SqliteConnection()
{
    close();
}

const Dialect &SqliteConnection::dialect() const
{
    return sqlite::dialect();
}

std::shared_ptr<SqliteConnection> SqliteConnection::open(const Options &options)
{
    std::shared_ptr<SqliteConnection> c(new SqliteConnection(options));
    const QString &path = options.path;
    if (options.create) {
        if (QFileInfo::exists(path))
            refuse(errDatabaseExists, msg::databaseExists.text(path));
    } else {
        const FileKind kind = classify(path);
        if (kind == FileKind::Missing)
            refuse(errFileNotFound, QStringLiteral("Impossibile trovare il file '%1'.").arg(path));
        if (kind == FileKind::Foreign)
            refuse(errUnrecognizedFormat, unrecognized(path));
        if (kind == FileKind::Encrypted && options.password.isEmpty())
            refuse(errNotValidPassword, msg::notValidPassword.text());
        c->m_password = kind == FileKind::Encrypted ? options.password : QString();
    }
    if (options.create)
        c->m_password = options.password;

    try {
        c->m_lock = platform::LockFile::acquire(path, options.exclusive ? platform::LockFile::Mode::Exclusive
                                                                        : platform::LockFile::Mode::Shared);
    } catch (const std::exception &) {
        if (!options.readOnly)
            refuse(errIoFailure, QStringLiteral("Impossibile creare il file di blocco accanto a '%1'.").arg(path));
    }
    if (!c->m_lock && !options.readOnly)
        refuse(errFileInUse, QStringLiteral("Impossibile utilizzare '%1': il file è già in uso%2.")
                                 .arg(path, options.exclusive ? QString() : QStringLiteral(" in modo esclusivo")));

    c->openHandle(c->m_password);
    if (options.create) {
        try {
            // Writes the first page, so the file is an archive from this moment on.
            sqlite::execute(c->m_db, QStringLiteral("PRAGMA user_version = 1"));
        } catch (const StorageFailure &failure) {
            throw translate(failure, kConnectionSource);
        }
    }
    return c;
}

void SqliteConnection::openHandle(const QString &password)
{
    const QByteArray file = QFile::encodeName(m_options.path);
    int flags = m_options.readOnly ? SQLITE_OPEN_READONLY : SQLITE_OPEN_READWRITE;
    if (m_options.create)
        flags |= SQLITE_OPEN_CREATE;
    // A connection is only ever used by the thread of the program's data (counts and
    // searches take their steps on its event loop): SQLite need not lock the connection
    // around every row and every value.
    flags |= SQLITE_OPEN_NOMUTEX;
    // Through the layer that gathers a copy's writes, so that a copy attached to this handle
    // is written in large pieces (the archive's own file is the platform's as ever).
    const int rc = sqlite3_open_v2(file.constData(), &m_db, flags, gatheredWritesVfs());
    if (rc != SQLITE_OK) {
        const StorageFailure failure{rc, m_db ? QString::fromUtf8(sqlite3_errmsg(m_db)) : QString()};
        closeHandle();
        throw translate(failure, kConnectionSource);
    }
    // Another user may be writing right now: wait for the archive as every later call does.
    sqlite3_busy_timeout(m_db, format::kBusyTimeoutMs);
    try {
        // The cipher settings must be in place before the first page is read.
        sqlite::execute(m_db, QStringLiteral("PRAGMA cipher_default_kdf_iter = %1").arg(format::kKdfIterations));
        if (!password.isEmpty()) {
            const QByteArray key = password.toUtf8();
            sqlite3_key(m_db, key.constData(), int(key.size()));
            sqlite::execute(m_db, QStringLiteral("PRAGMA kdf_iter = %1").arg(format::kKdfIterations));
            sqlite::execute(m_db, QStringLiteral("PRAGMA cipher_page_size = %1").arg(format::kCipherPageSize));
        }
        Statement probe(m_db, QStringLiteral("SELECT count(*) FROM sqlite_master"));
        probe.step();
    } catch (const StorageFailure &failure) {
        closeHandle();
        if ((failure.code & 0xff) == SQLITE_NOTADB)
            refuse(password.isEmpty() ? errUnrecognizedFormat : errNotValidPassword,
                   password.isEmpty() ? unrecognized(m_options.path) : msg::notValidPassword.text());
        throw translate(failure, kConnectionSource);
    }
    try {
        configure();
        checkSchemaObjects();
        reloadSchema();
        recordTrackedChanges();
    } catch (const StorageFailure &failure) {
        closeHandle();
        throw translate(failure, kConnectionSource);
    } catch (...) {
        closeHandle();
        throw;
    }
}

void SqliteConnection::configure()
{
    sqlite3_extended_result_codes(m_db, 1);
    registerFunctions(m_db);
    registerSummaryTally(m_db);
    registerHistoryUser(m_db);
    if (!m_options.readOnly) {
        sqlite::execute(m_db, QStringLiteral("PRAGMA journal_mode = DELETE"));
        sqlite::execute(m_db, QStringLiteral("PRAGMA synchronous = FULL"));
        // Deleted cards must not linger in free pages of an unencrypted file.
        sqlite::execute(m_db, QStringLiteral("PRAGMA secure_delete = ON"));
    }
    sqlite::execute(m_db, QStringLiteral("PRAGMA foreign_keys = OFF"));
    // Large sorts and temporary tables stay in memory: a temporary file would hold card
    // data in clear, even when the archive itself is encrypted.
    sqlite::execute(m_db, QStringLiteral("PRAGMA temp_store = MEMORY"));
    // Searches, counts and sorts read the whole card table; a cache that holds an archive of
    // a hundred thousand cards serves every scan after the first from memory (decrypted once).
    sqlite::execute(m_db, QStringLiteral("PRAGMA cache_size = -65536"));
}

// Only plain tables and their indexes are part of an archive. A file that carries views,
// triggers or virtual tables was not made by this engine and is refused before any of its
// definitions can run.
void SqliteConnection::checkSchemaObjects()
{
    Statement st(m_db, QStringLiteral("SELECT type, name, coalesce(sql, '') FROM sqlite_master"));
    while (st.step()) {
        const QString type = st.raw(0).asText();
        const QString sql = st.raw(2).asText().trimmed();
        const bool plainTable = type == QLatin1String("table")
            && !sql.startsWith(QLatin1String("CREATE VIRTUAL"), Qt::CaseInsensitive);
        if (!plainTable && type != QLatin1String("index"))
            refuse(errUnrecognizedFormat,
                   QStringLiteral("L'archivio '%1' contiene oggetti che il programma non crea (%2 '%3') e non viene aperto.")
                       .arg(m_options.path, type, st.raw(1).asText()));
    }
}

// The history's triggers live as long as the handle: a read-only handle changes nothing.
void SqliteConnection::recordTrackedChanges()
{
    if (m_options.readOnly)
        return;
    for (const TrackedTable &tracked : trackedTables())
        if (const auto info = table(tracked.table))
            for (const QString &statement : sqliteTrackingStatements(*info, tracked.cardField))
                sqlite::execute(m_db, statement);
}

void SqliteConnection::installTracking(const TableInfo &info, const QString &cardField)
{
    try {
        sqlite::execute(db(), QStringLiteral("CREATE INDEX IF NOT EXISTS engine_history_card ON %1 (\"ID_scheda\")")
                               .arg(quoteIdentifier(QLatin1String(kHistoryTable))));
        for (const QString &statement : sqliteTrackingStatements(info, cardField))
            sqlite::execute(m_db, statement);
    } catch (const StorageFailure &failure) {
        throw translate(failure, QStringLiteral("DAO.Database"));
    }
}

std::vector<std::shared_ptr<TableInfo>> SqliteConnection::loadTables()
{
    try {
        QStringList names;
        {
            Statement st(db(), QStringLiteral("SELECT name FROM sqlite_master WHERE type = 'table' ORDER BY rowid"));
            while (st.step())
                names << st.raw(0).asText();
        }
        std::vector<std::shared_ptr<TableInfo>> tables;
        for (const QString &name : names) {
            auto info = std::make_shared<TableInfo>();
            info->name = name;
            info->rowid = QStringLiteral("rowid");
            info->system = name.startsWith(QLatin1String("sqlite_"), Qt::CaseInsensitive)
                        || name.startsWith(QLatin1String("MSys"), Qt::CaseInsensitive);
            Statement st(m_db, QStringLiteral("PRAGMA table_info(%1)").arg(quoteIdentifier(name)));
            while (st.step()) {
                info->columns.push_back(columnFromStorage(st.raw(1).asText(), st.raw(2).asText(), st.int64(3) != 0,
                                                          st.raw(4).asText(), st.int64(5) != 0));
                info->dialectColumns.push_back({info->columns.back().name, info->columns.back().type});
            }
            tables.push_back(std::move(info));
        }
        return tables;
    } catch (const StorageFailure &failure) {
        throw translate(failure, QStringLiteral("DAO.Database"));
    }
}

sqlite3 *SqliteConnection::db() const
{
    if (!m_db)
        throw EngineError(msg::archiveClosed, QStringLiteral("DAO.Database"));
    return m_db;
}

void SqliteConnection::closeHandle()
{
    if (m_db) {
        sqlite3_close_v2(m_db);
        m_db = nullptr;
    }
}

void SqliteConnection::close()
{
    if (userTransactionDepth() > 0)
        transactionStepQuietly(Step::Rollback, {});
    forgetTransactions();
    closeHandle();
    m_lock.reset();
}

void SqliteConnection::exportTo(const QString &destination, const QString &password)
{
    if (QFileInfo::exists(destination))
        refuse(errDatabaseExists, msg::databaseExists.text(destination));
    sqlite3 *handle = db();
    {
        // An empty file is an empty database; the handle was opened without the right to
        // create files, so the copy's file is made here.
        QFile empty(destination);
        if (!empty.open(QIODevice::NewOnly))
            refuse(errIoFailure, QStringLiteral("Impossibile creare il file '%1'.").arg(destination));
    }
    platform::crashPoint("export.file_created");
    // A copy under the archive's own password is given no key (NULL): the library then
    // writes it with the archive's key as already derived, salt included, instead of
    // deriving it from the password again (a deliberately slow step); it opens with the
    // same password.
    const bool sameKey = !password.isEmpty() && password == m_password;
    try {
        writeCheckedCopy(handle, m_options.path, destination, sameKey ? Value() : Value(password), !password.isEmpty());
    } catch (const StorageFailure &failure) {
        throw translate(failure, QStringLiteral("DAO.DBEngine"));
    }
}

void SqliteConnection::changePassword(const QString &newPassword)
{
    const QString path = m_options.path;
    const QString folder = platform::folderOf(path).isEmpty() ? platform::currentFolder() : platform::folderOf(path);
    const QString temporary = platform::uniqueTempFileName(folder, QStringLiteral("mdb"));
    if (temporary.isEmpty())
        refuse(errIoFailure, QStringLiteral("Impossibile creare un file temporaneo in '%1'.").arg(folder));
    platform::deleteFile(temporary);
    exportTo(temporary, newPassword);
    platform::crashPoint("rekey.after_export");

    // The lock file stays held, so nobody can open the archive while it is replaced.
    closeHandle();
    platform::deleteFile(path + QLatin1String("-journal"));
    platform::crashPoint("rekey.after_close");
    if (!platform::atomicReplace(temporary, path)) {
        platform::deleteFile(temporary);
        openHandle(m_password);
        refuse(errIoFailure, QStringLiteral("Impossibile sostituire l'archivio '%1'.").arg(path));
    }
    platform::syncFolder(folder);
    platform::crashPoint("rekey.after_rename");

    // From here the file under the archive's name is the new copy. Whatever fails now, the
    // outcome is decided from the file itself: a change reported as failed while the file
    // already took the new password would lock the user out with the one they believe in.
    // When it opens with neither, it is still the copy just written under the new password:
    // that is the password in force, and the next connect reports why the file will not open.
    if (!reopenWith(newPassword) && !reopenWith(newPassword) && reopenWith(m_password))
        refuse(errIoFailure, QStringLiteral("La modifica della password non è stata applicata all'archivio."));
    platform::crashPoint("rekey.after_reopen");
    m_password = newPassword;
}

// True when the archive opens with password and the file agrees: the storage library
// reports some key changes as done when they are not, so the file must be plain exactly
// when there is no password.
bool SqliteConnection::reopenWith(const QString &password)
{
    closeHandle();
    try {
        openHandle(password);
    } catch (const EngineError &) {
        return false;
    }
    QFile file(m_options.path);
    const bool plain = file.open(QIODevice::ReadOnly) && file.read(16) == QByteArray(format::kPlainHeader, 16);
    if (plain == password.isEmpty())
        return true;
    closeHandle();
    return false;
}

std::unique_ptr<Query> SqliteConnection::doPrepare(const QString &sql)
{
    return std::make_unique<Statement>(db(), sql);
}

qint64 SqliteConnection::doExecute(const QString &sql, const std::vector<Value> &params)
{
    sqlite::execute(db(), sql, params);
    return sqlite3_changes(m_db);
}

qint64 SqliteConnection::doInsert(const QString &sql, const std::vector<Value> &params, const TableInfo &)
{
    sqlite::execute(db(), sql, params);
    return sqlite3_last_insert_rowid(m_db);
}

void SqliteConnection::doCreateTable(const TableSpec &definition)
{
    sqlite::execute(db(), createTableSql(definition));
}

// A counter declared AUTOINCREMENT keeps the largest key it handed out in sqlite_sequence.
qint64 SqliteConnection::doKeyCounter(const TableInfo &table)
{
    Statement st(db(), QStringLiteral("SELECT seq FROM sqlite_sequence WHERE name = ?"));
    st.bind(1, Value(table.name));
    return st.step() ? st.int64(0) : 0;
}

void SqliteConnection::doSetKeyCounter(const TableInfo &table, qint64 value)
{
    sqlite::execute(db(), QStringLiteral("DELETE FROM sqlite_sequence WHERE name = ?"), {Value(table.name)});
    if (value > 0)
        sqlite::execute(db(), QStringLiteral("INSERT INTO sqlite_sequence (name, seq) VALUES (?, ?)"),
                     {Value(table.name), Value(value)});
}

bool SqliteConnection::integrityCheck()
{
    Statement st(db(), QStringLiteral("PRAGMA integrity_check"));
    return st.step() && st.raw(0).asText() == QLatin1String("ok");
}

QStringList SqliteConnection::integrityProblems(int limit)
{
    QStringList problems;
    Statement st(db(), QStringLiteral("PRAGMA integrity_check(%1)").arg(limit));
    while (st.step()) {
        const QString line = st.raw(0).asText();
        if (line != QLatin1String("ok"))
            problems << line;
    }
    if (!m_password.isEmpty())
        problems << encryptionProblems();
    return problems;
}

// Every page of an encrypted archive is checked as it is read above; what is left is the
// file as a whole: it must not be plain, and must be made of whole cipher pages. A library
// that checks the pages' codes itself adds its findings.
QStringList SqliteConnection::encryptionProblems()
{
    QStringList problems;
    QFile file(path());
    if (!file.open(QIODevice::ReadOnly))
        return {QStringLiteral("cipher: file unreadable")};
    if (file.read(16) == QByteArray(format::kPlainHeader, 16))
        problems << QStringLiteral("cipher: file not encrypted");
    if (file.size() % format::kCipherPageSize != 0)
        problems << QStringLiteral("cipher: size %1 is not a whole number of pages").arg(file.size());
    Statement st(db(), QStringLiteral("PRAGMA cipher_integrity_check"));
    while (st.step())
        problems << st.raw(0).asText();
    return problems;
}

// A write transaction takes the file's write lock at once, so two writers never both read
// and then find they cannot write.
static QString fileStepText(Connection::Step step, const QString &savepoint)
{
    switch (step) {
    case Connection::Step::Begin: return QStringLiteral("BEGIN");
    case Connection::Step::BeginWrite: return QStringLiteral("BEGIN IMMEDIATE");
    case Connection::Step::Commit: return QStringLiteral("COMMIT");
    case Connection::Step::Rollback: return QStringLiteral("ROLLBACK");
    case Connection::Step::Savepoint: return QStringLiteral("SAVEPOINT %1").arg(savepoint);
    case Connection::Step::Release: return QStringLiteral("RELEASE %1").arg(savepoint);
    case Connection::Step::RollbackTo: return QStringLiteral("ROLLBACK TO %1; RELEASE %1").arg(savepoint);
    }
    return {};
}

void SqliteConnection::transactionStep(Step step, const QString &savepoint, const QString &source)
{
    try {
        sqlite::execute(db(), fileStepText(step, savepoint));
    } catch (const StorageFailure &failure) {
        throw translate(failure, source);
    }
}

void SqliteConnection::transactionStepQuietly(Step step, const QString &savepoint)
{
    if (m_db)
        sqlite3_exec(m_db, fileStepText(step, savepoint).toUtf8().constData(), nullptr, nullptr, nullptr);
}

bool SqliteConnection::inTransaction() const
{
    return m_db && !sqlite3_get_autocommit(m_db);
}

} // namespace dao::sqlite
