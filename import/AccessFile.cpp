#include "import/AccessFile.h"

#include "import/AccessHeader.h"
#include "import/JetText.h"

#include <QFile>
#include <QtEndian>

#include <mdbtools.h>

#include <cstdio>
#include <fcntl.h>
#include <unistd.h>

namespace accessdb {

namespace {

constexpr int kMemoHeader = 12;
// A memo's pieces on long-value pages: at most this many, so that a chain that loops ends.
constexpr int kMaxMemoPieces = 1 << 20;

QString named(const QString &path)
{
    return QStringLiteral("\"%1\"").arg(path);
}

[[noreturn]] void damaged(const QString &table, const QString &what)
{
    throw AccessError(AccessError::Kind::Damaged,
                      QStringLiteral("La tabella %1 del file Access non si può leggere: %2.").arg(table, what));
}

// mdbtools tells what it cannot read on standard error, in English; the reader says it
// to the user in its own words, so those lines are silenced while the library reads.
class QuietLibrary {
public:
    QuietLibrary()
    {
        std::fflush(stderr);
        m_saved = ::dup(STDERR_FILENO);
        const int null = ::open("/dev/null", O_WRONLY | O_CLOEXEC);
        if (m_saved >= 0 && null >= 0)
            ::dup2(null, STDERR_FILENO);
        if (null >= 0)
            ::close(null);
    }
    ~QuietLibrary()
    {
        std::fflush(stderr);
        if (m_saved >= 0) {
            ::dup2(m_saved, STDERR_FILENO);
            ::close(m_saved);
        }
    }
    QuietLibrary(const QuietLibrary &) = delete;
    QuietLibrary &operator=(const QuietLibrary &) = delete;

private:
    int m_saved = -1;
};

QByteArray firstPage(const QString &path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return {};
    return file.read(4096);
}

} // namespace

QString jetTypeName(int type)
{
    switch (JetType(type)) {
    case JetType::Boolean: return QStringLiteral("Sì/No");
    case JetType::Byte: return QStringLiteral("Numerico (Byte)");
    case JetType::Integer: return QStringLiteral("Numerico (Intero)");
    case JetType::Long: return QStringLiteral("Numerico (Intero lungo)");
    case JetType::Money: return QStringLiteral("Valuta");
    case JetType::Single: return QStringLiteral("Numerico (Precisione singola)");
    case JetType::Double: return QStringLiteral("Numerico (Precisione doppia)");
    case JetType::DateTime: return QStringLiteral("Data/ora");
    case JetType::Binary: return QStringLiteral("Binario");
    case JetType::Text: return QStringLiteral("Testo");
    case JetType::OleObject: return QStringLiteral("Oggetto OLE");
    case JetType::Memo: return QStringLiteral("Memo");
    case JetType::Guid: return QStringLiteral("ID replica");
    case JetType::Numeric: return QStringLiteral("Numerico (Decimale)");
    case JetType::Complex: return QStringLiteral("Allegato");
    }
    return QStringLiteral("tipo %1").arg(type);
}

AccessError::AccessError(Kind kind, const QString &message)
    : std::runtime_error(message.toStdString()), m_kind(kind), m_message(message)
{
}

struct AccessFile::Handle {
    MdbHandle *mdb = nullptr;
    AccessHeader header;
    QFile file;   // the same file, for the table definitions' counters

    ~Handle()
    {
        if (mdb) {
            mdb_close(mdb);
        }
    }

    // Text bytes as the file stores them: Access 2000 its own UTF-16 (JetText.h), Access 97
    // its code page.
    QString text(const unsigned char *bytes, size_t length) const
    {
        if (header.jetVersion != 0)
            return jet4Text(bytes, length);
        QByteArray out(int(length * 4 + 1), '\0');
        const int n = mdb_unicode2ascii(mdb, reinterpret_cast<const char *>(bytes), length, out.data(), size_t(out.size()));
        return QString::fromUtf8(out.constData(), n);
    }

