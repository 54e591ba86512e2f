#pragma once
// The engine's errors in one table: every number it raises, by name, and the Italian texts
// that go with them. A raiser that has more to say than a text here (the storage's own
// reason, the file it could not write) keeps the number and adds its own words; a text said
// in more than one place is said here once.

#include <QString>

namespace dao {

// Error numbers of the engine, Jet's where a caller or a user relies on them.
enum ErrorNumber : int {
    errOutOfMemory = 7,
    errEngineFailure = 3000,        // the storage's own failure, told in its words
    errInvalidArgument = 3001,
    errTableExists = 3010,
    errObjectExists = 3012,
    errUpdateWithoutEdit = 3020,
    errNoCurrentRecord = 3021,
    errDuplicateKey = 3022,
    errFileNotFound = 3024,
    errDiskFull = 3026,
    errNotUpdatable = 3027,
    errNotValidPassword = 3031,
    errNoTransaction = 3034,
    errIoFailure = 3043,
    errFileInUse = 3045,
    errDatabaseCorrupt = 3049,
    errTooFewParameters = 3061,     // a name that is no field of the table
    errUnsupportedText = 3075,      // a text outside the dialect the engine understands
    errTableNotFound = 3078,
    errInvalidName = 3125,
    errServerUnreachable = 3151,    // the archive's server could not be reached, or the link dropped
    errInvalidBookmark = 3159,
    errFieldTooSmall = 3163,
    errFieldNotUpdatable = 3164,
    errRecordDeleted = 3167,
    errRecordChanged = 3197,
    errDatabaseExists = 3204,
    errOperationNotSupported = 3251,
    errRecordLocked = 3260,
    errItemNotFound = 3265,
    errFieldRequired = 3314,
    errUnrecognizedFormat = 3343,
    errNumericOverflow = 3349,
    errObjectClosed = 3420,
    errDataTypeConversion = 3421,
    errNotExclusive = 3621,
};

// A text of the catalogue and the number it is raised with; "%1", "%2" are filled in order.
struct EngineMessage {
    ErrorNumber number;
    const char *utf8;

    QString text() const { return QString::fromUtf8(utf8); }
    template <typename... Args>
    QString text(const Args &...args) const
    {
        QString filled = text();
        ((filled = filled.arg(args)), ...);
        return filled;
    }
};

namespace msg {

inline constexpr EngineMessage outOfMemory{errOutOfMemory, "Memoria insufficiente."};
inline constexpr EngineMessage engineFailure{errEngineFailure, "Errore del motore di database."};
inline constexpr EngineMessage interrupted{errEngineFailure, "Operazione interrotta."};
inline constexpr EngineMessage invalidArgument{errInvalidArgument, "Argomento non valido."};
inline constexpr EngineMessage tableExists{errTableExists, "La tabella '%1' esiste già."};
inline constexpr EngineMessage objectExists{errObjectExists, "L'oggetto '%1' esiste già."};
inline constexpr EngineMessage updateWithoutEdit{errUpdateWithoutEdit, "Aggiornamento o annullamento senza AddNew o Edit."};
inline constexpr EngineMessage noCurrentRecord{errNoCurrentRecord, "Nessun record corrente."};
inline constexpr EngineMessage duplicateKey{
    errDuplicateKey, "Impossibile salvare: la modifica creerebbe valori duplicati nella chiave primaria."};
inline constexpr EngineMessage notValidPassword{errNotValidPassword, "Password non valida."};
inline constexpr EngineMessage databaseExists{errDatabaseExists, "Il database '%1' esiste già."};
inline constexpr EngineMessage readOnly{errNotUpdatable, "Impossibile aggiornare: il database o l'oggetto è di sola lettura."};
// %1: "commit" or "rollback".
inline constexpr EngineMessage noTransaction{errNoTransaction, "Si è tentato di eseguire il %1 senza una transazione aperta."};
inline constexpr EngineMessage damaged{errDatabaseCorrupt, "L'archivio è danneggiato e non può essere letto."};
inline constexpr EngineMessage tableNotFound{
    errTableNotFound, "Il motore di database non trova la tabella o la query di input '%1'."};
inline constexpr EngineMessage invalidName{errInvalidName, "'%1' non è un nome valido."};
inline constexpr EngineMessage fieldTooSmall{
    errFieldTooSmall, "Il campo è troppo piccolo per accettare la quantità di dati che si è tentato di aggiungere."};
inline constexpr EngineMessage namedFieldTooSmall{
    errFieldTooSmall, "Il campo '%1' è troppo piccolo per accettare la quantità di dati che si è tentato di aggiungere."};
inline constexpr EngineMessage fieldNotUpdatable{errFieldNotUpdatable, "Impossibile aggiornare il campo '%1'."};
inline constexpr EngineMessage deletedByOther{errRecordDeleted, "Il record è stato eliminato da un altro utente."};
inline constexpr EngineMessage itemNotFound{errItemNotFound, "Elemento non trovato in questo insieme."};
inline constexpr EngineMessage namedItemNotFound{errItemNotFound, "Elemento '%1' non trovato in questo insieme."};
inline constexpr EngineMessage fieldRequired{errFieldRequired, "Un campo obbligatorio non contiene un valore: %1."};
inline constexpr EngineMessage unrecognizedFormat{errUnrecognizedFormat, "Formato di database non riconosciuto."};
inline constexpr EngineMessage numericOverflow{errNumericOverflow, "Overflow numerico."};
inline constexpr EngineMessage archiveClosed{errObjectClosed, "Oggetto non valido o non più impostato: l'archivio è chiuso."};
// The reason that follows a lost server link while a transaction was open.
inline constexpr const char *kTransactionLost = "la transazione in corso è stata annullata";

} // namespace msg

} // namespace dao
