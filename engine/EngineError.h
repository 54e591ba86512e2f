#pragma once
// The failure of an engine call: the engine's error number, the object that raised it
// ("DAO.Recordset", ...) and a description in Italian. It plays the part of the
// automation exception that the data layer passes on unchanged.

#include "engine/ErrorCatalogue.h"

#include <QString>
#include <stdexcept>

namespace dao {

class EngineError : public std::runtime_error {
public:
    EngineError(int number, QString source, QString description)
        : std::runtime_error(description.toStdString()), m_number(number),
          m_source(std::move(source)), m_description(std::move(description)) {}
    // A text of the catalogue, its placeholders filled with `args` in order.
    template <typename... Args>
    EngineError(const EngineMessage &message, QString source, const Args &...args)
        : EngineError(message.number, std::move(source), message.text(args...)) {}

    int number() const { return m_number; }
    const QString &source() const { return m_source; }
    const QString &description() const { return m_description; }

private:
    int m_number;
    QString m_source;
    QString m_description;
};

} // namespace dao
