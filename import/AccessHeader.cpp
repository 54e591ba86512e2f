#include "import/AccessHeader.h"

#include <QtEndian>

#include <array>
#include <cstring>

namespace accessdb {

namespace {

constexpr int kMaskedStart = 0x18;
constexpr int kPasswordOffset = 0x42;
constexpr int kCreationDateOffset = 0x72;
constexpr unsigned char kHeaderKey[4] = {0xc7, 0xda, 0x39, 0x6b};

} // namespace

void rc4(const unsigned char *key, int keyLength, unsigned char *data, int length)
{
    std::array<unsigned char, 256> s;
    for (int i = 0; i < 256; ++i)
        s[size_t(i)] = static_cast<unsigned char>(i);
    for (int i = 0, j = 0; i < 256; ++i) {
        j = (j + s[size_t(i)] + key[i % keyLength]) & 0xff;
        std::swap(s[size_t(i)], s[size_t(j)]);
    }
    for (int n = 0, i = 0, j = 0; n < length; ++n) {
        i = (i + 1) & 0xff;
        j = (j + s[size_t(i)]) & 0xff;
        std::swap(s[size_t(i)], s[size_t(j)]);
        data[n] ^= s[size_t((s[size_t(i)] + s[size_t(j)]) & 0xff)];
    }
}

std::optional<AccessHeader> parseAccessHeader(const QByteArray &firstPage, QString *reason)
{
    const auto refuse = [&](const QString &why) -> std::optional<AccessHeader> {
        if (reason)
            *reason = why;
        return std::nullopt;
    };
    if (firstPage.isEmpty())
        return refuse(QStringLiteral("il file è vuoto"));
    if (firstPage.size() < 0x98)
        return refuse(QStringLiteral("il file è troppo corto per essere un database Access"));
    const auto *raw = reinterpret_cast<const unsigned char *>(firstPage.constData());
    if (raw[0] != 0 || std::memcmp(raw + 4, "Standard Jet DB", 15) != 0) {
        if (std::memcmp(raw + 4, "Standard ACE DB", 15) == 0)
            return refuse(QStringLiteral("è un database Access 2007 o successivo (.accdb), non un file Access 97 o 2000"));
        return refuse(QStringLiteral("manca l'intestazione di un database Access (\"Standard Jet DB\")"));
    }
    AccessHeader header;
    header.jetVersion = int(qFromLittleEndian<quint32>(raw + 0x14));
    if (header.jetVersion != 0 && header.jetVersion != 1)
        return refuse(QStringLiteral("versione del formato Access sconosciuta (%1)").arg(header.jetVersion));
    header.pageSize = header.jetVersion == 0 ? 2048 : 4096;

    QByteArray page = firstPage.left(kMaskedStart + 128);
    auto *bytes = reinterpret_cast<unsigned char *>(page.data());
    rc4(kHeaderKey, 4, bytes + kMaskedStart, header.jetVersion == 0 ? 126 : 128);
    if (header.jetVersion == 0) {
        // Access 97: 20 single-byte characters.
        const QByteArray stored(reinterpret_cast<const char *>(bytes + kPasswordOffset), 20);
        header.password = QString::fromLatin1(stored.left(int(qstrnlen(stored.constData(), 20))));
        return header;
    }
    // Access 2000: 20 UTF-16 characters, each byte also masked with the creation date's
    // whole part, four bytes little-endian, over and over.
    double created = 0;
    std::memcpy(&created, bytes + kCreationDateOffset, sizeof created);
    const bool dateUsable = created > -2147483648.0 && created < 2147483647.0;
    const qint32 dayMask = dateUsable ? qint32(created) : 0;
    unsigned char mask[4];
    qToLittleEndian<qint32>(dayMask, mask);
    char16_t chars[20];
    for (int i = 0; i < 20; ++i) {
        const unsigned char lo = bytes[kPasswordOffset + 2 * i] ^ mask[(2 * i) % 4];
        const unsigned char hi = bytes[kPasswordOffset + 2 * i + 1] ^ mask[(2 * i + 1) % 4];
        chars[i] = char16_t(lo | (hi << 8));
    }
    int length = 0;
    while (length < 20 && chars[length] != 0)
        ++length;
    header.password = QString::fromUtf16(chars, length);
    return header;
}

} // namespace accessdb
