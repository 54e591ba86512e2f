#pragma once
// The layout file as the store and its controls use it: text and integer keys through the
// private-profile functions. A refused write raises EIniFileException "Unable to write to
// <file>", so a save stops at the first key that does not land.

#include "controls/LayoutKeys.h"

#include <QString>
#include <utility>

class IniLayoutKeys final : public LayoutKeys {
public:
    explicit IniLayoutKeys(QString fileName) : m_fileName(std::move(fileName)) {}

    const QString &fileName() const { return m_fileName; }

    std::optional<QString> read(const QString &section, const QString &key) const override;
    // A value that begins and ends with the same quote goes inside one more pair of double
    // quotes, since the reader takes one pair off.
    void write(const QString &section, const QString &key, const QString &value) override;
    void eraseSection(const QString &section) override;

    QString readString(const QString &section, const QString &key, const QString &fallback) const;
    // The fallback also when the value is not a number.
    int readInteger(const QString &section, const QString &key, int fallback) const;
    void writeInteger(const QString &section, const QString &key, int value);

private:
    [[noreturn]] void raiseWriteError() const;

    QString m_fileName;
};
