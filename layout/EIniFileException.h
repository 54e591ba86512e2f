#pragma once
// A layout file the file system refuses to change: "Unable to write to <file>".

#include <QString>
#include <stdexcept>

class EIniFileException final : public std::runtime_error {
public:
    explicit EIniFileException(const QString &message)
        : std::runtime_error(message.toStdString()), m_message(message) {}
    const QString &message() const { return m_message; }

private:
    QString m_message;
};
