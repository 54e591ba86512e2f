#pragma once
// Errors of the data layer. EDatabaseError carries one of the layer's own English texts;
// EAbort is the silent abort a before-event handler raises to cancel an operation, which
// no handler reports to the user.

#include <QString>
#include <stdexcept>

class EDatabaseError : public std::runtime_error {
public:
    explicit EDatabaseError(const QString &message)
        : std::runtime_error(message.toStdString()), m_message(message) {}
    const QString &message() const { return m_message; }

private:
    QString m_message;
};

// The record changed in the archive after the controls showed it: the edit is refused and
// the controls show the stored values; the one the user was typing in keeps what was typed
// within reach (its undo).
class ERecordChanged : public EDatabaseError {
public:
    using EDatabaseError::EDatabaseError;
};

// A post that reached the archive, followed by a failure (reading the saved record back):
// the dataset browses the saved record, and the text says the save went through.
class ESavedWithWarning : public EDatabaseError {
public:
    explicit ESavedWithWarning(const QString &failure)
        : EDatabaseError(QStringLiteral("Il salvataggio è riuscito, ma dopo il salvataggio si è verificato un "
                                        "errore:\n%1").arg(failure)) {}
};

// The layer's texts that more than one dataset or field raises.
namespace dbtext {
inline QString readOnlyDataSet() { return QStringLiteral("Cannot modify a read-only dataset"); }
inline QString notEditing() { return QStringLiteral("Dataset not in edit or insert mode"); }
inline QString recordNotFound() { return QStringLiteral("Record not found"); }
inline QString bookmarksNotSupported() { return QStringLiteral("Bookmarks are not supported!"); }
inline QString fieldNotFound(const QString &name) { return QStringLiteral("Field '%1' not found").arg(name); }
inline QString fieldReadOnly(const QString &label) { return QStringLiteral("Field '%1' cannot be modified").arg(label); }
inline QString fieldWithoutDataSet(const QString &name) { return QStringLiteral("Field '%1' has no dataset").arg(name); }
inline QString notInteger(const QString &text) { return QStringLiteral("'%1' is not a valid integer value").arg(text); }
inline QString notFloat(const QString &text) { return QStringLiteral("'%1' is not a valid floating point value").arg(text); }
inline QString notDateTime(const QString &text) { return QStringLiteral("'%1' is not a valid date and time").arg(text); }
inline QString notBoolean(const QString &text) { return QStringLiteral("'%1' is not a valid boolean value").arg(text); }
} // namespace dbtext

class EAbort : public std::exception {
public:
    const char *what() const noexcept override { return "Operation aborted"; }
};
