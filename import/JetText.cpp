#include "import/JetText.h"

namespace accessdb {

QString jet4Text(const unsigned char *bytes, size_t length)
{
    if (length < 2 || bytes[0] != 0xff || bytes[1] != 0xfe)
        return QString::fromUtf16(reinterpret_cast<const char16_t *>(bytes), qsizetype(length / 2));
    QString s;
    s.reserve(qsizetype(length));
    bool compressed = true;
    for (size_t i = 2; i < length;) {
        if (bytes[i] == 0) {
            compressed = !compressed;
            ++i;
        } else if (compressed) {
            s.append(QChar(char16_t(bytes[i++])));
        } else if (i + 1 < length) {
            s.append(QChar(char16_t(bytes[i] | (bytes[i + 1] << 8))));
            i += 2;
        } else {
            break;
        }
    }
    return s;
}

} // namespace accessdb