    // A memo's bytes: inline in the row, on one long-value row, or on a chain of them.
    QByteArray memo(const QString &table, const unsigned char *header) const
    {
        const quint32 word = qFromLittleEndian<quint32>(header);
        const quint32 length = word & 0x3fffffff;
        quint32 pointer = qFromLittleEndian<quint32>(header + 4);
        if (word & 0x80000000u)
            return {};   // inline: the caller has the bytes after the header
        QByteArray out;
        out.reserve(int(std::min<quint32>(length, 1u << 24)));
        for (int piece = 0; piece < kMaxMemoPieces; ++piece) {
            void *buf = nullptr;
            int off = 0;
            size_t len = 0;
            if (pointer == 0 || mdb_find_pg_row(mdb, int(pointer), &buf, &off, &len) != 0
                || off < 0 || size_t(off) + len > size_t(mdb->fmt->pg_size))
                damaged(table, QStringLiteral("un campo memo rimanda a una pagina che non c'è"));
            const auto *row = static_cast<const unsigned char *>(buf) + off;
            if (word & 0x40000000u) {
                out.append(reinterpret_cast<const char *>(row), qsizetype(std::min<size_t>(len, length)));
                return out;
            }
            if (len < 4)
                damaged(table, QStringLiteral("un campo memo è spezzato"));
            pointer = qFromLittleEndian<quint32>(row);
            out.append(reinterpret_cast<const char *>(row + 4), qsizetype(len - 4));
            if (quint32(out.size()) >= length || pointer == 0) {
                out.truncate(qsizetype(std::min<quint32>(quint32(out.size()), length)));
                return out;
            }
        }
        damaged(table, QStringLiteral("un campo memo non finisce"));
    }
};

AccessFile::AccessFile(const QString &path, const QString &password) : m_path(path), m_handle(std::make_unique<Handle>())
{
    QString reason;
    const QByteArray page = firstPage(path);
    if (page.isEmpty() && !QFile::exists(path))
        throw AccessError(AccessError::Kind::NotAccess, QStringLiteral("Il file %1 non esiste.").arg(named(path)));
    const std::optional<AccessHeader> header = parseAccessHeader(page, &reason);
    if (!header)
        throw AccessError(AccessError::Kind::NotAccess,
                          QStringLiteral("Il file %1 non è un database Access 97 o 2000: %2.").arg(named(path), reason));
    if (header->password != password)
        throw AccessError(AccessError::Kind::BadPassword,
                          header->password.isEmpty() || password.isEmpty()
                              ? QStringLiteral("Password del file Access %1 errata o mancante.").arg(named(path))
                              : QStringLiteral("Password del file Access %1 errata.").arg(named(path)));
    m_handle->header = *header;
    m_handle->file.setFileName(path);
    if (!m_handle->file.open(QIODevice::ReadOnly))
        throw AccessError(AccessError::Kind::NotAccess, QStringLiteral("Il file %1 non si può leggere.").arg(named(path)));
    if (m_handle->file.size() % header->pageSize != 0)
        throw AccessError(AccessError::Kind::NotAccess,
                          QStringLiteral("Il file %1 è troncato: la sua lunghezza non è un numero intero di pagine di un "
                                         "database Access.")
                              .arg(named(path)));
    const QByteArray local = QFile::encodeName(path);
    const QuietLibrary quiet;
    m_handle->mdb = mdb_open(local.constData(), MDB_NOFLAGS);
    if (!m_handle->mdb || !mdb_read_catalog(m_handle->mdb, MDB_TABLE))
        throw AccessError(AccessError::Kind::NotAccess,
                          QStringLiteral("Il file %1 non è un database Access leggibile: il suo catalogo delle tabelle "
                                         "è danneggiato o incompleto.")
                              .arg(named(path)));
}

AccessFile::~AccessFile() = default;

bool AccessFile::looksLikeAccess(const QString &path)
{
    return parseAccessHeader(firstPage(path)).has_value();
}

bool AccessFile::hasPassword(const QString &path)
{
    const std::optional<AccessHeader> header = parseAccessHeader(firstPage(path));
    return header && !header->password.isEmpty();
}

QString AccessFile::versionName() const
{
    return m_handle->header.jetVersion == 0 ? QStringLiteral("Access 97") : QStringLiteral("Access 2000");
}

QStringList AccessFile::tables() const
{
    QStringList names;
    MdbHandle *mdb = m_handle->mdb;
    for (unsigned int i = 0; i < mdb->num_catalog; ++i) {
        auto *entry = static_cast<MdbCatalogEntry *>(g_ptr_array_index(mdb->catalog, i));
        if (entry->object_type == MDB_TABLE && mdb_is_user_table(entry))
            names << QString::fromUtf8(entry->object_name);
    }
    return names;
}

namespace {

// An open table definition of libmdb, released on every way out.
struct TableDef {
    MdbTableDef *def = nullptr;
    ~TableDef()
    {
        if (def)
            mdb_free_tabledef(def);
    }
};

MdbCatalogEntry *catalogEntry(MdbHandle *mdb, const QString &name)
{
    for (unsigned int i = 0; i < mdb->num_catalog; ++i) {
        auto *entry = static_cast<MdbCatalogEntry *>(g_ptr_array_index(mdb->catalog, i));
        if (entry->object_type == MDB_TABLE && QString::fromUtf8(entry->object_name) == name)
            return entry;
    }
    return nullptr;
}

void openTable(MdbHandle *mdb, const QString &name, TableDef &table)
{
    MdbCatalogEntry *entry = catalogEntry(mdb, name);
    if (!entry)
        damaged(name, QStringLiteral("non è nel catalogo"));
    const QuietLibrary quiet;
    table.def = mdb_read_table(entry);
    if (!table.def || !mdb_read_columns(table.def) || table.def->num_cols == 0 || table.def->num_cols > MDB_MAX_COLS)
        damaged(name, QStringLiteral("la sua definizione è danneggiata"));
}

} // namespace

AccessTable AccessFile::table(const QString &name) const
{
    TableDef table;
    openTable(m_handle->mdb, name, table);
    AccessTable result;
    result.name = name;
    const bool jet4 = m_handle->header.jetVersion != 0;
    for (unsigned int i = 0; i < table.def->num_cols; ++i) {
        auto *col = static_cast<MdbColumn *>(g_ptr_array_index(table.def->columns, i));
        AccessColumn column;
        column.name = QString::fromUtf8(col->name);
        column.type = col->col_type;
        column.size = col->col_type == MDB_TEXT && jet4 ? col->col_size / 2 : col->col_size;
        column.counter = col->is_long_auto != 0;
        result.columns.push_back(column);
    }
    // The next AutoNumber value sits in the table definition's block, after its length,
    // (Access 2000: an unknown word,) and its row count.
    const qint64 pageSize = m_handle->header.pageSize;
    if (m_handle->file.seek(qint64(table.def->entry->table_pg) * pageSize)) {
        const QByteArray page = m_handle->file.read(32);
        const int offset = jet4 ? 20 : 16;
        if (page.size() >= offset + 4)
            result.nextCounter = qFromLittleEndian<quint32>(page.constData() + offset);
    }
    return result;
}

qint64 AccessFile::readRows(const QString &name, const std::function<bool(const std::vector<dao::Value> &)> &row) const
{
    MdbHandle *mdb = m_handle->mdb;
    TableDef table;
    openTable(mdb, name, table);
    const unsigned int count = table.def->num_cols;
    std::vector<MdbColumn *> columns(count);
    for (unsigned int i = 0; i < count; ++i)
        columns[i] = static_cast<MdbColumn *>(g_ptr_array_index(table.def->columns, i));
    mdb_rewind_table(table.def);
    std::vector<MdbField> fields(MDB_MAX_COLS);
    std::vector<dao::Value> values(count);
    const size_t pageSize = size_t(mdb->fmt->pg_size);
    qint64 rows = 0;
    const auto fetch = [&] {
        const QuietLibrary quiet;
        return mdb_fetch_row(table.def);
    };
    while (fetch()) {
        int start = 0;
        size_t length = 0;
        if (mdb_find_row(mdb, int(table.def->cur_row) - 1, &start, &length) != 0 || start < 0
            || size_t(start) + length > pageSize)
            damaged(name, QStringLiteral("una riga esce dalla sua pagina"));
        const int cracked = mdb_crack_row(table.def, start, length, fields.data());
        if (cracked <= 0 || unsigned(cracked) > count)
            damaged(name, QStringLiteral("una riga non corrisponde alla definizione della tabella"));
        std::fill(values.begin(), values.end(), dao::Value());
        // The row's bytes are copied: reading a memo's pages uses the library's page buffers.
        const QByteArray page(reinterpret_cast<const char *>(mdb->pg_buf), qsizetype(pageSize));
        const auto *bytes = reinterpret_cast<const unsigned char *>(page.constData());
        for (int f = 0; f < cracked; ++f) {
            const MdbField &field = fields[size_t(f)];
            if (field.colnum < 0 || unsigned(field.colnum) >= count)
                damaged(name, QStringLiteral("una riga nomina un campo che non c'è"));
            const MdbColumn *col = columns[size_t(field.colnum)];
            dao::Value &value = values[size_t(field.colnum)];
            // A Yes/No field has no bytes: the row's null mask holds its value.
            if (col->col_type == MDB_BOOL) {
                value = dao::Value(!field.is_null);
                continue;
            }
            if (field.is_null)
                continue;
            if (field.start < 0 || field.siz < 0 || size_t(field.start) + size_t(field.siz) > pageSize)
                damaged(name, QStringLiteral("un campo esce dalla sua riga"));
            const unsigned char *at = bytes + field.start;
            const auto need = [&](int n) {
                if (field.siz < n)
                    damaged(name, QStringLiteral("il campo %1 è più corto del suo tipo").arg(QString::fromUtf8(col->name)));
            };
            switch (col->col_type) {
            case MDB_BYTE: need(1); value = dao::Value(qint64(at[0])); break;
            case MDB_INT: need(2); value = dao::Value(qint64(qFromLittleEndian<qint16>(at))); break;
            case MDB_LONGINT: need(4); value = dao::Value(qint64(qFromLittleEndian<qint32>(at))); break;
            case MDB_FLOAT: need(4); value = dao::Value(double(qFromLittleEndian<float>(at))); break;
            case MDB_DOUBLE: need(8); value = dao::Value(qFromLittleEndian<double>(at)); break;
            case MDB_DATETIME: need(8); value = dao::Value(dao::Date{qFromLittleEndian<double>(at)}); break;
            case MDB_TEXT: value = dao::Value(m_handle->text(at, size_t(field.siz))); break;
            case MDB_MEMO: {
                need(kMemoHeader);
                const quint32 word = qFromLittleEndian<quint32>(at);
                QByteArray raw;
                if (word & 0x80000000u)
                    raw = QByteArray(reinterpret_cast<const char *>(at + kMemoHeader),
                                     std::min<qsizetype>(field.siz - kMemoHeader, qsizetype(word & 0x3fffffff)));
                else
                    raw = m_handle->memo(name, at);
                value = dao::Value(m_handle->text(reinterpret_cast<const unsigned char *>(raw.constData()), size_t(raw.size())));
                break;
            }
            default:
                value = dao::Value(QByteArray(reinterpret_cast<const char *>(at), field.siz));
                break;
            }
        }
        ++rows;
        if (!row(values))
            break;
    }
    return rows;
}

} // namespace accessdb
