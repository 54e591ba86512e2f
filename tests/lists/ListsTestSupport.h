#pragma once
// What the printed-list tests share: the supplied layouts' folder and reading a file whole.

#include <QByteArray>
#include <QFile>
#include <QString>

namespace liststest {

inline const QString kSupplied = QStringLiteral(TAVORIO_SOURCE_DIR "/data/stampe");

inline QByteArray fileBytes(const QString &path)
{
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

inline void writeFile(const QString &path, const QByteArray &bytes)
{
    QFile f(path);
    if (f.open(QIODevice::WriteOnly | QIODevice::Truncate))
        f.write(bytes);
}

} // namespace liststest
