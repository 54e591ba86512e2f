#pragma once
// The failure of an engine call: the engine's error number, the object that raised it
// ("DAO.Recordset", ...) and a description in Italian. It plays the part of the
// automation exception that the data layer passes on unchanged.

#include <QString>
#include <stdexcept>

namespace dao {

// Error numbers of the engine that callers test or that users may meet.
enum ErrorNumber : int {
    errUnsupportedText = 3075,      // a text outside the dialect the engine understands
    errTooFewParameters = 3061,     // a name that is no field of the table
    errNoCurrentRecord = 3021,
    errUpdateWithoutEdit = 3020,
    errFileNotFound = 3024,
    errNotValidPassword = 3031,
    errFileInUse = 3045,
    errTableNotFound = 3078,
    errInvalidBookmark = 3159,
    errRecordDeleted = 3167,
    errRecordChanged = 3197,
    errDatabaseExists = 3204,
    errRecordLocked = 3260,
    errNotUpdatable = 3027,
    errDataTypeConversion = 3421,
    errObjectClosed = 3420,
    errUnrecognizedFormat = 3343,
    errNotExclusive = 3621,
    errIoFailure = 3043,
    errDatabaseCorrupt = 3049,
    errDiskFull = 3026,
    errOutOfMemory = 7,
    errFieldRequired = 3314,
    errOperationNotSupported = 3251,
    errItemNotFound = 3265,
};

class EngineError : public std::runtime_error {
public:
    EngineError(int number, QString source, QString description)
        : std::runtime_error(description.toStdString()), m_number(number),
          m_source(std::move(source)), m_description(std::move(description)) {}

    int number() const { return m_number; }
    const QString &source() const { return m_source; }
    const QString &description() const { return m_description; }

private:
    int m_number;
    QString m_source;
    QString m_description;
};

} // namespace dao
