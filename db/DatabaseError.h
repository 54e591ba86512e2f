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

class EAbort : public std::exception {
public:
    const char *what() const noexcept override { return "Operation aborted"; }
};
