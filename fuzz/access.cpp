// Fuzz target of the Access reader, as an office's old archive may reach it: the input is the
// file. It is opened without a password and with "segreta", every table's columns and every
// value of every row are read, and the file is matched with the archive's tables. A refusal
// (the reader's own error) is a fine answer; a crash, a hang or another exception is a fault.
// The seed corpus holds small Access files of the test support's writer, one with a password.

#include "FuzzSupport.h"
#include "import/AccessFile.h"
#include "import/AccessMapping.h"

#include <QFile>
#include <cstdint>
#include <cstdlib>

namespace {

const QString &accessPath()
{
    static const QString path = fuzz::scratchFile(QStringLiteral("tavorio.mdb"));
    return path;
}

void readEverything(const QString &password)
{
    accessdb::AccessFile file(accessPath(), password);
    for (const QString &name : file.tables()) {
        file.table(name);
        file.readRows(name, [](const std::vector<dao::Value> &values) {
            for (const dao::Value &v : values)
                v.asText();
            return true;
        });
    }
    accessdb::mapToArchive(file);
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    {
        QFile file(accessPath());
        if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate)
            || file.write(reinterpret_cast<const char *>(data), qint64(size)) != qint64(size))
            std::abort();
    }
    accessdb::AccessFile::looksLikeAccess(accessPath());
    fuzz::refusable<accessdb::AccessError>([] { readEverything(QString()); });
    fuzz::refusable<accessdb::AccessError>([] { readEverything(QStringLiteral("segreta")); });
    return 0;
}
