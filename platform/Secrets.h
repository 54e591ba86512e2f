#pragma once
// Keeping the archive password out of memory that could outlive its use: a process that
// cannot dump core, and buffers that are overwritten before they are let go.

#include <QByteArray>
#include <QString>

namespace secrets {

// Makes the process non-dumpable: no core file, and no other process of the same user may
// read its memory through ptrace or /proc. Called first thing by both programs.
void forbidCoreDumps();

// Overwrites the buffer (when this object is its only owner: a shared one belongs to its
// other owners as well, who wipe their own) and empties it.
void wipe(QByteArray &buffer);
void wipe(QString &text);

// The UTF-8 bytes of a secret, wiped when the holder goes.
class SecretBytes {
public:
    explicit SecretBytes(const QString &text) : m_bytes(text.toUtf8()) {}
    ~SecretBytes() { wipe(m_bytes); }
    SecretBytes(const SecretBytes &) = delete;
    SecretBytes &operator=(const SecretBytes &) = delete;
    const char *constData() const { return m_bytes.constData(); }

private:
    QByteArray m_bytes;
};

} // namespace secrets
