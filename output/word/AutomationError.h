#pragma once
// The one failure of the document automation layer: the template cannot be read, a
// replacement cannot be made, a document cannot be written. The description is for the
// technical details; windows show their own Italian notice.

#include <QString>
#include <stdexcept>

namespace word {

class AutomationError : public std::runtime_error {
public:
    explicit AutomationError(const QString &description)
        : std::runtime_error(description.toStdString()), m_description(description) {}
    const QString &description() const { return m_description; }

private:
    QString m_description;
};

} // namespace word
